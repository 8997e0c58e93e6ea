#pragma once
// The list of a statement's problems: its pendencies, or (modes 15 and 16)
// the server's errors and warnings with the receipt's reception data.

#include "checking/Pendencias.h"

#include <QDialog>

#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace vlme::base {
class InterfaceUsuario;
} // namespace vlme::base
namespace vlme::store {
class Banco;
}

namespace vlme::ui {

class frmPendencias : public QDialog {
    Q_OBJECT
  public:
    static constexpr int ContextoAjuda = 66;

    explicit frmPendencias(QWidget *pai = nullptr);

    // Pendency mode: one column "PROBLEMA DETECTADO", one item per problem.
    void mostraPendencias(const std::vector<checking::Pendencia> &pendencias);
    // Diagnostic mode (15 or 16): the stored answer of the server.
    void mostraDiagnostico(store::Banco &banco, int nrVlm, base::InterfaceUsuario &usuario);

    // Opens the help topic of the window; set by whoever owns the help.
    std::function<void(int)> ajuda;
    // Pendency mode: the key of the problem the user chose to fix (double
    // click or Enter, which closes the list); empty when none.
    QString escolhida() const { return escolhida_; }
    // What the printed list names as its statement (0: none), and who is told
    // about the print; without one, message boxes.
    int declaracao = 0;
    base::InterfaceUsuario *usuario = nullptr;

    QTreeWidget *lstPendencias;
    QPushButton *cmdAjuda;
    QPushButton *cmdFechar;
    QPushButton *cmdImprimir;
    QGroupBox *fraProtocolo;
    QLabel *lblDataHora;
    QLabel *lblTransmissao;
    QLabel *lblContagem;

  private:
    void imprime();
    QString escolhida_;
    int contexto_ = ContextoAjuda;
};

// Shows a statement's problems in the list window, modally. Answers the key
// of the problem the user chose to fix, empty when none.
QString MostraListaPendencias(const std::vector<checking::Pendencia> &pendencias, QWidget *pai,
                              const std::function<void(int)> &ajuda = {}, int nrVlm = 0,
                              base::InterfaceUsuario *usuario = nullptr);

// Shows the server's stored diagnostic of statement `nrVlm` in the list
// window, modally, in place of the picker.
void MostraListaDiagnostico(store::Banco &banco, int nrVlm, base::InterfaceUsuario &usuario,
                            QWidget *pai, const std::function<void(int)> &ajuda = {});

// Runs the check on statement `nrVlm` and shows the result: "Nenhum erro foi
// detectado." (when `mostraSucesso`) or the list. True when problems were
// found, so a delivery stops. `escolhida` receives the key of the problem the
// user chose to fix from the list.
bool VerificaPendencias(store::Banco &banco, int nrVlm, bool mostraSucesso,
                        base::InterfaceUsuario &usuario, QWidget *pai,
                        const checking::DadosGeraisVerificacao *formulario = nullptr,
                        const std::function<void(int)> &ajuda = {}, QString *escolhida = nullptr);

} // namespace vlme::ui
