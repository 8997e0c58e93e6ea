#include "ui/shell/mdiPrincipal.h"

#include "backup/CopiaSeguranca.h"
#include "backup/Migracao.h"
#include "delivery/Declaracao.h"
#include "delivery/Entrega.h"
#include "delivery/Transmissao.h"
#include "diagnostic/Troca.h"
#include "import/Tabelas.h"
#include "printing/Relatorios.h"
#include "store/Banco.h"
#include "store/CopiaExclusao.h"
#include "store/Declaracoes.h"
#include "store/servidor/UrlServidor.h"
#include "ui/checking/frmPendencias.h"
#include "ui/delivery/frmEntrega.h"
#include "ui/entry/CampoMascarado.h"
#include "ui/entry/frmCentral.h"
#include "ui/import/FormErrImport.h"
#include "ui/printing/Impressao.h"
#include "ui/shell/Inatividade.h"
#include "ui/shell/RegraOcupado.h"
#include "ui/shell/RetomadaServidor.h"
#include "ui/shell/frmNovo.h"
#include "ui/shell/frmVLMs.h"

#include "base/Erros.h"
#include "base/InterfaceUsuario.h"
#include "shell/BancoEquipe.h"
#include "shell/Calculadora.h"
#include "shell/ContextosAjuda.h"
#include "shell/FronteiraComando.h"
#include "shell/Inicializacao.h"
#include "shell/Pastas.h"
#include "shell/PastasLembradas.h"
#include "shell/Programa.h"
#include "ui/shell/frmAjuda.h"
#include "ui/shell/frmBancoEquipe.h"
#include "ui/shell/frmGauge.h"
#include "ui/shell/frmSobre.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QNetworkAccessManager>
#include <QShortcut>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include <algorithm>

namespace vlme::ui {

using shell::Comando;

namespace {

// Key, tooltip, command, theme icon and the stock icon used when the desktop
// has no icon theme.
struct Botao {
    const char *chave;
    const char *dica;
    Comando comando;
    const char *tema;
    QStyle::StandardPixmap padrao;
};

const Botao botoes[] = {
    {"Novo", "Nova Declaração", Comando::Novo, "document-new", QStyle::SP_FileIcon},
    {"Abrir", "Abrir Declaração", Comando::Abrir, "document-open", QStyle::SP_DialogOpenButton},
    {"Importar", "Importar de Arquivo Texto", Comando::Importar, "document-import",
     QStyle::SP_ArrowDown},
    {"Fechar", "Fechar Declaração", Comando::Fechar, "document-close",
     QStyle::SP_DialogCloseButton},
    {"Imprimir", "Imprimir VLM-E", Comando::ImprimirVLM, "document-print",
     QStyle::SP_FileDialogContentsView},
    {"Excluir", "Excluir Declaração", Comando::Excluir, "edit-delete", QStyle::SP_TrashIcon},
    {"Pendencias", "Verificar Pendências", Comando::Pendencias, "dialog-warning",
     QStyle::SP_MessageBoxWarning},
    {"Transmitir", "Gravar para transmissão", Comando::Transmitir, "document-send",
     QStyle::SP_DriveNetIcon},
    {"Diagnostico", "Diagnóstico", Comando::Diagnostico, "network-server",
     QStyle::SP_MessageBoxInformation},
    {"Ajuda", "Ajuda", Comando::Conteudo, "help-contents", QStyle::SP_DialogHelpButton},
    {"Sair", "Sair do Programa", Comando::Sair, "application-exit", QStyle::SP_BrowserStop},
};

// "&Índice" underlines a letter no Brazilian keyboard types by itself: in a
// menu, the plain letter opens an item whose mnemonic is that letter with an
// accent, when no other item takes the plain letter.
class MnemonicoSemAcento : public QObject {
  public:
    explicit MnemonicoSemAcento(QMenu *menu) : QObject(menu), menu_(menu) {
        menu->installEventFilter(this);
    }

    bool eventFilter(QObject *, QEvent *evento) override {
        if (evento->type() != QEvent::KeyPress)
            return false;
        const auto *tecla = static_cast<QKeyEvent *>(evento);
        if (tecla->text().size() != 1 || (tecla->modifiers() & ~Qt::ShiftModifier))
            return false;
        const QChar letra = tecla->text().at(0).toUpper();
        QAction *achada = nullptr;
        for (QAction *acao : menu_->actions()) {
            const QKeySequence mnemonico = QKeySequence::mnemonic(acao->text());
            if (mnemonico.isEmpty() || !acao->isVisible() || !acao->isEnabled())
                continue;
            const QChar propria = QChar(char32_t(mnemonico[0].key())).toUpper();
            if (propria == letra)
                return false; // Qt's own handling
            if (SemAcento(propria) == letra)
                achada = acao;
        }
        if (!achada)
            return false;
        menu_->setActiveAction(achada);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(menu_, &enter);
        return true;
    }

