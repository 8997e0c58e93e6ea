// The receipt dialog: a refusal is told and the cursor goes to the field to
// fix, nothing written; OK records and closes. From the menu, the open
// statement is closed first, chosen in the list, and reopens locked as a
// transmitted one; with none open nothing is chosen. A record undone.

#include "delivery/Transmissao.h"
#include "store/Controle.h"
#include "ui/Janelas.h"
#include "ui/shell/ModeloListaDeclaracoes.h"

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
    EXPECT_EQ(usuario.resumos(), teste::Mensagens("recibo recusado"));
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(teste::ConteudoBanco(programa.banco), antes);

    f.mskGeracao->clear();
    f.txtTotais->setText("3");
    f.cmdOk->click();
    EXPECT_EQ(f.result(), int(QDialog::Accepted));
    ASSERT_TRUE(f.entrega());
    EXPECT_EQ(f.entrega()->numero, 471);
    EXPECT_EQ(usuario.resumos().last(), teste::Mensagens("recibo gravado").value(0).arg(n));
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
              teste::Mensagens("entrega desfeita").replaceInStrings("%1", QString::number(n)));
}

} // namespace
