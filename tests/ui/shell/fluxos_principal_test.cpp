// The main window's commands on a real database, as a user meets them: focus,
// F1 over a modal window, Enter on a destructive question, failures told.

#include "shell/Comandos.h"
#include "shell/ContextosAjuda.h"
#include "ui/Janelas.h"
#include "ui/shell/UsuarioJanela.h"
#include "ui/shell/frmAjuda.h"
#include "ui/shell/frmNovo.h"
#include "ui/shell/frmSobre.h"
#include "ui/shell/frmVLMs.h"
#include "ui/shell/mdiPrincipal.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <stdexcept>

#include <gtest/gtest.h>

using namespace vlme;
using shell::Comando;

namespace {

using Fluxos = teste::Janelas;
using teste::QuandoAbrirem;

class PrincipalComDefeito : public ui::mdiPrincipal {
  public:
    using ui::mdiPrincipal::mdiPrincipal;
    void mostraSobre() override { throw std::logic_error("sobre quebrado"); }
};

void okNaPrimeiraLinha(QWidget *janela) {
    auto *seletor = qobject_cast<ui::frmVLMs *>(janela);
    ASSERT_NE(seletor, nullptr);
    seletor->dbgVlms->selectRow(0);
    seletor->cmdOk->click();
}

} // namespace

// A copy tells its number; an empty statement, without its first window yet,
// is told plainly and not kept.
TEST_F(Fluxos, NovoCopiaDizONumeroEVazioNaoDeixaLixo) {
    teste::ConstrutorDeclaracao(programa.banco).geral().modelo("M", 1.0);
    ui::mdiPrincipal principal(programa, usuario);
    QuandoAbrirem({[](QWidget *novo) {
                       QTest::keyClick(static_cast<ui::frmNovo *>(novo)->lstLista, Qt::Key_Down);
                       static_cast<ui::frmNovo *>(novo)->cmdOk->click();
                   },
                   okNaPrimeiraLinha});
    principal.executa(Comando::Novo);
    // OK acts on the entry highlighted at the start: the empty statement.
    QuandoAbrirem({[](QWidget *novo) { static_cast<ui::frmNovo *>(novo)->cmdOk->click(); }});
    principal.executa(Comando::Novo);
    ASSERT_EQ(usuario.mensagens.size(), 2u);
    EXPECT_TRUE(usuario.mensagens[0].texto.startsWith(
        QStringLiteral("A cópia foi gravada como declaração 2.\n\n")));
    EXPECT_TRUE(usuario.mensagens[1].texto.contains("ainda não está disponível"));
    EXPECT_EQ(numeros(), "1,2");
    EXPECT_FALSE(programa.declaracao.aberta);
}

TEST_F(Fluxos, PeloSeletorEOFocoVoltaAJanelaPrincipal) {
    completa();
    completa();
    usuario.responde(shell::Resposta::Sim);
    ui::mdiPrincipal principal(programa, usuario);
    principal.show();
    principal.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&principal));
    for (const Comando comando : {Comando::Pendencias, Comando::Excluir, Comando::Abrir}) {
        QuandoAbrirem({okNaPrimeiraLinha}); // the newest
        principal.executa(comando);
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return QApplication::activeWindow() == &principal; }, 500))
            << "comando " << int(comando);
    }
    // Abrir reaches the statement's first window, not yet filled in.
    EXPECT_EQ(usuario.textos().mid(0, 2),
              QStringList({"Nenhum erro foi detectado.", "Deseja realmente excluir este VLM-E ?"}));
    EXPECT_TRUE(usuario.textos().value(2).contains("\"Dados gerais da declaração\""));
    EXPECT_EQ(usuario.mensagens[1].botoes, shell::Botoes::SimNaoPadraoNao); // Enter keeps it
    EXPECT_EQ(numeros(), "1");
}

// Each command acts on the open statement itself, without the picker.
TEST_F(Fluxos, DeclaracaoAbertaVerificadaGravadaEExcluida) {
    const int n = completa();
    const int outra = teste::ConstrutorDeclaracao(programa.banco).geral();
    abreDeclaracao(n);
    ui::mdiPrincipal principal(programa, usuario);
    principal.executa(Comando::Pendencias);
    usuario.responde(shell::Resposta::Nao);
    principal.executa(Comando::Excluir);
    EXPECT_EQ(usuario.textos(),
              QStringList({"Nenhum erro foi detectado.", "Deseja realmente excluir este VLM-E ?"}));
    EXPECT_TRUE(programa.declaracao.aberta);
    EXPECT_EQ(numeros(), "1,2");

    principal.executa(Comando::Transmitir);
    const QString gerado = pasta.arquivo("Arquivos/VLME0000000001");
    EXPECT_EQ(usuario.textos().value(2),
              "O Arquivo foi gerado para transmissão em : \r\n" + QDir::toNativeSeparators(gerado));
    EXPECT_TRUE(QFileInfo::exists(gerado));
    // Recorded, the statement is closed (and kept: it was not new).
    EXPECT_FALSE(programa.declaracao.aberta);
    EXPECT_EQ(numeros(), "1,2");

    abreDeclaracao(n);
    usuario.responde(shell::Resposta::Sim);
    principal.executa(Comando::Excluir);
    EXPECT_FALSE(programa.declaracao.aberta);
    EXPECT_EQ(numeros(), QString::number(outra));
}