  private:
    static QChar SemAcento(QChar c) {
        const QString decomposta = QString(c).normalized(QString::NormalizationForm_D);
        return decomposta.isEmpty() ? c : decomposta.at(0).toUpper();
    }

    QMenu *menu_;
};

} // namespace

mdiPrincipal::mdiPrincipal(shell::Programa &programa, base::InterfaceUsuario &usuario, QWidget *pai)
    : QMainWindow(pai), programa_(programa), usuario_(usuario) {
    setObjectName(QStringLiteral("mdiPrincipal"));
    setWindowTitle(QStringLiteral("Declaração do VLM-E"));
    setProperty("contextoAjuda", shell::ContextoAjuda::Principal);
    resize(1024, 720);

    areaDocumentos = new QMdiArea(this);
    areaDocumentos->setObjectName(QStringLiteral("areaDocumentos"));
    areaDocumentos->setBackground(QColor(0x6b, 0x7f, 0x94));
    setCentralWidget(areaDocumentos);

    criaMenus();
    criaBarra();

    // Registration text of an opened registered statement; hidden otherwise.
    // The stretch keeps it centred as the window is resized.
    txtPainel = new QLabel(this);
    txtPainel->setObjectName(QStringLiteral("txtPainel"));
    txtPainel->setAlignment(Qt::AlignCenter);
    statusBar()->addWidget(txtPainel, 1);
    txtPainel->hide();
    lblBanco = new QLabel(this);
    lblBanco->setObjectName(QStringLiteral("lblBanco"));
    statusBar()->addPermanentWidget(lblBanco);
    // The last window of the statement gone, its registration text goes too.
    connect(areaDocumentos, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *) {
        if (areaDocumentos->subWindowList().isEmpty())
            txtPainel->hide();
    });

    // Drives the diagnostic's wait for the server.
    objTempo = new QTimer(this);
    objTempo->setObjectName(QStringLiteral("objTempo"));
    objTempo->setInterval(1000);
    connect(objTempo, &QTimer::timeout, this, [this] { protegido([this] { tiqueTempo(); }); });
    objTempo->start();
    inatividade_ = new Inatividade(this);
    inatividade_->defineIntervalo(shell::BancoLembrado().minutosSemUso() * 60 * 1000);
    inatividade_->aoEsgotar = [this] { protegido([this] { fechaSemUso(); }); };

    objInet = new QNetworkAccessManager(this);
    objInet->setObjectName(QStringLiteral("objInet"));

    auto *f1 = new QShortcut(QKeySequence::HelpContents, this);
    f1->setContext(Qt::WindowShortcut);
    connect(f1, &QShortcut::activated, this, [this] { protegido([this] { ajudaDeContexto(); }); });

    // However the program ends, the connection is closed.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &mdiPrincipal::encerra);
}

mdiPrincipal::~mdiPrincipal() {
    // The document area is destroyed after this class's part of the window
    // and tells its last activation on the way: it must not reach us.
    areaDocumentos->disconnect(this);
}

