#include "store/GravarLinha.h"

#include <iterator>
#include <limits>

namespace vlme::store::gravar {

namespace {

// The names beside each enum; the asserts keep the two the same length.
const char *const NomesVLME[] = {
    "NR_VLM_VLM",      "DT_REGISTRO_VLM",      "CNPJ_VLM",         "CPF_VLM",
    "PPB_VLM",         "TIPO_COEFICIENTE_VLM", "PERC_REDUCAO_VLM", "SUBSTITUTIVO_VLM",
    "RETIFICADOR_VLM", "NR_VLM_ANTERIOR_VLM",  "NR_PROCESSO_VLM",  "NCM_VLM",
    "PESO_BRUTO_VLM",  "VL_SALARIOS_VLM",      "VL_ENCARGOS_VLM",  "DEN_PRODUTO_VLM",
    "UNIDADE_VLM",     "NR_TRANSMISSAO_VLM",   "NR_ARQUIVO_VLM",   "CODIGO_VLM",
    "RAZAO_SOCIAL_VLM"};
const char *const NomesModelos[] = {"NR_VLM_MODELOS", "NR_SQ_MODELOS", "TX_DESCRICAO_MODELOS",
                                    "COD_INTERNO_MODELOS", "PRECO_VENDA_MODELOS"};
const char *const NomesNacionais[] = {"NR_VLM_NACIONAL",
                                      "NR_SQ_NACIONAL",
                                      "TX_DESCRICAO_NACIONAL",
                                      "QTD_NACIONAL",
                                      "VL_CUSTO_UNITARIO_NACIONAL",
                                      "NR_SEQ_NF_NACIONAL",
                                      "NCM_NACIONAL",
                                      "UNIDADE_NACIONAL",
                                      "NR_SQ_IMPORTACAO"};
const char *const NomesImportados[] = {
    "NR_VLM_IMPORTADO",      "NR_SQ_IMPORTADO",          "TX_DESCRICAO_IMPORTADO",
    "QTD_IMPORTADO",         "VALOR_UNITARIO_IMPORTADO", "ALIQUOTA_IMPORTADO",
    "VALOR_II_IMPORTADO",    "NR_SEQ_DI_IMPORTADO",      "NR_SEQ_NF_IMPORTADO",
    "IN_COM_SUSP_IMPORTADO", "IN_DIRETO_IMPORTADO",      "IN_REDUCAO_II_IMPORTADO",
    "NCM_IMPORTADO",         "UNIDADE_IMPORTADO",        "NR_SQ_IMPORTACAO"};
const char *const NomesSubcomp[] = {"N_VLM_SUBCOMP", "N_IMPORTADO_SUBCOMP", "N_NACIONAL_SUBCOMP",
                                    "IN_BASE_CALCULO_SUBCOMP"};
const char *const NomesNF[] = {"NR_SEQ_NF", "NR_NF",           "SERIE_NF",
                               "CNPJ_NF",   "DATA_EMISSAO_NF", "NR_INS_ESTADUAL_NF"};
const char *const NomesDI[] = {"NR_SQ_DI", "NR_DI_DI", "NR_ADICAO_DI", "NR_ITEM_DI",
                               "DESCRICAO_DI"};

// Each column's default, beside its name: what a writer that sends whole rows
// writes for a column the row leaves out.
const char *const PadroesVLME[] = {nullptr, nullptr, nullptr, nullptr, nullptr, "0", "0",
                                   "0",     "0",     nullptr, nullptr, nullptr, "0", "0",
                                   "0",     nullptr, nullptr, "0",     "0",     "",  nullptr};
const char *const PadroesModelos[] = {nullptr, nullptr, nullptr, nullptr, "0"};
const char *const PadroesNacionais[] = {nullptr, nullptr, nullptr, "0", "0",
                                        "0",     nullptr, nullptr, "0"};
const char *const PadroesImportados[] = {nullptr, nullptr, nullptr, "0", "0",     "0",     "0", "0",
                                         "0",     "0",     "0",     "0", nullptr, nullptr, "0"};
const char *const PadroesSubcomp[] = {nullptr, nullptr, nullptr, "0"};
const char *const PadroesNF[] = {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
const char *const PadroesDI[] = {nullptr, nullptr, nullptr, nullptr, nullptr};

static_assert(std::size(PadroesVLME) == std::size(NomesVLME));
static_assert(std::size(PadroesModelos) == std::size(NomesModelos));
static_assert(std::size(PadroesNacionais) == std::size(NomesNacionais));
static_assert(std::size(PadroesImportados) == std::size(NomesImportados));
static_assert(std::size(PadroesSubcomp) == std::size(NomesSubcomp));
static_assert(std::size(PadroesNF) == std::size(NomesNF));
static_assert(std::size(PadroesDI) == std::size(NomesDI));
static_assert(std::size(NomesVLME) == TabelaVLME::RazaoSocial + 1);
static_assert(std::size(NomesModelos) == TabelaModelos::PrecoVenda + 1);
static_assert(std::size(NomesNacionais) == TabelaNacionais::NumeroNoArquivo + 1);
static_assert(std::size(NomesImportados) == TabelaImportados::NumeroNoArquivo + 1);
static_assert(std::size(NomesSubcomp) == TabelaSubcomp::BaseCalculo + 1);
static_assert(std::size(NomesNF) == TabelaNF::InscricaoEstadual + 1);
static_assert(std::size(NomesDI) == TabelaDI::Descricao + 1);
static_assert(std::size(NomesVLME) <= Linha::MaxColunas); // the widest

// The II value an imported row is saved with; an empty field counts as 0,
// as the number conversion reads it.
double ValorII(const DadosImportado &d) {
    return (d.aliquota.value_or(0.0) / 100.0) * d.valorUnitario.value_or(0.0) *
           d.quantidade.value_or(0.0);
}

// One stored form for the date of issue: "dd/mm/yyyy" from its eight digits.
QString DataGravada(const QString &data) {
    const QString s = data.trimmed();
    if (s.size() == 8) {
        bool digitos = true;
        for (QChar c : s)
            digitos = digitos && c.isDigit();
        if (digitos)
            return s.left(2) + QLatin1Char('/') + s.mid(2, 2) + QLatin1Char('/') + s.mid(4);
    }
    return s;
}

void PoeNumerosEOpcoes(LinhaDe<TabelaImportados> &l, const DadosImportado &d) {
    using T = TabelaImportados;
    l.seNaoVazio(T::Quantidade, d.quantidade);
    l.seNaoVazio(T::ValorUnitario, d.valorUnitario);
    l.seNaoVazio(T::Aliquota, d.aliquota);
    l.poe(T::ValorII, ValorII(d));
    l.seMarcado(T::ComSuspensao, d.comSuspensao);
    l.seMarcado(T::Direto, d.direto);
    l.seMarcado(T::ReducaoII, d.reducaoII);
    l.seNaoVazio(T::Unidade, d.unidade);
    l.seNaoVazio(T::Ncm, d.ncm);
}

} // namespace

const Tabela TabelaVLME::tabela{"VLME", NomesVLME, PadroesVLME, true};
const Tabela TabelaModelos::tabela{"MODELOS", NomesModelos, PadroesModelos, false};
const Tabela TabelaNacionais::tabela{"COMPONENTES_NACIONAIS", NomesNacionais, PadroesNacionais,
                                     false};
const Tabela TabelaImportados::tabela{"COMPONENTES_IMPORTADOS", NomesImportados, PadroesImportados,
                                      false};
const Tabela TabelaSubcomp::tabela{"SUBCOMP", NomesSubcomp, PadroesSubcomp, false};
const Tabela TabelaNF::tabela{"NF", NomesNF, PadroesNF, true};
const Tabela TabelaDI::tabela{"DI", NomesDI, PadroesDI, true};

QVariantList Linha::valoresSql() const {
    QVariantList valores;
    for (std::size_t i = 0; i < tabela_->colunas.size(); ++i) {
        if (!temColuna(int(i)))
            continue;
        const Valor &v = valores_[i];
        if (const int *n = std::get_if<int>(&v))
            valores << *n;
        else if (const double *x = std::get_if<double>(&v))
            valores << *x;
        else if (const QString *s = std::get_if<QString>(&v))
            // Qt binds a null QString as NULL; a typed-but-empty field is ''.
            valores << (s->isNull() ? QStringLiteral("") : *s);
        else
            valores << QVariant(QMetaType(QMetaType::QString));
    }
    return valores;
}

void Linha::poeLido(int coluna, const QVariant &valor) {
    if (valor.isNull()) {
        poe(coluna, std::monostate{});
        return;
    }
    switch (valor.typeId()) {
    case QMetaType::Double:
        poe(coluna, valor.toDouble());
        return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        if (const qint64 n = valor.toLongLong();
            n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max()) {
            poe(coluna, int(n));
            return;
        }
        poe(coluna, valor.toDouble());
        return;
    default:
        poe(coluna, valor.toString());
    }
}

QByteArray TextoInsere(const Linha &linha) {
    const Tabela &t = linha.tabela();
    QByteArray sql = QByteArray("INSERT INTO ") + t.nome;
    if (linha.mascara() == 0)
        return sql + " DEFAULT VALUES";
    QByteArray nomes, marcas;
    for (std::size_t i = 0; i < t.colunas.size(); ++i) {
        if (!linha.temColuna(int(i)))
            continue;
        if (!nomes.isEmpty()) {
            nomes += ", ";
            marcas += ", ";
        }
        nomes += t.colunas[i];
        marcas += '?';
    }
    return sql + " (" + nomes + ") VALUES (" + marcas + ')';
}

namespace {

// A field of an invoice or import declaration, as `vazios` says.
template <class T>
void PoeTexto(LinhaDe<T> &l, typename T::Coluna c, const QString &texto, Vazios vazios) {
    if (vazios == Vazios::Grava)
        l.poe(c, texto);
    else
        l.seNaoVazio(c, texto);
}

} // namespace

LinhaDe<TabelaNF> LinhaNF(const DadosNF &nf, Vazios vazios) {
    using T = TabelaNF;
    LinhaDe<T> l;
    const auto poe = [&](T::Coluna c, const QString &texto) { PoeTexto(l, c, texto, vazios); };
    poe(T::Numero, nf.numero);
    poe(T::Serie, nf.serie);
    poe(T::Cnpj, CnpjSemMascara(nf.cnpj));
    poe(T::DataEmissao, DataGravada(nf.dataEmissao));
    poe(T::InscricaoEstadual, nf.inscricaoEstadual);
    return l;
}

LinhaDe<TabelaDI> LinhaDI(const DadosDI &di, Vazios vazios) {
    using T = TabelaDI;
    LinhaDe<T> l;
    const auto poe = [&](T::Coluna c, const QString &texto) { PoeTexto(l, c, texto, vazios); };
    poe(T::Numero, di.numero);
    poe(T::Adicao, di.adicao);
    poe(T::Item, di.item);
    return l;
}

LinhaDe<TabelaVLME> LinhaVLME(const DadosGerais &d) {
    using T = TabelaVLME;
    LinhaDe<T> l;
    l.poe(T::Cnpj, CnpjSemMascara(d.cnpj));
    l.poe(T::Cpf, d.cpf);
    l.poe(T::Ppb, d.ppb);
    l.poe(T::DenProduto, d.denProduto);
    if (d.coeficiente)
        l.poe(T::TipoCoeficiente, static_cast<int>(*d.coeficiente));
    l.seMarcado(T::Substitutivo, d.substitutivo);
    l.seMarcado(T::Retificador, d.retificador);
    l.poe(T::Ncm, d.ncm);
    l.poe(T::PesoBruto, d.pesoBruto.value_or(0.0));
    l.poe(T::Unidade, d.unidade);
    l.poe(T::Salarios, d.salarios.value_or(0.0));
    l.poe(T::Encargos, d.encargos.value_or(0.0));
    l.poe(T::VlmAnterior, d.vlmAnterior);
    l.poe(T::NrProcesso, d.nrProcesso);
    return l;
}

LinhaDe<TabelaModelos> LinhaModelo(const DadosModelo &d) {
    using T = TabelaModelos;
    LinhaDe<T> l;
    l.seNaoVazio(T::Descricao, d.descricao);
    l.seNaoVazio(T::PrecoVenda, d.precoVenda);
    l.seNaoVazio(T::CodigoInterno, d.codigoInterno);
    return l;
}

LinhaDe<TabelaModelos> NovoModelo(int nrVlm, int nrSq, const DadosModelo &d) {
    LinhaDe<TabelaModelos> l = LinhaModelo(d);
    l.poe(TabelaModelos::NrVlm, nrVlm);
    l.poe(TabelaModelos::NrSq, nrSq);
    return l;
}

LinhaDe<TabelaNacionais> LinhaNacional(const DadosNacional &d) {
    using T = TabelaNacionais;
    LinhaDe<T> l;
    l.seNaoVazio(T::Descricao, d.descricao);
    l.seNaoVazio(T::CustoUnitario, d.custoUnitario);
    l.seNaoVazio(T::Unidade, d.unidade);
    l.seNaoVazio(T::Ncm, d.ncm);
    l.seNaoVazio(T::Quantidade, d.quantidade);
    return l;
}

LinhaDe<TabelaNacionais> NovoNacional(int nrVlm, int nrSq, const DadosNacional &d, int chaveNF) {
    using T = TabelaNacionais;
    LinhaDe<T> l = LinhaNacional(d);
    l.poe(T::NrVlm, nrVlm);
    l.poe(T::NrSq, nrSq);
    l.poe(T::ChaveNF, chaveNF);
    if (d.numeroNoArquivo)
        l.poe(T::NumeroNoArquivo, *d.numeroNoArquivo);
    return l;
}

LinhaDe<TabelaImportados> NovoImportado(int nrVlm, int nrSq, const DadosImportado &d,
                                        Documento documento, int chave) {
    using T = TabelaImportados;
    LinhaDe<T> l;
    l.poe(T::NrVlm, nrVlm);
    l.poe(T::NrSq, nrSq);
    l.seNaoVazio(T::Descricao, d.descricao);
    l.poe(documento == Documento::DI ? T::ChaveDI : T::ChaveNF, chave);
    PoeNumerosEOpcoes(l, d);
    return l;
}

LinhaDe<TabelaImportados> ImportadoAlterado(const DadosImportado &d, Documento documento,
                                            int chave) {
    using T = TabelaImportados;
    LinhaDe<T> l;
    l.poe(T::Descricao, d.descricao.isEmpty() ? QStringLiteral(" ") : d.descricao);
    const bool di = documento == Documento::DI;
    l.poe(T::ChaveDI, di ? chave : 0);
    l.poe(T::ChaveNF, di ? 0 : chave);
    // An invoice's unit left under a DI makes a delivery file the import
    // refuses: a DI row stores none, as an imported one.
    if (di && d.unidade.isEmpty())
        l.poeNulo(T::Unidade);
    PoeNumerosEOpcoes(l, d);
    return l;
}

LinhaDe<TabelaSubcomp> NovoSubcomp(int nrVlm, int nacionalDono, int nrSqImportado,
                                   bool baseCalculo) {
    using T = TabelaSubcomp;
    LinhaDe<T> l;
    l.poe(T::NrVlm, nrVlm);
    // One still being included is linked as 0 until it is adopted.
    l.poe(T::Nacional, nacionalDono > 0 ? nacionalDono : 0);
    l.poe(T::Importado, nrSqImportado);
    l.poe(T::BaseCalculo, baseCalculo ? 1 : 0);
    return l;
}

} // namespace vlme::store::gravar
