#include "support/ConstrutorDeclaracao.h"

#include "store/Banco.h"
#include "store/Declaracoes.h"
#include "support/Arquivos.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace vlme::teste {

using namespace vlme::store;

ConstrutorDeclaracao::ConstrutorDeclaracao(Banco &banco) : banco_(banco), numero_(CriaVLM(banco)) {}

ConstrutorDeclaracao::ConstrutorDeclaracao(Banco &banco, int numero)
    : banco_(banco), numero_(numero) {}

DadosGerais ConstrutorDeclaracao::GeraisPadrao() {
    DadosGerais d{Cnpj, Cpf, "PPB de telefones celulares", "Telefone celular", Ncm, "UN", 0.15};
    d.salarios = d.encargos = 0.0;
    d.coeficiente = Coeficiente::Fixo;
    d.substitutivo = d.retificador = false;
    return d;
}

DadosNF ConstrutorDeclaracao::NFPadrao() {
    return {"0000000001", "1", CnpjFornecedor, "15/03/2023", {}};
}

DadosDI ConstrutorDeclaracao::DIPadrao() {
    return {NumeroDI, "001", "01"};
}

DadosNacional ConstrutorDeclaracao::NacionalPadrao(const QString &descricao, double quantidade,
                                                   double custoUnitario) {
    return {descricao, quantidade, custoUnitario, "UN", Ncm, {}};
}

DadosImportado ConstrutorDeclaracao::ImportadoPadrao(const QString &descricao, double quantidade,
                                                     double valorUnitario, double aliquota) {
    return {descricao, quantidade, valorUnitario, aliquota, true, {}, false, "UN", Ncm, false};
}

DadosNF ConstrutorDeclaracao::proximaNF() {
    DadosNF nf = NFPadrao();
    nf.numero = QStringLiteral("%1").arg(++notas_, 10, 10, QLatin1Char('0'));
    return nf;
}

ConstrutorDeclaracao &ConstrutorDeclaracao::geral(const DadosGerais &dados) {
    GravaVLME(banco_, numero_, dados);
    return *this;
}

ConstrutorDeclaracao &
ConstrutorDeclaracao::geral(const std::function<void(DadosGerais &)> &ajuste) {
    DadosGerais d = GeraisPadrao();
    ajuste(d);
    return geral(d);
}

ConstrutorDeclaracao &ConstrutorDeclaracao::modelo(const QString &descricao, double precoVenda,
                                                   const QString &codigoInterno) {
    DadosModelo d{descricao, precoVenda, codigoInterno};
    if (d.codigoInterno.isEmpty())
        d.codigoInterno = QStringLiteral("COD%1").arg(ProximoModelo(banco_, numero_));
    return modelo(d);
}

ConstrutorDeclaracao &ConstrutorDeclaracao::modelo(const DadosModelo &dados) {
    ultimoModelo_ = IncluiModelo(banco_, numero_, dados);
    return *this;
}

ConstrutorDeclaracao &ConstrutorDeclaracao::nacional(const QString &descricao, double quantidade,
                                                     double custoUnitario) {
    return nacional(NacionalPadrao(descricao, quantidade, custoUnitario), proximaNF());
}

ConstrutorDeclaracao &ConstrutorDeclaracao::nacional(const DadosNacional &dados,
                                                     const DadosNF &nf) {
    ultimoNacional_ = IncluiNacional(banco_, numero_, nf, dados);
    return *this;
}

ConstrutorDeclaracao &ConstrutorDeclaracao::importadoDI(const QString &descricao, double quantidade,
                                                        double valorUnitario, double aliquota) {
    return importadoDI(ImportadoPadrao(descricao, quantidade, valorUnitario, aliquota), DIPadrao());
}

ConstrutorDeclaracao &ConstrutorDeclaracao::importadoNF(const QString &descricao, double quantidade,
                                                        double valorUnitario, double aliquota) {
    return importadoNF(ImportadoPadrao(descricao, quantidade, valorUnitario, aliquota),
                       proximaNF());
}

