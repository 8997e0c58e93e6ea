#pragma once
// The NCM and unit lookup windows behind EscolheNCM / EscolheUnidade
// (Assistentes.h): a code filter, the list of the reference table and the
// choice. Shown modally; `escolhe()` runs the whole lookup. Reads the
// database only. User-interface thread only.

#include "entry/ConsultaCodigos.h"
#include "ui/entry/Assistentes.h"

#include <QDialog>

class QPushButton;
class QTableView;

namespace vlme::ui {

class CampoMascarado;
class ModeloConsulta;

class frmAssistente : public QDialog {
    Q_OBJECT
  public:
    CampoMascarado *txtCodigo;
    QPushButton *cmdFiltro;
    QPushButton *cmdOk;
    QPushButton *cmdCancela;
    QTableView *grdAssistNCM;

    // Fills the list with every code and, unless the table is empty (then
    // the not-found message) or cannot be read (the error), shows the window.
    // The choice, or nothing when the user cancelled.
    std::optional<EscolhaAssistente> escolhe();

  protected:
    struct Tipo {
        const char *nome;
        QString titulo;
        QString rotulo;
        QString cabecalho;
        QString naoEncontrado;
        int contextoAjuda;
        bool ncm;
    };
    frmAssistente(store::Banco &banco, base::InterfaceUsuario &usuario, const Tipo &tipo,
                  QWidget *pai);
    bool eventFilter(QObject *objeto, QEvent *evento) override;

  private:
    // Throws on a database error.
    void preenche(const QString &filtro);
    bool cmdFiltro_Click();
    void cmdOk_Click();
    void escolheLinha(int linha);

    store::Banco &banco_;
    base::InterfaceUsuario &usuario_;
    Tipo tipo_;
    ModeloConsulta *modelo_;
    std::optional<EscolhaAssistente> escolha_;
};

// "Consulta e Seleção de NCMs"
class frmAssistNCM : public frmAssistente {
    Q_OBJECT
  public:
    frmAssistNCM(store::Banco &banco, base::InterfaceUsuario &usuario, QWidget *pai = nullptr);
};

class FrmAssistUnM : public frmAssistente {
    Q_OBJECT
  public:
    FrmAssistUnM(store::Banco &banco, base::InterfaceUsuario &usuario, QWidget *pai = nullptr);
};

} // namespace vlme::ui
