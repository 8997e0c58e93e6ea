// The other windows open with the keyboard where a user acts first: on the
// list to choose from, in the field to type, or on the button that closes.

#include "checking/Pendencias.h"
#include "import/ErrosImportacao.h"
#include "shell/Comandos.h"
#include "shell/ContextosAjuda.h"
#include "ui/Janelas.h"
#include "ui/checking/frmPendencias.h"
#include "ui/entry/frmAssistentes.h"
#include "ui/import/FormErrImport.h"
#include "ui/shell/UsuarioJanela.h"
#include "ui/shell/frmAjuda.h"
#include "ui/shell/frmGauge.h"
#include "ui/shell/frmNovo.h"
#include "ui/shell/frmSobre.h"
#include "ui/shell/frmVLMs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QTest>

using namespace vlme;

namespace {

using FocoJanelas = teste::Janelas;

// The control with the keyboard: its name, else a button's text.
QString nomeDoFoco(QWidget *janela) {
    const QWidget *w = janela->focusWidget();
    if (!w)
        return "(nenhum)";
    if (const auto *b = qobject_cast<const QAbstractButton *>(w); b && w->objectName().isEmpty())
        return b->text();
    return w->objectName();
}

// Where the keyboard is once the modal window `abrir` shows is active; then closed.
QString focoAoAbrir(const std::function<void()> &abrir) {
    QString nome = "(nenhuma janela)";
    teste::QuandoAbrirem({[&](QWidget *w) {
        QApplication::setActiveWindow(w); // as the desktop does on showing it
        nome = nomeDoFoco(w);
        w->close();
    }});
    abrir();
    return nome;
}

// The same for a window that is not modal, once `mostra` has shown it.
QString focoAoMostrar(QWidget &janela, const std::function<void()> &mostra) {
    mostra();
    if (!QTest::qWaitForWindowActive(&janela))
        return "(janela inativa)";
    const QString nome = nomeDoFoco(&janela);
    janela.hide();
    return nome;
}

} // namespace

TEST_F(FocoJanelas, CadaJanelaAbreOndeOUsuarioAgePrimeiro) {
    const int n = teste::ConstrutorDeclaracao(programa.banco).geral();
    programa.banco.executa("INSERT INTO NCM_ITEM (CD_NCM_PRODUTO, DESCR_NCM_PRODUTO)"
                           " VALUES ('85171231', 'Telefones')");
    programa.banco.executa("INSERT INTO UNIDADE_MEDIDA (CD_UNID_MEDIDA, NM_MEDIDA)"
                           " VALUES ('UN', 'Unidade')");
    programa.banco.executa("INSERT INTO ERRO (NR_VLM_ERRO, DESCRICAO_ERRO, LOCAL_ERRO,"
                           " REGISTRO_ERRO, TIPO_ERRO) VALUES (?, 'CNPJ inválido', 'Ficha 2',"
                           " 'Registro 3', '1')",
                           {n});
    const std::vector<importacao::ErroImportacao> erros = {
        importacao::ErroImportacao::Cria('1', 3, "Denominação", "Preenchimento obrigatório.")};
    ui::UsuarioJanela janelas;
    ui::frmAjuda ajuda;
    ui::frmGauge gauge(usuario);
    struct Caso {
        const char *janela;
        std::function<QString()> foco;
        QString esperado;
    };
    const auto modal = [](const std::function<void()> &abrir) {
        return [abrir] { return focoAoAbrir(abrir); };
    };
    const auto picker = [&](int operacao) {
        return modal([&, operacao] {
            ui::frmVLMs f(programa, usuario, progresso);
            f.setOperacaoVLM(operacao);
            f.exec();
        });
    };
    const Caso casos[] = {
        {"frmNovo", modal([&] { ui::frmNovo(programa, usuario).exec(); }), "lstLista"},
        {"frmVLMs", picker(shell::Operacao::Abrir), "dbgVlms"},
        {"frmVLMs recibo", picker(shell::Operacao::ImprimirRecibo), "dbgVlms"},
        {"frmPendencias", modal([&] {
             ui::frmPendencias f;
             f.mostraPendencias({{"ERRO_CPF_INVALIDO", "CPF inválido."}});
             f.exec();
         }),
         "lstPendencias"},
        {"frmPendencias diagnóstico", modal([&] {
             ui::frmPendencias f;
             f.mostraDiagnostico(programa.banco, n, usuario);
             f.exec();
         }),
         "lstPendencias"},
        {"FormErrImport",
         modal([&] { ui::FormErrImport(usuario, pasta.caminho(), "vlme.txt", erros).exec(); }),
         "lstImport"},
        {"frmAssistNCM", modal([&] { ui::frmAssistNCM(programa.banco, usuario).escolhe(); }),
         "txtCodigo"},
        {"FrmAssistUnM", modal([&] { ui::FrmAssistUnM(programa.banco, usuario).escolhe(); }),
         "txtCodigo"},
        {"frmSobre", modal([&] { ui::frmSobre(programa).exec(); }), "cmdOK"},
        {"frmInformacoesSistema", modal([&] { ui::frmInformacoesSistema(programa).exec(); }),
         "lstInformacoes"},
        // A question about destroying something waits on No.
        {"confirmação", modal([&] {
             janelas.mensagem("Excluir", "Deseja realmente excluir?", base::Icone::Pergunta,
                              base::Botoes::SimNaoPadraoNao);
         }),
         "&Não"},
        {"arquivo",
         modal([&] { janelas.escolheArquivoAbrir("Restaurar", "*.*", pasta.caminho()); }),
         "fileNameEdit"},
        // F1 opens a page to read; the contents and the index keys, their own.
        {"frmAjuda tópico",
         [&] {
             return focoAoMostrar(ajuda, [&] { ajuda.mostraTopico(shell::ContextoAjuda::Modelo); });
         },
         "txtPagina"},
        {"frmAjuda conteúdo", [&] { return focoAoMostrar(ajuda, [&] { ajuda.mostraConteudo(); }); },
         "trvConteudo"},
        {"frmAjuda índice", [&] { return focoAoMostrar(ajuda, [&] { ajuda.mostraIndice(); }); },
         "txtProcurar"},
        // Esc or Enter there asks whether to stop.
        {"frmGauge",
         [&] {
             return focoAoMostrar(gauge, [&] { static_cast<base::Progresso &>(gauge).abre(); });
         },
         "cmdCancelar"},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(c.foco(), c.esperado) << c.janela;
}

// The progress window holds the keyboard from its opening: Enter there is
// its Cancel, as Esc is.
TEST_F(FocoJanelas, EnterNoProgressoPerguntaSeInterrompe) {
    ui::frmGauge gauge(usuario);
    base::Progresso &progresso = gauge;
    for (const Qt::Key tecla : {Qt::Key_Return, Qt::Key_Escape}) {
        progresso.abre();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&gauge));
        usuario.responde(base::Resposta::Sim);
        QTest::keyClick(QApplication::focusWidget(), tecla);
        EXPECT_TRUE(progresso.cancelado()) << tecla;
        EXPECT_FALSE(gauge.isVisible());
    }
    EXPECT_EQ(usuario.mensagens.size(), 2u);
}
