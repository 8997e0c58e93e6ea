#include "entry/FormNacional.h"

#include "base/ErroVLME.h"
#include "entry/Numeros.h"
#include "entry/OperacaoFormulario.h"
#include "store/Banco.h"
#include "store/Controle.h"
#include "store/Gravar.h"

namespace vlme::entry {

namespace {

constexpr char Form[] = "frmNacionais";
constexpr char Parte[] = "Componentes nacionais";

const QStringList controlesModo = {QStringLiteral("mskNR"),
                                   QStringLiteral("mskSerie"),
                                   QStringLiteral("mskDataEmissao"),
                                   QStringLiteral("mskCNPJ"),
                                   QStringLiteral("mskNrInsEstadual"),
                                   QStringLiteral("txtDescricao"),
                                   QStringLiteral("mskNCM"),
                                   QStringLiteral("CmdNcm"),
                                   QStringLiteral("TxtUnidade"),
                                   QStringLiteral("Command1"),
                                   QStringLiteral("mskQTD"),
                                   QStringLiteral("mskCustoUnitario"),
                                   QStringLiteral("cmdIncluirImportadoNacional"),
                                   QStringLiteral("cmdCancelar")};
const QStringList comandosDaLinha = {
    QStringLiteral("cmdAlterarImportadoNacional"), QStringLiteral("cmdVisualizarImportadoNacional"),
    QStringLiteral("cmdExcluirImportadoNacional"), QStringLiteral("cmdLocalizarImportadoNacional")};

QString texto(const QVariant &v) {
    return v.isNull() ? QString() : v.toString();
}

} // namespace

FormNacional::FormNacional(store::Banco &banco, int nrVlm, int operacao, int nrSq)
    : banco_(banco), nrVlm_(nrVlm), operacao_(operacao), nrSq_(nrSq) {}

int FormNacional::dono() const {
    return nrSq_ > 0 ? nrSq_ : store::NacionalEmInclusao;
}

QString FormNacional::titulo() const {
    if (operacao_ == OperacaoFormulario::Visualizar)
        return PrefixoOperacao(operacao_);
    return PrefixoOperacao(operacao_) + QStringLiteral("Componente Nacional");
}

CamposNacional FormNacional::carrega() const {
    CamposNacional c;
    if (operacao_ == OperacaoFormulario::Incluir)
        return c;
    QSqlQuery q = banco_.executa(
        QStringLiteral("SELECT TX_DESCRICAO_NACIONAL, QTD_NACIONAL, VL_CUSTO_UNITARIO_NACIONAL,"
                       " NCM_NACIONAL, UNIDADE_NACIONAL, NR_NF, SERIE_NF, CNPJ_NF,"
                       " DATA_EMISSAO_NF, NR_INS_ESTADUAL_NF FROM COMPONENTES_NACIONAIS"
                       " LEFT JOIN NF ON NR_SEQ_NF = NR_SEQ_NF_NACIONAL"
                       " WHERE NR_VLM_NACIONAL = ? AND NR_SQ_NACIONAL = ?"),
        {nrVlm_, nrSq_});
    if (!banco_.proxima(q))
        throw base::ErroVLME(QStringLiteral("O componente nacional %1 não está mais na "
                                            "declaração. Feche a janela e abra a lista de novo.")
                                 .arg(nrSq_));
    c.descricao = texto(q.value(0));
    c.quantidade = FormataValor(q.value(1).toDouble(), 17, 7);
    c.custoUnitario = FormataValor(q.value(2).toDouble(), 18, 6);
    c.ncm = texto(q.value(3)).trimmed();
    c.unidade = texto(q.value(4));
    c.nf = texto(q.value(5));
    c.serie = texto(q.value(6));
    c.cnpj = store::CnpjSemMascara(texto(q.value(7)));
    const QDate data = store::LeDataNF(texto(q.value(8)));
    c.dataEmissao = data.isValid() ? data.toString(QStringLiteral("ddMMyyyy")) : QString();
    c.inscricao = texto(q.value(9));
    return c;
}

Habilitacao FormNacional::habilitacao(bool listaTemLinhas) const {
    Habilitacao h;
    for (const QString &n : controlesModo)
        h.emplace_back(n, HabilitadoNoModo(operacao_, TagControle(Form, n)));
    for (const QString &n : comandosDaLinha)
        h.emplace_back(n, operacao_ != OperacaoFormulario::Excluir && listaTemLinhas &&
                              HabilitadoNoModo(operacao_, TagControle(Form, n)));
    return h;
}

ConferenciasCampos FormNacional::confere(const CamposNacional &c) const {
    ConferenciasCampos r;
    const auto passa = [&](const char *campo, Conferencia conferencia) {
        r.push_back({QString::fromLatin1(campo), std::move(conferencia)});
        return r.back().conferencia.passou;
    };
    const auto diferenteDeZero = [&](const char *campo, const char *chave) {
        return passa(campo,
                     {ConverteValor(*r.back().conferencia.texto) != 0.0, Mensagem(chave), {}});
    };
    if (!passa("mskNR", ConfereObrigatorio(c.nf, Mensagem("ERRO_NOTA_NAC_AUSENTE"))) ||
        !passa("mskNR", ConfereNumeroNota(c.nf, Mensagem("ERRO_NOTA_NAC_INVALIDO"))) ||
        !passa("mskSerie", ConfereObrigatorio(c.serie, Mensagem("ERRO_SERIE_NAC_AUSENTE"))) ||
        !passa("mskDataEmissao",
               ConfereData(c.dataEmissao, Mensagem("ERRO_DATAEMISSAO_NAC_INVALIDO"))) ||
        !passa("mskCNPJ", ConfereObrigatorio(c.cnpj, Mensagem("ERRO_CNPJ_NAC_AUSENTE"))) ||
        !passa("mskCNPJ", ConfereCNPJ(c.cnpj, Mensagem("ERRO_CNPJ_NAC_INVALIDO"))) ||
        (!c.inscricao.isEmpty() &&
         !passa("mskNrInsEstadual",
                ConfereInscricao(c.inscricao, Mensagem("ERRO_NRINSESTADUAL_NAC_INVALIDO")))) ||
        !passa("txtDescricao",
               ConfereObrigatorio(c.descricao, Mensagem("ERRO_DESCRICAO_NAC_AUSENTE"))) ||
        !passa("mskNCM", ConfereNCM(c.ncm, Mensagem("ERRO_NCM_NAC_INVALIDO"))) ||
        !passa("TxtUnidade", ConfereObrigatorio(c.unidade, Mensagem("ERRO_UNIDADE_NAC_AUSENTE"))) ||
        !passa("mskQTD", ConfereValor(c.quantidade, 17, 7, Mensagem("ERRO_QTD_NAC_INVALIDO"))) ||
        !diferenteDeZero("mskQTD", "ERRO_QTD_NAC_ZERO") ||
        !passa("mskCustoUnitario",
               ConfereValor(c.custoUnitario, 18, 6, Mensagem("ERRO_CUSTO_NAC_INVALIDO"))) ||
        !diferenteDeZero("mskCustoUnitario", "ERRO_CUSTO_NAC_ZERO"))
        return r;
    if (store::VerificaCustoNacional(banco_, nrVlm_, dono(), ConverteValor(c.custoUnitario)))
        passa("mskCustoUnitario", {false, Mensagem("ERRO_VALOR_NAC_MENOR_SUB"), {}});
    return r;
}

int FormNacional::grava(const CamposNacional &c) {
    switch (operacao_) {
    case OperacaoFormulario::Visualizar:
        return 0;
    case OperacaoFormulario::Excluir: {
        store::Alteracao alteracao(banco_, nrVlm_, ParteGravada(Parte, operacao_));
        store::ExcluiNacional(banco_, nrVlm_, nrSq_);
        alteracao.confirma();
        return nrSq_;
    }
    default:
        break;
    }
    const store::DadosNF nf{c.nf, c.serie, c.cnpj, c.dataEmissao, c.inscricao};
    const store::DadosNacional d{c.descricao.trimmed(),
                                 ConverteValor(c.quantidade),
                                 ConverteValor(c.custoUnitario),
                                 c.unidade.trimmed(),
                                 c.ncm,
                                 {}};
    store::Alteracao alteracao(banco_, nrVlm_, ParteGravada(Parte, operacao_));
    const int nrSq = operacao_ == OperacaoFormulario::Incluir
                         ? store::IncluiNacional(banco_, nrVlm_, nf, d)
                         : (store::AlteraNacional(banco_, nrVlm_, nrSq_, nf, d), nrSq_);
    alteracao.confirma();
    return nrSq_ = nrSq;
}

void FormNacional::descartaPendentes() {
    if (operacao_ == OperacaoFormulario::Incluir && nrSq_ == 0) {
        store::Alteracao alteracao(banco_, nrVlm_,
                                   ParteGravada(Parte, OperacaoFormulario::Excluir));
        store::ExcluiSubcomponentesPendentes(banco_, nrVlm_);
        alteracao.confirma();
    }
}

std::vector<LinhaSubcomponente> FormNacional::subcomponentes() const {
    QSqlQuery q = banco_.executa(
        QStringLiteral("SELECT i.NR_SQ_IMPORTADO, i.TX_DESCRICAO_IMPORTADO, i.QTD_IMPORTADO,"
                       " i.VALOR_UNITARIO_IMPORTADO, i.VALOR_II_IMPORTADO"
                       " FROM SUBCOMP s JOIN COMPONENTES_IMPORTADOS i"
                       " ON i.NR_VLM_IMPORTADO = s.N_VLM_SUBCOMP"
                       " AND i.NR_SQ_IMPORTADO = s.N_IMPORTADO_SUBCOMP"
                       " WHERE s.N_VLM_SUBCOMP = ? AND s.N_NACIONAL_SUBCOMP = ?"
                       " ORDER BY i.NR_SQ_IMPORTADO"),
        {nrVlm_, std::max(nrSq_, 0)});
    std::vector<LinhaSubcomponente> linhas;
    while (banco_.proxima(q)) {
        const double qtd = q.value(2).toDouble();
        const double valor = q.value(3).toDouble();
        // Typed values with their fields' decimals; money the program
        // computes with two, as the statement's lists show it.
        linhas.push_back({q.value(0).toInt(), texto(q.value(1)), FormataValor(qtd, 17, 7),
                          FormataValor(valor, 18, 6), FormataValor(qtd * valor, 18, 2),
                          FormataValor(q.value(4).toDouble(), 18, 2)});
    }
    return linhas;
}

ConferenciaCampo FormNacional::confereAntesDeAlterar(const QString &custoUnitario) const {
    const bool excede = store::CustoExcedido(store::SomaSubcomponentes(banco_, nrVlm_, dono()),
                                             ConverteValor(custoUnitario));
    return {QStringLiteral("mskCustoUnitario"),
            {!excede, excede ? Mensagem("ERRO_VALOR_SUB_MAIOR_NAC") : QString(), {}}};
}

int FormNacional::localiza(const QString &procurado) const {
    const QString chave = store::DobraTexto(procurado);
    for (const LinhaSubcomponente &l : subcomponentes())
        if (store::DobraTexto(l.descricao).contains(chave))
            return l.nrSq;
    return 0;
}

} // namespace vlme::entry
