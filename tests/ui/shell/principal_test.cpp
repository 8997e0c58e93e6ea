// The main window: which place each menu and toolbar command reaches with
// and without an open statement, the busy rule, closing (statement first,
// then the connection), the fallback of places not yet filled in, and the
// file dialogs of import and restore.

#include "shell/Programa.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"
#include "ui/shell/frmAjuda.h"
#include "ui/shell/mdiPrincipal.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

using namespace vlme;

namespace {

// The main window with every place recorded instead of run.
class mdiGravado : public ui::mdiPrincipal {
  public:
    using mdiPrincipal::mdiPrincipal;
    QStringList chamadas;
    bool fechaRecusado = false;
    bool bancoAbertoAoFechar = false;

    void fechaDeclaracao() override
    {
        chamadas << QStringLiteral("fechaDeclaracao");
        bancoAbertoAoFechar = programa().banco.aberto();
        if (!fechaRecusado)
            programa().declaracao = {};
    }
    void abreSeletor(int operacao) override
    {
        chamadas << QStringLiteral("abreSeletor(%1)").arg(operacao);
    }
    void mostraNovo() override { chamadas << QStringLiteral("mostraNovo"); }
    void importaDeclaracao() override { chamadas << QStringLiteral("importaDeclaracao"); }
    void configuraImpressora() override { chamadas << QStringLiteral("configuraImpressora"); }
    void imprimeDeclaracao() override { chamadas << QStringLiteral("imprimeDeclaracao"); }
    void imprimeResumo() override { chamadas << QStringLiteral("imprimeResumo"); }
    void excluiDeclaracao() override { chamadas << QStringLiteral("excluiDeclaracao"); }
    void verificaPendencias() override { chamadas << QStringLiteral("verificaPendencias"); }
    void gravaParaTransmissao() override { chamadas << QStringLiteral("gravaParaTransmissao"); }
    void restauraCopia() override { chamadas << QStringLiteral("restauraCopia"); }
    void importaTabelaNCM() override { chamadas << QStringLiteral("importaTabelaNCM"); }
    void importaTabelaUnidades() override { chamadas << QStringLiteral("importaTabelaUnidades"); }
    void abreCalculadora() override { chamadas << QStringLiteral("abreCalculadora"); }
    void mostraConteudoAjuda() override { chamadas << QStringLiteral("mostraConteudoAjuda"); }
    void mostraIndiceAjuda() override { chamadas << QStringLiteral("mostraIndiceAjuda"); }
    void mostraSobre() override { chamadas << QStringLiteral("mostraSobre"); }
    void sai() override
    {
        chamadas << QStringLiteral("sai");
        mdiPrincipal::sai();
    }
};

class Principal : public ::testing::Test {
  protected:
    Principal()
    {
        programa.pasta = pasta.caminho();
        programa.versao = QStringLiteral("5.0");
        const QString arquivo = pasta.arquivo(QStringLiteral("VLM.MDB"));
        programa.banco.cria(arquivo);
        programa.banco.abre(arquivo);
    }
    ~Principal() override
    {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }
    void abreDeclaracao(int numero)
    {
        programa.declaracao.numero = numero;
        programa.declaracao.aberta = true;
    }
    static QAction *menu(QWidget &janela, const char *nome)
    {
        auto *a = janela.findChild<QAction *>(QString::fromLatin1(nome));
        EXPECT_NE(a, nullptr) << nome;
        return a;
    }

    teste::PastaTeste pasta;
    teste::UsuarioRoteirizado usuario;
    shell::Programa programa;
};

struct Caso {
    const char *menu;
    QStringList semDeclaracao;
    QStringList comDeclaracao;
};

} // namespace

