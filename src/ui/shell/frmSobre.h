#pragma once
// The about window and the system information it opens.

#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace vlme::shell {
struct Programa;
}

namespace vlme::ui {

inline constexpr char TituloPrograma[] = "VLM-E";
inline constexpr char DescricaoPrograma[] =
    "Declaração do Coeficiente de Redução do Imposto de Importação";

class frmSobre : public QDialog {
    Q_OBJECT
  public:
    explicit frmSobre(shell::Programa &programa, QWidget *pai = nullptr);

    QLabel *lblTitulo;
    QLabel *lblVersao;
    QLabel *lblDescricao;
    QPushButton *cmdOK;
    QPushButton *cmdSysInfo;

    // Opens the system information, modally.
    virtual void mostraInformacoes();

  private:
    shell::Programa &programa_;
};

class frmInformacoesSistema : public QDialog {
    Q_OBJECT
  public:
    explicit frmInformacoesSistema(shell::Programa &programa, QWidget *pai = nullptr);

    QTreeWidget *lstInformacoes;
    QPushButton *cmdCopiar;
    QPushButton *cmdFechar;

    // The list as text, one "label: value" a line, for a support request.
    QString texto() const;
};

} // namespace vlme::ui
