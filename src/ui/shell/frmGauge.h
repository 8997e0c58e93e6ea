#pragma once
// The one progress window of the program. A long operation opens it, writes
// its step and moves the bar; between units of work `unidade()` lets window
// events run (so the cancel button is heard) and answers whether to go on.
// It sets the hourglass while open and puts back the pointer it found.
// Owned by the main window; user-interface thread only.

#include "base/Progresso.h"

#include <QDialog>
#include <QElapsedTimer>

class QGroupBox;
class QProgressBar;
class QPushButton;

namespace vlme::base {
class InterfaceUsuario;
} // namespace vlme::base

namespace vlme::ui {

class frmGauge : public QDialog, public base::Progresso {
    Q_OBJECT
  public:
    explicit frmGauge(base::InterfaceUsuario &usuario, QWidget *pai = nullptr);
    ~frmGauge() override;

    QGroupBox *fraGauge;
    QProgressBar *pbrGauge;
    QPushButton *cmdCancelar;
    // Set by the cancel button; reset by the next opening.
    bool Cancelado = false;

    void abre() override;
    void fecha() override;
    void passo(const QString &texto) override;
    void faixa(int minimo, int maximo) override;
    void valor(int atual) override;
    void permiteCancelar(bool permite) override;
    bool unidade() override;
    bool cancelado() const override { return Cancelado; }

  protected:
    void reject() override;
    void closeEvent(QCloseEvent *evento) override;

  private:
    // Longest wait between two refreshes of the window during the work.
    static constexpr int IntervaloAtualizacaoMs = 40;

    void cancela();
    void devolveCursor();
    void atualiza();
    // The step text and bar value are shown at each refresh, not at every
    // unit: retitling the frame relays the window out.
    void mostra();

    base::InterfaceUsuario &usuario_;
    bool cursorPosto_ = false;
    bool fechando_ = false;
    QElapsedTimer relogio_;
    QString texto_;
    int valor_ = 0;
};

} // namespace vlme::ui
