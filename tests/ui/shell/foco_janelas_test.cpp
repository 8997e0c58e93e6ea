// The other windows open with the keyboard where a user acts first: on the
// list to choose from, in the field to type, or on the button that closes.

#include "checking/Pendencias.h"
#include "import/ErrosImportacao.h"
#include "ui/Janelas.h"
#include "ui/checking/frmPendencias.h"
#include "ui/entry/frmAssistentes.h"
#include "ui/import/FormErrImport.h"
#include "ui/shell/frmNovo.h"
#include "ui/shell/frmSobre.h"
#include "ui/shell/frmVLMs.h"

#include <QApplication>
#include <QDialog>

using namespace vlme;

namespace {

using FocoJanelas = teste::Janelas;

// Where the keyboard is once the window `abrir` shows is active; then closed.
QString focoAoAbrir(const std::function<void()> &abrir) {
    QString nome = "(nenhuma janela)";
    teste::QuandoAbrirem({[&](QWidget *w) {
        QApplication::setActiveWindow(w); // as the desktop does on showing it
        nome = w->focusWidget() ? w->focusWidget()->objectName() : "(nenhum)";
        w->close();
    }});
    abrir();
    return nome;
}

} // namespace

TEST_F(FocoJanelas, CadaJanelaAbreOndeOUsuarioAgePrimeiro) {
    teste::ConstrutorDeclaracao(programa.banco).geral();
    programa.banco.executa("INSERT INTO NCM_ITEM (CD_NCM_PRODUTO, DESCR_NCM_PRODUTO)"
                           " VALUES ('85171231', 'Telefones')");
    const std::vector<importacao::ErroImportacao> erros = {
        importacao::ErroImportacao::Cria('1', 3, "Denominação", "Preenchimento obrigatório.")};
    struct Caso {
        const char *janela;
        std::function<void()> abrir;
        QString esperado;
    };
    const Caso casos[] = {
        {"frmNovo", [&] { ui::frmNovo(programa, usuario).exec(); }, "lstLista"},
        {"frmVLMs",
         [&] {
             ui::frmVLMs f(programa, usuario, progresso);
             f.setOperacaoVLM(2);
             f.exec();
         },
         "dbgVlms"},
        {"frmPendencias",
         [&] {
             ui::frmPendencias f;
             f.mostraPendencias({{"ERRO_CPF_INVALIDO", "CPF inválido."}});
             f.exec();
         },
         "lstPendencias"},
        {"FormErrImport",
         [&] { ui::FormErrImport(usuario, pasta.caminho(), "vlme.txt", erros).exec(); },
         "lstImport"},
        {"frmAssistNCM", [&] { ui::frmAssistNCM(programa.banco, usuario).escolhe(); }, "txtCodigo"},
        {"frmSobre", [&] { ui::frmSobre(programa).exec(); }, "cmdOK"},
        {"frmInformacoesSistema", [&] { ui::frmInformacoesSistema(programa).exec(); },
         "lstInformacoes"},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(focoAoAbrir(c.abrir), c.esperado) << c.janela;
}
