// The shared field as a user meets it: typing, pasting, leaving with Tab,
// checks sent back, and the tag letters of a window.

#include "ui/Janelas.h"
#include "ui/entry/FabricaCampos.h"

#include <QClipboard>

using vlme::ui::CampoMascarado;

namespace {

class CampoTeste : public ::testing::Test {
  protected:
    void SetUp() override {
        cancelar->setFocusPolicy(Qt::StrongFocus);
        ASSERT_TRUE(vlme::teste::Ativa(janela.get()));
    }
    CampoMascarado *cria(const char *form, const char *campo) {
        return vlme::ui::CriaCampo(form, campo, usuario, janela.get());
    }
    void entra(QWidget *campo) {
        campo->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(campo->hasFocus());
    }
    void tab(QWidget *campo) { QTest::keyClick(campo, Qt::Key_Tab); }
    void cola(QWidget *campo, const QString &texto) {
        QApplication::clipboard()->setText(texto);
        QTest::keyClick(campo, Qt::Key_V, Qt::ControlModifier);
    }

    vlme::teste::UsuarioRoteirizado usuario;
    std::unique_ptr<QWidget> janela = std::make_unique<QWidget>();
    // Tab order is creation order.
    CampoMascarado *salarios = cria("frmCentral", "mskSalarios");
    CampoMascarado *encargos = cria("frmCentral", "mskEncargos");
    CampoMascarado *cnpj = cria("frmCentral", "mskCNPJ");
    CampoMascarado *nota = cria("frmNacionais", "mskNR");
    CampoMascarado *data = cria("frmNacionais", "mskDataEmissao");
    QLineEdit *ultimo = new QLineEdit(janela.get());
    QPushButton *cancelar = new QPushButton("Cancelar", janela.get());
};

TEST_F(CampoTeste, NumericoDigitadoColadoEAgrupadoAoSair) {
    // a value loaded by a form, longer than the typing limit, is not cut
    encargos->setText("9.999.999.999.999,99");
    entra(salarios);
    QTest::keyClicks(salarios, "12a34,5,6");
    EXPECT_EQ(salarios->text(), "1234,56");

    tab(salarios);
    EXPECT_TRUE(encargos->hasFocus());
    EXPECT_EQ(salarios->text(), "1.234,56");
    EXPECT_EQ(encargos->text(), "9999999999999,99");

    // back in: no grouping dots, everything selected
    QTest::keyClick(encargos, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(encargos->text(), "9.999.999.999.999,99");
    ASSERT_TRUE(salarios->hasFocus());
    EXPECT_EQ(salarios->text(), "1234,56");
    EXPECT_EQ(salarios->selectedText(), "1234,56");

    // pasted over the selection: dots and letters dropped, its comma kept
    cola(salarios, "9.876,5x4");
    EXPECT_EQ(salarios->text(), "9876,54");
    // a second comma pasted at the end is dropped as a typed one would be
    QTest::keyClick(salarios, Qt::Key_End);
    cola(salarios, ",3");
    EXPECT_EQ(salarios->text(), "9876,543");
    // emptied, it leaves as zero
    salarios->clear();
    tab(salarios);
    EXPECT_EQ(salarios->text(), "0,00");
    EXPECT_TRUE(usuario.mensagens.empty());
}

TEST_F(CampoTeste, MascaraVaziaAceitaDigitosComOFocoDadoPelaJanela) {
    // The window's activation gives the focus, not the user: nothing selected.
    cnpj->setText({});
    cnpj->setFocus(Qt::ActiveWindowFocusReason);
    ASSERT_TRUE(cnpj->hasFocus());
    QTest::keyClicks(cnpj, "11222333000181");
    EXPECT_EQ(cnpj->valor(), "11222333000181");
}

TEST_F(CampoTeste, ValorInvalidoMostraUmaMensagemEVolta) {
    encargos->setText("1,234");
    entra(salarios);
    QTest::keyClicks(salarios, "12345678901234");
    tab(salarios);
    EXPECT_EQ(usuario.resumos(),
              QStringList("!|Atenção!|Valor inválido no campo Salários e "
                          "Ordenados.\rSão permitidos até 13 inteiros e 2 decimais ."));
    EXPECT_TRUE(salarios->hasFocus());
    EXPECT_EQ(salarios->selectedText(), "12345678901234");
    EXPECT_EQ(encargos->text(), "1,234");
    encargos->clear();

    // 16 characters typed, 15 kept; the grouped text is longer and kept whole
    QTest::keyClicks(salarios, "1234567890123,45");
    EXPECT_EQ(salarios->text(), "1234567890123,4");
    tab(salarios);
    EXPECT_EQ(salarios->text(), "1.234.567.890.123,40");
    EXPECT_EQ(usuario.mensagens.size(), 1u);
    salarios->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(salarios->text(), "1234567890123,40");
}

// Every CNPJ field takes a letter or a digit in its first 12 places and a
// digit in the last 2, raising lower case; a whole CNPJ pasted in any form
// fills it wherever the cursor stood.
TEST_F(CampoTeste, CNPJAlfanumericoDigitadoEColado) {
    for (const char *form : {"frmCentral", "frmNacionais", "frmImportados"}) {
        CampoMascarado *c = cria(form, "mskCNPJ");
        c->show();
        const auto mostra = [c] { return c->displayText() + "|" + c->valor(); };
        entra(c);
        // an accented letter, a sign and a letter among the check digits are dropped
        QTest::keyClicks(c, "12a");
        QTest::sendKeyEvent(QTest::Click, c, Qt::Key_Eacute, QStringLiteral("\u00E9"),
                            Qt::NoModifier);
        QTest::keyClicks(c, "b*c34501deF35");
        EXPECT_EQ(mostra(), "12.ABC.345/01DE-35|12ABC34501DE35") << form;
        c->setText("11222333000181");
        c->setCursorPosition(4);
        cola(c, " 12.abc.345/01de-35\n");
        EXPECT_EQ(mostra(), "12.ABC.345/01DE-35|12ABC34501DE35") << form;
        QTest::keyClick(c, Qt::Key_End);
        cola(c, "a1b2c3d4000193");
        EXPECT_EQ(mostra(), "A1.B2C.3D4/0001-93|A1B2C3D4000193") << form;
        // numeric ones as before, also loaded in lower case
        c->setText("00000000000604");
        EXPECT_EQ(mostra(), "00.000.000/0006-04|00000000000604") << form;
        c->setText("12abc34501de35");
        EXPECT_EQ(mostra(), "12.ABC.345/01DE-35|12ABC34501DE35") << form;
    }
}

TEST_F(CampoTeste, CNPJSemMascaraNotaSoDigitosComZerosEDataConferidaAoSair) {
    entra(cnpj);
    QTest::keyClicks(cnpj, "11222333000181");
    EXPECT_EQ(cnpj->valor(), "11222333000181");
    tab(cnpj);
    ASSERT_TRUE(nota->hasFocus());
    cnpj->setText("00000000000604");
    EXPECT_EQ(cnpj->displayText() + "|" + cnpj->valor(), "00.000.000/0006-04|00000000000604");
    QTest::keyClicks(nota, "12,a3");
    cola(nota, "4-5,6");
    EXPECT_EQ(nota->text(), "123456");
    tab(nota);
    EXPECT_EQ(nota->text(), "0000123456");
    ASSERT_TRUE(data->hasFocus());

    QTest::keyClicks(data, "31042001");
    tab(data);
    EXPECT_EQ(usuario.textos(), QStringList("O campo Data Emissão está inválido."));
    EXPECT_TRUE(data->hasFocus());
    EXPECT_EQ(data->selectedText(), "31/04/2001");
    QTest::keyClicks(data, "30042001");
    tab(data);
    EXPECT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_EQ(data->valor(), "30042001");
    EXPECT_TRUE(ultimo->hasFocus());
}

// A button that dismisses the window takes the focus unchecked; confirming
// checks without leaving the field.
TEST_F(CampoTeste, BotaoDispensadoNaoConfereConfirmarConfereETagsBloqueiam) {
    vlme::ui::DispensaConferencia(cancelar);
    entra(salarios);
    QTest::keyClicks(salarios, "1,234");
    cancelar->setFocus(Qt::MouseFocusReason);
    EXPECT_TRUE(cancelar->hasFocus());
    EXPECT_TRUE(usuario.mensagens.empty());

    entra(salarios);
    QTest::keyClicks(salarios, "5,5");
    EXPECT_TRUE(salarios->confere());
    EXPECT_EQ(salarios->text(), "5,50");

    EXPECT_FALSE(nota->aplica(vlme::entry::ConfereNumeroNota("0", "Nota inválida.")));
    EXPECT_TRUE(nota->hasFocus());
    EXPECT_EQ(usuario.textos(), QStringList("Nota inválida."));

    // Tags block and enable.
    auto *incluir = new QPushButton(janela.get());
    vlme::ui::DefineTag(incluir, "T");
    vlme::ui::BloqueiaEntregue(janela.get(), true);
    const auto ativos = [&] {
        QString a;
        for (QWidget *w : {(QWidget *)salarios, (QWidget *)cnpj, (QWidget *)incluir,
                           (QWidget *)nota, (QWidget *)data, (QWidget *)cancelar})
            a += w->isEnabled() ? '1' : '0';
        return a;
    };
    EXPECT_EQ(ativos(), "000111"); // nota, data: EDSV, no T
    vlme::ui::BloqueiaEntregue(janela.get(), false);
    EXPECT_EQ(ativos(), "111111");
    vlme::ui::HabilitaPorTag(janela.get(), QLatin1Char('D'), false);
    EXPECT_EQ(ativos(), "111001"); // cnpj: ST
}

} // namespace
