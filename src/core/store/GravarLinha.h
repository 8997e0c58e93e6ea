#pragma once
// The rows the saving operations write, described once: per table its columns
// in the schema's order; per row which of them are set and their typed values;
// and which field of the forms' structs goes to which column. The forms' saving
// code and the bulk writers all write these rows, so a new field is mapped
// here and nowhere else. A column a row leaves unset keeps the table's
// default (on insert) or its value (on update); a writer that sends whole
// rows must send that default itself. Internal to store; any thread.

#include "store/Gravar.h"

#include <QString>
#include <QVariant>

#include <array>
#include <optional>
#include <span>
#include <variant>

namespace vlme::store::gravar {

struct Tabela {
    const char *nome;
    std::span<const char *const> colunas; // every column, in the schema's order
    // Each column's default as the schema gives it, as text; null where the
    // default is NULL (and for a counter).
    std::span<const char *const> padroes;
    bool contador; // the first column is a counter the database draws
};

// Each table's column numbers (its enum) and description.
struct TabelaVLME {
    enum Coluna {
        Numero,
        DataRegistro,
        Cnpj,
        Cpf,
        Ppb,
        TipoCoeficiente,
        PercReducao,
        Substitutivo,
        Retificador,
        VlmAnterior,
        NrProcesso,
        Ncm,
        PesoBruto,
        Salarios,
        Encargos,
        DenProduto,
        Unidade,
        NrTransmissao,
        NrArquivo,
        Codigo,
        RazaoSocial
    };
    static const Tabela tabela;
};
struct TabelaModelos {
    enum Coluna { NrVlm, NrSq, Descricao, CodigoInterno, PrecoVenda };
    static const Tabela tabela;
};
struct TabelaNacionais {
    enum Coluna {
        NrVlm,
        NrSq,
        Descricao,
        Quantidade,
        CustoUnitario,
        ChaveNF,
        Ncm,
        Unidade,
        NumeroNoArquivo
    };
    static const Tabela tabela;
};
struct TabelaImportados {
    enum Coluna {
        NrVlm,
        NrSq,
        Descricao,
        Quantidade,
        ValorUnitario,
        Aliquota,
        ValorII,
        ChaveDI,
        ChaveNF,
        ComSuspensao,
        Direto,
        ReducaoII,
        Ncm,
        Unidade,
        NumeroNoArquivo
    };
    static const Tabela tabela;
};
struct TabelaSubcomp {
    enum Coluna { NrVlm, Importado, Nacional, BaseCalculo };
    static const Tabela tabela;
};
struct TabelaNF {
    enum Coluna { Chave, Numero, Serie, Cnpj, DataEmissao, InscricaoEstadual };
    static const Tabela tabela;
};
struct TabelaDI {
    enum Coluna { Chave, Numero, Adicao, Item, Descricao };
    static const Tabela tabela;
};

// A set column holds SQL NULL (monostate), an integer, a real or a text; a
// text is never NULL, an empty one is ''.
using Valor = std::variant<std::monostate, int, double, QString>;

class Linha {
  public:
    static constexpr int MaxColunas = 21;

    const Tabela &tabela() const { return *tabela_; }
    // Bit i: column i is set.
    quint32 mascara() const { return mascara_; }
    bool temColuna(int coluna) const { return (mascara_ >> coluna) & 1u; }
    const Valor &valor(int coluna) const { return valores_[std::size_t(coluna)]; }
    // The set columns' values in column order, as Qt SQL binds them.
    QVariantList valoresSql() const;

  protected:
    explicit Linha(const Tabela &tabela) : tabela_(&tabela) {}
    void poe(int coluna, Valor valor) {
        valores_[std::size_t(coluna)] = std::move(valor);
        mascara_ |= 1u << coluna;
    }
    void poeLido(int coluna, const QVariant &valor);

  private:
    const Tabela *tabela_;
    std::array<Valor, MaxColunas> valores_;
    quint32 mascara_ = 0;
};

// A row of table T, whose columns are named by T's enum only.
template <class T> class LinhaDe : public Linha {
  public:
    using Coluna = typename T::Coluna;
    LinhaDe() : Linha(T::tabela) {}

    void poe(Coluna c, int valor) { Linha::poe(c, valor); }
    void poe(Coluna c, double valor) { Linha::poe(c, valor); }
    void poe(Coluna c, const QString &texto) { Linha::poe(c, texto); }
    void poeNulo(Coluna c) { Linha::poe(c, std::monostate{}); }
    // A value read back from a database, as it was read: a null stays null,
    // a number keeps its kind.
    void poeLido(Coluna c, const QVariant &valor) { Linha::poeLido(c, valor); }
    // Only when the field was not empty.
    void seNaoVazio(Coluna c, const QString &texto) {
        if (!texto.isEmpty())
            poe(c, texto);
    }
    void seNaoVazio(Coluna c, const std::optional<double> &numero) {
        if (numero)
            poe(c, *numero);
    }
    // 1 / 0 when one option of the pair is selected.
    void seMarcado(Coluna c, const std::optional<bool> &opcao) {
        if (opcao)
            poe(c, *opcao ? 1 : 0);
    }
};

// INSERT of the row's set columns (DEFAULT VALUES when none), one `?` each in
// column order.
QByteArray TextoInsere(const Linha &linha);

// What empty fields of an invoice or import declaration become: left to the
// column (a new row) or written as '' (a row overwritten by the form).
enum class Vazios { Omite, Grava };
LinhaDe<TabelaNF> LinhaNF(const DadosNF &nf, Vazios vazios);
LinhaDe<TabelaDI> LinhaDI(const DadosDI &di, Vazios vazios);

// The general data, as the first tab saves them over the statement's row.
LinhaDe<TabelaVLME> LinhaVLME(const DadosGerais &d);

// A model's fields; NovoModelo adds the keys of a new row.
LinhaDe<TabelaModelos> LinhaModelo(const DadosModelo &d);
LinhaDe<TabelaModelos> NovoModelo(int nrVlm, int nrSq, const DadosModelo &d);

// A national component's fields; NovoNacional adds the keys, the invoice and
// the number in the imported file of a new row.
LinhaDe<TabelaNacionais> LinhaNacional(const DadosNacional &d);
LinhaDe<TabelaNacionais> NovoNacional(int nrVlm, int nrSq, const DadosNacional &d, int chaveNF);

// A new imported row linked to `chave` of kind `documento` (the other link
// keeps its default).
LinhaDe<TabelaImportados> NovoImportado(int nrVlm, int nrSq, const DadosImportado &d,
                                        Documento documento, int chave);
// The imported row as the form overwrites it: both links set, the other
// kind's to 0.
LinhaDe<TabelaImportados> ImportadoAlterado(const DadosImportado &d, Documento documento,
                                            int chave);
// The link of a subcomponent to `nacionalDono` (see NacionalEmInclusao).
LinhaDe<TabelaSubcomp> NovoSubcomp(int nrVlm, int nacionalDono, int nrSqImportado,
                                   bool baseCalculo);

} // namespace vlme::store::gravar
