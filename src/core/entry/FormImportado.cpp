#include "entry/FormImportado.h"

#include "base/ErroVLME.h"
#include "entry/Numeros.h"
#include "entry/OperacaoFormulario.h"
#include "store/Banco.h"
#include "store/Controle.h"
#include "store/Gravar.h"

#include <algorithm>

namespace vlme::entry {

namespace {

constexpr char Form[] = "frmImportados";

const QStringList controlesDI = {QStringLiteral("lblNrDI"),     QStringLiteral("mskNrDI"),
                                 QStringLiteral("lblNrAdicao"), QStringLiteral("mskNrAdicao"),
                                 QStringLiteral("lblNrItem"),   QStringLiteral("mskNrItem")};
const QStringList controlesNF = {QStringLiteral("lblNR"),
                                 QStringLiteral("mskNR"),
                                 QStringLiteral("lblSerie"),
                                 QStringLiteral("mskSerie"),
                                 QStringLiteral("lblDataEmissao"),
                                 QStringLiteral("mskDataEmissao"),
                                 QStringLiteral("lblCNPJ"),
                                 QStringLiteral("mskCNPJ"),
                                 QStringLiteral("lblNrInsEstadual"),
                                 QStringLiteral("mskNrInsEstadual"),
                                 QStringLiteral("lblNCM"),
                                 QStringLiteral("mskNCM"),
                                 QStringLiteral("MskDescNCM"),
                                 QStringLiteral("CmdNcm"),
                                 QStringLiteral("lblUnidade"),
                                 QStringLiteral("txtUnidade"),
                                 QStringLiteral("MskDescUnM"),
                                 QStringLiteral("CmdUnid")};
const QStringList controlesSuspensao = {QStringLiteral("lblSuspensao"),
                                        QStringLiteral("optComSuspSim"),
                                        QStringLiteral("optComSuspNao")};
const QStringList outrosControles = {
    QStringLiteral("optDiretoSim"),      QStringLiteral("optDiretoNao"),
    QStringLiteral("optBaseCalculoSim"), QStringLiteral("optBaseCalculoNao"),
    QStringLiteral("optReducaoSim"),     QStringLiteral("optReducaoNao"),
    QStringLiteral("txtDescricao"),      QStringLiteral("mskQTD"),
    QStringLiteral("mskValorUnitario"),  QStringLiteral("mskAliquota"),
    QStringLiteral("cmdCancelar")};

QString texto(const QVariant &v) {
    return v.isNull() ? QString() : v.toString();
}

} // namespace

FormImportado::FormImportado(store::Banco &banco, int nrVlm, int dono, int operacao, int nrSq)
    : banco_(banco), nrVlm_(nrVlm), dono_(dono), operacao_(operacao), nrSq_(nrSq) {}

QString FormImportado::titulo() const {
    return PrefixoOperacao(operacao_) + (subcomponente() ? QStringLiteral("Subcomponente Importado")
                                                         : QStringLiteral("Componente Importado"));
}

QString FormImportado::tituloOrigem() const {
    return subcomponente() ? QStringLiteral("Origem do subcomponente")
                           : QStringLiteral("Origem do componente");
}

QString FormImportado::tituloDados() const {
    return subcomponente() ? QStringLiteral("Dados do subcomponente")
                           : QStringLiteral("Dados do componente");
}

CamposImportado FormImportado::carrega() const {
    CamposImportado c;
    if (operacao_ == OperacaoFormulario::Incluir)
        return c;
    QSqlQuery q = banco_.executa(
        QStringLiteral("SELECT i.TX_DESCRICAO_IMPORTADO, i.QTD_IMPORTADO,"
                       " i.VALOR_UNITARIO_IMPORTADO, i.ALIQUOTA_IMPORTADO, i.NR_SEQ_DI_IMPORTADO,"
                       " i.NR_SEQ_NF_IMPORTADO, i.IN_COM_SUSP_IMPORTADO, i.IN_DIRETO_IMPORTADO,"
                       " i.IN_REDUCAO_II_IMPORTADO, i.NCM_IMPORTADO, i.UNIDADE_IMPORTADO,"
                       " (SELECT s.IN_BASE_CALCULO_SUBCOMP FROM SUBCOMP s"
                       "  WHERE s.N_VLM_SUBCOMP = i.NR_VLM_IMPORTADO"
                       "  AND s.N_IMPORTADO_SUBCOMP = i.NR_SQ_IMPORTADO)"
                       " FROM COMPONENTES_IMPORTADOS i"
                       " WHERE i.NR_VLM_IMPORTADO = ? AND i.NR_SQ_IMPORTADO = ?"),
        {nrVlm_, nrSq_});
    if (!banco_.proxima(q))
        throw base::ErroVLME(QStringLiteral("O componente importado %1 não está mais na "
                                            "declaração. Feche a janela e abra a lista de novo.")
                                 .arg(nrSq_));
    c.descricao = texto(q.value(0));
    c.quantidade = FormataValor(q.value(1).toDouble(), 17, 7);
    c.valorUnitario = FormataValor(q.value(2).toDouble(), 18, 6);
    c.aliquota = FormataValor(q.value(3).toDouble(), 6, 2);
    const int chaveDI = q.value(4).toInt();
    const int chaveNF = q.value(5).toInt();
    c.comSuspensao = q.value(6).toInt() == 1;
    c.di = q.value(7).toInt() == 1;
    c.reducao = q.value(8).toInt() == 1;
    c.ncm = texto(q.value(9)).trimmed();
    if (c.ncm == QLatin1String("00000000"))
        c.ncm.clear(); // none: a DI's
    c.unidade = texto(q.value(10));
    c.baseCalculo = q.value(11).toInt() == 1;

    QSqlQuery di = banco_.executa(
        QStringLiteral("SELECT NR_DI_DI, NR_ADICAO_DI, NR_ITEM_DI FROM DI WHERE NR_SQ_DI = ?"),
        {chaveDI});
    if (banco_.proxima(di)) {
        c.nrDI = texto(di.value(0));
        c.adicao = texto(di.value(1));
        c.item = texto(di.value(2));
    }
    QSqlQuery nf = banco_.executa(QStringLiteral("SELECT NR_NF, SERIE_NF, CNPJ_NF,"
                                                 " DATA_EMISSAO_NF, NR_INS_ESTADUAL_NF"
                                                 " FROM NF WHERE NR_SEQ_NF = ?"),
                                  {chaveNF});
    if (banco_.proxima(nf)) {
        c.nf = texto(nf.value(0));
        c.serie = texto(nf.value(1));
        c.cnpj = store::CnpjSemMascara(texto(nf.value(2)));
        const QDate data = store::LeDataNF(texto(nf.value(3)));
        c.dataEmissao = data.isValid() ? data.toString(QStringLiteral("ddMMyyyy")) : QString();
        c.inscricao = texto(nf.value(4));
    }
    return c;
}

Habilitacao FormImportado::habilitacao(const CamposImportado &campos) const {
    Habilitacao h;
    const auto poe = [&](const QString &nome, bool regra) {
        h.emplace_back(nome, regra && HabilitadoNoModo(operacao_, TagControle(Form, nome)));
    };
    for (const QString &n : controlesDI)
        poe(n, campos.di);
    for (const QString &n : controlesNF)
        poe(n, !campos.di);
    // Suspension only counts for a subcomponent that forms the calculation base.
    for (const QString &n : controlesSuspensao)
        poe(n, !subcomponente() || campos.baseCalculo);
    for (const QString &n : outrosControles)
        poe(n, true);
    return h;
}

double FormImportado::custoNacional() const {
    if (custoNacional_ && dono_ <= 0)
        return *custoNacional_;
    const double gravado =
        banco_
            .escalar(QStringLiteral("SELECT VL_CUSTO_UNITARIO_NACIONAL FROM COMPONENTES_NACIONAIS"
                                    " WHERE NR_VLM_NACIONAL = ? AND NR_SQ_NACIONAL = ?"),
                     {nrVlm_, dono_})
            .toDouble();
    // A subcomponent is saved at once, the component's cost typed beside it
    // only on its OK: until then the stored cost binds too, so a cancel never
    // leaves subcomponents above it.
    return custoNacional_ ? std::min(*custoNacional_, gravado) : gravado;
}

ConferenciasCampos FormImportado::confere(const CamposImportado &c) const {
    ConferenciasCampos r;
    if (operacao_ != OperacaoFormulario::Incluir && operacao_ != OperacaoFormulario::Alterar)
        return r;
    const auto passa = [&](const char *campo, Conferencia conferencia) {
        r.push_back({QString::fromLatin1(campo), std::move(conferencia)});
        return r.back().conferencia.passou;
    };
    const auto diferenteDeZero = [&](const char *campo, const char *chave) {
        return passa(campo,
                     {ConverteValor(*r.back().conferencia.texto) != 0.0, Mensagem(chave), {}});
    };
    if (c.di) {
        if (!passa("mskNrDI", ConfereObrigatorio(c.nrDI, Mensagem("ERRO_DI_IMP_AUSENTE"))) ||
            !passa("mskNrDI", ConfereDI(c.nrDI, Mensagem("ERRO_DI_IMP_INVALIDO"))) ||
            !passa("mskNrAdicao",
                   ConfereObrigatorio(c.adicao, Mensagem("ERRO_DI_ADICAO_AUSENTE"))) ||
            !passa("mskNrAdicao", ConfereAdicao(c.adicao, Mensagem("ERRO_DI_ADICAO_INVALIDO"))) ||
            !passa("mskNrItem", ConfereItem(c.item, Mensagem("ERRO_DI_ITEM_INVALIDO"))))
            return r;
    } else {
        if (!passa("mskNR", ConfereObrigatorio(c.nf, Mensagem("ERRO_NOTA_IMP_AUSENTE"))) ||
            !passa("mskNR", ConfereNumeroNota(c.nf, Mensagem("ERRO_NOTA_IMP_INVALIDO"))) ||
            !passa("mskSerie", ConfereObrigatorio(c.serie, Mensagem("ERRO_SERIE_IMP_AUSENTE"))) ||
            !passa("mskDataEmissao",
                   ConfereData(c.dataEmissao, Mensagem("ERRO_DATAEMISSAO_IMP_INVALIDO"))) ||
            !passa("mskCNPJ", ConfereObrigatorio(c.cnpj, Mensagem("ERRO_CNPJ_IMP_AUSENTE"))) ||
            !passa("mskCNPJ", ConfereCNPJ(c.cnpj, Mensagem("ERRO_CNPJ_IMP_INVALIDO"))) ||
            (!c.inscricao.isEmpty() &&
             !passa("mskNrInsEstadual",
                    ConfereInscricao(c.inscricao, Mensagem("ERRO_NRINSESTADUAL_IMP_INVALIDO")))) ||
            !passa("mskNCM", ConfereNCM(c.ncm, Mensagem("ERRO_NCM_IMP_INVALIDO"))) ||
            !passa("txtUnidade",
                   ConfereObrigatorio(c.unidade, Mensagem("ERRO_UNIDADE_IMP_AUSENTE"))) ||
            !passa("txtDescricao",
                   ConfereObrigatorio(c.descricao, Mensagem("ERRO_DESCRICAO_IMP_AUSENTE"))))
            return r;
    }
    if (!passa("mskQTD", ConfereValor(c.quantidade, 17, 7, Mensagem("ERRO_QTD_IMP_INVALIDO"))) ||
        !diferenteDeZero("mskQTD", "ERRO_QTD_IMP_ZERO") ||
        !passa("mskValorUnitario",
               ConfereValor(c.valorUnitario, 18, 6, Mensagem("ERRO_VALOR_IMP_INVALIDO"))) ||
        !diferenteDeZero("mskValorUnitario", "ERRO_VALOR_IMP_ZERO") ||
        !passa("mskAliquota",
               ConfereValor(c.aliquota, 6, 2, Mensagem("ERRO_ALIQUOTA_IMP_INVALIDO"))))
        return r;
    // A change is held to the same rule as an include: otherwise a raised
    // value would slip past the national component's cost.
    if (subcomponente() &&
        store::VerificaCustoSubcomponentes(
            banco_, nrVlm_, dono_, custoNacional(), ConverteValor(c.quantidade),
            ConverteValor(c.valorUnitario), operacao_ == OperacaoFormulario::Alterar ? nrSq_ : 0))
        passa("mskValorUnitario", {false, Mensagem("ERRO_VALOR_SUB_MAIOR_NAC"), {}});
    return r;
}

int FormImportado::grava(const CamposImportado &c) {
    if (operacao_ == OperacaoFormulario::Visualizar)
        return 0;
    store::Alteracao alteracao(
        banco_, nrVlm_,
        ParteGravada(subcomponente() ? "Subcomponentes" : "Componentes importados", operacao_));
    if (operacao_ == OperacaoFormulario::Excluir) {
        store::ExcluiImportado(banco_, nrVlm_, nrSq_);
        alteracao.confirma();
        return nrSq_;
    }
    store::DadosImportado d;
    d.descricao = c.descricao.trimmed();
    d.quantidade = ConverteValor(c.quantidade);
    d.valorUnitario = ConverteValor(c.valorUnitario);
    d.aliquota = ConverteValor(c.aliquota);
    d.comSuspensao = c.comSuspensao;
    d.direto = c.di;
    d.reducaoII = c.reducao;
    d.baseCalculo = subcomponente() && c.baseCalculo;
    // Under a DI the goods' code is the declaration's: zeros, as an imported
    // file holds it, also over the code of an invoice the row had before.
    d.ncm = c.di ? QStringLiteral("00000000") : c.ncm;
    if (!c.di)
        d.unidade = c.unidade.trimmed();
    int nrSq = nrSq_;
    if (c.di) {
        const store::DadosDI di{c.nrDI, c.adicao, c.item};
        if (operacao_ == OperacaoFormulario::Incluir)
            nrSq = store::IncluiImportadoDI(banco_, nrVlm_, di, d, dono_);
        else
            store::AlteraImportadoDI(banco_, nrVlm_, nrSq_, di, d, dono_);
    } else {
        const store::DadosNF nf{c.nf, c.serie, c.cnpj, c.dataEmissao, c.inscricao};
        if (operacao_ == OperacaoFormulario::Incluir)
            nrSq = store::IncluiImportadoNF(banco_, nrVlm_, nf, d, dono_);
        else
            store::AlteraImportadoNF(banco_, nrVlm_, nrSq_, nf, d, dono_);
    }
    alteracao.confirma();
    return nrSq_ = nrSq;
}

} // namespace vlme::entry
