// A statement another program holds is only consulted, and one left alone
// too long is saved and closed, so that no clerk holds it for the night.

#include "shell/Comandos.h"
#include "shell/Pastas.h"
#include "store/Reservas.h"
#include "support/Retransmissor.h"
#include "ui/Janelas.h"
#include "ui/shell/Inatividade.h"
#include "ui/shell/mdiPrincipal.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QScopeGuard>
#include <QTabWidget>

#include <memory>

using namespace vlme;
using shell::Comando;

namespace {

class Consulta : public teste::Janelas {
  protected:
    Consulta() { abreOutra(outro); }
    QString produto() { return teste::Valores(programa.banco, "SELECT DEN_PRODUTO_VLM FROM VLME"); }

    store::Banco outro; // another program on the same database
};

TEST_F(Consulta, DeOutroProgramaNadaGravaEF5AbreParaAlterarQuandoLivre) {
    const int n = completa();
    auto dele = std::make_unique<store::Reserva>(outro, n);
    ui::mdiPrincipal principal(programa, usuario);
    principal.show();
    principal.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&principal));
    principal.abre(n);
    ui::frmCentral *f = principal.dadosGerais();
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(
        f->windowTitle().startsWith(QString("VLM-E %1 - Somente consulta, em uso por %2 em ")
                                        .arg(n)
                                        .arg(store::Titular::Este().usuario)))
        << f->windowTitle().toStdString();
    EXPECT_TRUE(f->lblConsulta->isVisible());
    for (QWidget *w : std::initializer_list<QWidget *>{
             f->mskCNPJ, f->txtDenProduto, f->optFixo, f->cmdIncluirModelo, f->cmdAlterarModelo,
             f->cmdIncluirNacional, f->cmdAlterarNacional, f->cmdExcluirImportado})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(f->cmdVisualizarImportado->isEnabled());

    // Whatever the fields hold, the tab change, the check, a delete and the
    // delivery file do not write; the delete says who holds it before asking
    // anything, and no file comes from a statement being changed.
    const QString antes = produto();
    f->txtDenProduto->setText("Mudado aqui");
    f->SSTab->setCurrentIndex(2);
    principal.executa(Comando::Pendencias);
    principal.executa(Comando::Excluir);
    principal.executa(Comando::Transmitir);
    const QStringList t = usuario.textos();
    ASSERT_EQ(t.size(), 3) << t.join('|').toStdString();
    EXPECT_EQ(t[0], "Nenhum erro foi detectado.");
    const QString reservada = QString("A declaração %1 está reservada").arg(n);
    EXPECT_TRUE(t[1].startsWith(reservada) && t[1].contains(store::Titular::Este().usuario))
        << t[1];
    EXPECT_TRUE(t[2].startsWith(reservada) && t[2].contains("o arquivo de entrega só é gerado"))
        << t[2];
    EXPECT_FALSE(QFileInfo::exists(shell::CaminhoArquivos(programa.pasta, n)));
    EXPECT_EQ(produto(), antes);

    // Read again while still held: consulted again, on the same tab.
    outro.executa("UPDATE VLME SET DEN_PRODUTO_VLM = 'Dele'");
    QTest::keyClick(f->dbgComponentesImportados, Qt::Key_F5);
    f = principal.dadosGerais();
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(programa.declaracao.consulta);
    EXPECT_EQ(f->txtDenProduto->text(), "Dele");
    EXPECT_EQ(f->SSTab->currentIndex(), 2);

    // Let go: F5 opens it for change, now held here.
    dele.reset();
    QTest::keyClick(f->dbgComponentesImportados, Qt::Key_F5);
    f = principal.dadosGerais();
    ASSERT_NE(f, nullptr);
    EXPECT_FALSE(programa.declaracao.consulta);
    EXPECT_EQ(f->windowTitle(), QString("VLM-E %1").arg(n));
    EXPECT_FALSE(f->lblConsulta->isVisible());
    EXPECT_TRUE(f->cmdIncluirImportado->isEnabled() && f->txtDenProduto->isEnabled());
    EXPECT_THROW(store::Reserva(outro, n), store::ErroReservada);
    EXPECT_EQ(produto(), "Dele");
}

