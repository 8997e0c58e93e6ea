#pragma once
// The history of one statement, newest first: what happened to it, when, who
// did it, from which machine and program, and the summary's figures after
// each save, a change marked (bold, with an arrow and the earlier value in
// its tooltip). A filter by kind of event, a print of the rows shown. Also
// for a deleted statement, found by the number it had. Modal; UI thread only.

#include "store/Historico.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

namespace vlme::base {
class InterfaceUsuario;
} // namespace vlme::base

namespace vlme::ui {

class ModeloHistorico;

class frmHistorico : public QDialog {
    Q_OBJECT
  public:
    frmHistorico(store::Banco &banco, base::InterfaceUsuario &usuario, QWidget *pai = nullptr);

    // Reads the history statement `numero` has, or had when deleted. Throws
    // store::ErroDeclaracaoInexistente when there never was one here.
    void carrega(int numero);

    QLabel *lblExcluida;
    QLabel *lblEvento;
    QComboBox *cboEvento;
    QLabel *lblContagem;
    QTableView *grdHistorico;
    QPushButton *cmdImprimir;
    QPushButton *cmdFechar;

  private:
    void filtra();
    void imprime();

    store::Banco &banco_;
    base::InterfaceUsuario &usuario_;
    ModeloHistorico *modelo_;
    int numero_ = 0;
};

// Shows the history of statement `numero` over `pai`. Throws as carrega.
void MostraHistorico(store::Banco &banco, int numero, base::InterfaceUsuario &usuario,
                     QWidget *pai);

} // namespace vlme::ui