void mdiPrincipal::criaMenus() {
    auto acao = [](QMenu *menu, const char *nome, const QString &texto) {
        QAction *a = menu->addAction(texto);
        a->setObjectName(QString::fromLatin1(nome));
        return a;
    };
    auto submenu = [](QWidget *pai, const char *nome, const QString &texto) {
        auto *m = new QMenu(texto, pai);
        m->setObjectName(QString::fromLatin1(nome));
        return m;
    };

    mnuArquivo = submenu(menuBar(), "mnuArquivo", QStringLiteral("&Declaração"));
    menuBar()->addMenu(mnuArquivo);
    mnuNovo = acao(mnuArquivo, "mnuNovo", QStringLiteral("&Novo"));
    mnuAbrir = acao(mnuArquivo, "mnuAbrir", QStringLiteral("&Abrir"));
    MnuImportar = acao(mnuArquivo, "MnuImportar", QStringLiteral("I&mportar"));
    mnuArquivo->addSeparator();
    mnuFechar = acao(mnuArquivo, "mnuFechar", QStringLiteral("&Fechar"));
    mnuArquivo->addSeparator();
    mnuConfig = acao(mnuArquivo, "mnuConfig", QStringLiteral("Configurar Im&pressora"));
    mnuImprimir = submenu(mnuArquivo, "mnuImprimir", QStringLiteral("&Imprimir"));
    mnuArquivo->addMenu(mnuImprimir);
    mnuResumo = acao(mnuImprimir, "mnuResumo", QStringLiteral("&Resumo"));
    mnuImprimirVLM = acao(mnuImprimir, "mnuImprimirVLM", QStringLiteral("&Demonstrativo"));
    acao(mnuImprimir, "mnuRecibo", QStringLiteral("Recibo de &Entrega"));
    mnuArquivo->addSeparator();
    mnuExcluir = acao(mnuArquivo, "mnuExcluir", QStringLiteral("&Excluir"));
    mnuArquivo->addSeparator();
    mnuDiagnostico = acao(mnuArquivo, "mnuDiagnostico", QStringLiteral("&Diagnóstico"));
    mnuArquivo->addSeparator();
    mnuPendencias = acao(mnuArquivo, "mnuPendencias", QStringLiteral("&Verificar Pendências"));
    mnuGerarArquivoEnviador = acao(mnuArquivo, "mnuGerarArquivoEnviador",
                                   QStringLiteral("&Gerar Arquivo para Transmissão"));
    mnuTransmitir = acao(mnuArquivo, "mnuTransmitir", QStringLiteral("&Gravar para transmissão"));
    acao(mnuArquivo, "mnuRegistrarEntrega", QStringLiteral("Registrar En&trega"));
    acao(mnuArquivo, "mnuDesfazerEntrega", QStringLiteral("Desfa&zer Registro de Entrega"));
    mnuArquivo->addSeparator();
    mnuSair = acao(mnuArquivo, "mnuSair", QStringLiteral("Sai&r"));

    mnuUtilitarios = submenu(menuBar(), "mnuUtilitarios", QStringLiteral("&Utilitários"));
    menuBar()->addMenu(mnuUtilitarios);
    mnuCopia = submenu(mnuUtilitarios, "mnuCopia", QStringLiteral("Cópia de &Segurança"));
    mnuUtilitarios->addMenu(mnuCopia);
    mnuGerar = acao(mnuCopia, "mnuGerar", QStringLiteral("&Gerar"));
    mnuRestaurar = acao(mnuCopia, "mnuRestaurar", QStringLiteral("&Restaurar"));
    mnuCalculadora = acao(mnuUtilitarios, "mnuCalculadora", QStringLiteral("&Calculadora"));
    mnuCadastrarUnidadeMedida = acao(mnuUtilitarios, "mnuCadastrarUnidadeMedida",
                                     QStringLiteral("Cadastrar &Unidade de Medida"));
    // Units come from the table import only; the command has no operation.
    mnuCadastrarUnidadeMedida->setVisible(false);
    MnuImportarTAB = submenu(mnuUtilitarios, "MnuImportarTAB", QStringLiteral("Importar"));
    mnuUtilitarios->addMenu(MnuImportarTAB);
    MnuImportarNCM = acao(MnuImportarTAB, "MnuImportarNCM", QStringLiteral("NCM"));
    MnuImportarUnM = acao(MnuImportarTAB, "MnuImportarUnM", QStringLiteral("Unidades de Medida"));
    mnuUtilitarios->addSeparator();
    mnuBancoEquipe =
        acao(mnuUtilitarios, "mnuBancoEquipe", QStringLiteral("&Banco de dados da equipe..."));
    acao(mnuUtilitarios, "mnuCopiarEquipe", QStringLiteral("Copiar para o banco da equipe..."));

    mnuAjuda = submenu(menuBar(), "mnuAjuda", QStringLiteral("A&juda"));
    menuBar()->addMenu(mnuAjuda);
    mnuConteudo = acao(mnuAjuda, "mnuConteudo", QStringLiteral("&Conteúdo"));
    mnuIndice = acao(mnuAjuda, "mnuIndice", QStringLiteral("&Índice"));
    mnuProcurar = acao(mnuAjuda, "mnuProcurar", QStringLiteral("&Procurar"));
    mnuAjuda->addSeparator();
    mnuSobre = acao(mnuAjuda, "mnuSobre", QStringLiteral("&Sobre o VLM-E"));

    for (QMenu *menu : menuBar()->findChildren<QMenu *>())
        new MnemonicoSemAcento(menu);

    // Every menu command goes through the routing table, by its name.
    for (const auto &rota : shell::RotasComandos()) {
        if (!*rota.menu)
            continue;
        auto *a = menuBar()->findChild<QAction *>(QString::fromLatin1(rota.menu));
        Q_ASSERT(a);
        const Comando comando = rota.comando;
        connect(a, &QAction::triggered, this, [this, comando] { executa(comando); });
    }
}

void mdiPrincipal::criaBarra() {
    tbrBarra = addToolBar(QStringLiteral("Barra de ferramentas"));
    tbrBarra->setObjectName(QStringLiteral("tbrBarra"));
    tbrBarra->setMovable(false);
    tbrBarra->setIconSize(QSize(24, 24));
    for (const Botao &b : botoes) {
        const QString chave = QString::fromLatin1(b.chave);
        const QIcon icone =
            QIcon::fromTheme(QString::fromLatin1(b.tema), style()->standardIcon(b.padrao));
        // The key stays in the data; the text, shown when the bar overflows,
        // is the tooltip's.
        QAction *a = tbrBarra->addAction(icone, QString::fromUtf8(b.dica));
        a->setData(chave);
        a->setToolTip(QString::fromUtf8(b.dica));
        a->setObjectName(QStringLiteral("tbr") + chave);
        // Groups as the menu does: statement, output, checking, help and exit.
        if (chave == QLatin1String("Fechar") || chave == QLatin1String("Excluir") ||
            chave == QLatin1String("Diagnostico"))
            tbrBarra->addSeparator();
        else if (chave == QLatin1String("Ajuda"))
            tbrBarra->addSeparator();
    }
    connect(tbrBarra, &QToolBar::actionTriggered, this, &mdiPrincipal::botaoClicado);
}

