// What a keyboard user sees and does in every window: Home and End go to the
// first and last row of each statement list, a focused list (an empty one
// too) and a focused button show the focus, and each top menu has its own
// Alt letter, taken by no control of the statement window.

#include "ui/Janelas.h"

#include <QMenuBar>
#include <QTabBar>
#include <QTableWidget>

using namespace vlme;

namespace {

using TeclasListas = teste::Janelas;

int linhaAtual(QAbstractItemView *lista) {
    const QModelIndexList linhas = lista->selectionModel()->selectedRows();
    return linhas.isEmpty() ? -1 : linhas.first().row();
}

// The window as drawn with and without the focus on `controle`.
bool mostraFoco(QWidget *janela, QWidget *controle) {
    janela->show();
    QApplication::setActiveWindow(janela);
    controle->setFocus();
    QApplication::processEvents();
    const QImage com = controle->grab().toImage();
    controle->clearFocus();
    QApplication::processEvents();
    return com != controle->grab().toImage();
}

} // namespace

TEST_F(TeclasListas, InicioEFimVaoAPrimeiraEAUltimaLinha) {
    teste::ConstrutorDeclaracao d(programa.banco);
    d.geral().modelo("A", 1).modelo("B", 2).modelo("C", 3).nacional("N1");
    d.subcomponente(1, "S1", 1, 2).subcomponente(1, "S2", 1, 2);
    for (int i = 0; i < 2; ++i)
        completa();
    // The delivery's list starts on no row: End still goes to the last.
    ui::frmVLMs seletor(programa, usuario, progresso);
    seletor.setOperacaoVLM(shell::Operacao::RegistrarEntrega);
    auto central = abreCentral(d);
    ui::frmNacionais nacional(programa.banco, usuario, d, 2, 1);
    const std::initializer_list<QAbstractItemView *> listas = {
        seletor.dbgVlms, central->findChild<QTableView *>("dbgModelos"),
        nacional.findChild<QTableWidget *>("dbgImportadosNacionais")};
    for (QAbstractItemView *lista : listas) {
        SCOPED_TRACE(lista->objectName().toStdString());
        lista->window()->show();
        lista->setFocus();
        const int ultima = lista->model()->rowCount() - 1;
        ASSERT_GE(ultima, 1);
        QTest::keyClick(lista, Qt::Key_End);
        EXPECT_EQ(linhaAtual(lista), ultima);
        QTest::keyClick(lista, Qt::Key_Home);
        EXPECT_EQ(linhaAtual(lista), 0);
    }
}

TEST_F(TeclasListas, ListaVaziaEBotaoComFocoMostramNo) {
    const int n = teste::ConstrutorDeclaracao(programa.banco).geral();
    auto central = abreCentral(n);
    EXPECT_TRUE(mostraFoco(central.get(), central->findChild<QTableView *>("dbgModelos")));
    ui::frmEntrega entrega(programa.banco, programa.pasta, usuario, n);
    EXPECT_TRUE(mostraFoco(&entrega, entrega.cmdOk));
    EXPECT_TRUE(mostraFoco(&entrega, entrega.cmdCancelar));
}

TEST_F(TeclasListas, CadaMenuTemLetraSoSua) {
    ui::mdiPrincipal principal(programa, usuario);
    principal.show();
    principal.abre(completa());
    ASSERT_NE(principal.dadosGerais(), nullptr);
    const auto letra = [](const QString &texto) {
        const QKeySequence m = QKeySequence::mnemonic(texto);
        return m.isEmpty() ? QChar() : QChar(char32_t(m[0].key())).toUpper();
    };
    QString doFormulario;
    for (QAbstractButton *b : principal.dadosGerais()->findChildren<QAbstractButton *>())
        doFormulario += letra(b->text());
    for (QLabel *l : principal.dadosGerais()->findChildren<QLabel *>())
        if (l->buddy())
            doFormulario += letra(l->text());
    for (QTabBar *t : principal.dadosGerais()->findChildren<QTabBar *>())
        for (int i = 0; i < t->count(); ++i)
            doFormulario += letra(t->tabText(i));
    QString menus;
    for (QAction *a : principal.menuBar()->actions()) {
        const QChar c = letra(a->text());
        EXPECT_FALSE(c.isNull()) << a->text();
        EXPECT_FALSE(menus.contains(c) || doFormulario.contains(c)) << a->text();
        menus += c;
    }
}
