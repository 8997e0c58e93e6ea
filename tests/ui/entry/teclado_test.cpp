// The forms by keyboard alone: F4 on a code field, and components typed key
// by key straight after their forms open, every field found stored (where
// each window opens and its Tab chain: the focus tests).

#include "ui/Janelas.h"

using namespace vlme;
using namespace vlme::teste;
namespace Op = entry::OperacaoFormulario;

namespace {

// Keys as a user presses them, each to the control that has the keyboard:
// "Tab", "Enter", "Alt+N", "Ctrl+I", "F4" or text to type.
void digita(QWidget *janela, const QStringList &teclas) {
    QApplication::setActiveWindow(janela);
    for (const QString &t : teclas) {
        QWidget *alvo = janela->focusWidget() ? janela->focusWidget() : janela;
        const auto letra = [&] { return Qt::Key(t.back().toUpper().unicode()); };
        if (t == "Tab")
            QTest::keyClick(alvo, Qt::Key_Tab);
        else if (t == "Enter")
            QTest::keyClick(alvo, Qt::Key_Return);
        else if (t == "F4")
            QTest::keyClick(alvo, Qt::Key_F4);
        else if (t.startsWith("Alt+")) {
            QTest::keyClick(alvo, letra(), Qt::AltModifier);
            QTest::qWait(150); // a mnemonic clicks its button a moment later
        } else if (t.startsWith("Ctrl+"))
            QTest::keyClick(alvo, letra(), Qt::ControlModifier);
        else
            QTest::keyClicks(alvo, t);
    }
}

class Teclado : public teste::Janelas {};

} // namespace

// Ctrl+I, and the keys typed at once: nothing lost, nothing shifted.
TEST_F(Teclado, ComponentesDigitadosLogoQueOFormularioAbre) {
    const auto f = abreCentral(ConstrutorDeclaracao(programa.banco).geral());
    ui::frmCentral &central = *f;
    central.SSTab->setCurrentIndex(1);
    QuandoAbrirem({[](QWidget *nacional) {
        digita(nacional,
               {"123", "Tab", "1", "Tab", "15032023", "Tab", "04539983000190", "Tab", "Tab",
                "Placa", "Tab", "85340000", "Tab", "UN", "Tab", "2,5", "Tab", "150,25"});
        QuandoAbrirem({[](QWidget *sub) {
            digita(sub, {"2312345730", "Tab", "1", "Tab", "1", "Tab", "Tab", "Tab", "Chip", "Tab",
                         "4", "Tab", "12,5", "Tab", "0", "Enter"});
        }});
        digita(nacional, {"Ctrl+I"});
        digita(nacional, {"Enter"});
    }});
    digita(&central, {"Ctrl+I"});

    central.SSTab->setCurrentIndex(2);
    QuandoAbrirem({[](QWidget *importado) {
        digita(importado,
               {"Alt+N",          "Tab", "42",  "Tab",      "U",    "Tab", "31012022", "Tab",
                "11222333000181", "Tab", "Tab", "85182100", "Tab",  "UN",  "Tab",      "Tab",
                "Alto-falante",   "Tab", "3",   "Tab",      "7,25", "Tab", "0",        "Enter"});
    }});
    digita(&central, {"Ctrl+I"});
    EXPECT_TRUE(usuario.mensagens.empty()) << usuario.textos().join('\n').toStdString();

    EXPECT_EQ(Valores(programa.banco,
                      "SELECT NR_NF, SERIE_NF, DATA_EMISSAO_NF, CNPJ_NF, NR_INS_ESTADUAL_NF,"
                      " TX_DESCRICAO_NACIONAL, NCM_NACIONAL, UNIDADE_NACIONAL, QTD_NACIONAL,"
                      " VL_CUSTO_UNITARIO_NACIONAL FROM COMPONENTES_NACIONAIS"
                      " JOIN NF ON NR_SEQ_NF = NR_SEQ_NF_NACIONAL"),
              "0000000123|1|15/03/2023|04539983000190|NULL|Placa|85340000|UN|2.5|150.25");
    EXPECT_EQ(Valores(programa.banco,
                      "SELECT NR_DI_DI, NR_ADICAO_DI, NR_ITEM_DI, TX_DESCRICAO_IMPORTADO,"
                      " QTD_IMPORTADO, VALOR_UNITARIO_IMPORTADO, N_NACIONAL_SUBCOMP"
                      " FROM COMPONENTES_IMPORTADOS JOIN DI ON NR_SQ_DI = NR_SEQ_DI_IMPORTADO"
                      " JOIN SUBCOMP ON N_IMPORTADO_SUBCOMP = NR_SQ_IMPORTADO"),
              "2312345730|001|01|Chip|4|12.5|1");
    EXPECT_EQ(Valores(programa.banco,
                      "SELECT NR_NF, SERIE_NF, DATA_EMISSAO_NF, CNPJ_NF, NCM_IMPORTADO,"
                      " UNIDADE_IMPORTADO, TX_DESCRICAO_IMPORTADO, QTD_IMPORTADO,"
                      " VALOR_UNITARIO_IMPORTADO, IN_DIRETO_IMPORTADO"
                      " FROM COMPONENTES_IMPORTADOS JOIN NF ON NR_SEQ_NF = NR_SEQ_NF_IMPORTADO"),
              "0000000042|U|31/01/2022|11222333000181|85182100|UN|Alto-falante|3|7.25|0");
}

