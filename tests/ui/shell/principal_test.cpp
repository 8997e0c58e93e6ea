// The main window: commands reach the place their route gives, the busy rule,
// closing, and the fallback of places not yet filled in.

#include "shell/Comandos.h"
#include "support/Arquivos.h"
#include "ui/Janelas.h"
#include "ui/shell/frmAjuda.h"
#include "ui/shell/mdiPrincipal.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabWidget>
#include <QToolBar>

#include <gtest/gtest.h>

using namespace vlme;

namespace {

// The main window with every place recorded instead of run.
class mdiGravado : public teste::ComandosGravados<ui::mdiPrincipal> {
  public:
    using ComandosGravados::ComandosGravados;
    bool fechaRecusado = false;
    bool bancoAbertoAoFechar = false;
    void fechaDeclaracao() override {
        chamadas << "fechaDeclaracao";
        bancoAbertoAoFechar = programa().banco.aberto();
        if (!fechaRecusado)
            programa().declaracao = {};
    }
    void sai() override {
        chamadas << "sai";
        mdiPrincipal::sai();
    }
};

// Records what a command reaches through its route alone.
class DestinoGravado final : public teste::ComandosGravados<shell::DestinoComandos> {
  public:
    bool aberta = false;
    bool declaracaoAberta() const override { return aberta; }
    void fechaDeclaracao() override {
        chamadas << "fechaDeclaracao";
        aberta = false;
    }
    void sai() override { chamadas << "sai"; }
};

// A statement window that may refuse to close, as one asking to save would.
class JanelaTeimosa : public QWidget {
  public:
    bool deixaFechar = false;
    int fechamentos = 0;

  protected:
    void closeEvent(QCloseEvent *e) override {
        ++fechamentos;
        deixaFechar ? e->accept() : e->ignore();
    }
};

using Principal = teste::Janelas;

QAction *menu(QWidget &janela, const QString &nome) {
    auto *a = janela.findChild<QAction *>(nome);
    EXPECT_NE(a, nullptr) << nome.toStdString();
    return a;
}

} // namespace

// Each button shows its picture and tip (data/janelas/barra.txt), and
// reaches what its route gives.
TEST_F(Principal, CadaMenuEBotaoLevaAondeSuaRotaLeva) {
    using C = shell::Comando;
    // In the order of the toolbar, Sair left out.
    const C comandos[] = {C::Novo,    C::Abrir,      C::Importar,   C::Fechar,      C::ImprimirVLM,
                          C::Excluir, C::Pendencias, C::Transmitir, C::Diagnostico, C::Conteudo};
    QStringList chaves;
    QString barra;
    const ui::mdiPrincipal principal(programa, usuario);
    for (QAction *a : principal.tbrBarra->actions())
        if (!a->isSeparator() && !a->icon().isNull()) {
            barra += a->data().toString() + "=" + a->toolTip() + "\n";
            chaves << a->data().toString();
        }
    ASSERT_EQ(barra, QString::fromStdString(teste::LeBytes(teste::DadoTeste("janelas/barra.txt"))));
    for (const bool aberta : {false, true}) {
        const auto confere = [&](C comando, const QString &nome, bool botao) {
            DestinoGravado esperado;
            esperado.aberta = aberta;
            shell::ExecutaComando(comando, esperado, false);
            mdiGravado janela(programa, usuario);
            programa.declaracao = {37, aberta, false, false};
            (botao ? janela.botao(nome) : menu(janela, nome))->trigger();
            EXPECT_EQ(janela.chamadas, esperado.chamadas) << nome.toStdString() << " " << aberta;
        };
        for (const auto &rota : shell::RotasComandos())
            if (*rota.menu && rota.comando != C::Sair)
                confere(rota.comando, rota.menu, false);
        for (size_t i = 0; i < std::size(comandos); ++i)
            confere(comandos[i], chaves.value(i), true);
    }
    EXPECT_TRUE(usuario.mensagens.empty());
}