// Without input for the set time the statement is saved with what was typed
// and closed, freeing it; a dialog open over it makes the close wait.
TEST_F(Consulta, SemUsoGravaFechaEAvisaMasEsperaODialogoAberto) {
    const int n = teste::ConstrutorDeclaracao(programa.banco).geral(); // with pendencies
    ui::mdiPrincipal principal(programa, usuario);
    principal.inatividade().defineIntervalo(60 * 1000);
    principal.abre(n);
    ui::frmCentral *f = principal.dadosGerais();
    ASSERT_NE(f, nullptr);
    f->txtDenProduto->setText("Digitado antes de sair");
    teste::QuandoAbrirem({[&](QWidget *pendencias) {
        // Left open longer than the limit, then closed by the user.
        QTest::qWait(250);
        EXPECT_TRUE(programa.declaracao.aberta);
        pendencias->close();
    }});
    principal.inatividade().defineIntervalo(100);
    principal.executa(Comando::Pendencias);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !programa.declaracao.aberta; }, 3000));
    EXPECT_EQ(produto(), "Digitado antes de sair");
    EXPECT_EQ(usuario.textos().value(0),
              QString("A declaração %1 ficou 1 minuto sem uso: foi gravada e fechada, para que "
                      "outros usuários possam alterá-la. Abra-a de novo para continuar.")
                  .arg(n));
    store::Reserva livre(outro, n);
}

} // namespace

// A statement that cannot be saved on closing stays open, unless the user
// gives up what the window holds: a database out of reach must not keep the
// program from closing.
TEST_F(Consulta, GravacaoQueFalhaAoFecharPerguntaSeFechaSemGravar) {
    const int n = completa();
    const QString antes = produto();
    ui::mdiPrincipal principal(programa, usuario);
    principal.abre(n);
    ASSERT_NE(principal.dadosGerais(), nullptr);
    principal.dadosGerais()->txtDenProduto->setText("Não gravado");
    for (const base::Resposta resposta : {base::Resposta::Nao, base::Resposta::Sim}) {
        programa.banco.simulaFalhaDisco(1);
        usuario.responde(resposta);
        principal.executa(Comando::Fechar);
        EXPECT_EQ(programa.declaracao.aberta, resposta == base::Resposta::Nao);
        EXPECT_TRUE(usuario.textos().contains(
            "A declaração não foi gravada. Deseja fechá-la assim mesmo, perdendo o que foi "
            "digitado nos Dados Gerais desde a última gravação?"));
    }
    programa.banco.simulaFalhaDisco(0);
    EXPECT_EQ(produto(), antes);
    store::Reserva livre(outro, n);
}

// A network gone silent under the window: the command fails within the
// bound, told, and the next one connects again and saves.
TEST_F(Consulta, RedeMudaAvisaNoPrazoEAProximaOperacaoReconecta) {
    if (!teste::NoServidor())
        GTEST_SKIP() << "só a conexão com o servidor se perde";
    qputenv("VLME_SILENCIO_SERVIDOR_MS", "500");
    const auto restaura = qScopeGuard([] { qunsetenv("VLME_SILENCIO_SERVIDOR_MS"); });
    const int n = completa();
    teste::Retransmissor rede(programa.urlBanco);
    programa.banco.abreServidor(rede.url());
    ui::mdiPrincipal principal(programa, usuario);
    principal.abre(n);
    ASSERT_NE(principal.dadosGerais(), nullptr);
    principal.dadosGerais()->txtDenProduto->setText("Gravado depois");
    rede.retemEm("UPDATE");
    QElapsedTimer relogio;
    relogio.start();
    principal.executa(Comando::Pendencias);
    EXPECT_LT(relogio.elapsed(), 30000);
    EXPECT_TRUE(usuario.textos().value(0).startsWith(
        "A conexão com o servidor do banco de dados foi perdida."))
        << usuario.textos().join('|').toStdString();
    rede.retoma();
    principal.executa(Comando::Fechar);
    EXPECT_FALSE(programa.declaracao.aberta);
    EXPECT_EQ(produto(), "Gravado depois");
}
