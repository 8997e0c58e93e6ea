// The diagnostic from the main window: the picker's choice on what is stored,
// and the request with its hourglass ended by the window's timer.

#include "support/ServidorDiagnostico.h"
#include "ui/Janelas.h"
#include "ui/shell/RegraOcupado.h"

using namespace vlme;
using Diagnostico = teste::Janelas;

TEST_F(Diagnostico, EscolhaDoSeletorEPedidoComAmpulheta) {
    teste::ServidorDiagnostico servidor;
    servidor.responde({}, 0);
    programa.urlDiagnostico = shell::EscolheURLDiagnostico(servidor.host());
    // In the picker: transmitted, with errors, registered clean, with a warning.
    programa.banco.executa("INSERT INTO VLME (NR_TRANSMISSAO_VLM, CODIGO_VLM) VALUES"
                           " (-1, '200100123'), (-1, '200100124'), (-1, ''), (77, '')");
    programa.banco.executa("INSERT INTO ERRO VALUES (1, 'Aviso', 'NACIONAIS', 'n1', '3'),"
                           " (3, 'Erro', 'DADOS GERAIS', '-', '1')");
    ui::mdiPrincipal janela(programa, usuario);
    QStringList listadas;
    for (const int linha : {3, 1, 2, 0}) {
        teste::QuandoAbrirem({[&, linha](QWidget *w) {
            if (linha % 2) // the list opens inside OK's click, in place of the picker
                teste::QuandoAbrirem(
                    {[&](QWidget *l) {
                        listadas << l->findChild<QTreeWidget *>()->topLevelItem(0)->text(0);
                        l->close();
                    }},
                    50);
            static_cast<ui::frmVLMs *>(w)->dbgVlms->selectRow(linha);
            static_cast<ui::frmVLMs *>(w)->cmdOk->click();
        }});
        janela.executa(shell::Comando::Diagnostico);
    }
    EXPECT_EQ(listadas, QStringList({" Aviso", " Erro"}));
    EXPECT_TRUE(ui::Ocupado()); // until the time limit
    janela.objTempo->setInterval(2);
    QTest::qWaitFor([] { return !ui::Ocupado(); });
    QTest::qWait(50); // nothing more is told
    EXPECT_EQ(usuario.resumos(), teste::Mensagens("diagnostico pelo seletor"));
}