QAction *mdiPrincipal::botao(const QString &chave) const {
    for (QAction *a : tbrBarra->actions())
        if (a->data().toString() == chave)
            return a;
    return nullptr;
}

void mdiPrincipal::botaoClicado(QAction *acao) {
    const QString chave = acao->data().toString();
    for (const Botao &b : botoes)
        if (chave == QLatin1String(b.chave)) {
            executa(b.comando);
            return;
        }
}

bool mdiPrincipal::executa(Comando comando) {
    // Every menu and toolbar command ends here: nothing it throws leaves.
    bool executou = true;
    const int antes = std::exchange(abertaNoComando_,
                                    programa_.declaracao.aberta ? programa_.declaracao.numero : 0);
    protegido([&] { executou = shell::ExecutaComando(comando, *this, Ocupado()); });
    abertaNoComando_ = antes;
    // A dialog that closes after another (a question over the picker, the
    // progress window) can leave no window active, and then the menu keys do
    // nothing until the user clicks. A window the command opened and left
    // open (help) keeps the focus.
    if (!QApplication::activeWindow() && isVisible()) {
        raise();
        activateWindow();
    }
    return executou;
}

frmGauge &mdiPrincipal::gauge() {
    if (!gauge_)
        gauge_ = new frmGauge(usuario_, this);
    return *gauge_;
}

base::Progresso &mdiPrincipal::progresso() {
    return gauge();
}

frmAjuda &mdiPrincipal::ajuda() {
    ajuda_ = &JanelaAjuda();
    return *ajuda_;
}

void mdiPrincipal::mostraTopicoAjuda(int contexto) {
    ajuda().mostraTopico(contexto);
}

void mdiPrincipal::ajudaDeContexto() {
    // The window the user works in tells its topic: the focused control's
    // window first, then the active statement window, then this one.
    for (QWidget *w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        const QVariant contexto = w->property("contextoAjuda");
        if (contexto.isValid()) {
            mostraTopicoAjuda(contexto.toInt());
            return;
        }
    }
    if (QMdiSubWindow *sub = areaDocumentos->activeSubWindow(); sub && sub->widget()) {
        const QVariant contexto = sub->widget()->property("contextoAjuda");
        if (contexto.isValid()) {
            mostraTopicoAjuda(contexto.toInt());
            return;
        }
    }
    mostraTopicoAjuda(shell::ContextoAjuda::Principal);
}

void mdiPrincipal::mostraBanco(bool semEquipe) {
    lblBanco->setText(base::Mensagem("TEXTO_BANCO_ABERTO", programa_.banco.descricao()));
    setWindowTitle(semEquipe && !programa_.banco.servidor()
                       ? base::Mensagem("TITULO_ARQUIVO_LOCAL")
                       : QStringLiteral("Declaração do VLM-E"));
}

void mdiPrincipal::mostraPainel(const QString &texto) {
    txtPainel->setText(texto);
    txtPainel->setVisible(!texto.isEmpty());
}

namespace {

// An import file, asked for where the user last took one of that kind.
QString EscolheArquivoImportacao(base::InterfaceUsuario &usuario, const QString &titulo,
                                 shell::TipoArquivo tipo) {
    shell::PastasLembradas pastas;
    const QString arquivo = usuario.escolheArquivoAbrir(
        titulo, QStringLiteral("Arquivo texto (*.*)"), pastas.pasta(tipo));
    pastas.lembra(tipo, arquivo);
    return arquivo;
}

} // namespace

QString mdiPrincipal::escolheArquivoImportacao() {
    return EscolheArquivoImportacao(usuario_, QStringLiteral("Importar Declaração"),
                                    shell::TipoArquivo::Declaracao);
}

QString mdiPrincipal::escolheArquivoRestauracao() {
    // Starts where backups are written; made when missing.
    const QString pasta =
        QDir(programa_.pasta).filePath(QString::fromLatin1(shell::NomePastaArquivos));
    QDir().mkpath(pasta);
    return usuario_.escolheArquivoAbrir(QStringLiteral("Restaurar Cópia de Segurança"),
                                        QString::fromUtf8(backup::FiltroCopia), pasta);
}

bool mdiPrincipal::declaracaoAberta() const {
    return programa_.declaracao.aberta;
}

void mdiPrincipal::fechaDeclaracao() {
    // The statement's windows save or discard it as they close; one may
    // refuse, and then the statement stays open.
    areaDocumentos->closeAllSubWindows();
    if (!areaDocumentos->subWindowList().isEmpty())
        return;
    // A statement created and never saved is not kept.
    const shell::DeclaracaoAberta fechada = programa_.declaracao;
    programa_.declaracao = {};
    txtPainel->hide();
    if (fechada.aberta && fechada.nova && !fechada.alterada)
        protegido([&] { store::ExcluiVLM(programa_.banco, fechada.numero, true, nullptr); });
}

