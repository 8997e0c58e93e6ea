// The lookups and the model form driven as a user drives them: keys and
// clicks on the named controls, what is chosen or saved, what is told.

#include "ui/Janelas.h"

#include <QKeyEvent>

using namespace vlme;
using entry::OperacaoFormulario::Alterar;
using entry::OperacaoFormulario::Incluir;
using ui::frmAssistente;

namespace {

class Formularios : public teste::Janelas {
  protected:
    Formularios() {
        for (const QStringList &sql : teste::Casos("consulta_codigos.sql"))
            programa.banco.executa(sql[0]);
    } // Runs `acao` on the window once it is up and active, as on a screen.
    template <class Janela> static void QuandoAbrir(std::function<void(Janela *)> acao) {
        teste::QuandoAbrirem({[acao](QWidget *w) {
            ASSERT_TRUE(teste::Ativa(w));
            acao(static_cast<Janela *>(w));
        }});
    }
    static QString escolha(const std::optional<ui::EscolhaAssistente> &e) {
        return e ? e->codigo + "|" + e->descricao : "<nada>";
    }
    // QTest types ASCII only; accented letters arrive as a keyboard sends them.
    static void digita(QWidget *campo, const QString &texto) {
        campo->setFocus(Qt::TabFocusReason);
        for (const QChar c : texto) {
            QKeyEvent tecla(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(campo, &tecla);
        }
    }
};

TEST_F(Formularios, AssistentesFiltramPorPrefixoEDevolvemOCodigo) {
    QStringList visto;
    QuandoAbrir<frmAssistente>([&](frmAssistente *f) {
        QAbstractItemModel *m = f->grdAssistNCM->model();
        visto << f->windowTitle() + "|" + f->property("contextoAjuda").toString() << "";
        for (int i = 0; i < m->columnCount(); ++i)
            visto.last() += m->headerData(i, Qt::Horizontal).toString() + "|";
        digita(f->txtCodigo, "84713");
        QTest::keyClick(f->txtCodigo, Qt::Key_Return); // filters, then the list
        visto << QString::number(m->rowCount()) + "|" + m->index(1, 0).data().toString();
        QTest::keyClick(f->grdAssistNCM, Qt::Key_Down);
        QTest::keyClick(f->grdAssistNCM, Qt::Key_Return);
    });
    EXPECT_EQ(escolha(ui::EscolheNCM(programa.banco, usuario, nullptr)), "84713019|Outras");
    EXPECT_EQ(visto,
              QStringList({"Consulta e Seleção de NCMs|75",
                           "Código de NCM|Descrição da NCM|Unidade de Medida|", "2|8471.30.19"}));

    // a filter that finds nothing is told and the window stays; a double click chooses
    QuandoAbrir<frmAssistente>([](frmAssistente *f) {
        digita(f->txtCodigo, "X");
        f->cmdFiltro->click();
        digita(f->txtCodigo, "m");
        f->cmdFiltro->click();
        const QPoint m3 =
            f->grdAssistNCM->visualRect(f->grdAssistNCM->model()->index(1, 1)).center();
        QTest::mouseClick(f->grdAssistNCM->viewport(), Qt::LeftButton, {}, m3);
        QTest::mouseDClick(f->grdAssistNCM->viewport(), Qt::LeftButton, {}, m3);
    });
    EXPECT_EQ(escolha(ui::EscolheUnidade(programa.banco, usuario, nullptr)), "M3|METRO CÚBICO");
    EXPECT_EQ(usuario.resumos(), QStringList("x||Código de Unidade de Medida não encontrado!"));
}

TEST_F(Formularios, AssistenteEscOuTabelaVaziaNaoEscolheNada) {
    QuandoAbrir<frmAssistente>([](frmAssistente *f) {
        digita(f->txtCodigo, "8471");
        QTest::keyClick(f->txtCodigo, Qt::Key_Return);
        QTest::keyClick(f->grdAssistNCM, Qt::Key_Escape);
    });
    EXPECT_EQ(escolha(ui::EscolheNCM(programa.banco, usuario, nullptr)), "<nada>");
    // told only when the table is empty
    programa.banco.executa("DELETE FROM NCM_ITEM");
    programa.banco.executa("DELETE FROM UNIDADE_MEDIDA");
    EXPECT_EQ(escolha(ui::EscolheNCM(programa.banco, usuario, nullptr)), "<nada>");
    EXPECT_EQ(escolha(ui::EscolheUnidade(programa.banco, usuario, nullptr)), "<nada>");
    EXPECT_EQ(usuario.resumos(), QStringList({"x||Código de NCM não encontrado!",
                                              "x||Código de Unidade de Medida não encontrado!"}));
}

TEST_F(Formularios, ModeloIncluiAlteraERecusaDuplicadoEPrecoZero) {
    const int nr = teste::ConstrutorDeclaracao(programa.banco).modelo("Televisão Épica", 10, "TV");
    QStringList visto;
    // typed whole and confirmed with Enter: saved, the price written back grouped
    ui::frmModelos incluir(programa.banco, usuario, nr, Incluir);
    QuandoAbrir<ui::frmModelos>([&](ui::frmModelos *f) {
        visto << f->windowTitle() + "|" + f->mskPrecoVenda->text();
        digita(f->txtDescricaoModelo, " Rádio ");
        QTest::keyClick(f->txtDescricaoModelo, Qt::Key_Tab);
        QTest::keyClicks(f->mskCodigoInterno, "R-1");
        QTest::keyClick(f->mskCodigoInterno, Qt::Key_Tab);
        QTest::keyClicks(f->mskPrecoVenda, "1234,5");
        QTest::keyClick(f->mskPrecoVenda, Qt::Key_Return);
    });
    EXPECT_EQ(incluir.exec(), QDialog::Accepted);
    EXPECT_EQ(incluir.nrSqModelo(), 2);
    EXPECT_EQ(incluir.mskPrecoVenda->text(), "1.234,50");

    // another letter case of an accented description, then a zero price:
    // each refused with its message, the cursor in its field, nothing saved
    ui::frmModelos recusado(programa.banco, usuario, nr, Incluir);
    QuandoAbrir<ui::frmModelos>([&](ui::frmModelos *f) {
        digita(f->txtDescricaoModelo, "TELEVISÃO ÉPICA");
        digita(f->mskCodigoInterno, "X");
        digita(f->mskPrecoVenda, "5");
        f->cmdOk->click();
        visto << QApplication::focusWidget()->objectName();
        f->txtDescricaoModelo->setText("Televisão");
        f->mskPrecoVenda->clear();
        QTest::keyClick(f->txtDescricaoModelo, Qt::Key_Return);
        visto << QApplication::focusWidget()->objectName() + "|" + f->mskPrecoVenda->selectedText();
        QTest::keyClick(f->mskPrecoVenda, Qt::Key_Escape);
    });
    EXPECT_EQ(recusado.exec(), QDialog::Rejected);
    EXPECT_EQ(usuario.resumos(),
              QStringList({"!|Atenção!|Modelo já cadastrado.",
                           "!|Atenção!|O campo Preço de Venda é obrigátório e maior que zero."}));

    // its own row, description kept: only the price changes
    ui::frmModelos alterar(programa.banco, usuario, nr, Alterar, 1);
    QuandoAbrir<ui::frmModelos>([&](ui::frmModelos *f) {
        visto << f->windowTitle() + "|" + f->mskPrecoVenda->text();
        digita(f->mskPrecoVenda, "12");
        f->cmdOk->click();
    });
    EXPECT_EQ(alterar.exec(), QDialog::Accepted);
    EXPECT_EQ(visto,
              QStringList({"Incluir Modelo, Tipo e Referência|0,00", "txtDescricaoModelo",
                           "mskPrecoVenda|0,00", "Alterar Modelo, Tipo e Referência|10,00"}));
    EXPECT_EQ(teste::Valores(programa.banco,
                             "SELECT NR_SQ_MODELOS, TX_DESCRICAO_MODELOS, COD_INTERNO_MODELOS,"
                             " PRECO_VENDA_MODELOS FROM MODELOS ORDER BY 1"),
              "1|Televisão Épica|TV|12;2|Rádio|R-1|1234.5");
    EXPECT_EQ(alterar.property("contextoAjuda").toInt(), 74);
}

} // namespace
