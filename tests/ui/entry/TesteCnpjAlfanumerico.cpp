// A CNPJ with letters through the windows: typed into the general data and
// pasted into a component's invoice, shown under its mask, stored raised.

#include "entry/OperacaoFormulario.h"
#include "ui/Janelas.h"
#include "ui/entry/CampoMascarado.h"
#include "ui/entry/frmCentral.h"
#include "ui/entry/frmNacionais.h"

#include <QClipboard>
#include <QPushButton>
#include <QTest>

using namespace vlme;

namespace {

class CnpjJanelas : public teste::Janelas {
  protected:
    QString valor(const QString &sql, const QVariantList &valores = {}) {
        return teste::Valores(programa.banco, sql, valores);
    }
};

TEST_F(CnpjJanelas, DigitadoNosDadosGeraisEColadoNaNotaDoComponente) {
    const int n = teste::ConstrutorDeclaracao(programa.banco).geral().modelo("M", 1.0);
    abreDeclaracao(n);
    ui::frmCentral central(programa, usuario);
    central.carrega();
    central.show();
    QApplication::setActiveWindow(&central);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&central));
    // The window opens with the cursor already there; coming back by Tab
    // selects the stored CNPJ, which the typing then replaces.
    central.mskCNPJ->clearFocus();
    central.mskCNPJ->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(central.mskCNPJ, "12abc34501de35");
    EXPECT_EQ(central.mskCNPJ->displayText(), "12.ABC.345/01DE-35");
    central.grava();
    EXPECT_EQ(valor("SELECT CNPJ_VLM FROM VLME WHERE NR_VLM_VLM = ?", {n}), "12ABC34501DE35");

    ui::frmNacionais nacional(programa.banco, usuario, n, entry::OperacaoFormulario::Incluir);
    nacional.show();
    const QString campos = "mskNR=0000000009;mskSerie=B;mskDataEmissao=29022024;txtDescricao=Placa;"
                           "mskNCM=85171231;TxtUnidade=UN;mskQTD=3;mskCustoUnitario=10";
    for (const QString &c : campos.split(';'))
        nacional.findChild<ui::CampoMascarado *>(c.section('=', 0, 0))->setText(c.section('=', 1));
    auto *cnpj = nacional.findChild<ui::CampoMascarado *>("mskCNPJ");
    QApplication::clipboard()->setText("12.abc.345/01de-35");
    QTest::keyClick(cnpj, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(cnpj->displayText(), "12.ABC.345/01DE-35");
    nacional.findChild<QPushButton *>("cmdOk")->click();
    EXPECT_EQ(nacional.result(), QDialog::Accepted) << usuario.textos().join('\n').toStdString();
    EXPECT_EQ(valor("SELECT CNPJ_NF FROM NF"), "12ABC34501DE35");
}

} // namespace
