// The small windows: progress (cancelling, the pointer put back, step and
// bar), start-up (version, closing once), about with its system information.

#include "ui/Janelas.h"
#include "ui/shell/frmGauge.h"
#include "ui/shell/frmSobre.h"
#include "ui/shell/frmSplash.h"

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace vlme;
using teste::Janelas;

namespace {

using Gauge = Janelas;

int formaCursor() {
    const QCursor *c = QGuiApplication::overrideCursor();
    return c ? c->shape() : -1;
}

} // namespace

// Cancel and Esc both ask; No lets the work go on under the hourglass, a
// step that cannot be interrupted asks nothing, and Yes closes at once.
TEST_F(Gauge, NaoDeixaAOperacaoSeguirSimFechaNaHoraENuncaFechaMudo) {
    QGuiApplication::setOverrideCursor(Qt::PointingHandCursor);
    ui::frmGauge gauge(usuario);
    shell::Progresso &progresso = gauge;
    progresso.abre();
    usuario.responde(shell::Resposta::Nao);
    usuario.responde(shell::Resposta::Nao);
    gauge.cmdCancelar->click();
    QTest::keyClick(&gauge, Qt::Key_Escape);
    EXPECT_EQ(usuario.resumos(),
              QStringList(2, "?|Cancelar|Deseja mesmo interromper o processo ?|SimNao"));
    EXPECT_TRUE(gauge.isVisible() && progresso.unidade());
    EXPECT_FALSE(gauge.Cancelado);
    EXPECT_EQ(formaCursor(), Qt::WaitCursor);

    gauge.permiteCancelar(false);
    EXPECT_FALSE(gauge.cmdCancelar->isEnabled());
    QTest::keyClick(&gauge, Qt::Key_Escape);
    gauge.close();
    EXPECT_TRUE(gauge.isVisible());
    EXPECT_EQ(usuario.mensagens.size(), 2u);
    progresso.fecha();
    EXPECT_FALSE(gauge.isVisible());
    EXPECT_EQ(formaCursor(), Qt::PointingHandCursor); // the pointer from before

    // The next opening can be cancelled again.
    progresso.abre();
    EXPECT_TRUE(gauge.cmdCancelar->isEnabled());
    gauge.passo("Calculando tamanho");
    gauge.faixa(0, 40);
    gauge.valor(10);
    const auto barra = [&] {
        return gauge.fraGauge->title() +
               QString(" %1/%2").arg(gauge.pbrGauge->value()).arg(gauge.pbrGauge->maximum());
    };
    EXPECT_EQ(barra(), "Calculando tamanho 10/40");
    gauge.valor(41); // past the end: a full bar, not the old value
    EXPECT_EQ(barra(), "Calculando tamanho 40/40");
    usuario.responde(shell::Resposta::Sim);
    gauge.cmdCancelar->click();
    EXPECT_TRUE(gauge.Cancelado && progresso.cancelado());
    EXPECT_FALSE(gauge.isVisible() || progresso.unidade());
    EXPECT_EQ(formaCursor(), Qt::PointingHandCursor);
    // The operation closes it again: nothing is restored twice.
    QGuiApplication::setOverrideCursor(Qt::CrossCursor);
    progresso.fecha();
    EXPECT_EQ(formaCursor(), Qt::CrossCursor);
    // It keeps its value until the next opening.
    EXPECT_TRUE(gauge.Cancelado);
    progresso.abre();
    EXPECT_FALSE(gauge.Cancelado);
    EXPECT_TRUE(progresso.unidade());
    progresso.fecha();
}

// The version comes from the program; the system information (listed by the
// core) opens modally over the about window.
TEST_F(Janelas, SobreESplashMostramAVersao) {
    programa.versao = "5.0";
    ui::frmSobre sobre(programa);
    EXPECT_EQ(sobre.lblVersao->text(), "Versão 5.0");
    int itens = 0;
    QTimer::singleShot(0, [&] {
        auto *info = qobject_cast<ui::frmInformacoesSistema *>(QApplication::activeModalWidget());
        ASSERT_NE(info, nullptr);
        itens = info->lstInformacoes->topLevelItemCount();
        info->cmdFechar->click();
    });
    sobre.cmdSysInfo->click();
    EXPECT_GT(itens, 3);
    QTimer::singleShot(0, &sobre, [&] { sobre.cmdOK->click(); });
    EXPECT_EQ(sobre.exec(), QDialog::Accepted);

    // The start-up window shows it too, closes by itself and says so once.
    ui::frmSplash splash("5.0");
    QSignalSpy fechado(&splash, &ui::frmSplash::fechado);
    splash.objTempo->setInterval(10);
    splash.objTempo->start();
    splash.show();
    EXPECT_EQ(splash.lblVersao->text() + "|" + splash.lblSombra->text(), "Versão 5.0|Versão 5.0");
    ASSERT_TRUE(fechado.wait(2000));
    EXPECT_FALSE(splash.isVisible());
    splash.close();
    QTest::qWait(20);
    EXPECT_EQ(fechado.count(), 1);
}