TEST_F(Principal, CadaMenuLevaAoSeuLugarComESemDeclaracaoAberta)
{
    const QStringList f{"fechaDeclaracao"};
    const Caso casos[] = {
        {"mnuNovo", {"mostraNovo"}, f + QStringList{"mostraNovo"}},
        {"mnuAbrir", {"abreSeletor(2)"}, f + QStringList{"abreSeletor(2)"}},
        {"MnuImportar", {"importaDeclaracao"}, f + QStringList{"importaDeclaracao"}},
        {"mnuFechar", {}, f},
        {"mnuConfig", {"configuraImpressora"}, {"configuraImpressora"}},
        {"mnuImprimirVLM", {"abreSeletor(9)"}, {"imprimeDeclaracao"}},
        {"mnuResumo", {"abreSeletor(10)"}, {"imprimeResumo"}},
        {"mnuExcluir", {"abreSeletor(3)"}, {"excluiDeclaracao"}},
        {"mnuDiagnostico", {"abreSeletor(15)"}, f + QStringList{"abreSeletor(15)"}},
        {"mnuPendencias", {"abreSeletor(14)"}, {"verificaPendencias"}},
        {"mnuGerarArquivoEnviador", {"abreSeletor(6)"}, f + QStringList{"abreSeletor(6)"}},
        {"mnuTransmitir", {"abreSeletor(7)"}, {"gravaParaTransmissao"}},
        {"mnuGerar", {"abreSeletor(8)"}, f + QStringList{"abreSeletor(8)"}},
        {"mnuRestaurar", {"restauraCopia"}, f + QStringList{"restauraCopia"}},
        {"MnuImportarNCM", {"importaTabelaNCM"}, {"importaTabelaNCM"}},
        {"MnuImportarUnM", {"importaTabelaUnidades"}, {"importaTabelaUnidades"}},
        {"mnuCalculadora", {"abreCalculadora"}, {"abreCalculadora"}},
        {"mnuConteudo", {"mostraConteudoAjuda"}, {"mostraConteudoAjuda"}},
        {"mnuIndice", {"mostraIndiceAjuda"}, {"mostraIndiceAjuda"}},
        {"mnuProcurar", {}, {}},
        {"mnuSobre", {"mostraSobre"}, {"mostraSobre"}},
    };
    for (const Caso &caso : casos) {
        for (const bool aberta : {false, true}) {
            mdiGravado janela(programa, usuario);
            programa.declaracao = {};
            if (aberta)
                abreDeclaracao(37);
            menu(janela, caso.menu)->trigger();
            EXPECT_EQ(janela.chamadas, aberta ? caso.comDeclaracao : caso.semDeclaracao)
                << caso.menu << (aberta ? " com declaração" : " sem declaração") << ": "
                << janela.chamadas.join(QLatin1Char(',')).toStdString();
            // Acting on the statement leaves it open.
            if (aberta && !caso.comDeclaracao.contains(QStringLiteral("fechaDeclaracao"))) {
                EXPECT_TRUE(programa.declaracao.aberta) << caso.menu;
            }
        }
    }
    EXPECT_TRUE(usuario.mensagens.empty());
}

TEST_F(Principal, SairFechaADeclaracaoAntesDoBanco)
{
    for (const bool aberta : {false, true}) {
        if (!programa.banco.aberto())
            programa.banco.abre(pasta.arquivo(QStringLiteral("VLM.MDB")));
        mdiGravado janela(programa, usuario);
        janela.show();
        programa.declaracao = {};
        if (aberta)
            abreDeclaracao(5);
        menu(janela, "mnuSair")->trigger();
        EXPECT_FALSE(janela.isVisible());
        EXPECT_FALSE(programa.banco.aberto());
        if (aberta) {
            EXPECT_EQ(janela.chamadas, QStringList({"sai", "fechaDeclaracao"}));
            EXPECT_TRUE(janela.bancoAbertoAoFechar);
        } else {
            EXPECT_EQ(janela.chamadas, QStringList{"sai"});
        }
    }
}

TEST_F(Principal, ACaixaDeFecharFazOMesmoEOUsuarioPodeManterADeclaracao)
{
    mdiGravado janela(programa, usuario);
    janela.show();
    abreDeclaracao(5);
    janela.fechaRecusado = true;
    EXPECT_FALSE(janela.close());
    EXPECT_TRUE(janela.isVisible());
    EXPECT_TRUE(programa.banco.aberto());
    EXPECT_TRUE(programa.declaracao.aberta);

    janela.fechaRecusado = false;
    janela.chamadas.clear();
    EXPECT_TRUE(janela.close());
    EXPECT_EQ(janela.chamadas, QStringList{"fechaDeclaracao"});
    EXPECT_TRUE(janela.bancoAbertoAoFechar);
    EXPECT_FALSE(programa.banco.aberto());
}

