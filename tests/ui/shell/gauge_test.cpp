// The progress window: cancel asked and confirmed, the pointer put back as it
// was, the statement picker closed when the work starts from it, and the
// step, bar and button as the operation sets them.

#include "support/UsuarioRoteirizado.h"
#include "ui/shell/frmGauge.h"

#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace vlme;

namespace {

class Gauge : public ::testing::Test {
  protected:
    ~Gauge() override {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }
    static int formaCursor() {
        const QCursor *c = QGuiApplication::overrideCursor();
        return c ? c->shape() : -1;
    }
    teste::UsuarioRoteirizado usuario;
};

} // namespace

TEST_F(Gauge, SimFechaNaHoraEAProximaUnidadeParaOTrabalho) {
    ui::frmGauge gauge(usuario);
    shell::Progresso &progresso = gauge;
    progresso.abre();
    EXPECT_TRUE(progresso.unidade());
    usuario.responde(shell::Resposta::Sim);
    gauge.cmdCancelar->click();
    EXPECT_TRUE(gauge.Cancelado);
    EXPECT_TRUE(progresso.cancelado());
    EXPECT_FALSE(gauge.isVisible());
    EXPECT_EQ(formaCursor(), -1);
    EXPECT_FALSE(progresso.unidade());
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

// Cancel and Esc both ask; No lets the work go on under the
// hourglass, and a step that cannot be interrupted asks nothing.
TEST_F(Gauge, NaoNaPerguntaDeixaAOperacaoSeguirENuncaFechaMudo) {
    QGuiApplication::setOverrideCursor(Qt::PointingHandCursor);
    ui::frmGauge gauge(usuario);
    gauge.abre();
    usuario.responde(shell::Resposta::Nao);
    usuario.responde(shell::Resposta::Nao);
    gauge.cmdCancelar->click();
    QTest::keyClick(&gauge, Qt::Key_Escape);
    EXPECT_EQ(usuario.resumos(),
              QStringList(2, "?|Cancelar|Deseja mesmo interromper o processo ?|SimNao"));
    EXPECT_TRUE(gauge.isVisible() && gauge.unidade());
    EXPECT_FALSE(gauge.Cancelado);
    EXPECT_EQ(formaCursor(), Qt::WaitCursor);

    gauge.permiteCancelar(false);
    EXPECT_FALSE(gauge.cmdCancelar->isEnabled());
    QTest::keyClick(&gauge, Qt::Key_Escape);
    gauge.close();
    EXPECT_TRUE(gauge.isVisible());
    EXPECT_EQ(usuario.mensagens.size(), 2u);
    gauge.fecha();
    EXPECT_FALSE(gauge.isVisible());
    // The pointer from before, and the next opening can be cancelled again.
    EXPECT_EQ(formaCursor(), Qt::PointingHandCursor);
    gauge.abre();
    EXPECT_TRUE(gauge.cmdCancelar->isEnabled());
    gauge.fecha();
}

TEST_F(Gauge, AbertoDoSeletorFechaOSeletor) {
    for (const char *nome : {"frmVLMs", "frmOutra"}) {
        QDialog ativa;
        ativa.setObjectName(QString::fromLatin1(nome));
        ativa.show();
        QApplication::setActiveWindow(&ativa);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&ativa));
        ui::frmGauge gauge(usuario);
        gauge.abre();
        EXPECT_EQ(ativa.isVisible(), QString::fromLatin1(nome) != QLatin1String("frmVLMs")) << nome;
        EXPECT_TRUE(gauge.isVisible());
        gauge.fecha();
    }
}

TEST_F(Gauge, PassoFaixaEValor) {
    ui::frmGauge gauge(usuario);
    gauge.abre();
    gauge.passo("Calculando tamanho");
    gauge.faixa(0, 40);
    gauge.valor(10);
    EXPECT_EQ(gauge.fraGauge->title(), "Calculando tamanho");
    EXPECT_EQ(std::pair(gauge.pbrGauge->maximum(), gauge.pbrGauge->value()), std::pair(40, 10));
    // A count past the end shows a full bar instead of keeping the old value.
    gauge.valor(41);
    EXPECT_EQ(gauge.pbrGauge->value(), 40);
    gauge.fecha();
}
