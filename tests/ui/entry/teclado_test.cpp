// The forms by keyboard alone: where the cursor is when each one opens, the
// Tab chain against the screen, F4 on a code field, and components typed key
// by key straight after their forms open, every field found stored.

#include "entry/OperacaoFormulario.h"
#include "store/Gravar.h"
#include "ui/Janelas.h"
#include "ui/entry/CampoMascarado.h"
#include "ui/entry/frmCentral.h"
#include "ui/entry/frmImportados.h"
#include "ui/entry/frmModelos.h"
#include "ui/entry/frmNacionais.h"

#include <QTabWidget>
#include <QTest>

using namespace vlme;
using teste::ConstrutorDeclaracao;
using teste::QuandoAbrirem;
using teste::Valores;
namespace Op = entry::OperacaoFormulario;

namespace {

QString foco(QWidget *janela) {
    const QWidget *w = janela->focusWidget();
    return w ? w->objectName() : QStringLiteral("(nenhum)");
}

// The Tab stops from the control with the keyboard round to it again.
QStringList cadeiaTab(QWidget *janela) {
    QStringList nomes;
    QWidget *inicio = janela->focusWidget();
    QWidget *w = inicio;
    for (int i = 0; i < 40 && w; ++i) {
        nomes << w->objectName();
        QTest::keyClick(w, Qt::Key_Tab);
        w = janela->focusWidget();
        if (w == inicio)
            break;
    }
    return nomes;
}

// Runs the dialog as the program does and tells where its cursor was right
// after it opened and, asked for, its Tab chain; then closes it.
QString abre(QDialog &janela, bool comCadeia = false) {
    QString visto;
    QuandoAbrirem({[&](QWidget *w) {
        visto = foco(w);
        if (comCadeia)
            visto = cadeiaTab(w).join(' ');
        w->close();
    }});
    janela.exec();
    return visto;
}

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

TEST_F(Teclado, CadaFormularioAbreComOCursorOndeSeDigitaPrimeiro) {
    ConstrutorDeclaracao d(programa.banco);
    d.geral().modelo("M", 1).nacional("N", 1, 50).subcomponente(1, "S", 1, 2);
    d.subcomponenteNF(1, ConstrutorDeclaracao::ImportadoPadrao("SN", 1, 2),
                      ConstrutorDeclaracao::NFPadrao());
    d.importadoDI("DI").importadoNF("NF");
    const int n = d;
    struct Caso {
        std::function<std::unique_ptr<QDialog>()> janela;
        QString esperado;
    };
    const auto importado = [&](int dono, int op, int sq) {
        return [=, this] {
            return std::make_unique<ui::frmImportados>(programa.banco, usuario, n, dono, op, sq);
        };
    };
    const auto nacional = [&](int op, int sq) {
        return [=, this] {
            return std::make_unique<ui::frmNacionais>(programa.banco, usuario, n, op, sq);
        };
    };
    const auto modelo = [&](int op, int sq) {
        return [=, this] {
            return std::make_unique<ui::frmModelos>(programa.banco, usuario, n, op, sq);
        };
    };
    // Imported rows: 1 and 2 subcomponents (DI, NF), 3 by DI, 4 by invoice.
    const Caso casos[] = {
        {importado(0, Op::Incluir, 0), "mskNrDI"},
        {importado(1, Op::Incluir, 0), "mskNrDI"},
        {importado(store::NacionalEmInclusao, Op::Incluir, 0), "mskNrDI"},
        {importado(0, Op::Alterar, 3), "mskNrDI"},
        {importado(0, Op::Alterar, 4), "mskNR"},
        {importado(1, Op::Alterar, 2), "mskNR"},
        {importado(0, Op::Visualizar, 4), "cmdOk"},
        {importado(0, Op::Excluir, 3), "cmdCancelar"},
        {nacional(Op::Incluir, 0), "mskNR"},
        {nacional(Op::Alterar, 1), "mskNR"},
        {nacional(Op::Visualizar, 1), "dbgImportadosNacionais"},
        {nacional(Op::Excluir, 1), "cmdCancelar"},
        {modelo(Op::Incluir, 0), "txtDescricaoModelo"},
        {modelo(Op::Alterar, 1), "txtDescricaoModelo"},
    };
    for (const Caso &c : casos) {
        const auto janela = c.janela();
        EXPECT_EQ(abre(*janela), c.esperado) << janela->windowTitle().toStdString();
    }

    // The statement's window: the first field, or the list once delivered.
    for (const bool entregue : {false, true}) {
        programa.banco.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = ?", {entregue ? 7 : 0});
        abreDeclaracao(n);
        ui::frmCentral central(programa, usuario);
        central.carrega();
        central.show();
        EXPECT_EQ(foco(&central), entregue ? "dbgModelos" : "mskCNPJ");
    }
}

TEST_F(Teclado, TabSegueATelaSemParaNosBotoesDeConsulta) {
    ConstrutorDeclaracao d(programa.banco);
    d.geral([](store::DadosGerais &g) {
         g.coeficiente = store::Coeficiente::Variavel;
         g.retificador = true;
     })
        .modelo("M", 1)
        .nacional("N", 1, 50)
        .subcomponente(1, "S", 1, 2);
    d.subcomponenteNF(1, ConstrutorDeclaracao::ImportadoPadrao("SN", 1, 2),
                      ConstrutorDeclaracao::NFPadrao());
    const int n = d;
    const QString fim = "cmdOk cmdCancelar";

    ui::frmImportados novo(programa.banco, usuario, n, 0, Op::Incluir);
    EXPECT_EQ(abre(novo, true), "mskNrDI mskNrAdicao mskNrItem optComSuspSim txtDescricao mskQTD "
                                "mskValorUnitario mskAliquota optReducaoNao " +
                                    fim + " optDiretoSim");
    ui::frmImportados nota(programa.banco, usuario, n, 1, Op::Alterar, 2);
    EXPECT_EQ(abre(nota, true),
              "mskNR mskSerie mskDataEmissao mskCNPJ mskNrInsEstadual mskNCM txtUnidade "
              "optBaseCalculoNao txtDescricao mskQTD mskValorUnitario mskAliquota optReducaoNao " +
                  fim + " optDiretoNao");
    ui::frmNacionais nacional(programa.banco, usuario, n, Op::Alterar, 1);
    EXPECT_EQ(abre(nacional, true),
              "mskNR mskSerie mskDataEmissao mskCNPJ mskNrInsEstadual txtDescricao mskNCM "
              "TxtUnidade mskQTD mskCustoUnitario dbgImportadosNacionais "
              "cmdIncluirImportadoNacional cmdAlterarImportadoNacional "
              "cmdVisualizarImportadoNacional cmdExcluirImportadoNacional "
              "cmdLocalizarImportadoNacional " +
                  fim);
    ui::frmModelos modelo(programa.banco, usuario, n, Op::Incluir, 0);
    EXPECT_EQ(abre(modelo, true), "txtDescricaoModelo mskCodigoInterno mskPrecoVenda " + fim);

    // The coefficient before the costs it enables; the kind before the
    // previous number and process it enables.
    abreDeclaracao(n);
    ui::frmCentral central(programa, usuario);
    central.carrega();
    central.show();
    central.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&central));
    EXPECT_EQ(cadeiaTab(&central).join(' '),
              "mskCNPJ mskCPF txtPPB txtDenProduto mskNCM txtUnidade mskPesoBruto optVariavel "
              "mskSalarios mskEncargos optRetificadorSim mskVlmAnterior mskNrProcesso dbgModelos "
              "cmdIncluirModelo cmdAlterarModelo cmdExcluirModelo cmdLocalizarModelo "
              "qt_tabwidget_tabbar");
    EXPECT_TRUE(usuario.mensagens.empty()) << usuario.textos().join('\n').toStdString();

    // F4 in a code field opens its lookup (an empty table says so).
    central.mskNCM->setFocus();
    digita(&central, {"F4"});
    central.txtUnidade->setFocus();
    digita(&central, {"F4"});
    EXPECT_EQ(usuario.textos(), QStringList({"Código de NCM não encontrado!",
                                             "Código de Unidade de Medida não encontrado!"}));
}

