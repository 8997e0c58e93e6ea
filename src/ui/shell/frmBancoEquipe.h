#pragma once
// Utilitários > Banco de dados da equipe: the team server's address, tested
// on request, or the local file, and after how long a statement left alone is
// saved and closed. Shown modally by the main window; after OK, `url()` is the
// choice (empty: the local file), `senha()` the password typed while testing,
// if any, and `spnMinutos` the minutes. UI thread only.

#include <QDialog>

class QLineEdit;
class QPushButton;
class QSpinBox;

namespace vlme::base {
class InterfaceUsuario;
} // namespace vlme::base

namespace vlme::ui {

class frmBancoEquipe : public QDialog {
    Q_OBJECT
  public:
    frmBancoEquipe(const QString &url, const QString &senha, base::InterfaceUsuario &usuario,
                   QWidget *pai = nullptr);

    QLineEdit *txtURL;
    QSpinBox *spnMinutos;
    QPushButton *cmdTestar;
    QPushButton *cmdLocal;
    QPushButton *cmdOk;
    QPushButton *cmdCancelar;

    QString url() const;
    QString senha() const { return senha_; }

    // Connects to the address typed and tells the user how it went.
    void testa();

  private:
    void aceita();
    // False, the user told why, when the text is neither empty nor a
    // server address.
    bool enderecoValido();

    base::InterfaceUsuario &usuario_;
    QString senha_;
};

} // namespace vlme::ui