TEST_F(Principal, AmpulhetaOuCursorDeTextoSeguramOsComandosDaRegra)
{
    for (const Qt::CursorShape forma : {Qt::WaitCursor, Qt::IBeamCursor}) {
        mdiGravado janela(programa, usuario);
        janela.show();
        abreDeclaracao(9);
        QGuiApplication::setOverrideCursor(forma);
        for (const char *nome : {"mnuSair", "mnuNovo", "mnuAbrir", "MnuImportar", "mnuFechar",
                                 "mnuImprimirVLM", "mnuResumo", "mnuExcluir", "mnuDiagnostico",
                                 "mnuPendencias", "mnuGerarArquivoEnviador", "mnuTransmitir",
                                 "mnuGerar", "mnuRestaurar", "MnuImportarNCM", "MnuImportarUnM"})
            menu(janela, nome)->trigger();
        janela.botao(QStringLiteral("Sair"))->trigger();
        EXPECT_TRUE(janela.chamadas.isEmpty()) << janela.chamadas.join(',').toStdString();
        // Not even the close box pulls the database from under the work.
        EXPECT_FALSE(janela.close());
        EXPECT_TRUE(janela.isVisible());
        EXPECT_TRUE(programa.banco.aberto());
        EXPECT_TRUE(programa.declaracao.aberta);
        // Help still answers.
        menu(janela, "mnuConteudo")->trigger();
        EXPECT_EQ(janela.chamadas, QStringList{"mostraConteudoAjuda"});
        QGuiApplication::restoreOverrideCursor();

        // Another pointer is not busy.
        QGuiApplication::setOverrideCursor(Qt::PointingHandCursor);
        menu(janela, "mnuPendencias")->trigger();
        EXPECT_EQ(janela.chamadas.last(), QStringLiteral("verificaPendencias"));
        QGuiApplication::restoreOverrideCursor();
        programa.declaracao = {};
    }
}

TEST_F(Principal, BarraDeFerramentasDespachaPelaChave)
{
    mdiGravado janela(programa, usuario);
    struct Botao {
        const char *chave, *dica, *chamada;
    };
    const Botao botoes[] = {
        {"Novo", "Nova Declaração", "mostraNovo"},
        {"Abrir", "Abrir Declaração", "abreSeletor(2)"},
        {"Importar", "Importar de Arquivo Texto", "importaDeclaracao"},
        {"Fechar", "Fechar Declaração", nullptr},
        {"Imprimir", "Imprimir VLM-E", "abreSeletor(9)"},
        {"Excluir", "Excluir Declaração", "abreSeletor(3)"},
        {"Pendencias", "Verificar Pendências", "abreSeletor(14)"},
        {"Transmitir", "Gravar para transmissão", "abreSeletor(7)"},
        {"Diagnostico", "Diagnóstico", "abreSeletor(15)"},
        {"Ajuda", "Ajuda", "mostraConteudoAjuda"},
    };
    QStringList chaves;
    for (QAction *a : janela.tbrBarra->actions())
        if (!a->isSeparator())
            chaves << a->data().toString();
    EXPECT_EQ(chaves, QStringList({"Novo", "Abrir", "Importar", "Fechar", "Imprimir", "Excluir",
                                   "Pendencias", "Transmitir", "Diagnostico", "Ajuda", "Sair"}));
    for (const Botao &b : botoes) {
        QAction *a = janela.botao(QString::fromLatin1(b.chave));
        ASSERT_NE(a, nullptr) << b.chave;
        EXPECT_EQ(a->toolTip(), QString::fromUtf8(b.dica));
        EXPECT_FALSE(a->icon().isNull()) << b.chave;
        janela.chamadas.clear();
        a->trigger();
        EXPECT_EQ(janela.chamadas,
                  b.chamada ? QStringList{QString::fromLatin1(b.chamada)} : QStringList{})
            << b.chave;
    }
    EXPECT_EQ(janela.botao(QStringLiteral("Sair"))->toolTip(), QStringLiteral("Sair do Programa"));
    EXPECT_EQ(janela.botao(QStringLiteral("Nada")), nullptr);
}

