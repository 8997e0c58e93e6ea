// The receipt dialog: a refusal is told and the cursor goes to the field to
// fix, nothing written; OK records and closes. From the menu, the open
// statement is closed first and reopens locked as a transmitted one.

#include "shell/Comandos.h"
#include "ui/Janelas.h"
#include "ui/delivery/frmEntrega.h"
#include "ui/shell/mdiPrincipal.h"

#include <QLineEdit>

using namespace vlme;
using teste::QuandoAbrirem;

namespace {

class EntregaJanela : public teste::Janelas {};

TEST_F(EntregaJanela, RecusaLevaAoCampoEOKGravaEFecha) {
    const int n = completa();
    ui::frmEntrega f(programa.banco, usuario, n);
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

TEST_F(EntregaJanela, MenuFechaADeclaracaoQueVoltaTravada) {
    const int n = completa();
    ui::mdiPrincipal principal(programa, usuario);
    principal.show();
    QuandoAbrirem({teste::PrimeiraDoSeletor});
    principal.executa(shell::Comando::Abrir);
    ASSERT_NE(principal.dadosGerais(), nullptr);
    EXPECT_TRUE(principal.dadosGerais()->mskCNPJ->isEnabled());

    QuandoAbrirem({[&](QWidget *seletor) {
        QuandoAbrirem({[](QWidget *w) {
            auto *recibo = static_cast<ui::frmEntrega *>(w);
            recibo->txtNumero->setText("88");
            recibo->mskRecepcao->setText("05/01/2024 10:15:00");
            recibo->cmdOk->click();
        }});
        teste::PrimeiraDoSeletor(seletor);
    }});
    principal.executa(shell::Comando::RegistrarEntrega);
    EXPECT_FALSE(programa.declaracao.aberta);
    EXPECT_EQ(teste::Valores(programa.banco,
                             "SELECT NR_TRANSMISSAO_VLM FROM VLME WHERE"
                             " NR_VLM_VLM = ?",
                             {n}),
              "88");

    QuandoAbrirem({teste::PrimeiraDoSeletor});
    principal.executa(shell::Comando::Abrir);
    ASSERT_NE(principal.dadosGerais(), nullptr);
    EXPECT_FALSE(principal.dadosGerais()->mskCNPJ->isEnabled());
    EXPECT_FALSE(principal.dadosGerais()->cmdIncluirModelo->isEnabled());
}

} // namespace