// Choosing DI clears the invoice's code and unit, so none is saved under it.
TEST_F(Teclado, DIEscolhidaLimpaNCMEUnidadeDaNota) {
    const int n = ConstrutorDeclaracao(programa.banco).importadoNF("Tela");
    ui::frmImportados f(programa.banco, usuario, n, 0, Op::Alterar, 1);
    QuandoAbrirem({[](QWidget *w) {
        digita(w, {"Alt+D", "Tab", "2312345730", "Tab", "1", "Tab", "1"});
        for (const char *campo : {"mskNCM", "txtUnidade"})
            EXPECT_EQ(w->findChild<ui::CampoMascarado *>(campo)->valor(), "") << campo;
        EXPECT_EQ(w->findChild<QLineEdit *>("MskDescUnM")->text(), "");
        digita(w, {"Enter"});
    }});
    f.exec();
    EXPECT_EQ(Valores(programa.banco, "SELECT NCM_IMPORTADO, quote(UNIDADE_IMPORTADO),"
                                      " NR_DI_DI FROM COMPONENTES_IMPORTADOS"
                                      " JOIN DI ON NR_SQ_DI = NR_SEQ_DI_IMPORTADO"),
              "00000000|NULL|2312345730");
}

// F4 in a code field opens its lookup (an empty table says so). A delivered
// statement keeps its NCM and unit locked, yet F4 there still opens the
// lookup to consult; what is picked in it changes nothing.
TEST_F(Teclado, F4ConsultaOsCodigosMesmoTravados) {
    const int n = ConstrutorDeclaracao(programa.banco).geral().modelo("M", 1);
    auto central = abreCentral(n);
    for (ui::CampoMascarado *campo : {central->mskNCM, central->txtUnidade}) {
        campo->setFocus();
        digita(central.get(), {"F4"});
    }
    EXPECT_EQ(usuario.textos(), QStringList({"Código de NCM não encontrado!",
                                             "Código de Unidade de Medida não encontrado!"}));
    usuario.mensagens.clear();
    programa.banco.executa("INSERT INTO NCM_ITEM (CD_NCM_PRODUTO, DESCR_NCM_PRODUTO)"
                           " VALUES ('01012100', 'Cavalos'), ('85171231', 'Telefones')");
    programa.banco.executa("INSERT INTO UNIDADE_MEDIDA (CD_UNID_MEDIDA, NM_MEDIDA)"
                           " VALUES ('KG', 'Quilograma'), ('UN', 'Unidade')");
    programa.banco.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = 7");
    central.reset();
    central = abreCentral(n);

    QStringList abertas;
    for (ui::CampoMascarado *campo : {central->mskNCM, central->txtUnidade}) {
        const QString antes = campo->text();
        QApplication::setActiveWindow(central.get());
        campo->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(campo->hasFocus()) << campo->objectName().toStdString();
        QuandoAbrirem({[&](QWidget *assistente) {
            abertas << assistente->objectName();
            digita(assistente, {"Enter", "Enter"}); // the first row, not the statement's
        }});
        digita(central.get(), {"x", "F4"});
        EXPECT_EQ(campo->text(), antes) << campo->objectName().toStdString();
    }
    EXPECT_EQ(abertas, QStringList({"frmAssistNCM", "FrmAssistUnM"}));
    EXPECT_TRUE(usuario.mensagens.empty()) << usuario.textos().join('\n').toStdString();
}
