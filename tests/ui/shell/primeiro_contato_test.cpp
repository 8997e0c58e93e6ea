// What a new user meets first: the highlighted "Novo" entry is the chosen one,
// a copy says its number, the keyboard stays with the main window after a
// picker, and F1 reaches the help of a modal window, which then takes input.

#include "shell/Comandos.h"
#include "shell/ContextosAjuda.h"
#include "shell/Programa.h"
#include "shell/Progresso.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"
#include "ui/shell/frmAjuda.h"
#include "ui/shell/frmNovo.h"
#include "ui/shell/frmSobre.h"
#include "ui/shell/frmVLMs.h"
#include "ui/shell/UsuarioJanela.h"
#include "ui/shell/mdiPrincipal.h"

#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

using namespace vlme;

namespace {

struct Ambiente {
    teste::PastaTeste pasta;
    shell::Programa programa;
    teste::UsuarioRoteirizado usuario;
    shell::ProgressoMudo progresso;
    Ambiente() {
        programa.pasta = pasta.caminho();
        programa.banco.cria(pasta.arquivo("VLM.MDB"));
        programa.banco.abre(pasta.arquivo("VLM.MDB"));
    }
    int conta() { return programa.banco.escalar("SELECT count(*) FROM VLME").toInt(); }
};

// Runs `acao` on each modal window as it comes up, in order.
void quandoAbrirem(std::vector<std::function<void(QWidget *)>> acoes) {
    auto fila = std::make_shared<std::vector<std::function<void(QWidget *)>>>(std::move(acoes));
    auto passo = std::make_shared<std::function<void()>>();
    *passo = [fila, passo] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) {
            QTimer::singleShot(10, *passo);
            return;
        }
        auto acao = fila->front();
        fila->erase(fila->begin());
        acao(modal);
        if (!fila->empty())
            QTimer::singleShot(10, *passo);
    };
    QTimer::singleShot(0, *passo);
}

void okNaPrimeiraLinha(QWidget *janela) {
    auto *seletor = qobject_cast<ui::frmVLMs *>(janela);
    ASSERT_NE(seletor, nullptr);
    seletor->dbgVlms->selectRow(0);
    seletor->cmdOk->click();
}

} // namespace

TEST(PrimeiroContato, OkDoNovoAgeSobreAEntradaRealcada) {
    for (const bool desce : {false, true}) {
        Ambiente a;
        ui::frmNovo novo(a.programa, a.usuario);
        novo.show();
        if (desce)
            QTest::keyClick(novo.lstLista, Qt::Key_Down);
        novo.cmdOk->click();
        EXPECT_TRUE(a.usuario.mensagens.empty());
        EXPECT_EQ(novo.escolha(),
                  desce ? ui::frmNovo::Escolha::Anterior : ui::frmNovo::Escolha::Vazio);
        EXPECT_EQ(a.conta(), desce ? 0 : 1);
    }
}

TEST(PrimeiroContato, CopiaAPartirDeAnteriorDizONumero) {
    Ambiente a;
    teste::ConstrutorDeclaracao(a.programa.banco).geral().modelo("M", 1.0);
    ui::mdiPrincipal principal(a.programa, a.usuario);
    quandoAbrirem({[](QWidget *novo) {
                       QTest::keyClick(static_cast<ui::frmNovo *>(novo)->lstLista, Qt::Key_Down);
                       static_cast<ui::frmNovo *>(novo)->cmdOk->click();
                   },
                   okNaPrimeiraLinha});
    principal.executa(shell::Comando::Novo);
    ASSERT_EQ(a.usuario.mensagens.size(), 1u);
    EXPECT_TRUE(a.usuario.mensagens[0].texto.startsWith(
        QStringLiteral("A cópia foi gravada como declaração 2.\n\n")));
    EXPECT_EQ(a.conta(), 2);
}

TEST(PrimeiroContato, JanelaPrincipalRetomaOFocoDepoisDoSeletor) {
    struct Caso {
        shell::Comando comando;
        std::vector<shell::Resposta> respostas;
        int restam;
    };
    for (const Caso &caso :
         {Caso{shell::Comando::Excluir, {shell::Resposta::Sim}, 0},
          Caso{shell::Comando::Pendencias, {}, 1}, Caso{shell::Comando::Abrir, {}, 1}}) {
        Ambiente a;
        teste::ConstrutorDeclaracao(a.programa.banco).geral().modelo("M", 1.0).importadoDI();
        for (auto r : caso.respostas)
            a.usuario.responde(r);
        ui::mdiPrincipal principal(a.programa, a.usuario);
        principal.show();
        principal.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&principal));
        quandoAbrirem({okNaPrimeiraLinha});
        principal.executa(caso.comando);
        EXPECT_EQ(a.conta(), caso.restam);
        if (caso.comando == shell::Comando::Excluir) {
            ASSERT_FALSE(a.usuario.mensagens.empty());
            EXPECT_EQ(a.usuario.mensagens[0].botoes, shell::Botoes::SimNaoPadraoNao);
        }
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return QApplication::activeWindow() == &principal; }, 500))
            << "comando " << int(caso.comando);
    }
}

TEST(PrimeiroContato, F1NumaJanelaModalAbreOTopicoEAAjudaRecebeCliques) {
    Ambiente a;
    struct Caso {
        std::function<QDialog *()> cria;
        int contexto;
    };
    const std::vector<Caso> casos = {
        {[&] {
             auto *s = new ui::frmVLMs(a.programa, a.usuario, a.progresso);
             s->setOperacaoVLM(shell::Operacao::Excluir);
             return s;
         },
         shell::ContextoAjuda::Excluir},
        {[&] {
             auto *s = new ui::frmVLMs(a.programa, a.usuario, a.progresso);
             s->setOperacaoVLM(shell::Operacao::Pendencias);
             return s;
         },
         shell::ContextoAjuda::Pendencias},
        {[&] { return new ui::frmNovo(a.programa, a.usuario); }, shell::ContextoAjuda::Novo},
        {[&] { return new ui::frmSobre(a.programa); }, shell::ContextoAjuda::Sobre},
    };
    for (const Caso &caso : casos) {
        std::unique_ptr<QDialog> janela(caso.cria());
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
        EXPECT_EQ(pagina, ui::PaginaDoContexto(caso.contexto))
            << janela->objectName().toStdString();
        EXPECT_TRUE(ajudaAcimaDaModal) << janela->objectName().toStdString();
    }
}

TEST(PrimeiroContato, EnterNumaPerguntaQueDestroiRespondeNao)
{
    for (const auto &[botoes, esperada] :
         {std::pair{shell::Botoes::SimNaoPadraoNao, shell::Resposta::Nao},
          std::pair{shell::Botoes::SimNao, shell::Resposta::Sim}}) {
        ui::UsuarioJanela usuario;
        QTimer::singleShot(0, [] {
            auto *caixa = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(caixa, nullptr);
            QTest::keyClick(caixa, Qt::Key_Return);
        });
        EXPECT_EQ(usuario.mensagem({}, QStringLiteral("Excluir?"), shell::Icone::Pergunta, botoes),
                  esperada);
    }
}
