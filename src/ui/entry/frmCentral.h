#pragma once
// The window of the open statement: its general data on the first tab with
// the models list, the national and imported component lists, and the
// summary. What is checked, saved and enabled is decided by
// entry::FormularioDadosGerais; this window shows it and forwards the user's
// events. Lives in the main window's document area while the statement is
// open; closing it saves the statement (or discards a new untouched one) and
// leaves no statement open. User-interface thread only.

#include "checking/Pendencias.h"
#include "entry/DestinoPendencia.h"
#include "entry/FormularioDadosGerais.h"

#include <QWidget>

#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;

namespace vlme::base {
class InterfaceUsuario;
} // namespace vlme::base
namespace vlme::shell {
struct Programa;
} // namespace vlme::shell

namespace vlme::ui {

class CampoMascarado;
class ModeloLista;

class frmCentral : public QWidget {
    Q_OBJECT
  public:
    frmCentral(shell::Programa &programa, base::InterfaceUsuario &usuario, QWidget *pai = nullptr);
    ~frmCentral() override;

    // Shows the program's open statement. Throws when it cannot be read.
    void carrega();
    int numero() const { return formulario_.numero(); }

    // The next close saves nothing: the statement is replaced by another
    // (aoTrocar) after the user chose so.
    void descarta() { descartada_ = true; }
    // Saves the general data as they stand; the commands that read the
    // statement (check, print, transmission) call it first.
    void grava();
    // The fields as the pendency check reads them.
    checking::DadosGeraisVerificacao dadosVerificacao();
    // Goes to where a pendency is fixed: its tab, its row, its field.
    void vaiPara(const QString &chavePendencia);

    // Told after the window closed (the statement is no longer open).
    std::function<void()> aoFechar;
    // F5: open the statement again as stored (saved first when held for
    // change); one only consulted opens for change when its holder has let go.
    std::function<void()> aoReabrir;
    // Another program changed the statement after this window read it, and
    // the user chose: show statement `numero` instead (a copy that kept what
    // was typed, or this one read again). This window is not saved again.
    std::function<void(int numero)> aoTrocar;

    QTabWidget *SSTab;
    CampoMascarado *mskCNPJ, *mskCPF, *txtPPB, *txtDenProduto, *mskNCM, *txtUnidade, *mskPesoBruto,
        *mskSalarios, *mskEncargos, *mskVlmAnterior, *mskNrProcesso;
    QLabel *lblDescricaoNCM, *lblDescricaoUnidade, *lblSalarios, *lblEncargos, *lblRetificador,
        *lblSubstitutivo, *lblVlmAnterior, *lblNrProcesso;
    QRadioButton *optFixo, *optVariavel, *optRetificadorSim, *optRetificadorNao,
        *optSubstitutivoSim, *optSubstitutivoNao;
    QGroupBox *fraRetificador, *fraSubstitutivo;
    QPushButton *CmdNcm, *Command1;
    QTableView *dbgModelos, *dbgComponentesNacionais, *dbgComponentesImportados;
    QPushButton *cmdIncluirModelo, *cmdAlterarModelo, *cmdExcluirModelo, *cmdLocalizarModelo;
    QPushButton *cmdIncluirNacional, *cmdAlterarNacional, *cmdExcluirNacional,
        *cmdVisualizarNacional, *cmdLocalizarNacional;
    QPushButton *cmdIncluirImportado, *cmdAlterarImportado, *cmdExcluirImportado,
        *cmdVisualizarImportado, *cmdLocalizarImportado;
    QLabel *lblResumoCnpj, *lblResumoCpf, *lblResumoDescricao, *lblResumoCustoNacionais,
        *lblResumoCustoImportados, *lblResumoCustoMaoDeObra, *lblResumoCustoTotal,
        *lblResumoValorII, *lblResumoReducao, *lblResumoValorIIReducao;
    // Above the tabs while the statement is only consulted: who holds it.
    QLabel *lblConsulta;
    // Beside the tabs: the statement's history (Ctrl+H).
    QPushButton *cmdHistorico;

  protected:
    void closeEvent(QCloseEvent *evento) override;

  private:
    // One list tab's controls.
    struct Lista {
        entry::Lista tipo;
        QTableView *grade;
        ModeloLista *modelo;
        QPushButton *incluir, *alterar, *excluir, *localizar, *visualizar;
    };

    QWidget *criaAbaGeral();
    QWidget *criaAbaLista(Lista &lista, const QString &moldura, const char *sufixo);
    QWidget *criaAbaResumo();
    void criaAtalhos();
    void ligaCampos();

    void mostraCampos();
    void leCampos();
    void aplicaRegras();
    void trocaAba(int nova);
    // Runs `grava` (a save of the general data); refused because another
    // program changed the statement, lets the user keep the typing as a new
    // statement and hands over to aoTrocar. Throws base::ErroJaInformado when
    // the statement shown was not saved (the user was told).
    void gravaDadosGerais(const std::function<void()> &grava);
    void trocaPor(int numero);
    bool descartada_ = false;
    void processaResumo();

    void escolheFixo();
    // Any other option: the enabling rules run again.
    void opcaoMarcada();
    void consultaNCM();
    void consultaUnidade();

    Lista &lista(entry::Lista tipo);
    Lista *listaDaAba();
    void setaBotoes(Lista &lista);
    void recarrega(Lista &lista, int nrSq);
    int atual(const Lista &lista) const;
    // Incluir, Alterar, Excluir, Visualizar of a list; the model and
    // component forms do the work.
    void abreItem(Lista &lista, int operacao, const QString &campo = {});
    void excluiModelo();
    void localiza(Lista &lista);

    shell::Programa &programa_;
    base::InterfaceUsuario &usuario_;
    entry::FormularioDadosGerais formulario_;
    Lista modelos_{}, nacionais_{}, importados_{};
    int abaAtual_ = 0;
};

} // namespace vlme::ui