void mdiPrincipal::abreDadosGerais(int numero) {
    // No other program changes it while the window shows it; held by
    // another, it is shown for reading, its holder named.
    shell::DeclaracaoAberta aberta = programa_.declaracao;
    aberta.numero = numero;
    aberta.aberta = true;
    aberta.consulta = false;
    aberta.titular.reset();
    try {
        aberta.reserva = std::make_shared<store::Reserva>(programa_.banco, numero);
    } catch (const store::ErroReservada &e) {
        aberta.consulta = true;
        aberta.titular = e.titular();
    } catch (...) {
        programa_.declaracao = {};
        throw;
    }
    programa_.declaracao = aberta;
    auto *janela = new frmCentral(programa_, usuario_);
    try {
        janela->carrega();
    } catch (...) {
        delete janela;
        programa_.declaracao = {};
        throw;
    }
    new RetomadaServidor(programa_, janela);
    janela->aoReabrir = [this] { protegido([this] { reabreDeclaracao(); }); };
    janela->aoTrocar = [this](int outra) {
        // After the command that asked has unwound: the window is replaced.
        QTimer::singleShot(0, this, [this, outra] {
            if (!central_)
                return;
            central_->descarta();
            fechaDeclaracao();
            if (!declaracaoAberta())
                protegido([&] { abreDadosGerais(outra); });
        });
    };
    janela->aoFechar = [this] {
        inatividade_->arma(false);
        txtPainel->hide();
        // Back to the main window's commands, with the keyboard.
        QTimer::singleShot(0, this, [this] {
            if (!QApplication::activeModalWidget())
                activateWindow();
        });
    };
    central_ = janela;
    QMdiSubWindow *sub = areaDocumentos->addSubWindow(janela);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->showMaximized();
    janela->mskCNPJ->setFocus();
    inatividade_->arma(true);
}

void mdiPrincipal::reabreDeclaracao() {
    if (!central_)
        return;
    const int numero = central_->numero();
    const int aba = central_->SSTab->currentIndex();
    fechaDeclaracao();
    if (declaracaoAberta())
        return;
    abreDadosGerais(numero);
    central_->SSTab->setCurrentIndex(aba);
}

void mdiPrincipal::fechaSemUso() {
    if (!central_)
        return;
    // A dialog over it may hold typed work: the close waits for the user.
    if (QApplication::activeModalWidget()) {
        inatividade_->arma(true);
        return;
    }
    const int numero = central_->numero();
    // Only consulted, or new and untouched: nothing was saved.
    const shell::DeclaracaoAberta &aberta = programa_.declaracao;
    const bool semGravar = aberta.consulta || (aberta.nova && !aberta.alterada);
    fechaDeclaracao();
    // A save that failed has told why, and its window stays: held, so
    // closed again once left alone again.
    if (declaracaoAberta()) {
        inatividade_->arma(true);
        return;
    }
    const int minutos = std::max(1, inatividade_->intervalo() / 60000);
    usuario_.avisa(QStringLiteral("VLM-E"),
                   base::Mensagem(semGravar ? "AVISO_SEM_USO_FECHADA" : "AVISO_SEM_USO", numero,
                                  minutos == 1 ? base::Mensagem("TEXTO_UM_MINUTO")
                                               : base::Mensagem("TEXTO_MINUTOS", minutos)),
                   base::Icone::Informacao);
}

frmCentral *mdiPrincipal::dadosGerais() const {
    return central_;
}

void mdiPrincipal::gravaAberta() {
    if (central_)
        central_->grava();
}

void mdiPrincipal::corrigePendencia(int numero, const QString &chave) {
    if (chave.isEmpty())
        return;
    if (!central_ || central_->numero() != numero) {
        fechaDeclaracao();
        if (declaracaoAberta())
            return;
        abreDadosGerais(numero);
    }
    central_->vaiPara(chave);
}

void mdiPrincipal::abre(int numero) {
    protegido([&] {
        if (!store::ExisteDeclaracao(programa_.banco, numero))
            throw store::ErroDeclaracaoInexistente(numero);
        abreDadosGerais(numero);
    });
}

bool mdiPrincipal::protegido(const std::function<void()> &acao) {
    return shell::ExecutaProtegido(usuario_, acao);
}

std::function<void(int)> mdiPrincipal::ajudaProtegida() {
    return [this](int contexto) { protegido([&] { mostraTopicoAjuda(contexto); }); };
}

delivery::Transmissao mdiPrincipal::transmissao() {
    delivery::Transmissao t(programa_.banco, programa_.pasta, usuario_, progresso());
    t.mostraPendencias = [this](int numero, const std::vector<checking::Pendencia> &pendencias) {
        const QString chave =
            MostraListaPendencias(pendencias, this, ajudaProtegida(), numero, &usuario_);
        // After the command that showed the list has returned.
        if (!chave.isEmpty())
            QTimer::singleShot(0, this, [this, numero, chave] {
                protegido([&] { corrigePendencia(numero, chave); });
            });
    };
    return t;
}

