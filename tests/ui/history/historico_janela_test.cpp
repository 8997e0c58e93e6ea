// The history window: newest first, the filter, the figures' changes marked,
// a deleted statement's history, and the ways in
// from the statement window and the picker.

#include "printing/PaginaHistorico.h"
#include "support/HistoricoExemplo.h"
#include "ui/Janelas.h"
#include "ui/history/frmHistorico.h"

#include <QComboBox>
#include <QFont>
#include <QLabel>

using namespace vlme;

namespace {

class JanelaHistorico : public teste::Janelas {
  protected:
    // Column `coluna` of every row shown, with the tooltip when marked bold.
    static QStringList coluna(ui::frmHistorico &janela, int coluna) {
        QStringList textos;
        const QAbstractItemModel *m = janela.grdHistorico->model();
        for (int i = 0; i < m->rowCount(); ++i) {
            const QModelIndex c = m->index(i, coluna);
            textos << c.data().toString();
            if (c.data(Qt::FontRole).value<QFont>().bold())
                textos.last() += " [" + c.data(Qt::ToolTipRole).toString() + "]";
        }
        return textos;
    }
};

TEST_F(JanelaHistorico, ExcluidaMaisNovaPrimeiroComAsMudancasMarcadasEOFiltro) {
    teste::HistoricoExemplo(programa.banco);
    ui::frmHistorico janela(programa.banco, usuario);
    janela.carrega(teste::NumeroExcluida);
    janela.show();
    EXPECT_EQ(janela.windowTitle(), "Histórico da Declaração 7");
    EXPECT_TRUE(janela.lblExcluida->isVisible());
    using store::Evento;
    const QStringList eventos{store::NomeEvento(Evento::Excluida),
                              store::NomeEvento(Evento::Gravada), store::NomeEvento(Evento::Gerada),
                              store::NomeEvento(Evento::Gravada),
                              store::NomeEvento(Evento::Criada)};
    EXPECT_EQ(coluna(janela, printing::HistEvento), eventos);
    EXPECT_EQ(
        coluna(janela, printing::HistCustoTotal),
        QStringList({"", "US$ 1.234,50", "", "▲ US$ 1.234,50 [Antes: US$ 30,00]", "US$ 30,00"}));
    EXPECT_EQ(coluna(janela, printing::HistCoeficiente),
              QStringList({"", "▲ 90,00% [Antes: 88,00%]", "", "88,00%", "88,00%"}));
    EXPECT_EQ(coluna(janela, printing::HistUsuario).join(','), "carla,bruno,bruno,ana,ana");
    EXPECT_EQ(janela.lblContagem->text(), "5 eventos");

    // The filter keeps the marks of the whole history.
    EXPECT_EQ(janela.lblEvento->buddy(), janela.cboEvento);
    EXPECT_EQ(janela.cboEvento->itemText(0), "Todos os eventos");
    janela.cboEvento->setCurrentIndex(janela.cboEvento->findData(int(Evento::Gravada)));
    EXPECT_EQ(coluna(janela, printing::HistCoeficiente),
              QStringList({"▲ 90,00% [Antes: 88,00%]", "88,00%"}));
    EXPECT_EQ(janela.lblContagem->text(), "2 eventos de 5");
    janela.cboEvento->setCurrentIndex(janela.cboEvento->findData(int(Evento::Diagnostico)));
    EXPECT_FALSE(janela.cmdImprimir->isEnabled());
    janela.cboEvento->setCurrentIndex(0);
    EXPECT_EQ(janela.grdHistorico->model()->rowCount(), 5);

    // A number that never was a statement here has no window.
    ui::frmHistorico outra(programa.banco, usuario);
    EXPECT_THROW(outra.carrega(99), store::ErroDeclaracaoInexistente);
}

// Opened from the statement's window (Ctrl+H) and from the picker, on the
// statement chosen; Esc closes it and the picker stays.
TEST_F(JanelaHistorico, AbreDaJanelaDaDeclaracaoEDoSeletor) {
    const int n = completa();
    QStringList titulos;
    const auto fecha = [&](QWidget *w) {
        titulos << w->windowTitle();
        QApplication::setActiveWindow(w); // as the window manager would
        EXPECT_TRUE(QTest::qWaitForWindowActive(w));
        QTest::keyClick(w, Qt::Key_Escape);
    };
    auto central = abreCentral(n);
    teste::QuandoAbrirem({fecha});
    QTest::keyClick(central.get(), Qt::Key_H, Qt::ControlModifier);

    ui::frmVLMs seletor(programa, usuario, progresso);
    seletor.show();
    seletor.escolhe(n);
    teste::QuandoAbrirem({fecha});
    seletor.cmdHistorico->click();
    EXPECT_TRUE(seletor.isVisible());
    const QString titulo = QString("Histórico da Declaração %1").arg(n);
    EXPECT_EQ(titulos, QStringList({titulo, titulo}));
}

} // namespace
