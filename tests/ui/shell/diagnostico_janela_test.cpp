// The diagnostic from the main window: the picker's choice, the request
// with its hourglass, the answer and its list, the time limit.

#include "diagnostic/Troca.h"
#include "shell/Inicializacao.h"
#include "support/ServidorDiagnostico.h"
#include "ui/Janelas.h"
#include "ui/checking/frmPendencias.h"
#include "ui/shell/RegraOcupado.h"
#include "ui/shell/frmVLMs.h"
#include "ui/shell/mdiPrincipal.h"

#include <QEventLoop>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace vlme;

namespace {

class Diagnostico : public teste::Janelas {
  protected:
    Diagnostico() { programa.urlDiagnostico = shell::EscolheURLDiagnostico(servidor.host()); }

    int declaracao(int nrTransmissao, const QString &codigo) {
        const int n = teste::ConstrutorDeclaracao(programa.banco).geral();
        programa.banco.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = ?, CODIGO_VLM = ?"
                               " WHERE NR_VLM_VLM = ?",
                               {nrTransmissao, codigo, n});
        return n;
    }
    // The diagnostic picker on the statement in `linha`, OK clicked; the
    // list window that follows, if any, read and closed.
    void escolhe(ui::mdiPrincipal &janela, int linha, bool comLista = false) {
        teste::QuandoAbrirem({[this, linha, comLista](QWidget *w) {
            auto *seletor = qobject_cast<ui::frmVLMs *>(w);
            ASSERT_NE(seletor, nullptr);
            seletor->dbgVlms->selectRow(linha);
            // The list opens inside OK's click, in place of the picker.
            if (comLista)
                teste::QuandoAbrirem({leLista()}, 50);
            seletor->cmdOk->click();
        }});
        janela.executa(shell::Comando::Diagnostico);
    }
    std::function<void(QWidget *)> leLista() {
        return [this](QWidget *w) {
            auto *lista = w->findChild<QTreeWidget *>("lstPendencias");
            ASSERT_NE(lista, nullptr);
            for (int i = 0; i < lista->topLevelItemCount(); ++i)
                listadas << lista->topLevelItem(i)->text(0) + '|' + lista->topLevelItem(i)->text(2);
            w->close();
        };
    }
    // Lets the event loop run until the request in hand ends.
    void aguarda(ui::mdiPrincipal &janela) {
        QEventLoop laco;
        QTimer vigia;
        QObject::connect(&vigia, &QTimer::timeout, [&] {
            if (!janela.troca().aguardando())
                laco.quit();
        });
        vigia.start(5);
        QTimer::singleShot(20000, &laco, &QEventLoop::quit);
        laco.exec();
    }

    teste::ServidorDiagnostico servidor;
    QStringList listadas;
};

} // namespace

TEST_F(Diagnostico, EscolhaDoSeletorPedidoComAmpulhetaEListaDoQueFoiGravado) {
    const int comAviso = declaracao(-1, "200100123");
    programa.banco.executa("INSERT INTO ERRO VALUES (?, 'Aviso guardado', 'NACIONAIS', 'n1', '3')",
                           {comAviso});
    declaracao(-1, "200100124");
    const int comErro = declaracao(-1, "");
    programa.banco.executa("INSERT INTO ERRO VALUES (?, 'Erro guardado', 'DADOS GERAIS', '-', '1')",
                           {comErro});
    const int transmitida = declaracao(77, "");
    ui::mdiPrincipal janela(programa, usuario);

    // Newest first: transmitted, with errors, registered clean, with a warning.
    escolhe(janela, 3, true);
    escolhe(janela, 1, true);
    escolhe(janela, 2);
    EXPECT_EQ(listadas, QStringList({" Aviso guardado|n1", " Erro guardado|-"}));
    EXPECT_EQ(usuario.resumos(),
              QStringList({"i|ATENÇÃO|Este VLM-E já está registrado. Apenas os avisos serão "
                           "listados.",
                           "i|Diagnóstico|Este VLM-E não contém nenhum tipo de erro ou aviso."}));
    EXPECT_TRUE(servidor.pedidos.isEmpty());

    usuario.mensagens.clear();
    servidor.responde("12   0000000000Erro novo;");
    escolhe(janela, 0);
    teste::QuandoAbrirem({leLista()});
    // The picker is gone and the hourglass holds the commands while waiting.
    EXPECT_TRUE(ui::Ocupado());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    aguarda(janela);
    EXPECT_FALSE(ui::Ocupado());
    EXPECT_EQ(servidor.pedidos.size(), 1);
    EXPECT_EQ(servidor.pedidos[0].corpo, "NR_TRANSMISSAO_VLM:77");
    EXPECT_EQ(listadas.last(), " Erro novo|n0");
    EXPECT_EQ(teste::Valores(programa.banco,
                             "SELECT NR_TRANSMISSAO_VLM FROM VLME WHERE NR_VLM_VLM = ?",
                             {transmitida}),
              "-1");
}

// One request, one message: the time limit after 20 ticks of the window's
// timer, and then a second request goes through.
TEST_F(Diagnostico, TempoEsgotadoUmaMensagemSoEOutroPedidoDepois) {
    const int n = declaracao(77, "");
    ui::mdiPrincipal janela(programa, usuario);
    janela.objTempo->setInterval(2);
    servidor.modo = teste::ServidorDiagnostico::Modo::Nunca;
    janela.RecuperaDiagnostico(n);
    EXPECT_TRUE(ui::Ocupado());
    aguarda(janela);
    EXPECT_FALSE(ui::Ocupado());
    servidor.modo = teste::ServidorDiagnostico::Modo::Fecha;
    janela.RecuperaDiagnostico(n);
    aguarda(janela);
    QTest::qWait(50); // no late message from either request
    EXPECT_EQ(
        usuario.resumos(),
        QStringList({"x|ERRO|Não foi possível conectar ao servidor.\r\nVerifique a "
                     "configuração internet ou contacte o suporte técnico. Códido : 20",
                     "x|ERRO|Ocorreu um erro ao tentar conectar com o servidor. \r\nVerifique "
                     "sua conexão com a internet ou contacte o suporte técnico. Código : 11"}));
    EXPECT_FALSE(ui::Ocupado());
}