void mdiPrincipal::gravaParaTransmissao(int numero) {
    delivery::Transmissao t = transmissao();
    const bool gerado = t.GeraArquivoVerificado(numero);
    if (shell::InformaGravacaoTransmissao(usuario_, gerado ? t.ultimoArquivo() : QString()) &&
        programa_.declaracao.aberta && programa_.declaracao.numero == numero)
        fechaDeclaracao();
}

void mdiPrincipal::abreSeletor(int operacao) {
    frmVLMs seletor(programa_, usuario_, progresso(), this);
    seletor.mostraPainel = [this](const QString &texto) { mostraPainel(texto); };
    auto ajuda = ajudaProtegida();
    // The picker's OK is the boundary of these: it tells what they throw.
    seletor.operacoes.pendencias = [this, ajuda](int numero) {
        QString chave;
        VerificaPendencias(programa_.banco, numero, true, usuario_, this, nullptr, ajuda, &chave);
        if (!chave.isEmpty())
            QTimer::singleShot(0, this, [this, numero, chave] {
                protegido([&] { corrigePendencia(numero, chave); });
            });
    };
    seletor.operacoes.gerar = [this](int numero) { transmissao().GeraArquivoSelecionado(numero); };
    seletor.operacoes.gravarParaTransmissao = [this](int numero) { gravaParaTransmissao(numero); };
    seletor.operacoes.imprimir = [this](int numero) {
        MostraDocumento(printing::ImprimeVLM(programa_.banco, numero, false), usuario_, this);
    };
    seletor.operacoes.imprimirResumo = [this](int numero) {
        MostraDocumento(printing::ImprimeVLM(programa_.banco, numero, true), usuario_, this);
    };
    seletor.operacoes.imprimirRecibo = [this](int numero) {
        MostraDocumento(printing::ImprimeRecibo(programa_.banco, numero), usuario_, this);
    };
    seletor.operacoes.diagnostico = [this](int numero) {
        switch (diagnostic::EscolheDiagnostico(programa_.banco, numero)) {
        case diagnostic::Escolha::Consulta:
            RecuperaDiagnostico(numero);
            break;
        case diagnostic::Escolha::Lista:
            mostraDiagnostico(numero);
            break;
        case diagnostic::Escolha::SemErros:
            diagnostic::AvisaSemErros(usuario_);
            break;
        }
    };
    seletor.operacoes.consultarDiagnostico = [this](int numero) { mostraDiagnostico(numero); };
    seletor.operacoes.registrarEntrega = [this](int numero) {
        frmEntrega entrega(programa_.banco, programa_.pasta, usuario_, numero, this);
        entrega.exec();
    };
    seletor.operacoes.desfazerEntrega = [this](int numero) {
        const QString titulo = QStringLiteral("Desfazer Registro de Entrega");
        int desfeita = 0;
        try {
            desfeita = delivery::DesfazEntrega(programa_.banco, numero, &usuario_);
        } catch (const delivery::ErroRecibo &recusa) {
            usuario_.mensagem(titulo, recusa.mensagem(), base::Icone::Exclamacao, base::Botoes::Ok);
        }
        if (desfeita > 0)
            usuario_.mensagem(titulo,
                              QStringLiteral("O registro da entrega da declaração %1 (transmissão "
                                             "%2) foi desfeito: a declaração está gerada, não "
                                             "transmitida.")
                                  .arg(numero)
                                  .arg(desfeita),
                              base::Icone::Informacao, base::Botoes::Ok);
    };
    seletor.operacoes.backup = [this](int numero) {
        backup::GeraCopiaSeguranca(programa_.banco, programa_.pasta, numero, usuario_, progresso());
    };
    seletor.setOperacaoVLM(operacao);
    // The delivery's commands act on the statement the user had open.
    if (operacao == shell::Operacao::RegistrarEntrega ||
        operacao == shell::Operacao::DesfazerEntrega)
        seletor.escolhe(abertaNoComando_);
    seletor.exec();
    switch (seletor.desfecho()) {
    case frmVLMs::Desfecho::Aberta:
        abreDadosGerais(seletor.numero());
        break;
    case frmVLMs::Desfecho::Copiada:
        abreDadosGerais(seletor.numero());
        break;
    default:
        break;
    }
}

diagnostic::Troca &mdiPrincipal::troca() {
    if (!troca_) {
        troca_ = new diagnostic::Troca(programa_.banco, programa_.pasta, programa_.urlDiagnostico,
                                       usuario_, *objInet, this);
        troca_->aoResponder = [] { QGuiApplication::restoreOverrideCursor(); };
        troca_->aoTerminar = [this](const diagnostic::Resultado &r) {
            if (r.listar)
                protegido([&] { mostraDiagnostico(troca_->numero()); });
        };
    }
    return *troca_;
}

