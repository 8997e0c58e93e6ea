#pragma once
// Includes or changes one model, type or reference of a statement. The
// general-data window opens it modally and re-reads its list afterwards. What
// is checked and saved is entry::FormularioModelo; this window shows it.
// User-interface thread only.

#include "entry/FormularioModelo.h"

#include <QDialog>

#include <memory>

class QLabel;
class QPushButton;

namespace vlme::store {
class Banco;
}
namespace vlme::base {
class InterfaceUsuario;
} // namespace vlme::base

namespace vlme::ui {

class CampoMascarado;

class frmModelos : public QDialog {
    Q_OBJECT
  public:
    // operacao: entry::OperacaoFormulario::Incluir or Alterar; nrSqModelo: the row to change.
    frmModelos(store::Banco &banco, base::InterfaceUsuario &usuario, int nrVlm, int operacao,
               int nrSqModelo = 0, QWidget *pai = nullptr);
    ~frmModelos() override;

    int nrSqModelo() const; // the row saved; valid after exec() returned Accepted
    // The statement the form's work went to: the one it was opened on, a copy
    // of it (kept for what was typed when another program had changed it), or
    // 0 when the user chose to read the changed statement again.
    int declaracaoDestino() const { return destino_; }

    // Rejected at once, without showing, when the row to change could not be read.
    int exec() override;

    QLabel *lblDescricao;
    CampoMascarado *txtDescricaoModelo;
    QLabel *lblCodigoInterno;
    CampoMascarado *mskCodigoInterno;
    QLabel *lblPrecoVenda;
    CampoMascarado *mskPrecoVenda;
    QPushButton *cmdOk;
    QPushButton *cmdCancelar;

  public Q_SLOTS:
    void cmdOk_Click();

  private:
    CampoMascarado *campo(entry::FormularioModelo::Campo c) const;

    store::Banco &banco_;
    base::InterfaceUsuario &usuario_;
    std::unique_ptr<entry::FormularioModelo> formulario_;
    int destino_ = -1;
};

} // namespace vlme::ui
