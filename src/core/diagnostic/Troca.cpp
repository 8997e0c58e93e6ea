#include "diagnostic/Troca.h"

#include "shell/FronteiraComando.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace vlme::diagnostic {

Troca::Troca(store::Banco &banco, const QString &pastaPrograma, const QString &url,
             base::InterfaceUsuario &usuario, QNetworkAccessManager &rede, QObject *pai)
    : QObject(pai), banco_(banco), pasta_(pastaPrograma), url_(url), usuario_(usuario),
      rede_(rede) {}

Troca::~Troca() {
    if (resposta_) {
        resposta_->disconnect(this);
        resposta_->abort();
        resposta_->deleteLater();
    }
}

bool Troca::inicia(int nrVlm) {
    if (aguardando())
        return false;
    // The wait starts only with a request: a statement never transmitted
    // gets its one message and no time-limit message after it.
    const auto transmissao = TransmissaoParaPedido(banco_, nrVlm, usuario_);
    if (!transmissao)
        return false;
    QNetworkRequest pedido{QUrl(url_)};
    // What Qt would send anyway, said here so it does not warn about it.
    pedido.setHeader(QNetworkRequest::ContentTypeHeader,
                     QStringLiteral("application/x-www-form-urlencoded"));
    // A redirect would turn the POST into a GET whose page is no answer.
    pedido.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                        QNetworkRequest::ManualRedirectPolicy);
    nrVlm_ = nrVlm;
    corpo_.clear();
    contador_ = 1;
    resposta_ = rede_.post(pedido, CorpoPedido(*transmissao));
    connect(resposta_, &QNetworkReply::readyRead, this, &Troca::leDados);
    connect(resposta_, &QNetworkReply::finished, this, &Troca::terminou);
    return true;
}

void Troca::tique() {
    if (!aguardando())
        return;
    if (++contador_ >= LimiteTiques)
        conclui({Resposta::Tipo::TempoEsgotado, 0, {}});
}

void Troca::leDados() {
    if (!resposta_)
        return;
    corpo_ += resposta_->read(TamanhoMaximoResposta + 1 - corpo_.size());
    if (corpo_.size() > TamanhoMaximoResposta)
        conclui({Resposta::Tipo::GrandeDemais, 0, {}});
}

void Troca::terminou() {
    if (!resposta_)
        return;
    leDados();
    if (!resposta_) // too large: already concluded
        return;
    const QVariant status = resposta_->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    // An HTTP error status comes with an error of its own; a broken
    // connection after the status line is still no answer.
    const bool respondeu =
        status.isValid() && (resposta_->error() == QNetworkReply::NoError || status.toInt() >= 300);
    if (respondeu)
        conclui({Resposta::Tipo::Recebida, status.toInt(), corpo_});
    else
        conclui({Resposta::Tipo::FalhaConexao, 0, {}});
}

void Troca::conclui(const Resposta &resposta) {
    contador_ = 0;
    if (QNetworkReply *r = resposta_) {
        resposta_ = nullptr;
        r->disconnect(this);
        r->abort();
        r->deleteLater();
    }
    corpo_.clear();
    if (aoResponder)
        aoResponder();
    Resultado resultado;
    resultado.desfecho = Desfecho::Falha;
    // Reached from the event loop: nothing may leave.
    shell::ExecutaProtegido(
        usuario_, [&] { resultado = TrataResposta(banco_, pasta_, nrVlm_, resposta, usuario_); });
    if (aoTerminar)
        aoTerminar(resultado);
}

} // namespace vlme::diagnostic
