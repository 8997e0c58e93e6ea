#include "entry/FormularioModelo.h"

#include "base/ErroVLME.h"
#include "base/Erros.h"
#include "entry/Campos.h"
#include "entry/Numeros.h"
#include "entry/OperacaoFormulario.h"
#include "store/Banco.h"
#include "store/Controle.h"
#include "store/Gravar.h"

namespace vlme::entry {

namespace {

QString mensagem(const char *chave) {
    return base::Catalogo().Descricao(QString::fromLatin1(chave));
}

Conferencia recusada(const char *chave) {
    return {false, mensagem(chave), std::nullopt};
}

} // namespace

FormularioModelo::FormularioModelo(store::Banco &banco, int nrVlm, int operacao, int nrSqModelo)
    : banco_(banco), nrVlm_(nrVlm), alterar_(operacao == OperacaoFormulario::Alterar),
      nrSqModelo_(alterar_ ? nrSqModelo : 0) {
    if (!alterando()) {
        iniciais_.precoVenda = FormataValor(0.0);
        return;
    }
    QSqlQuery q = banco_.executa(
        QStringLiteral("SELECT TX_DESCRICAO_MODELOS, COD_INTERNO_MODELOS, PRECO_VENDA_MODELOS"
                       " FROM MODELOS WHERE NR_VLM_MODELOS = ? AND NR_SQ_MODELOS = ?"),
        {nrVlm_, nrSqModelo_});
    if (!banco_.proxima(q))
        throw base::ErroVLME(QStringLiteral("O modelo escolhido não existe mais neste VLM-E. "
                                            "Feche a janela e escolha-o de novo na lista."));
    iniciais_ = {q.value(0).toString(), q.value(1).toString(),
                 FormataNumero(q.value(2).toDouble(), LarguraPadrao, 2)};
}

QString FormularioModelo::titulo() const {
    return alterando() ? QStringLiteral("Alterar Modelo, Tipo e Referência")
                       : QStringLiteral("Incluir Modelo, Tipo e Referência");
}

std::optional<FormularioModelo::Recusa> FormularioModelo::confere(Valores &v) const {
    v.descricao = v.descricao.trimmed();
    v.codigoInterno = v.codigoInterno.trimmed();
    if (Conferencia c = ConfereObrigatorio(v.descricao, mensagem("ERRO_DESCRICAOMODELO_AUSENTE"));
        !c)
        return Recusa{Campo::Descricao, c};
    if (store::ModeloCadastrado(banco_, nrVlm_, v.descricao, alterar_ ? nrSqModelo_ : 0))
        return Recusa{Campo::Descricao, recusada("ERRO_DESCRICAOMODELO_EXISTENTE")};
    if (Conferencia c = ConfereObrigatorio(v.codigoInterno, mensagem("ERRO_CODIGOINTERNO_AUSENTE"));
        !c)
        return Recusa{Campo::CodigoInterno, c};
    const ChamadaConfereValor *preco =
        BuscaCampo(TabelaConfereValor(), "frmModelos", "mskPrecoVenda");
    Conferencia c =
        ConfereValor(v.precoVenda, preco->largura, preco->decimais, mensagem(preco->chave));
    if (!c)
        return Recusa{Campo::PrecoVenda, c};
    v.precoVenda = c.texto.value_or(v.precoVenda);
    if (ConverteValor(v.precoVenda) == 0.0)
        return Recusa{Campo::PrecoVenda, recusada("ERRO_PRECOVENDA_ZERO")};
    return std::nullopt;
}

std::optional<FormularioModelo::Recusa> FormularioModelo::confirma(Valores &v) {
    if (auto recusa = confere(v))
        return recusa;
    const store::DadosModelo dados{v.descricao, ConverteValor(v.precoVenda), v.codigoInterno};
    store::Alteracao alteracao(banco_, nrVlm_,
                               ParteGravada("Modelos", alterando() ? OperacaoFormulario::Alterar
                                                                   : OperacaoFormulario::Incluir));
    const int nrSq = alterando() ? store::AlteraModelo(banco_, nrVlm_, nrSqModelo_, dados)
                                 : store::IncluiModelo(banco_, nrVlm_, dados);
    alteracao.confirma();
    nrSqModelo_ = nrSq;
    return std::nullopt;
}

} // namespace vlme::entry
