#include "ui/shell/RetomadaServidor.h"

#include "base/Erros.h"
#include "shell/FronteiraComando.h"
#include "shell/Programa.h"
#include "store/Banco.h"

#include <QBoxLayout>
#include <QLabel>
#include <QTcpSocket>

namespace vlme::ui {

namespace {

// How long the plain connection attempt may take before the next one.
constexpr int LimiteSonda = 3000;

} // namespace

RetomadaServidor::RetomadaServidor(shell::Programa &programa, QWidget *janela)
    : QObject(janela), programa_(programa), faixa_(new QLabel(janela)) {
    faixa_->setObjectName(QStringLiteral("lblConexao"));
    faixa_->setWordWrap(true);
    faixa_->setFrameShape(QFrame::StyledPanel);
    faixa_->hide();
    if (auto *caixa = qobject_cast<QBoxLayout *>(janela->layout()))
        caixa->insertWidget(0, faixa_);
    tempo_.setInterval(1000);
    connect(&tempo_, &QTimer::timeout, this, [this] { tique(); });
    if (programa_.banco.servidor())
        tempo_.start();
}

void RetomadaServidor::mostra(const QString &texto) {
    faixa_->setStyleSheet(desde_.isValid()
                              ? QStringLiteral("QLabel { background: #ffd6cc; padding: 4px; }")
                              : QStringLiteral("QLabel { background: #d9f2d0; padding: 4px; }"));
    faixa_->setText(texto);
    faixa_->setVisible(!texto.isEmpty());
}

void RetomadaServidor::tique() {
    store::Banco &banco = programa_.banco;
    // A call under way is the user's; a statement only consulted holds nothing.
    // (A reconnection that failed leaves the connection closed: still ours.)
    if (banco.ocupada() || !banco.servidor() || programa_.declaracao.consulta)
        return;
    const bool perdida = banco.confereConexao() || banco.reservas().pendentes() > 0;
    if (!perdida) {
        if (desde_.isValid()) {
            desde_ = {};
            mostra(base::Mensagem("AVISO_CONEXAO_VOLTOU",
                                  QTime::currentTime().toString(QStringLiteral("HH:mm"))));
            QTimer::singleShot(10000, faixa_, [this] {
                if (!desde_.isValid())
                    mostra({});
            });
        }
        return;
    }
    if (!desde_.isValid()) {
        desde_ = QDateTime::currentDateTime();
        mostra(base::Mensagem("AVISO_CONEXAO_PERDIDA", desde_.toString(QStringLiteral("HH:mm"))));
    }
    if (sonda_)
        return;
    const QString maquina = banco.db().hostName();
    if (!banco.conexaoPerdida() || maquina.isEmpty()) {
        tenta();
        return;
    }
    // The server answers a plain connection first: no reconnection waits
    // on one that is down or out of reach.
    sonda_ = new QTcpSocket(this);
    connect(sonda_, &QTcpSocket::connected, this, [this] {
        sonda_->deleteLater();
        tenta();
    });
    connect(sonda_, &QTcpSocket::errorOccurred, sonda_, &QObject::deleteLater);
    QTimer::singleShot(LimiteSonda, sonda_, &QObject::deleteLater);
    sonda_->connectToHost(maquina, quint16(banco.db().port() > 0 ? banco.db().port() : 5432));
}

void RetomadaServidor::tenta() {
    if (programa_.banco.ocupada())
        return;
    try {
        programa_.banco.retoma();
        tique();
    } catch (...) {
        // Said in the band, under the time it was lost; tried again.
        mostra(base::Mensagem("AVISO_CONEXAO_PERDIDA", desde_.toString(QStringLiteral("HH:mm"))) +
               QStringLiteral("\n") + shell::TextoDoErro());
    }
}

} // namespace vlme::ui
