#pragma once
// The national-component form: one national component with its invoice and
// the list of its imported subcomponents, which are edited with
// frmImportados. Opened modally by the general-data window; its logic is
// entry::FormNacional. Accepted when something was saved or deleted.
// User-interface thread only.

#include "entry/FormNacional.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace vlme::store {
class Banco;
}
namespace vlme::base {
class InterfaceUsuario;
} // namespace vlme::base

namespace vlme::ui {

class CampoMascarado;

class frmNacionais : public QDialog {
    Q_OBJECT
  public:
    frmNacionais(store::Banco &banco, base::InterfaceUsuario &usuario, int nrVlm, int operacao,
                 int nrSqNacional = 0, QWidget *pai = nullptr);

    // The row saved, after Accepted.
    int nrSqNacional() const { return logica_.nrSq(); }
    // The statement the form's work went to: the one it was opened on, a copy
    // of it (kept for what was typed when another program had changed it), or
    // 0 when the user chose to read the changed statement again.
    int declaracaoDestino() const { return destino_; }
    // objectName of the field that gets the cursor when shown.
    void defineCampoInicial(const QString &nome) { campoInicial_ = nome; }

  public Q_SLOTS:
    void reject() override;

  protected:
    void showEvent(QShowEvent *evento) override;

  private:
    void monta();
    void mostra(const entry::CamposNacional &campos);
    entry::CamposNacional campos() const;
    // Runs the checks of confirming and shows the first failure.
    bool valida();
    void atualizaLista(int nrSqSelecionado = 0);
    int subcomponenteAtual() const;
    void abreSubcomponente(int operacao);
    void localiza();
    void confirma();
    CampoMascarado *campo(const char *nome) const;

    store::Banco &banco_;
    base::InterfaceUsuario &usuario_;
    int nrVlm_;
    entry::FormNacional logica_;
    QString campoInicial_;

    QLineEdit *MskDescNCM = nullptr;
    QLineEdit *MskDescUnM = nullptr;
    QTableWidget *dbgImportadosNacionais = nullptr;
    QPushButton *cmdOk = nullptr;
    QPushButton *cmdCancelar = nullptr;
    int destino_ = -1;
};

} // namespace vlme::ui