void mdiPrincipal::RecuperaDiagnostico(int numero) {
    // The picker steps aside for the wait.
    if (QWidget *ativa = QApplication::activeModalWidget();
        ativa && ativa->objectName() == QLatin1String("frmVLMs"))
        ativa->close();
    if (troca().inicia(numero))
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

void mdiPrincipal::tiqueTempo() {
    if (troca_)
        troca_->tique();
}

void mdiPrincipal::mostraDiagnostico(int numero) {
    MostraListaDiagnostico(programa_.banco, numero, usuario_, this, ajudaProtegida());
}

void mdiPrincipal::mostraNovo() {
    frmNovo novo(programa_, usuario_, this);
    novo.exec();
    switch (novo.escolha()) {
    case frmNovo::Escolha::Vazio:
        abreDadosGerais(novo.numero());
        break;
    case frmNovo::Escolha::Anterior:
        abreSeletor(shell::Operacao::Copiar);
        break;
    case frmNovo::Escolha::Nenhuma:
        break;
    }
}

void mdiPrincipal::importaDeclaracao() {
    const QString arquivo = escolheArquivoImportacao();
    if (arquivo.isEmpty())
        return;
    // The imported statements stay closed: the user opens them from the list.
    ExecutaImportacao(programa_.banco, usuario_, progresso(), programa_.pasta, arquivo, this,
                      ajudaProtegida());
    programa_.declaracao.nova = false;
}

void mdiPrincipal::configuraImpressora() {
    ConfiguraImpressora(this);
}

void mdiPrincipal::imprimeDeclaracao() {
    gravaAberta(); // what is printed is what the window shows
    MostraDocumento(printing::ImprimeVLM(programa_.banco, programa_.declaracao.numero, false),
                    usuario_, this);
}

void mdiPrincipal::imprimeResumo() {
    gravaAberta();
    MostraDocumento(printing::ImprimeVLM(programa_.banco, programa_.declaracao.numero, true),
                    usuario_, this);
}

void mdiPrincipal::excluiDeclaracao() {
    {
        // Refused when only consulted, before asking: another program holds it.
        store::Reserva reserva(programa_.banco, programa_.declaracao.numero);
        if (!frmVLMs::ConfirmaExclusao(usuario_))
            return;
        store::ExcluiVLM(programa_.banco, programa_.declaracao.numero, false, &progresso());
    }
    // Already gone: closing must not save it again.
    programa_.declaracao.nova = true;
    programa_.declaracao.alterada = false;
    fechaDeclaracao();
}

void mdiPrincipal::verificaPendencias() {
    // The open window's fields are what is checked, saved first.
    std::optional<checking::DadosGeraisVerificacao> formulario;
    if (central_) {
        central_->grava();
        formulario = central_->dadosVerificacao();
    }
    QString chave;
    VerificaPendencias(programa_.banco, programa_.declaracao.numero, true, usuario_, this,
                       formulario ? &*formulario : nullptr, ajudaProtegida(), &chave);
    corrigePendencia(programa_.declaracao.numero, chave);
}

void mdiPrincipal::gravaParaTransmissao() {
    gravaAberta();
    gravaParaTransmissao(programa_.declaracao.numero);
}

void mdiPrincipal::copiaParaEquipe() {
    const QString titulo = QStringLiteral("Copiar para o banco da equipe");
    bool ok = false;
    // A password in the chosen address is used, never shown.
    const QString escolhido = shell::EscolheBanco({});
    const QString visivel = store::servidor::URLVisivel(escolhido);
    QString url = QInputDialog::getText(this, titulo,
                                        QStringLiteral("Endereço do banco da equipe "
                                                       "(postgresql://usuario@servidor/banco):"),
                                        QLineEdit::Normal, visivel, &ok)
                      .trimmed();
    if (url == visivel)
        url = escolhido;
    if (!ok || url.isEmpty())
        return;
    store::Banco servidor;
    store::Banco local;
    {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        struct Restaura {
            ~Restaura() { QGuiApplication::restoreOverrideCursor(); }
        } restaura;
        servidor.abreServidor(url);
    }
    // On the team database already: the copy still comes from this folder's file.
    if (programa_.banco.servidor() && !shell::AbreBancoPrograma(programa_.pasta, local, usuario_))
        return;
    const backup::ResultadoMigracao r =
        backup::Migra(programa_.banco.servidor() ? local : programa_.banco, servidor, progresso());
    usuario_.mensagem(titulo, backup::TextoMigracao(r),
                      r.alteradas.isEmpty() && r.excluidas.isEmpty() && !r.cancelada
                          ? base::Icone::Informacao
                          : base::Icone::Exclamacao,
                      base::Botoes::Ok);
}

void mdiPrincipal::restauraCopia() {
    const QString arquivo = escolheArquivoRestauracao();
    if (arquivo.isEmpty())
        return;
    backup::RestauraCopiaSeguranca(programa_.banco, arquivo, progresso(), usuario_);
}

namespace {

// The table import with the hourglass up while it reads and stores; the
// normal pointer is back before the message.
void ImportaTabela(shell::Programa &programa, base::InterfaceUsuario &usuario,
                   const QString &titulo, const char *codigo, shell::TipoArquivo tipo) {
    const QString arquivo = EscolheArquivoImportacao(usuario, titulo, tipo);
    if (arquivo.isEmpty())
        return;
    importacao::ResultadoTabela resultado;
    {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        struct Restaura {
            ~Restaura() { QGuiApplication::restoreOverrideCursor(); }
        } restaura;
        resultado = importacao::ImportaTabela(programa.banco, arquivo, QString::fromLatin1(codigo));
    }
    importacao::InformaTabela(usuario, resultado);
}

} // namespace

void mdiPrincipal::importaTabelaNCM() {
    ImportaTabela(programa_, usuario_, QStringLiteral("Importar Tabela NCM"),
                  importacao::CodigoTabelaNCM, shell::TipoArquivo::TabelaNCM);
}

void mdiPrincipal::importaTabelaUnidades() {
    ImportaTabela(programa_, usuario_, QStringLiteral("Importar Tabela de Unidades de Medida"),
                  importacao::CodigoTabelaUnidade, shell::TipoArquivo::TabelaUnidades);
}

void mdiPrincipal::abreCalculadora() {
    // No calculator installed: nothing happens.
    shell::AbreCalculadora();
}

void mdiPrincipal::configuraBanco() {
    frmBancoEquipe dialogo(programa_.urlBanco, programa_.senhaBanco, usuario_, this);
    dialogo.spnMinutos->setValue(inatividade_->intervalo() / 60000);
    if (dialogo.exec() != QDialog::Accepted)
        return;
    const bool mesmo = dialogo.url() == programa_.urlBanco && programa_.banco.aberto();
    shell::BancoLembrado lembrado;
    lembrado.lembraMinutosSemUso(dialogo.spnMinutos->value());
    inatividade_->defineIntervalo(dialogo.spnMinutos->value() * 60 * 1000);
    if (mesmo || trocaBanco(dialogo.url(), dialogo.senha()))
        lembrado.lembra(dialogo.url());
}

bool mdiPrincipal::trocaBanco(const QString &url, const QString &senha) {
    if (declaracaoAberta())
        fechaDeclaracao();
    if (declaracaoAberta())
        return false;
    // Lists and results of the database left behind go with it.
    areaDocumentos->closeAllSubWindows();
    if (!areaDocumentos->subWindowList().isEmpty())
        return false;
    const QString anterior = programa_.urlBanco;
    programa_.banco.fecha();
    QString novaSenha = senha;
    const bool trocou = shell::AbreBancoEscolhido(programa_.pasta, url, programa_.banco, usuario_,
                                                  false, &novaSenha);
    if (trocou) {
        programa_.urlBanco = url;
        programa_.senhaBanco = novaSenha;
    } else {
        usuario_.avisa(base::Mensagem("TITULO_BANCO_EQUIPE"),
                       base::Mensagem("TEXTO_BANCO_FALHOU_TROCA"), base::Icone::Informacao);
        if (!shell::AbreBancoEscolhido(programa_.pasta, anterior, programa_.banco, usuario_, true,
                                       &programa_.senhaBanco)) {
            usuario_.avisa(QStringLiteral("ERRO"), base::Mensagem("ERRO_BANCO_SEM_BANCO"),
                           base::Icone::Critico);
            QTimer::singleShot(0, this, &QWidget::close);
            return false;
        }
        if (!programa_.banco.servidor())
            programa_.urlBanco.clear();
    }
    mostraBanco(!trocou && !anterior.isEmpty());
    return trocou;
}

void mdiPrincipal::mostraConteudoAjuda() {
    ajuda().mostraConteudo();
}

void mdiPrincipal::mostraIndiceAjuda() {
    ajuda().mostraIndice();
}

void mdiPrincipal::mostraSobre() {
    frmSobre sobre(programa_, this);
    sobre.exec();
}

void mdiPrincipal::sai() {
    close();
}

void mdiPrincipal::closeEvent(QCloseEvent *evento) {
    // A long operation is working through the connection: closing it now
    // would pull the database from under it.
    if (Ocupado()) {
        evento->ignore();
        return;
    }
    if (declaracaoAberta())
        fechaDeclaracao();
    if (declaracaoAberta()) {
        evento->ignore();
        return;
    }
    // Whatever else is open in the area (lists, results) goes with it.
    areaDocumentos->closeAllSubWindows();
    if (!areaDocumentos->subWindowList().isEmpty()) {
        evento->ignore();
        return;
    }
    if (ajuda_)
        ajuda_->close();
    encerra();
    evento->accept();
}

void mdiPrincipal::encerra() {
    if (encerrado_)
        return;
    encerrado_ = true;
    // Reached without the window's closing only when the program is told to
    // quit: the statement is still closed (saved or discarded) first.
    if (declaracaoAberta())
        fechaDeclaracao();
    programa_.declaracao = {};
    programa_.banco.fecha();
}

} // namespace vlme::ui
