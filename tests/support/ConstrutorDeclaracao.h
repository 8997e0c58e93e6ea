#pragma once
// Makes a whole statement in a few lines through the forms' saving operations,
// e.g. ConstrutorDeclaracao(banco).geral().nacional("Placa", 2, 50.0). Every
// default passes the pendency check; invoices are numbered 1, 2, ... per builder.

#include "store/Gravar.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

namespace vlme::store {
class Banco;
}

namespace vlme::teste {

class ConstrutorDeclaracao {
  public:
    // A new, empty statement: the VLME row the picker creates (only
    // CODIGO_VLM = '' written).
    explicit ConstrutorDeclaracao(store::Banco &banco);
    // Adds to an existing statement.
    ConstrutorDeclaracao(store::Banco &banco, int numero);

    inline static const QString Cnpj = QStringLiteral("11222333000181");
    inline static const QString CnpjFornecedor = QStringLiteral("04539983000190");
    inline static const QString Cpf = QStringLiteral("52998224725");
    inline static const QString Ncm = QStringLiteral("85171231");
    inline static const QString NumeroDI = QStringLiteral("2301234567");

    // Fixed coefficient, neither rectifying nor replacing, gross weight 0,15.
    static store::DadosGerais GeraisPadrao();
    // Invoice 0000000001, series "1", supplier CnpjFornecedor, 15/03/2023.
    static store::DadosNF NFPadrao();
    // NumeroDI, addition "001", item "01".
    static store::DadosDI DIPadrao();
    static store::DadosNacional NacionalPadrao(const QString &descricao, double quantidade,
                                               double custoUnitario);
    // With suspension, no reduction, NCM Ncm, unit "UN"; `direto` left to
    // the document it is saved with.
    static store::DadosImportado ImportadoPadrao(const QString &descricao, double quantidade,
                                                 double valorUnitario, double aliquota = 0.0);

    ConstrutorDeclaracao &geral() { return geral(GeraisPadrao()); }
    ConstrutorDeclaracao &geral(const store::DadosGerais &dados);
    // The defaults, changed by `ajuste`.
    ConstrutorDeclaracao &geral(const std::function<void(store::DadosGerais &)> &ajuste);

    // An empty code becomes "COD" + the model's sequence.
    ConstrutorDeclaracao &modelo(const QString &descricao, double precoVenda,
                                 const QString &codigoInterno = {});
    ConstrutorDeclaracao &modelo(const store::DadosModelo &dados);

    ConstrutorDeclaracao &nacional(const QString &descricao = QStringLiteral("Componente nacional"),
                                   double quantidade = 1.0, double custoUnitario = 100.0);
    ConstrutorDeclaracao &nacional(const store::DadosNacional &dados, const store::DadosNF &nf);

    ConstrutorDeclaracao &
    importadoDI(const QString &descricao = QStringLiteral("Componente importado"),
                double quantidade = 1.0, double valorUnitario = 10.0, double aliquota = 0.0);
    // Owner 0: a component of the product.
    ConstrutorDeclaracao &importadoDI(const store::DadosImportado &dados,
                                      const store::DadosDI &di) {
        return subcomponente(0, dados, di);
    }
    ConstrutorDeclaracao &
    importadoNF(const QString &descricao = QStringLiteral("Componente importado"),
                double quantidade = 1.0, double valorUnitario = 10.0, double aliquota = 0.0);
    ConstrutorDeclaracao &importadoNF(const store::DadosImportado &dados,
                                      const store::DadosNF &nf) {
        return subcomponenteNF(0, dados, nf);
    }

    // An imported subcomponent (with a DI) of national component `nacional`.
    ConstrutorDeclaracao &subcomponente(int nacional, const QString &descricao, double quantidade,
                                        double valorUnitario, double aliquota = 0.0,
                                        bool baseCalculo = false);
    ConstrutorDeclaracao &subcomponente(int nacional, const store::DadosImportado &dados,
                                        const store::DadosDI &di);
    ConstrutorDeclaracao &subcomponenteNF(int nacional, const store::DadosImportado &dados,
                                          const store::DadosNF &nf);

    int numero() const { return numero_; }
    operator int() const { return numero_; }
    // Sequences given to the last rows made by this builder (0: none yet).
    int ultimoModelo() const { return ultimoModelo_; }
    int ultimoNacional() const { return ultimoNacional_; }
    int ultimoImportado() const { return ultimoImportado_; }

  private:
    store::DadosNF proximaNF();

    store::Banco &banco_;
    int numero_ = 0;
    int notas_ = 0;
    int ultimoModelo_ = 0;
    int ultimoNacional_ = 0;
    int ultimoImportado_ = 0;
};

// Database contents for before/after comparisons: one text per row, every
// column through SQL quote() so NULL, '' and 0 differ; rows in rowid order.
QStringList ConteudoTabela(store::Banco &banco, const QString &tabela);
// The statement tables, NF and DI, one after the other.
QStringList ConteudoBanco(store::Banco &banco);
// Every table of the file by name, sqlite_sequence included.
QStringList ConteudoArquivo(store::Banco &banco);
// count(*) of `tabela` WHERE `onde` (bound `valores`); all rows when `onde` is empty.
int ContaLinhas(store::Banco &banco, const QString &tabela, const QString &onde = {},
                const QVariantList &valores = {});
// Every row `sql` answers, columns joined by '|' (NULL shown as NULL) and
// rows by ';', so one comparison covers a whole row.
QString Valores(store::Banco &banco, const QString &sql, const QVariantList &valores = {});
// Valores of each statement of tests/data/`arquivo` (split at ";\n"), its
// marks all bound to `valor`.
QStringList ValoresDoArquivo(store::Banco &banco, const QString &arquivo, const QVariant &valor);

} // namespace vlme::teste
