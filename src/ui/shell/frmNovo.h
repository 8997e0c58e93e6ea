#pragma once
// Creating a statement: empty, or from an earlier one (the copy picker does
// that). Shown modally by the main window; after exec, `escolha()` says what
// to do next and `numero()` is the new empty statement, already the open one
// and marked new. UI thread only.

#include <QDialog>

class QListWidget;
class QPushButton;

namespace vlme::base {
class InterfaceUsuario;
} // namespace vlme::base
namespace vlme::shell {
struct Programa;
} // namespace vlme::shell

namespace vlme::ui {

class frmNovo : public QDialog {
    Q_OBJECT
  public:
    enum class Escolha {
        Nenhuma,  // cancelled
        Vazio,    // `numero` was created: show its general data
        Anterior, // open the statement picker with the copy operation
    };

    frmNovo(shell::Programa &programa, base::InterfaceUsuario &usuario, QWidget *pai = nullptr);

    QListWidget *lstLista;
    QPushButton *cmdOk;
    QPushButton *cmdCancelar;

    Escolha escolha() const { return escolha_; }
    int numero() const { return numero_; }

  public Q_SLOTS:
    void cmdOk_Click();

  protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override;

  private:
    shell::Programa &programa_;
    base::InterfaceUsuario &usuario_;
    Escolha escolha_ = Escolha::Nenhuma;
    int numero_ = 0;
};

} // namespace vlme::ui
