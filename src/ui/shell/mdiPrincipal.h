#pragma once
// The main window: a multi-document area holding the statement's windows,
// with the menus, toolbar and status panel through which every command is
// given. It owns nothing of the program's state; `Programa` is kept by the
// entry point and outlives it.

#include <QMainWindow>
#include <QTimer>

class QLabel;
class QMdiArea;

namespace vlme::shell {
struct Programa;
class InterfaceUsuario;
} // namespace vlme::shell

namespace vlme::ui {

class mdiPrincipal : public QMainWindow {
    Q_OBJECT
public:
    mdiPrincipal(shell::Programa &programa, shell::InterfaceUsuario &usuario,
                 QWidget *pai = nullptr);

    QMdiArea *areaDocumentos;
    QLabel *txtPainel;
    QTimer *objTempo;

protected:
    void closeEvent(QCloseEvent *evento) override;

private:
    shell::Programa &programa_;
    shell::InterfaceUsuario &usuario_;
};

} // namespace vlme::ui