TEST_F(Fluxos, GravarParaTransmissaoComPendenciasNaoGeraNada) {
    abreDeclaracao(teste::ConstrutorDeclaracao(programa.banco).geral());
    ui::mdiPrincipal principal(programa, usuario);
    QuandoAbrirem({[](QWidget *lista) {
        EXPECT_EQ(lista->objectName(), "frmPendencias");
        lista->close();
    }});
    principal.executa(Comando::Transmitir);
    EXPECT_EQ(usuario.textos(), QStringList("O Arquivo não foi gerado para transmissão."));
    EXPECT_TRUE(programa.declaracao.aberta);
    EXPECT_FALSE(QFileInfo::exists(pasta.arquivo("Arquivos/VLME0000000001")));
}

TEST_F(Fluxos, F1NumaJanelaModalAbreOTopicoEAAjudaRecebeCliques) {
    const auto seletor = [&](int operacao) {
        auto *s = new ui::frmVLMs(programa, usuario, progresso);
        s->setOperacaoVLM(operacao);
        return s;
    };
    const std::pair<QDialog *, int> casos[] = {
        {seletor(shell::Operacao::Excluir), shell::ContextoAjuda::Excluir},
        {seletor(shell::Operacao::Pendencias), shell::ContextoAjuda::Pendencias},
        {new ui::frmNovo(programa, usuario), shell::ContextoAjuda::Novo},
        {new ui::frmSobre(programa), shell::ContextoAjuda::Sobre}};
    for (const auto &[criada, contexto] : casos) {
        std::unique_ptr<QDialog> janela(criada);
        QString pagina;
        bool ajudaAcimaDaModal = false;
        QTimer::singleShot(0, [&] {
            EXPECT_TRUE(QTest::qWaitForWindowActive(janela.get()));
            QTest::keyClick(janela.get(), Qt::Key_F1);
            ui::frmAjuda &ajuda = ui::JanelaAjuda();
            pagina = ajuda.paginaAtual();
            ajudaAcimaDaModal = QApplication::activeModalWidget() == &ajuda;
            ajuda.close();
            janela->reject();
        });
        janela->exec();
        EXPECT_EQ(pagina, ui::PaginaDoContexto(contexto)) << janela->objectName();
        EXPECT_TRUE(ajudaAcimaDaModal) << janela->objectName();
    }
}

TEST_F(Fluxos, EnterNumaPerguntaQueDestroiRespondeNao) {
    for (const auto &[botoes, esperada] :
         {std::pair{shell::Botoes::SimNaoPadraoNao, shell::Resposta::Nao},
          std::pair{shell::Botoes::SimNao, shell::Resposta::Sim}}) {
        ui::UsuarioJanela usuario;
        QTimer::singleShot(0, [] {
            auto *caixa = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(caixa, nullptr);
            QTest::keyClick(caixa, Qt::Key_Return);
        });
        EXPECT_EQ(usuario.mensagem({}, "Excluir?", shell::Icone::Pergunta, botoes), esperada);
    }
}

TEST_F(Fluxos, ExcecaoQualquerViraMensagemEOProgramaSegue) {
    teste::ConstrutorDeclaracao(programa.banco).geral();
    // A menu command, twice: the first failure did not end the program.
    PrincipalComDefeito principal(programa, usuario);
    principal.mnuSobre->trigger();
    principal.mnuSobre->trigger();
    // The picker's OK: the operation fails, the picker closes with nothing done.
    ui::frmVLMs seletor(programa, usuario, principal.progresso());
    seletor.operacoes.abrir = [](int) { throw std::out_of_range("linha"); };
    seletor.dbgVlms->selectRow(0);
    seletor.cmdOk->click();
    EXPECT_EQ(seletor.desfecho(), ui::frmVLMs::Desfecho::Nenhum);
    const QStringList m = usuario.resumos();
    ASSERT_EQ(m.size(), 3);
    for (const QString &r : m)
        EXPECT_TRUE(r.startsWith("x|ERRO|Ocorreu um erro interno no VLM-E")) << r;
    EXPECT_TRUE(m[1].endsWith("técnico: sobre quebrado") && m[2].endsWith("técnico: linha"));
}
