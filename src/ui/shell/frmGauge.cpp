#include "ui/shell/frmGauge.h"

#include "base/InterfaceUsuario.h"
#include "shell/ContextosAjuda.h"
#include "ui/shell/frmAjuda.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace vlme::ui {

frmGauge::frmGauge(base::InterfaceUsuario &usuario, QWidget *pai)
    : QDialog(pai, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), usuario_(usuario) {
    setObjectName(QStringLiteral("frmGauge"));
    setWindowTitle(QStringLiteral("Processando"));
    AtalhoAjuda(this, shell::ContextoAjuda::Progresso);
    // Modal to the whole program, though the work goes on beside it: a click
    // in the statement window between two units would change the data the
    // operation is reading or writing.
    setWindowModality(Qt::ApplicationModal);

    fraGauge = new QGroupBox(this);
    fraGauge->setObjectName(QStringLiteral("fraGauge"));
    pbrGauge = new QProgressBar(fraGauge);
    pbrGauge->setObjectName(QStringLiteral("pbrGauge"));
    pbrGauge->setRange(0, 100);
    pbrGauge->setValue(0);
    auto *dentro = new QVBoxLayout(fraGauge);
    dentro->addWidget(pbrGauge);

    cmdCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    // The one control: Esc or Enter asks whether to stop.
    cmdCancelar->setDefault(true);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmGauge::cancela);

    auto *botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(cmdCancelar);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fraGauge);
    layout->addLayout(botoes);
    setFixedWidth(440);
    adjustSize();
}

frmGauge::~frmGauge() {
    devolveCursor();
}

void frmGauge::abre() {
    Cancelado = false;
    fechando_ = false;
    cmdCancelar->setEnabled(true);

    // A little left of the centre, as the program always placed it.
    if (QScreen *tela = screen() ? screen() : QGuiApplication::primaryScreen()) {
        const QRect area = tela->availableGeometry();
        const int deslocamento = qRound(1300.0 * tela->logicalDotsPerInchX() / 1440.0);
        const QSize tamanho = frameSize().isValid() ? frameSize() : size();
        move(qMax(area.x(), area.x() + (area.width() - tamanho.width()) / 2 - deslocamento),
             area.y() + (area.height() - tamanho.height()) / 2);
    }

    if (!cursorPosto_) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        cursorPosto_ = true;
    }

    // Opened from the statement picker, the picker goes: the operation runs
    // on its choice, and a modal picker would keep this window from hearing
    // the cancel button.
    QWidget *ativa = QApplication::activeWindow();
    if (ativa && ativa != this && ativa->objectName() == QLatin1String("frmVLMs"))
        ativa->close();

    show();
    raise();
    activateWindow();
    cmdCancelar->setFocus(Qt::OtherFocusReason);
    atualiza();
}

void frmGauge::fecha() {
    fechando_ = true;
    if (isVisible())
        hide();
    devolveCursor();
    fechando_ = false;
}

void frmGauge::passo(const QString &texto) {
    texto_ = texto;
    // A new step with nothing else to show yet is seen at once.
    if (!relogio_.isValid() || relogio_.elapsed() >= IntervaloAtualizacaoMs)
        mostra();
}

void frmGauge::faixa(int minimo, int maximo) {
    pbrGauge->setRange(minimo, qMax(minimo, maximo));
    mostra();
}

void frmGauge::valor(int atual) {
    valor_ = atual;
    if (!relogio_.isValid() || relogio_.elapsed() >= IntervaloAtualizacaoMs)
        mostra();
}

void frmGauge::mostra() {
    if (fraGauge->title() != texto_)
        fraGauge->setTitle(texto_);
    // A count that overshoots its range still shows as full.
    pbrGauge->setValue(qBound(pbrGauge->minimum(), valor_, pbrGauge->maximum()));
}

void frmGauge::atualiza() {
    mostra();
    QCoreApplication::processEvents();
    relogio_.restart();
}

void frmGauge::permiteCancelar(bool permite) {
    cmdCancelar->setEnabled(permite);
}

bool frmGauge::unidade() {
    // Running the event loop after every row made a window operation many
    // times slower than the same one in vlme-cli; a few tens of milliseconds
    // keep the window live and the cancel button heard.
    if (!relogio_.isValid() || relogio_.elapsed() >= IntervaloAtualizacaoMs)
        atualiza();
    return !Cancelado;
}

void frmGauge::cancela() {
    if (!cmdCancelar->isEnabled() || Cancelado)
        return;
    // The question is answered with the ordinary pointer, not the hourglass.
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    const bool sim =
        usuario_.mensagem(QStringLiteral("Cancelar"),
                          QStringLiteral("Deseja mesmo interromper o processo ?"),
                          base::Icone::Pergunta, base::Botoes::SimNao) == base::Resposta::Sim;
    QGuiApplication::restoreOverrideCursor();
    if (!sim) {
        // The question took the keyboard; a second Esc must still reach us.
        if (isVisible()) {
            raise();
            activateWindow();
        }
        return;
    }
    Cancelado = true;
    fecha();
}

void frmGauge::reject() {
    // Escape is the cancel button, never a silent close.
    cancela();
}

void frmGauge::closeEvent(QCloseEvent *evento) {
    if (fechando_) {
        QDialog::closeEvent(evento);
        return;
    }
    // Closed by the system: only as a confirmed cancel.
    evento->ignore();
    cancela();
}

void frmGauge::devolveCursor() {
    if (cursorPosto_) {
        cursorPosto_ = false;
        QGuiApplication::restoreOverrideCursor();
    }
}

} // namespace vlme::ui
