// The progress window: cancel asked and confirmed, the pointer put back as it
// was, the statement picker closed when the work starts from it, and the
// step, bar and button as the operation sets them.

#include "support/UsuarioRoteirizado.h"
#include "ui/shell/RegraOcupado.h"
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
    ~Gauge() override
    {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }
    static int formaCursor()
    {
        const QCursor *c = QGuiApplication::overrideCursor();
        return c ? c->shape() : -1;
    }
    teste::UsuarioRoteirizado usuario;
};

} // namespace

TEST_F(Gauge, NaoNaPerguntaDeixaAOperacaoSeguir)
{
    ui::frmGauge gauge(usuario);
    gauge.abre();
    usuario.responde(shell::Resposta::Nao);
    gauge.cmdCancelar->click();
    EXPECT_FALSE(gauge.Cancelado);
    EXPECT_TRUE(gauge.isVisible());
    EXPECT_TRUE(gauge.unidade());
    ASSERT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_EQ(usuario.mensagens[0].titulo, QStringLiteral("Cancelar"));
    EXPECT_EQ(usuario.mensagens[0].texto, QStringLiteral("Deseja mesmo interromper o processo ?"));
    EXPECT_EQ(usuario.mensagens[0].icone, shell::Icone::Pergunta);
    EXPECT_EQ(usuario.mensagens[0].botoes, shell::Botoes::SimNao);
    // Still the hourglass while the work goes on.
    EXPECT_EQ(formaCursor(), Qt::WaitCursor);
    gauge.fecha();
}

TEST_F(Gauge, SimFechaNaHoraEAProximaUnidadeParaOTrabalho)
{
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

TEST_F(Gauge, OCursorDepoisDeFecharEODeAntes)
{
    ui::frmGauge gauge(usuario);
    gauge.abre();
    EXPECT_EQ(formaCursor(), Qt::WaitCursor);
    EXPECT_TRUE(ui::Ocupado());
    gauge.fecha();
    EXPECT_EQ(formaCursor(), -1);
    EXPECT_FALSE(ui::Ocupado());

    QGuiApplication::setOverrideCursor(Qt::PointingHandCursor);
    gauge.abre();
    EXPECT_EQ(formaCursor(), Qt::WaitCursor);
    gauge.fecha();
    EXPECT_EQ(formaCursor(), Qt::PointingHandCursor);
    QGuiApplication::restoreOverrideCursor();
    EXPECT_EQ(formaCursor(), -1);
}

TEST_F(Gauge, EscEAPerguntaDeCancelarNuncaUmFechamentoMudo)
{
    ui::frmGauge gauge(usuario);
    gauge.abre();
    usuario.responde(shell::Resposta::Nao);
    QTest::keyClick(&gauge, Qt::Key_Escape);
    EXPECT_TRUE(gauge.isVisible());
    EXPECT_EQ(usuario.mensagens.size(), 1u);

    // A step that cannot be interrupted: nothing is asked and it stays.
    gauge.permiteCancelar(false);
    EXPECT_FALSE(gauge.cmdCancelar->isEnabled());
    QTest::keyClick(&gauge, Qt::Key_Escape);
    gauge.close();
    EXPECT_TRUE(gauge.isVisible());
    EXPECT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_FALSE(gauge.Cancelado);
    gauge.fecha();
    EXPECT_FALSE(gauge.isVisible());
    // The next opening can be cancelled again.
    gauge.abre();
    EXPECT_TRUE(gauge.cmdCancelar->isEnabled());
    gauge.fecha();
}

TEST_F(Gauge, AbertoDoSeletorFechaOSeletor)
{
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

TEST_F(Gauge, PassoFaixaEValor)
{
    ui::frmGauge gauge(usuario);
    EXPECT_EQ(gauge.windowTitle(), QStringLiteral("Processando"));
    EXPECT_EQ(gauge.cmdCancelar->text(), QStringLiteral("&Cancelar"));
    EXPECT_EQ(gauge.findChild<QGroupBox *>(QStringLiteral("fraGauge")), gauge.fraGauge);
    EXPECT_EQ(gauge.findChild<QProgressBar *>(QStringLiteral("pbrGauge")), gauge.pbrGauge);
    gauge.abre();
    gauge.passo(QStringLiteral("Calculando tamanho"));
    gauge.faixa(0, 40);
    gauge.valor(10);
    EXPECT_EQ(gauge.fraGauge->title(), QStringLiteral("Calculando tamanho"));
    EXPECT_EQ(gauge.pbrGauge->maximum(), 40);
    EXPECT_EQ(gauge.pbrGauge->value(), 10);
    // A count past the end shows a full bar instead of keeping the old value.
    gauge.valor(41);
    EXPECT_EQ(gauge.pbrGauge->value(), 40);
    gauge.fecha();
}
