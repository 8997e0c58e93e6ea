// The receipt dialog: a refusal is told and the cursor goes to the field to
// fix, nothing written; OK records and closes. From the menu, the open
// statement is closed first, chosen in the list, and reopens locked as a
// transmitted one; with none open nothing is chosen. A record undone.

#include "delivery/Transmissao.h"
#include "shell/Comandos.h"
#include "store/Controle.h"
#include "ui/Janelas.h"
#include "ui/delivery/frmEntrega.h"
#include "ui/shell/ModeloListaDeclaracoes.h"
#include "ui/shell/mdiPrincipal.h"

#include <QLineEdit>

using namespace vlme;
using teste::QuandoAbrirem;

namespace {

class EntregaJanela : public teste::Janelas {};

TEST_F(EntregaJanela, RecusaLevaAoCampoEOKGravaEFecha) {
    const int n = completa();
    store::MarcaGeracao(programa.banco, n);
    ui::frmEntrega f(programa.banco, programa.pasta, usuario, n);
    f.show();
    QTest::keyClicks(f.txtNumero, "4a7-1");
    EXPECT_EQ(f.txtNumero->text(), "471");
    f.txtNumero->clear();
    const QStringList antes = teste::ConteudoBanco(programa.banco);
    f.cmdOk->click();
    EXPECT_EQ(f.focusWidget(), f.txtNumero);
    f.txtNumero->setText("471");
    f.mskRecepcao->setText("31/12/2099 23:59:59");
    f.cmdOk->click();
    EXPECT_EQ(f.focusWidget(), f.mskRecepcao);
    f.mskRecepcao->setText("05/01/2024 10:15:00");
    f.mskGeracao->setText("06/01/2024 00:00:00");
    f.cmdOk->click();
    EXPECT_EQ(f.focusWidget(), f.mskGeracao);
    EXPECT_EQ(usuario.resumos(),
              QStringList({"!|Registrar Entrega|Digite o número da transmissão que está no recibo.",
                           "!|Registrar Entrega|A data da recepção (31/12/2099 23:59:59) é "
                           "posterior ao dia e à hora de agora. Confira o recibo.",
                           "!|Registrar Entrega|A geração (06/01/2024 00:00:00) é posterior à "
                           "recepção (05/01/2024 10:15:00). Confira as datas do recibo."}));
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(teste::ConteudoBanco(programa.banco), antes);

    f.mskGeracao->clear();
    f.txtTotais->setText("3");
    f.cmdOk->click();
    EXPECT_EQ(f.result(), int(QDialog::Accepted));
    ASSERT_TRUE(f.entrega());
    EXPECT_EQ(f.entrega()->numero, 471);
    EXPECT_EQ(usuario.resumos().last(),
              QString("i|Registrar Entrega|A entrega da declaração %1 foi registrada com o número "
                      "de transmissão 471.\r\nPeça agora o diagnóstico (Declaração > "
                      "Diagnóstico).")
                  .arg(n));
    EXPECT_EQ(teste::Valores(programa.banco, "SELECT DATA_GERACAO_RECIBO, DATA_RECEPCAO_RECIBO,"
                                             " HORA_RECEPCAO_RECIBO, TOTAIS_RECIBO FROM RECIBO"),
              "NULL|05/01/2024|10:15:00|3");
}

TEST_F(EntregaJanela, MenuEscolheAAbertaQueVoltaTravadaEDesfazer) {
    const int n = completa();
    const int nova = completa();
    // Generated: the file, not only the record, as the window saves on closing.
    for (int i : {n, nova})
        delivery::Transmissao(programa.banco, programa.pasta, usuario, progresso)
            .GeraArquivoTransmissao(i, false);
    ui::mdiPrincipal principal(programa, usuario);
    principal.show();
    principal.abre(n);
    ASSERT_NE(principal.dadosGerais(), nullptr);
    EXPECT_TRUE(principal.dadosGerais()->mskCNPJ->isEnabled());

    // The list starts on the statement that was open, not on the newest.
    const auto escolhida = [](QWidget *w) {
        auto *seletor = static_cast<ui::frmVLMs *>(w);
        const QModelIndexList linhas = seletor->dbgVlms->selectionModel()->selectedRows();
        return linhas.isEmpty() ? 0 : seletor->datVlms->numero(linhas.first().row());
    };
    QuandoAbrirem({[&](QWidget *seletor) {
        EXPECT_EQ(escolhida(seletor), n);
        QuandoAbrirem({[](QWidget *w) {
            auto *recibo = static_cast<ui::frmEntrega *>(w);
            recibo->txtNumero->setText("88");
            recibo->mskRecepcao->setText("05/01/2024 10:15:00");
            recibo->cmdOk->click();
        }});
        QTest::keyClick(seletor, Qt::Key_Return);
    }});
    principal.executa(shell::Comando::RegistrarEntrega);
    EXPECT_FALSE(programa.declaracao.aberta);
    const QString transmissoes =
        "SELECT NR_VLM_VLM, NR_TRANSMISSAO_VLM FROM VLME ORDER BY NR_VLM_VLM";
    EXPECT_EQ(teste::Valores(programa.banco, transmissoes), QString("%1|88;%2|0").arg(n).arg(nova));

    // With none open, none is chosen: Enter does nothing until the user moves.
    for (auto comando : {shell::Comando::RegistrarEntrega, shell::Comando::DesfazerEntrega}) {
        QuandoAbrirem({[&](QWidget *seletor) {
            EXPECT_EQ(escolhida(seletor), 0);
            QTest::keyClick(seletor, Qt::Key_Return);
            EXPECT_TRUE(seletor->isVisible());
            seletor->close();
        }});
        principal.executa(comando);
    }

    principal.abre(n);
    ASSERT_NE(principal.dadosGerais(), nullptr);
    EXPECT_FALSE(principal.dadosGerais()->mskCNPJ->isEnabled());
    EXPECT_FALSE(principal.dadosGerais()->cmdIncluirModelo->isEnabled());

    usuario.responde(base::Resposta::Sim);
    QuandoAbrirem({[&](QWidget *seletor) {
        EXPECT_EQ(escolhida(seletor), n);
        QTest::keyClick(seletor, Qt::Key_Return);
    }});
    principal.executa(shell::Comando::DesfazerEntrega);
    EXPECT_EQ(teste::Valores(programa.banco, transmissoes), QString("%1|0;%2|0").arg(n).arg(nova));
    EXPECT_EQ(usuario.resumos().mid(usuario.resumos().size() - 2),
              QStringList({QString("?|Desfazer Registro de Entrega|Deseja desfazer o registro da "
                                   "entrega da declaração %1, transmissão número 88 ?\r\nO recibo "
                                   "desse número é apagado e a declaração volta a ser gerada, não "
                                   "transmitida.|SimNaoPadraoNao")
                               .arg(n),
                           QString("i|Desfazer Registro de Entrega|O registro da entrega da "
                                   "declaração %1 (transmissão 88) foi desfeito: a declaração "
                                   "está gerada, não transmitida.")
                               .arg(n)}));
}

} // namespace
