#pragma once
// The receipt of a statement sent by the delivery program, typed by the user:
// the transmission number, the reception date and time, and the receipt's
// other fields. OK records them through delivery::RegistraEntrega and closes;
// a refusal is told and the cursor goes to the field to fix. Modal; after
// exec, `entrega()` is what was recorded (nullopt when nothing was).
// User-interface thread only.

#include "delivery/Entrega.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vlme::store {
class Banco;
}
namespace vlme::base {
class InterfaceUsuario;
} // namespace vlme::base

namespace vlme::ui {

class CampoMascarado;

class frmEntrega : public QDialog {
    Q_OBJECT
  public:
    // `pasta`: the program folder, where the delivery files are.
    frmEntrega(store::Banco &banco, const QString &pasta, base::InterfaceUsuario &usuario,
               int numero, QWidget *pai = nullptr);

    QLabel *lblDeclaracao;
    QLineEdit *txtNumero;
    CampoMascarado *mskRecepcao;
    CampoMascarado *mskGeracao;
    QLineEdit *txtLocal, *txtRemessa, *txtGateway, *txtSelo, *txtControle, *txtTotais;
    QPushButton *cmdOk;
    QPushButton *cmdCancelar;

    const std::optional<delivery::EntregaRegistrada> &entrega() const { return entrega_; }

  public Q_SLOTS:
    void cmdOk_Click();

  private:
    store::Banco &banco_;
    QString pasta_;
    base::InterfaceUsuario &usuario_;
    int numero_;
    std::optional<delivery::EntregaRegistrada> entrega_;
};

} // namespace vlme::ui
