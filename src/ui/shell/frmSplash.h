#pragma once
// The start-up window: shows the program and its version for two seconds,
// then closes itself; its closing finishes start-up (`fechado`).

#include <QTimer>
#include <QWidget>

class QLabel;

namespace vlme::ui {

class frmSplash : public QWidget {
    Q_OBJECT
  public:
    explicit frmSplash(const QString &versao, QWidget *pai = nullptr);

    QLabel *lblVersao;
    QLabel *lblSombra;
    QLabel *lblDesenvolvimento;
    QLabel *lblDesenvolvimentoSombra;
    QTimer *objTempo;

  Q_SIGNALS:
    void fechado();

  protected:
    void closeEvent(QCloseEvent *evento) override;

  private:
    bool avisou_ = false;
};

// Places a window in the middle of its screen.
void CentraForm(QWidget *janela);

} // namespace vlme::ui
