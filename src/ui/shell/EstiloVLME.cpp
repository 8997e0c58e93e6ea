#include "ui/shell/EstiloVLME.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPainter>
#include <QPointer>
#include <QStyleOption>
#include <QTableView>
#include <QTimer>
#include <QWindow>

namespace vlme::ui {

namespace {

// On every list: its frame repainted as the focus comes and goes (the view
// itself repaints only its rows); in a table, Home and End go to the first
// and last row.
class TeclasLista : public QObject {
  public:
    using QObject::QObject;

    bool eventFilter(QObject *objeto, QEvent *evento) override {
        if (evento->type() == QEvent::FocusIn || evento->type() == QEvent::FocusOut) {
            static_cast<QWidget *>(objeto)->update();
            return false;
        }
        auto *tabela = qobject_cast<QTableView *>(objeto);
        if (evento->type() != QEvent::KeyPress || !tabela || !tabela->model())
            return false;
        const auto *tecla = static_cast<QKeyEvent *>(evento);
        if ((tecla->key() != Qt::Key_Home && tecla->key() != Qt::Key_End) ||
            (tecla->modifiers() & ~Qt::KeypadModifier))
            return false;
        // Straight to the row: with no current row, the table's own
        // Ctrl+End would go to the first one.
        const int linhas = tabela->model()->rowCount(tabela->rootIndex());
        if (linhas == 0)
            return true;
        const QModelIndex atual = tabela->currentIndex();
        const QModelIndex destino =
            tabela->model()->index(tecla->key() == Qt::Key_Home ? 0 : linhas - 1,
                                   atual.isValid() ? atual.column() : 0, tabela->rootIndex());
        tabela->setCurrentIndex(destino);
        tabela->scrollTo(destino);
        return true;
    }
};

// The window manager may hand the keyboard to a window of the program that
// is already hidden (a progress window shown and gone before its focus event
// came), or keep it on the window below without telling the program: the
// keys would then go on to the hidden window, lost until a click. The window
// that should have it asks for it again.
class DevolveTeclado : public QObject {
  public:
    explicit DevolveTeclado(QObject *pai) : QObject(pai) {
        connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow *janela) {
            if (janela && !janela->isVisible() && !pendente_) {
                pendente_ = true;
                QTimer::singleShot(0, this, [this] {
                    pendente_ = false;
                    QWindow *foco = QGuiApplication::focusWindow();
                    if (!foco || !foco->isVisible())
                        devolve();
                });
            }
        });
    }

    bool eventFilter(QObject *objeto, QEvent *evento) override {
        // A window hidden with the keyboard: the one below asks for it at
        // once, before the window manager moves it unseen.
        if (evento->type() == QEvent::Hide && objeto->isWidgetType()) {
            auto *w = static_cast<QWidget *>(objeto);
            if (w->isWindow() && w->windowHandle() &&
                w->windowHandle() == QGuiApplication::focusWindow())
                QTimer::singleShot(0, this,
                                   [this, abaixo = QPointer<QWidget>(
                                              w->parentWidget() ? w->parentWidget()->window()
                                                                : nullptr)] { devolve(abaixo); });
        }
        return false;
    }

  private:
    // To the modal window shown, else `abaixo`, else the main window.
    void devolve(QWidget *abaixo = nullptr) {
        // Its native window goes (made again when it shows): no key is sent
        // to it any more.
        if (QWindow *foco = QGuiApplication::focusWindow(); foco && !foco->isVisible()) {
            foco->destroy();
            // The window system then tells the program that nothing of it
            // has the keyboard, while the window below still has it.
            QTimer::singleShot(600, this, [this, abaixo = QPointer<QWidget>(abaixo)] {
                if (!QGuiApplication::focusWindow())
                    devolve(abaixo);
            });
        }
        if (QApplication::activeModalWidget())
            abaixo = QApplication::activeModalWidget();
        if (abaixo && !abaixo->isVisible())
            abaixo = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (!abaixo && w->isVisible() && qobject_cast<QMainWindow *>(w))
                abaixo = w;
        if (!abaixo)
            return;
        QApplication::setActiveWindow(abaixo);
        abaixo->activateWindow();
    }

    bool pendente_ = false;
};

void PintaFoco(QPainter *pintor, const QRect &area, const QPalette &paleta) {
    pintor->save();
    QPen caneta(paleta.color(QPalette::Highlight), 2);
    pintor->setPen(caneta);
    pintor->setBrush(Qt::NoBrush);
    pintor->drawRect(QRectF(area).adjusted(1, 1, -1, -1));
    pintor->restore();
}

} // namespace

EstiloVLME::EstiloVLME() : teclas_(new TeclasLista(this)) {}

void EstiloVLME::drawControl(ControlElement elemento, const QStyleOption *opcao, QPainter *pintor,
                             const QWidget *widget) const {
    QProxyStyle::drawControl(elemento, opcao, pintor, widget);
    // The default button's frame looks like the platform's focus frame, so
    // on OK the focus could not be told apart: a frame of its own, inside.
    if (elemento == CE_PushButton && (opcao->state & State_HasFocus))
        PintaFoco(pintor, opcao->rect.adjusted(3, 3, -3, -3), opcao->palette);
}

void EstiloVLME::drawPrimitive(PrimitiveElement elemento, const QStyleOption *opcao,
                               QPainter *pintor, const QWidget *widget) const {
    QProxyStyle::drawPrimitive(elemento, opcao, pintor, widget);
    // A list shows its focus on its current row; with no row, on its frame.
    if (elemento == PE_Frame && (opcao->state & State_HasFocus) &&
        qobject_cast<const QAbstractItemView *>(widget))
        PintaFoco(pintor, opcao->rect, opcao->palette);
}

void EstiloVLME::polish(QWidget *widget) {
    QProxyStyle::polish(widget);
    if (qobject_cast<QAbstractItemView *>(widget))
        widget->installEventFilter(teclas_);
}

void EstiloVLME::unpolish(QWidget *widget) {
    if (qobject_cast<QAbstractItemView *>(widget))
        widget->removeEventFilter(teclas_);
    QProxyStyle::unpolish(widget);
}

void InstalaEstilo() {
    QApplication::setStyle(new EstiloVLME);
    qApp->installEventFilter(new DevolveTeclado(qApp));
}

} // namespace vlme::ui
