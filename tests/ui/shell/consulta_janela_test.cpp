// A statement another program holds is only consulted, and one left alone
// too long is saved and closed, so that no clerk holds it for the night.

#include "shell/Pastas.h"
#include "store/Controle.h"
#include "store/Reservas.h"
#include "support/Retransmissor.h"
#include "ui/Janelas.h"
#include "ui/shell/EsperaBanco.h"
#include "ui/shell/Inatividade.h"

#include <QProgressDialog>
#include <QScopeGuard>

#include <csignal>

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
    ASSERT_TRUE(teste::Ativa(&principal));
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
    // Left alone, a save that fails keeps it held, and the idle close comes
    // again until it succeeds.
    principal.abre(n);
    principal.dadosGerais()->txtDenProduto->setText("Gravado sem uso");
    const qsizetype ditos = usuario.textos().count();
    programa.banco.simulaFalhaDisco(1);
    usuario.responde(base::Resposta::Nao);
    principal.inatividade().defineIntervalo(100);
    EXPECT_TRUE(QTest::qWaitFor([&] { return usuario.textos().count() >= ditos + 2; }, 3000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !programa.declaracao.aberta; }, 3000));
    EXPECT_EQ(produto(), "Gravado sem uso");
    store::Reserva livre(outro, n);
}

// Another program saved the statement while this window's hold was gone (a
// lost connection): leaving the first tab saves nothing over it; what was
// typed becomes a new statement the window turns to, or is given up for the
// other's version, as the user says.
TEST_F(Consulta, AlteradaPorOutroProgramaNadaGravaPorCimaEODigitadoViraNova) {
    const int n = completa();
    ui::mdiPrincipal principal(programa, usuario);
    principal.abre(n);
    const auto ppb = [&](int numero) {
        return teste::Valores(programa.banco, "SELECT PPB_VLM FROM VLME WHERE NR_VLM_VLM = ?",
                              {numero});
    };
    const auto outroGrava = [&](int numero, const QString &valor) {
        store::Alteracao a(outro, numero, QStringLiteral("Dados gerais"));
        outro.executa("UPDATE VLME SET PPB_VLM = ? WHERE NR_VLM_VLM = ?", {valor, numero});
        a.confirma();
    };
    // The window that follows the answer, once the events have run.
    const auto digitaESai = [&](const QString &valor, base::Resposta resposta) {
        ui::frmCentral *f = principal.dadosGerais();
        f->txtPPB->setText(valor);
        usuario.responde(resposta);
        f->SSTab->setCurrentIndex(1);
        QTest::qWaitFor([&] { return principal.dadosGerais() != f; }, 2000);
        return principal.dadosGerais();
    };
    outroGrava(n, "Dele");
    ui::frmCentral *f = digitaESai("Meu", base::Resposta::Sim);
    ASSERT_NE(f, nullptr);
    const int nova = f->numero();
    EXPECT_NE(nova, n);
    EXPECT_EQ(ppb(n), "Dele");
    EXPECT_EQ(ppb(nova), "Meu");
    EXPECT_EQ(f->txtPPB->text(), "Meu");
    EXPECT_TRUE(f->txtDenProduto->text().startsWith("Cópia de "));
    EXPECT_TRUE(
        usuario.textos().value(0).startsWith(QString("A declaração %1 foi alterada pelo ").arg(n)))
        << usuario.textos().join('|').toStdString();
    EXPECT_EQ(usuario.textos().value(1),
              QString("O que você digitou foi guardado na declaração %1, cópia da declaração %2. "
                      "A declaração %2 ficou como a outra pessoa a gravou; compare as duas antes "
                      "de continuar.")
                  .arg(nova)
                  .arg(n));

    outroGrava(nova, "Dele de novo");
    f = digitaESai("Descartado", base::Resposta::Nao);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->numero(), nova);
    EXPECT_EQ(f->txtPPB->text(), "Dele de novo");
    EXPECT_EQ(ppb(nova), "Dele de novo");
    // Read again, its own saves go through.
    f->txtPPB->setText("Agora sim");
    f->SSTab->setCurrentIndex(2);
    EXPECT_EQ(ppb(nova), "Agora sim");
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
    // The old session, alive behind the silent network, still holds the
    // statement: the band says the connection is lost and since when, and
    // Incluir opens no form, telling why once.
    ui::frmCentral *f = principal.dadosGerais();
    auto *faixa = f->findChild<QLabel *>("lblConexao");
    ASSERT_NE(faixa, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !faixa->isHidden(); }, 5000));
    EXPECT_TRUE(
        faixa->text().startsWith("A conexão com o servidor do banco de dados foi perdida às"))
        << faixa->text().toStdString();
    bool abriu = false;
    QTimer::singleShot(1000, [&] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            abriu = true;
            modal->close();
        }
    });
    QTest::mouseClick(f->cmdIncluirImportado, Qt::LeftButton);
    EXPECT_FALSE(abriu);
    EXPECT_TRUE(usuario.textos().constLast().contains("sessão anterior deste programa"))
        << usuario.textos().join('|').toStdString();
    // Once it goes, the statement is held again with nobody acting.
    rede.retoma();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return !programa.banco.conexaoPerdida() && programa.banco.reservas().pendentes() == 0;
        },
        10000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return faixa->text().contains("voltou"); }, 3000));
    EXPECT_THROW(store::Reserva(outro, n), store::ErroReservada);
    principal.executa(Comando::Fechar);
    EXPECT_FALSE(programa.declaracao.aberta);
    EXPECT_EQ(produto(), "Gravado depois");
}

