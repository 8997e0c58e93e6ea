#pragma once
// The imported-component form: one component of the product or one imported
// subcomponent of a national component, with its DI or invoice. Opened
// modally by the general-data window and by frmNacionais; its logic is
// entry::FormImportado. Accepted when something was saved or deleted.
// User-interface thread only.

#include "entry/FormImportado.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vlme::store {
class Banco;
}
namespace vlme::base {
class InterfaceUsuario;
} // namespace vlme::base

namespace vlme::ui {

class CampoMascarado;

class frmImportados : public QDialog {
    Q_OBJECT
  public:
    // dono: 0 (component of the product), a NR_SQ_NACIONAL (subcomponent of
    // it), or store::NacionalEmInclusao; operacao: entry::OperacaoFormulario.
    frmImportados(store::Banco &banco, base::InterfaceUsuario &usuario, int nrVlm, int dono,
                  int operacao, int nrSqImportado = 0, QWidget *pai = nullptr);

    // The row saved, after Accepted.
    int nrSqImportado() const { return logica_.nrSq(); }
    // The statement the form's work went to: the one it was opened on, a copy
    // of it (kept for what was typed when another program had changed it), or
    // 0 when the user chose to read the changed statement again.
    int declaracaoDestino() const { return destino_; }
    // objectName of the field that gets the cursor when shown.
    void defineCampoInicial(const QString &nome) { campoInicial_ = nome; }
    // The owning national component's unit cost as typed in its form.
    void defineCustoNacional(double custo) { logica_.defineCustoNacional(custo); }

  protected:
    void showEvent(QShowEvent *evento) override;

  private:
    void monta();
    void mostra(const entry::CamposImportado &campos);
    entry::CamposImportado campos() const;
    void aplicaRegras();
    void atualizaDescricaoNCM();
    void atualizaNomeUnidade();
    void confirma();
    CampoMascarado *campo(const char *nome) const;

    store::Banco &banco_;
    base::InterfaceUsuario &usuario_;
    entry::FormImportado logica_;
    QString campoInicial_;

    QGroupBox *fraOrigem = nullptr;
    QGroupBox *fraBaseCalculo = nullptr;
    QGroupBox *fraDados = nullptr;
    QRadioButton *optDiretoSim = nullptr;
    QRadioButton *optDiretoNao = nullptr;
    QRadioButton *optBaseCalculoSim = nullptr;
    QRadioButton *optBaseCalculoNao = nullptr;
    QRadioButton *optComSuspSim = nullptr;
    QRadioButton *optComSuspNao = nullptr;
    QRadioButton *optReducaoSim = nullptr;
    QRadioButton *optReducaoNao = nullptr;
    QLineEdit *MskDescNCM = nullptr;
    QLineEdit *MskDescUnM = nullptr;
    QPushButton *CmdNcm = nullptr;
    QPushButton *CmdUnid = nullptr;
    QPushButton *cmdOk = nullptr;
    QPushButton *cmdCancelar = nullptr;
    int destino_ = -1;
};

} // namespace vlme::ui