TEST_F(Principal, SairOuFecharFechaADeclaracaoAntesDoBancoEOUsuarioPodeMantela) {
    for (const bool aberta : {false, true}) {
        if (!programa.banco.aberto())
            programa.banco.abre(pasta.arquivo("VLM.MDB"));
        mdiGravado janela(programa, usuario);
        janela.show();
        programa.declaracao = {5, aberta, false, false};
        menu(janela, "mnuSair")->trigger();
        EXPECT_FALSE(janela.isVisible() || programa.banco.aberto());
        EXPECT_EQ(janela.chamadas.join(','), aberta ? "sai,fechaDeclaracao" : "sai");
        EXPECT_EQ(janela.bancoAbertoAoFechar, aberta);
    }
    programa.banco.abre(pasta.arquivo("VLM.MDB"));
    mdiGravado janela(programa, usuario);
    janela.show();
    abreDeclaracao(5);
    janela.fechaRecusado = true;
    EXPECT_FALSE(janela.close());
    EXPECT_TRUE(janela.isVisible() && programa.banco.aberto() && programa.declaracao.aberta);
    janela.fechaRecusado = false;
    EXPECT_TRUE(janela.close());
    EXPECT_TRUE(janela.bancoAbertoAoFechar);
    EXPECT_FALSE(programa.banco.aberto());
}

TEST_F(Principal, AmpulhetaOuCursorDeTextoSeguramOsComandosDaRegra) {
    for (const Qt::CursorShape forma : {Qt::WaitCursor, Qt::IBeamCursor}) {
        mdiGravado janela(programa, usuario);
        janela.show();
        abreDeclaracao(9);
        QGuiApplication::setOverrideCursor(forma);
        for (const auto &rota : shell::RotasComandos())
            if (*rota.menu && rota.respeitaOcupado)
                menu(janela, rota.menu)->trigger();
        janela.botao("Sair")->trigger();
        EXPECT_TRUE(janela.chamadas.isEmpty()) << janela.chamadas.join(',').toStdString();
        // Not even the close box pulls the database from under the work.
        EXPECT_FALSE(janela.close());
        EXPECT_TRUE(janela.isVisible() && programa.banco.aberto() && programa.declaracao.aberta);
        menu(janela, "mnuConteudo")->trigger(); // help still answers
        QGuiApplication::restoreOverrideCursor();
        // Another pointer is not busy.
        QGuiApplication::setOverrideCursor(Qt::PointingHandCursor);
        menu(janela, "mnuPendencias")->trigger();
        EXPECT_EQ(janela.chamadas.join(','), "mostraConteudoAjuda,verificaPendencias");
        QGuiApplication::restoreOverrideCursor();
    }
}

TEST_F(Principal, LugaresAindaSemOperacaoAvisamEFecharFechaAsJanelasDaDeclaracao) {
    ui::mdiPrincipal janela(programa, usuario);
    menu(janela, "MnuImportarNCM")->trigger();
    EXPECT_EQ(usuario.resumos(), QStringList("i|Atenção!|A operação \"Importar tabela NCM\" ainda "
                                             "não está disponível nesta versão do VLM-E."));
    // Nothing was opened as though it had worked.
    EXPECT_FALSE(programa.declaracao.aberta);
    EXPECT_TRUE(janela.areaDocumentos->subWindowList().isEmpty());
    // The help's contents open on the first page.
    janela.mostraConteudoAjuda();
    EXPECT_EQ(janela.ajuda().paginaAtual(), "principal.html");
    EXPECT_EQ(janela.ajuda().tabAjuda->currentIndex(), 0);

    // Fechar closes the statement's windows and hides the panel.
    janela.show();
    auto *central = new JanelaTeimosa;
    auto *sub = janela.areaDocumentos->addSubWindow(central);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->show();
    abreDeclaracao(12);
    janela.mostraPainel(" NÚMERO VLM-E : 2003/00001  RAZÃO SOCIAL : Fábrica");

    // The window refuses: the statement stays open and Abrir goes no further.
    menu(janela, "mnuAbrir")->trigger();
    EXPECT_EQ(central->fechamentos, 1);
    EXPECT_TRUE(programa.declaracao.aberta && janela.txtPainel->isVisible());
    EXPECT_EQ(usuario.mensagens.size(), 1u); // the one above

    central->deixaFechar = true;
    menu(janela, "mnuFechar")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(janela.areaDocumentos->subWindowList().isEmpty());
    EXPECT_FALSE(programa.declaracao.aberta || janela.txtPainel->isVisible());
    EXPECT_EQ(programa.declaracao.numero, 0);
}