// Ctrl+I, and the keys typed at once: nothing lost, nothing shifted.
TEST_F(Teclado, ComponentesDigitadosLogoQueOFormularioAbre) {
    const int n = ConstrutorDeclaracao(programa.banco).geral();
    abreDeclaracao(n);
    ui::frmCentral central(programa, usuario);
    central.carrega();
    central.show();

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

// A delivered statement keeps its NCM and unit locked, yet F4 there still
// opens the lookup to consult; what is picked in it changes nothing.
TEST_F(Teclado, F4ConsultaOsCodigosTravados) {
    programa.banco.executa("INSERT INTO NCM_ITEM (CD_NCM_PRODUTO, DESCR_NCM_PRODUTO)"
                           " VALUES ('01012100', 'Cavalos'), ('85171231', 'Telefones')");
    programa.banco.executa("INSERT INTO UNIDADE_MEDIDA (CD_UNID_MEDIDA, NM_MEDIDA)"
                           " VALUES ('KG', 'Quilograma'), ('UN', 'Unidade')");
    const int n = ConstrutorDeclaracao(programa.banco).geral().modelo("M", 1);
    programa.banco.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = 7");
    abreDeclaracao(n);
    ui::frmCentral central(programa, usuario);
    central.carrega();
    central.show();
    QApplication::setActiveWindow(&central);

    // Tab reaches the two codes among the statement's lists, the only fields.
    const QStringList cadeia = cadeiaTab(&central);
    EXPECT_TRUE(cadeia.contains("mskNCM") && cadeia.contains("txtUnidade"))
        << cadeia.join(' ').toStdString();
    EXPECT_FALSE(cadeia.contains("mskCNPJ")) << cadeia.join(' ').toStdString();

    QStringList abertas;
    for (ui::CampoMascarado *campo : {central.mskNCM, central.txtUnidade}) {
        const QString antes = campo->text();
        QApplication::setActiveWindow(&central);
        campo->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(campo->hasFocus()) << campo->objectName().toStdString();
        QuandoAbrirem({[&](QWidget *assistente) {
            abertas << assistente->objectName();
            digita(assistente, {"Enter", "Enter"}); // the first row, not the statement's
        }});
        digita(&central, {"x", "F4"});
        EXPECT_EQ(campo->text(), antes) << campo->objectName().toStdString();
    }
    EXPECT_EQ(abertas, QStringList({"frmAssistNCM", "FrmAssistUnM"}));
    EXPECT_TRUE(usuario.mensagens.empty()) << usuario.textos().join('\n').toStdString();
}
