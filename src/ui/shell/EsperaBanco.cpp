#include "ui/shell/EsperaBanco.h"

#include "base/Erros.h"
#include "store/Banco.h"

#include <QApplication>
#include <QProgressDialog>
#include <QThread>

namespace vlme::ui {

namespace {

// Shorter waits pass unseen.
constexpr qint64 MostraDepois = 400;

} // namespace

EsperaBanco::EsperaBanco(store::Banco &banco, QWidget *pai) : banco_(banco), pai_(pai) {
    banco_.defineEspera([this](qint64 esperados) { return espera(esperados); });
}

EsperaBanco::~EsperaBanco() {
    banco_.defineEspera({});
    delete janela_;
}

bool EsperaBanco::espera(qint64 esperados) {
    if (esperados < 0) {
        delete janela_;
        janela_ = nullptr;
        return true;
    }
    const char *texto = banco_.motivoEspera() == store::Banco::MotivoEspera::Servidor
                            ? "AVISO_ESPERA_SERVIDOR"
                            : "AVISO_ESPERA_GRAVACAO";
    if (janela_)
        janela_->setLabelText(base::Mensagem(texto));
    if (!janela_ && esperados >= MostraDepois) {
        janela_ =
            new QProgressDialog(base::Mensagem(texto), QStringLiteral("Cancelar"), 0, 0, pai_);
        janela_->setObjectName(QStringLiteral("frmEspera"));
        janela_->setWindowTitle(QStringLiteral("VLM-E"));
        janela_->setWindowModality(Qt::ApplicationModal);
        janela_->setMinimumDuration(0);
        janela_->show();
    }
    // Until the window shows, no click may start other work meanwhile.
    QApplication::processEvents(
        janela_ ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents, 20);
    QThread::msleep(10);
    return !(janela_ && janela_->wasCanceled());
}

} // namespace vlme::ui
