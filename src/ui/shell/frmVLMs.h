#pragma once
// The statement picker: lists the statements an operation applies to and runs
// that operation on the one chosen. Shown modally by the main window with the
// operation's code in `OperacaoVLM`; lives for one choice. Each operation has
// one place in `operacoes`: opening, deleting and copying are filled in here,
// the main window fills in the others (until then they tell the user the
// operation is not available). After exec, `desfecho()` and `numero()` say
// what happened, since the progress window may close the picker while its
// operation is still running. UI thread only.

#include "store/Declaracoes.h"

#include <QDialog>
#include <QString>

#include <functional>

class QPushButton;
class QTableView;

namespace vlme::base {
class InterfaceUsuario;
class Progresso;
} // namespace vlme::base
namespace vlme::shell {
struct Programa;
} // namespace vlme::shell

namespace vlme::ui {

class ModeloListaDeclaracoes;

class frmVLMs : public QDialog {
    Q_OBJECT
    Q_PROPERTY(int OperacaoVLM READ OperacaoVLM WRITE setOperacaoVLM)
  public:
    // What each operation code shows and lists.
    struct DadosOperacao {
        QString titulo;
        store::FiltroLista filtro;
        int contextoAjuda;
    };
    static DadosOperacao Dados(int operacao);

    // The places the operations lead to; each receives the chosen NR_VLM_VLM.
    struct Operacoes {
        using Acao = std::function<void(int numero)>;
        Acao abrir, excluir, copiar, gerar, gravarParaTransmissao, backup, imprimir, imprimirResumo,
            imprimirRecibo, pendencias, diagnostico, consultarDiagnostico, registrarEntrega,
            desfazerEntrega;
    };

    enum class Desfecho {
        Nenhum,    // cancelled, nothing chosen, or the operation gave up
        Aberta,    // `numero` is now the open statement: show its general data
        Copiada,   // the copy `numero` is now the open statement: likewise
        Excluida,  // `numero` was deleted
        Executada, // another operation ran on `numero`
    };

    // `progresso` is the progress window long operations show.
    frmVLMs(shell::Programa &programa, base::InterfaceUsuario &usuario, base::Progresso &progresso,
            QWidget *pai = nullptr);
    ~frmVLMs() override;

    QTableView *dbgVlms;
    ModeloListaDeclaracoes *datVlms;
    QPushButton *cmdOk;
    QPushButton *cmdCancelar;
    QPushButton *cmdHistorico; // the chosen statement's history, the picker staying

    Operacoes operacoes;
    // Receives the registration text of an opened registered statement, for
    // the main window's status panel.
    std::function<void(const QString &)> mostraPainel;

    int OperacaoVLM() const { return operacao_; }
    // Sets caption and help context and lists the statements of the operation.
    // The list starts on its first row, except for the operations that
    // record on a statement for good (the delivery), which start on none.
    void setOperacaoVLM(int operacao);
    // Starts on statement `numero` when it is listed; otherwise as above.
    void escolhe(int numero);

    Desfecho desfecho() const { return desfecho_; }
    int numero() const { return numero_; }
    // For operations filled in elsewhere that end differently from Executada.
    void defineDesfecho(Desfecho desfecho, int numero);

    // Asks whether to delete the statement chosen or open; true on Yes.
    static bool ConfirmaExclusao(base::InterfaceUsuario &usuario);

    // " NÚMERO VLM-E : 0000/00000  RAZÃO SOCIAL : ..." for a registered statement.
    static QString TextoPainel(const QString &codigo, const QString &razaoSocial);

  public Q_SLOTS:
    // Runs the operation on the selected statement; nothing without one, and
    // nothing while the program is busy.
    void cmdOk_Click();
    // Reads the list again (F5), keeping the chosen statement.
    void atualiza();

  protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override;

    // The operations done here.
    virtual void abreDeclaracao(int numero);
    virtual void excluiDeclaracao(int numero);
    virtual void copiaDeclaracao(int numero);

  private:
    void executa(int numero);
    void naoDisponivel();
    // Chooses the row of `numero`, else the first row or none (see setOperacaoVLM).
    void escolheLinha(int numero);

    shell::Programa &programa_;
    base::InterfaceUsuario &usuario_;
    base::Progresso &progresso_;
    int operacao_ = 0;
    Desfecho desfecho_ = Desfecho::Nenhum;
    int numero_ = 0;
    bool executando_ = false;
};

} // namespace vlme::ui
