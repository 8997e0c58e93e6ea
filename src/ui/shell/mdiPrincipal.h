#pragma once
// The main window: a multi-document area holding the statement's windows,
// with the menus, toolbar and status panel through which every command is
// given. Commands are routed by `shell::ExecutaComando`; each operation has
// one virtual place here. It owns the help and
// progress windows; `Programa` is kept by the entry point and outlives it.
// User-interface thread only.

#include "shell/Comandos.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QNetworkAccessManager;
class QToolBar;

namespace vlme::store {
class ErroBanco;
}
namespace vlme::delivery {
class Transmissao;
}
namespace vlme::diagnostic {
class Troca;
}

namespace vlme::base {
class InterfaceUsuario;
class Progresso;
} // namespace vlme::base
namespace vlme::shell {
struct Programa;
} // namespace vlme::shell

namespace vlme::ui {

class frmAjuda;
class frmCentral;
class frmGauge;
class Inatividade;

class mdiPrincipal : public QMainWindow, public shell::DestinoComandos {
    Q_OBJECT
  public:
    mdiPrincipal(shell::Programa &programa, base::InterfaceUsuario &usuario,
                 QWidget *pai = nullptr);
    ~mdiPrincipal() override;

    QMdiArea *areaDocumentos;
    QToolBar *tbrBarra;
    QLabel *txtPainel;
    QLabel *lblBanco; // which database the program is on
    QTimer *objTempo;
    QNetworkAccessManager *objInet;

    QMenu *mnuArquivo, *mnuImprimir, *mnuUtilitarios, *mnuCopia, *MnuImportarTAB, *mnuAjuda;
    QAction *mnuNovo, *mnuAbrir, *MnuImportar, *mnuFechar, *mnuConfig, *mnuResumo, *mnuImprimirVLM,
        *mnuExcluir, *mnuDiagnostico, *mnuPendencias, *mnuGerarArquivoEnviador, *mnuTransmitir,
        *mnuSair, *mnuGerar, *mnuRestaurar, *mnuCalculadora, *mnuCadastrarUnidadeMedida,
        *MnuImportarNCM, *MnuImportarUnM, *mnuBancoEquipe, *mnuConteudo, *mnuIndice, *mnuProcurar,
        *mnuSobre;

    // The toolbar button with this key ("Novo", "Ajuda", ...); null when none.
    QAction *botao(const QString &chave) const;

    // Runs a command as its menu would.
    bool executa(shell::Comando comando);

    shell::Programa &programa() { return programa_; }
    base::InterfaceUsuario &usuario() { return usuario_; }
    // The one progress window of the program.
    frmGauge &gauge();
    base::Progresso &progresso();
    // The help window, made on first use.
    frmAjuda &ajuda();
    void mostraTopicoAjuda(int contexto);

    // Asks the diagnostic server about statement `numero` and returns at
    // once; the hourglass stays up until the answer, or the time limit.
    void RecuperaDiagnostico(int numero);
    // The request in hand, made on first use.
    diagnostic::Troca &troca();

    // Shows the registration text of an opened registered statement.
    void mostraPainel(const QString &texto);
    // Names the database just opened, in the status bar, for as long as it is
    // open; `semEquipe`: the team database was asked for and did not open, so
    // the title says the work goes to the local file.
    void mostraBanco(bool semEquipe = false);
    // Closes the open statement (asking as closing it would) and moves the
    // program onto the team database `url` (empty: the local file) with the
    // session's `senha`; when that fails, back onto the one before. False
    // when the program stays where it was.
    bool trocaBanco(const QString &url, const QString &senha);

    // The window of the open statement; null when none is open.
    frmCentral *dadosGerais() const;
    // Saves the open statement's general data, as the commands that read the
    // statement do first.
    void gravaAberta();
    // Opens statement `numero` (unless it is the open one) and goes to where
    // the pendency `chave` is fixed.
    void corrigePendencia(int numero, const QString &chave);
    // Opens statement `numero` as the picker would, telling the user what
    // failed; for the start-up option --abrir.
    void abre(int numero);
    // How long the open statement may go without input before it is saved
    // and closed.
    Inatividade &inatividade() { return *inatividade_; }

    // The file dialogs of the import and restore commands; empty when the
    // user gave up.
    QString escolheArquivoImportacao();
    QString escolheArquivoRestauracao();

    // shell::DestinoComandos: one place per operation, run inside the boundary
    // of `executa`, which tells the user whatever a place throws.
    bool declaracaoAberta() const override;
    void fechaDeclaracao() override;
    void abreSeletor(int operacao) override;
    void mostraNovo() override;
    void importaDeclaracao() override;
    void configuraImpressora() override;
    void imprimeDeclaracao() override;
    void imprimeResumo() override;
    void excluiDeclaracao() override;
    void verificaPendencias() override;
    void gravaParaTransmissao() override;
    void restauraCopia() override;
    void importaTabelaNCM() override;
    void importaTabelaUnidades() override;
    void abreCalculadora() override;
    void configuraBanco() override;
    void mostraConteudoAjuda() override;
    void mostraIndiceAjuda() override;
    void mostraSobre() override;
    void sai() override;
    void copiaParaEquipe() override;

  protected:
    // Each tick of `objTempo`; the diagnostic's wait counts them.
    virtual void tiqueTempo();
    // The stored errors and warnings of statement `numero`, in the pendency list.
    virtual void mostraDiagnostico(int numero);
    void closeEvent(QCloseEvent *evento) override;

    // Runs a command's work; whatever it throws is told to the user (after
    // the transaction guards rolled back). False when it threw.
    bool protegido(const std::function<void()> &acao);
    // The help callback handed to the dialogs, itself a command boundary.
    std::function<void(int)> ajudaProtegida();

    // Shows statement `numero`, now the open one, in its general-data window:
    // reserved for change, or only consulted while another program holds it.
    void abreDadosGerais(int numero);
    delivery::Transmissao transmissao();
    // Records statement `numero` for transmission and tells the result; an
    // open statement recorded is closed.
    void gravaParaTransmissao(int numero);

  private:
    void criaMenus();
    void criaBarra();
    void botaoClicado(QAction *acao);
    void ajudaDeContexto();
    void encerra();
    // The consulted statement read again, for change once it is free.
    void reabreDeclaracao();
    // The open statement left alone too long: saved, closed, the user told.
    void fechaSemUso();

    shell::Programa &programa_;
    base::InterfaceUsuario &usuario_;
    QPointer<frmAjuda> ajuda_;
    QPointer<frmCentral> central_;
    frmGauge *gauge_ = nullptr;
    Inatividade *inatividade_ = nullptr;
    diagnostic::Troca *troca_ = nullptr;
    // The statement open when the running command began (0: none), where
    // the picker of the delivery's commands starts once it is closed.
    int abertaNoComando_ = 0;
    bool encerrado_ = false;
};

} // namespace vlme::ui