TEST_F(Principal, AjudaDaBarraAbreOConteudoNaoAAjudaDeContexto)
{
    ui::mdiPrincipal janela(programa, usuario);
    janela.show();
    QApplication::setActiveWindow(&janela);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&janela));
    // A statement window with its own topic has the focus.
    auto *sub = janela.areaDocumentos->addSubWindow(new QWidget);
    sub->widget()->setProperty("contextoAjuda", 66);
    sub->show();
    janela.areaDocumentos->setActiveSubWindow(sub);
    sub->widget()->setFocus();

    // F1 is the context help...
    QTest::keyClick(&janela, Qt::Key_F1);
    ui::frmAjuda &ajuda = janela.ajuda();
    EXPECT_TRUE(ajuda.isVisible());
    EXPECT_EQ(ajuda.paginaAtual(), QStringLiteral("pendencias.html"));
    EXPECT_EQ(ajuda.parentWidget(), &janela);

    // ...the toolbar's Ajuda is the contents.
    janela.botao(QStringLiteral("Ajuda"))->trigger();
    EXPECT_TRUE(ajuda.isVisible());
    EXPECT_EQ(ajuda.tabAjuda->currentIndex(), 0);
    EXPECT_EQ(ajuda.paginaAtual(), QStringLiteral("principal.html"));
    EXPECT_EQ(&janela.ajuda(), &ajuda);
    EXPECT_TRUE(usuario.mensagens.empty());
}

TEST_F(Principal, LugaresAindaSemOperacaoAvisamQueNaoEstaoDisponiveis)
{
    ui::mdiPrincipal janela(programa, usuario);
    menu(janela, "mnuConfig")->trigger();
    menu(janela, "MnuImportarNCM")->trigger();
    ASSERT_EQ(usuario.mensagens.size(), 2u);
    EXPECT_EQ(usuario.mensagens[0].titulo, QStringLiteral("Atenção!"));
    EXPECT_EQ(usuario.mensagens[0].texto,
              QStringLiteral("A operação \"Configurar impressora\" ainda não está disponível nesta "
                             "versão do VLM-E."));
    EXPECT_EQ(usuario.mensagens[0].icone, shell::Icone::Informacao);
    EXPECT_EQ(usuario.mensagens[1].texto,
              QStringLiteral("A operação \"Importar tabela NCM\" ainda não está disponível nesta "
                             "versão do VLM-E."));
    // Nothing was opened as though it had worked.
    EXPECT_FALSE(programa.declaracao.aberta);
    EXPECT_TRUE(janela.areaDocumentos->subWindowList().isEmpty());
}

namespace {
// A statement window that may refuse to close, as one asking to save would.
class JanelaTeimosa : public QWidget {
  public:
    bool deixaFechar = false;
    int fechamentos = 0;

  protected:
    void closeEvent(QCloseEvent *e) override
    {
        ++fechamentos;
        deixaFechar ? e->accept() : e->ignore();
    }
};
} // namespace

TEST_F(Principal, FecharFechaAsJanelasDaDeclaracaoEEscondeOPainel)
{
    ui::mdiPrincipal janela(programa, usuario);
    janela.show();
    auto *central = new JanelaTeimosa;
    auto *sub = janela.areaDocumentos->addSubWindow(central);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->show();
    abreDeclaracao(12);
    janela.mostraPainel(QStringLiteral(" NÚMERO VLM-E : 2003/00001  RAZÃO SOCIAL : Fábrica"));
    EXPECT_TRUE(janela.txtPainel->isVisible());

    // The window refuses: the statement stays open and Abrir goes no further.
    menu(janela, "mnuAbrir")->trigger();
    EXPECT_EQ(central->fechamentos, 1);
    EXPECT_TRUE(programa.declaracao.aberta);
    EXPECT_TRUE(janela.txtPainel->isVisible());
    EXPECT_TRUE(usuario.mensagens.empty());

    central->deixaFechar = true;
    menu(janela, "mnuFechar")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(janela.areaDocumentos->subWindowList().isEmpty());
    EXPECT_FALSE(programa.declaracao.aberta);
    EXPECT_EQ(programa.declaracao.numero, 0);
    EXPECT_FALSE(janela.txtPainel->isVisible());
}