ConstrutorDeclaracao &ConstrutorDeclaracao::subcomponente(int nacional, const QString &descricao,
                                                          double quantidade, double valorUnitario,
                                                          double aliquota, bool baseCalculo) {
    DadosImportado d = ImportadoPadrao(descricao, quantidade, valorUnitario, aliquota);
    d.baseCalculo = baseCalculo;
    return subcomponente(nacional, d, DIPadrao());
}

ConstrutorDeclaracao &ConstrutorDeclaracao::subcomponente(int nacional, const DadosImportado &dados,
                                                          const DadosDI &di) {
    DadosImportado d = dados;
    d.direto = d.direto.value_or(true);
    ultimoImportado_ = IncluiImportadoDI(banco_, numero_, di, d, nacional);
    return *this;
}

ConstrutorDeclaracao &ConstrutorDeclaracao::subcomponenteNF(int nacional,
                                                            const DadosImportado &dados,
                                                            const DadosNF &nf) {
    DadosImportado d = dados;
    d.direto = d.direto.value_or(false);
    ultimoImportado_ = IncluiImportadoNF(banco_, numero_, nf, d, nacional);
    return *this;
}

QStringList ConteudoTabela(Banco &banco, const QString &tabela) {
    QStringList colunas;
    for (QSqlQuery q = banco.executa("SELECT name FROM pragma_table_info(?)", {tabela}); q.next();)
        colunas << QStringLiteral("quote(%1)").arg(q.value(0).toString());
    QStringList linhas;
    QSqlQuery q = banco.executa(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                                    .arg(colunas.join(" || '|' || "), tabela));
    while (q.next())
        linhas << tabela + QLatin1Char(':') + q.value(0).toString();
    return linhas;
}

QStringList ConteudoBanco(Banco &banco) {
    QStringList tudo;
    for (const char *tabela : {"VLME", "MODELOS", "COMPONENTES_NACIONAIS", "COMPONENTES_IMPORTADOS",
                               "SUBCOMP", "NF", "DI"})
        tudo += ConteudoTabela(banco, QLatin1String(tabela));
    return tudo;
}

QStringList ConteudoArquivo(Banco &banco) {
    QStringList tudo;
    // The server's reservation holders change with every reservation.
    const QString tabelas =
        banco.servidor() ? "SELECT upper(table_name) FROM information_schema.tables WHERE"
                           " table_schema = current_schema() AND table_name <> 'reserva_vlme'"
                           " ORDER BY 1"
                         : "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY 1";
    for (const QString &t : Valores(banco, tabelas).split(';'))
        tudo += ConteudoTabela(banco, t);
    return tudo;
}

int ContaLinhas(Banco &banco, const QString &tabela, const QString &onde,
                const QVariantList &valores) {
    const QString filtro = onde.isEmpty() ? QString() : QStringLiteral(" WHERE ") + onde;
    return banco.escalar(QStringLiteral("SELECT count(*) FROM ") + tabela + filtro, valores)
        .toInt();
}

QString Valores(Banco &banco, const QString &sql, const QVariantList &valores) {
    QStringList linhas;
    for (QSqlQuery q = banco.executa(sql, valores); q.next();) {
        QStringList campos;
        for (int i = 0; i < q.record().count(); ++i)
            campos << (q.isNull(i) ? "NULL" : q.value(i).toString());
        linhas << campos.join(QLatin1Char('|'));
    }
    return linhas.join(QLatin1Char(';'));
}

QStringList ValoresDoArquivo(Banco &banco, const QString &arquivo, const QVariant &valor) {
    QStringList r;
    for (const QString &sql : QString::fromStdString(LeBytes(DadoTeste(arquivo))).split(";\n"))
        r << Valores(banco, sql, QVariantList(sql.count('?'), valor));
    return r;
}

} // namespace vlme::teste