// The server frozen under a save: past 0.4 s the wait is shown; input meanwhile
// starts nothing; Cancelar ends the wait within a second, saying nothing was
// saved.
TEST_F(Consulta, ServidorCongeladoMostraAEsperaECancelarATermina) {
    if (!teste::NoServidor())
        GTEST_SKIP() << "só o servidor pode parar de responder";
    const int n = completa();
    ui::mdiPrincipal principal(programa, usuario);
    ui::EsperaBanco espera(programa.banco, &principal);
    principal.show();
    principal.abre(n);
    ASSERT_NE(principal.dadosGerais(), nullptr);
    principal.dadosGerais()->txtDenProduto->setText("Nunca gravado");
    const pid_t sessao = pid_t(programa.banco.escalar("SELECT pg_backend_pid()").toLongLong());
    ASSERT_EQ(::kill(sessao, SIGSTOP), 0);
    const auto solta = qScopeGuard([&] { ::kill(sessao, SIGCONT); });
    QElapsedTimer relogio, cancelado;
    relogio.start();
    qint64 mostrada = -1;
    teste::QuandoAbrirem({[&](QWidget *janela) {
        auto *aviso = qobject_cast<QProgressDialog *>(janela);
        ASSERT_NE(aviso, nullptr);
        mostrada = relogio.elapsed();
        EXPECT_EQ(aviso->labelText(), "Aguardando a resposta do servidor do banco de dados...");
        // A command given meanwhile is not taken.
        principal.executa(Comando::Pendencias);
        QTest::qWait(300);
        cancelado.start();
        QTest::mouseClick(aviso->findChild<QPushButton *>(), Qt::LeftButton);
    }});
    principal.executa(Comando::Pendencias);
    EXPECT_GE(mostrada, 400);
    EXPECT_LT(mostrada, 1500);
    EXPECT_LT(cancelado.elapsed(), 1000);
    const QStringList ditos = usuario.textos();
    ASSERT_EQ(ditos.count(), 2) << ditos.join('|').toStdString();
    EXPECT_EQ(ditos[0], "O programa ainda espera a resposta do servidor do banco de dados a outra "
                        "operação. Repita esta quando ela terminar.");
    EXPECT_TRUE(ditos[1].startsWith("Operação cancelada enquanto esperava a resposta do servidor "
                                    "do banco de dados: nada foi gravado."))
        << ditos[1].toStdString();
}