TEST_F(Principal, DialogosDeImportacaoERestauracao)
{
    ui::mdiPrincipal janela(programa, usuario);
    usuario.escolhe(QStringLiteral("/tmp/declaracao.txt"));
    EXPECT_EQ(janela.escolheArquivoImportacao(), QStringLiteral("/tmp/declaracao.txt"));
    const QString arquivos = QDir(pasta.caminho()).filePath(QStringLiteral("Arquivos"));
    ASSERT_FALSE(QDir(arquivos).exists());
    EXPECT_EQ(janela.escolheArquivoRestauracao(), QString());
    EXPECT_TRUE(QDir(arquivos).exists());
    ASSERT_EQ(usuario.dialogos.size(), 2u);
    EXPECT_EQ(usuario.dialogos[0].titulo, QStringLiteral("Importar Declaração"));
    EXPECT_EQ(usuario.dialogos[0].filtro, QStringLiteral("Arquivo texto (*.*)"));
    EXPECT_EQ(usuario.dialogos[0].inicial, pasta.caminho());
    EXPECT_EQ(usuario.dialogos[1].titulo, QStringLiteral("Restaurar Cópia de Segurança"));
    EXPECT_EQ(usuario.dialogos[1].filtro, QStringLiteral("Arquivos backup VLME (*.BAK)"));
    EXPECT_EQ(usuario.dialogos[1].inicial, arquivos);
}

TEST_F(Principal, MenusNaOrdemComSeusTextos)
{
    ui::mdiPrincipal janela(programa, usuario);
    EXPECT_EQ(janela.windowTitle(), QStringLiteral("Declaração do VLM-E"));
    auto textos = [](QMenu *m) {
        QStringList t;
        for (QAction *a : m->actions())
            t << (a->isSeparator() ? QStringLiteral("-")
                                   : a->objectName() + QLatin1Char('=') + a->text());
        return t;
    };
    QStringList barra;
    for (QAction *a : janela.menuBar()->actions())
        barra << a->menu()->objectName() + QLatin1Char('=') + a->text();
    EXPECT_EQ(barra, QStringList({"mnuArquivo=&Declaração", "mnuUtilitarios=&Utilitários",
                                  "mnuAjuda=A&juda"}));
    EXPECT_EQ(
        textos(janela.mnuArquivo),
        QStringList({"mnuNovo=&Novo", "mnuAbrir=&Abrir", "MnuImportar=I&mportar", "-",
                     "mnuFechar=&Fechar", "-", "mnuConfig=Configurar Im&pressora", "=&Imprimir",
                     "-", "mnuExcluir=&Excluir", "-", "mnuDiagnostico=&Diagnóstico", "-",
                     "mnuPendencias=&Verificar Pendências",
                     "mnuGerarArquivoEnviador=&Gerar Arquivo para Transmissão",
                     "mnuTransmitir=&Gravar para transmissão", "-", "mnuSair=Sai&r"}));
    EXPECT_EQ(textos(janela.mnuImprimir),
              QStringList({"mnuResumo=&Resumo", "mnuImprimirVLM=&Demonstrativo"}));
    EXPECT_EQ(janela.mnuImprimir->objectName(), QStringLiteral("mnuImprimir"));
    EXPECT_EQ(textos(janela.mnuUtilitarios),
              QStringList({"=Cópia de &Segurança", "mnuCalculadora=&Calculadora",
                           "mnuCadastrarUnidadeMedida=Cadastrar &Unidade de Medida", "=Importar"}));
    EXPECT_EQ(textos(janela.mnuCopia), QStringList({"mnuGerar=&Gerar", "mnuRestaurar=&Restaurar"}));
    EXPECT_EQ(textos(janela.MnuImportarTAB),
              QStringList({"MnuImportarNCM=NCM", "MnuImportarUnM=Unidades de Medida"}));
    EXPECT_EQ(textos(janela.mnuAjuda),
              QStringList({"mnuConteudo=&Conteúdo", "mnuIndice=&Índice", "mnuProcurar=&Procurar",
                           "-", "mnuSobre=&Sobre o VLM-E"}));
    // No operation is attached to registering a unit.
    EXPECT_FALSE(janela.mnuCadastrarUnidadeMedida->isVisible());

    EXPECT_EQ(janela.objTempo->interval(), 1000);
    EXPECT_TRUE(janela.objTempo->isActive());
    EXPECT_EQ(janela.findChild<QLabel *>(QStringLiteral("txtPainel")), janela.txtPainel);
    EXPECT_EQ(janela.findChild<QToolBar *>(QStringLiteral("tbrBarra")), janela.tbrBarra);
}
