#include "ui/entry/frmCentral.h"

#include "ui/entry/Assistentes.h"
#include "ui/entry/CampoMascarado.h"
#include "ui/entry/Controles.h"
#include "ui/entry/DeclaracaoAlterada.h"
#include "ui/entry/FabricaCampos.h"
#include "ui/entry/ModeloLista.h"
#include "ui/entry/frmImportados.h"
#include "ui/entry/frmModelos.h"
#include "ui/entry/frmNacionais.h"
#include "ui/history/frmHistorico.h"

#include "base/Erros.h"
#include "base/InterfaceUsuario.h"
#include "checking/Calculos.h"
#include "entry/Descricoes.h"
#include "entry/OperacaoFormulario.h"
#include "shell/Comandos.h"
#include "shell/ContextosAjuda.h"
#include "shell/FronteiraComando.h"
#include "shell/Programa.h"
#include "store/Controle.h"
#include "store/Gravar.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace vlme::ui {

namespace {

namespace Op = entry::OperacaoFormulario;
constexpr char Formulario[] = "frmCentral";
constexpr int ContextosAbas[] = {
    shell::ContextoAjuda::DadosGerais, shell::ContextoAjuda::ComponentesNacionais,
    shell::ContextoAjuda::ComponentesImportados, shell::ContextoAjuda::ResumoDemonstrativo};

QRadioButton *opcao(const char *nome, const QString &texto, QWidget *pai) {
    QRadioButton *o = Opcao(nome, texto, pai);
    DefineTag(o, QStringLiteral("T"));
    return o;
}

// Ctrl+Tab and Ctrl+Shift+Tab turn the tabs, as in any tabbed window. The
// document area would take them first to cycle its windows, of which there is
// only ever one, so they are caught at the application, before it.
class CtrlTabTrocaAba : public QObject {
  public:
    CtrlTabTrocaAba(QWidget *janela, QTabWidget *abas)
        : QObject(janela), janela_(janela), abas_(abas) {
        qApp->installEventFilter(this);
    }

    bool eventFilter(QObject *alvo, QEvent *evento) override {
        if (evento->type() != QEvent::KeyPress)
            return false;
        const auto *tecla = static_cast<QKeyEvent *>(evento);
        const bool adiante = tecla->key() == Qt::Key_Tab;
        if (!(tecla->modifiers() & Qt::ControlModifier) ||
            (!adiante && tecla->key() != Qt::Key_Backtab))
            return false;
        auto *w = qobject_cast<QWidget *>(alvo);
        if (!w || (w != janela_ && !janela_->isAncestorOf(w)))
            return false;
        const int n = abas_->count();
        abas_->setCurrentIndex((abas_->currentIndex() + (adiante ? 1 : n - 1)) % n);
        return true;
    }

  private:
    QWidget *janela_;
    QTabWidget *abas_;
};

} // namespace

frmCentral::frmCentral(shell::Programa &programa, base::InterfaceUsuario &usuario, QWidget *pai)
    : QWidget(pai), programa_(programa), usuario_(usuario),
      formulario_(programa.banco, programa.declaracao) {
    setObjectName(QStringLiteral("frmCentral"));
    setAttribute(Qt::WA_DeleteOnClose);
    modelos_.tipo = entry::Lista::Modelos;
    nacionais_.tipo = entry::Lista::Nacionais;
    importados_.tipo = entry::Lista::Importados;

    SSTab = new QTabWidget(this);
    SSTab->setObjectName(QStringLiteral("SSTab"));
    SSTab->addTab(criaAbaGeral(), QStringLiteral("Dados &Gerais"));
    SSTab->addTab(
        criaAbaLista(nacionais_, QStringLiteral("Componentes Nacionais Cadastrados"), "Nacional"),
        QStringLiteral("Componentes Na&cionais"));
    SSTab->addTab(criaAbaLista(importados_, QStringLiteral("Componentes Importados Cadastrados"),
                               "Importado"),
                  QStringLiteral("Componentes Im&portados"));
    SSTab->addTab(criaAbaResumo(), QStringLiteral("&Resumo do Demonstrativo"));
    lblConsulta = Rotulo("lblConsulta", QString(), this);
    lblConsulta->setWordWrap(true);
    lblConsulta->setFrameShape(QFrame::StyledPanel);
    lblConsulta->setStyleSheet(QStringLiteral("QLabel { background: #fff4c2; padding: 4px; }"));
    lblConsulta->hide();
    auto *l = new QVBoxLayout(this);
    l->addWidget(lblConsulta);
    l->addWidget(SSTab);
    new CtrlTabTrocaAba(this, SSTab);
    cmdHistorico = Botao("cmdHistorico", QStringLiteral("&Histórico..."), this);
    cmdHistorico->setToolTip(QStringLiteral("Histórico da declaração (Ctrl+H)"));
    // Out of the Tab chain of the fields: Alt+H, Ctrl+H or the mouse.
    cmdHistorico->setFocusPolicy(Qt::NoFocus);
    SSTab->setCornerWidget(cmdHistorico, Qt::TopRightCorner);
    connect(cmdHistorico, &QPushButton::clicked, this, [this] {
        // Over the main window: this one may be closed meanwhile (left alone
        // too long) and must not take the open dialog with it.
        shell::ExecutaProtegido(
            usuario_, [&] { MostraHistorico(programa_.banco, numero(), usuario_, window()); });
    });
    auto *ctrlH = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_H), this);
    ctrlH->setContext(Qt::WidgetWithChildrenShortcut);
    connect(ctrlH, &QShortcut::activated, cmdHistorico, &QPushButton::click);
    setProperty("contextoAjuda", ContextosAbas[0]);
    connect(SSTab, &QTabWidget::currentChanged, this,
            [this](int nova) { shell::ExecutaProtegido(usuario_, [&] { trocaAba(nova); }); });
    dbgModelos = modelos_.grade;
    dbgComponentesNacionais = nacionais_.grade;
    dbgComponentesImportados = importados_.grade;
    cmdIncluirModelo = modelos_.incluir;
    cmdAlterarModelo = modelos_.alterar;
    cmdExcluirModelo = modelos_.excluir;
    cmdLocalizarModelo = modelos_.localizar;
    cmdIncluirNacional = nacionais_.incluir;
    cmdAlterarNacional = nacionais_.alterar;
    cmdExcluirNacional = nacionais_.excluir;
    cmdLocalizarNacional = nacionais_.localizar;
    cmdVisualizarNacional = nacionais_.visualizar;
    cmdIncluirImportado = importados_.incluir;
    cmdAlterarImportado = importados_.alterar;
    cmdExcluirImportado = importados_.excluir;
    cmdLocalizarImportado = importados_.localizar;
    cmdVisualizarImportado = importados_.visualizar;
    criaAtalhos();
    ligaCampos();
}

QWidget *frmCentral::criaAbaGeral() {
    auto *aba = new QWidget;
    auto *g = new QGridLayout;
    auto campo = [&](const char *nome) {
        return CriaCampo(QString::fromLatin1(Formulario), QString::fromLatin1(nome), usuario_, aba);
    };
    mskCNPJ = campo("mskCNPJ");
    mskCPF = campo("mskCPF");
    txtPPB = campo("txtPPB");
    txtDenProduto = campo("txtDenProduto");
    mskNCM = campo("mskNCM");
    txtUnidade = campo("txtUnidade");
    mskPesoBruto = campo("mskPesoBruto");
    mskSalarios = campo("mskSalarios");
    mskEncargos = campo("mskEncargos");
    mskVlmAnterior = campo("mskVlmAnterior");
    mskNrProcesso = campo("mskNrProcesso");
    for (CampoMascarado *c : {mskPesoBruto, mskSalarios, mskEncargos})
        c->setAlignment(Qt::AlignRight);
    mskVlmAnterior->defineConferenciaPropria([](const QString &valor) {
        std::optional<std::pair<QString, base::Icone>> falha;
        if (const auto aviso = entry::ConfereVlmAnterior(valor))
            falha = std::pair{aviso->texto, aviso->icone};
        return falha;
    });

    lblDescricaoNCM = Rotulo("lblDescricaoNCM", QString(), aba);
    lblDescricaoUnidade = Rotulo("lblDescricaoUnidade", QString(), aba);
    for (QLabel *d : {lblDescricaoNCM, lblDescricaoUnidade}) {
        d->setFrameShape(QFrame::StyledPanel);
        d->setMinimumWidth(260);
    }
    CmdNcm = BotaoAssistente("CmdNcm", QStringLiteral("Consulta e Seleção de NCMs"), aba);
    Command1 = BotaoAssistente("Command1",
                               QStringLiteral("Consulta e Seleção de Unidades de Medida"), aba);
    LigaF4(mskNCM, CmdNcm);
    LigaF4(txtUnidade, Command1);

    int linha = 0;
    auto linhaCampo = [&](const QString &texto, QWidget *w, int largura = 1) {
        auto *r = Rotulo("", texto, aba);
        r->setBuddy(w);
        g->addWidget(r, linha, 0, Qt::AlignRight);
        g->addWidget(w, linha, 1, 1, largura);
        return linha++;
    };
    linhaCampo(QStringLiteral("CNPJ Estabelecimento :"), mskCNPJ);
    linhaCampo(QStringLiteral("CPF Representante Legal:"), mskCPF);
    linhaCampo(QStringLiteral("Proc. Produtivo Básico  :"), txtPPB, 3);
    linhaCampo(QStringLiteral("Denominação :"), txtDenProduto, 3);
    int l = linhaCampo(QStringLiteral("Código NCM :"), mskNCM);
    g->addWidget(CmdNcm, l, 2);
    g->addWidget(lblDescricaoNCM, l, 3);
    l = linhaCampo(QStringLiteral("Unidade :"), txtUnidade);
    g->addWidget(Command1, l, 2);
    g->addWidget(lblDescricaoUnidade, l, 3);
    linhaCampo(QStringLiteral("Peso Bruto ( Kg ) :"), mskPesoBruto);
    g->setColumnStretch(3, 1);

    // Labour costs and the coefficient, side by side.
    auto *fraCustos = new QGroupBox(QStringLiteral("Custos com mão-de-obra ( US$ )"), aba);
    fraCustos->setObjectName(QStringLiteral("fraCustos"));
    auto *gc = new QGridLayout(fraCustos);
    lblSalarios = Rotulo("lblSalarios", QStringLiteral("Salários e Ordenados :"), fraCustos);
    lblEncargos =
        Rotulo("lblEncargos", QStringLiteral("Encargos Sociais e Trabalhistas :"), fraCustos);
    lblSalarios->setBuddy(mskSalarios);
    lblEncargos->setBuddy(mskEncargos);
    gc->addWidget(lblSalarios, 0, 0, Qt::AlignRight);
    gc->addWidget(mskSalarios, 0, 1);
    gc->addWidget(lblEncargos, 1, 0, Qt::AlignRight);
    gc->addWidget(mskEncargos, 1, 1);

    auto *fraCoeficiente = new QGroupBox(QStringLiteral("Tipo Coeficiente Redução"), aba);
    fraCoeficiente->setObjectName(QStringLiteral("fraCoeficiente"));
    optFixo = opcao("optFixo", QStringLiteral("&Fixo"), fraCoeficiente);
    optVariavel = opcao("optVariavel", QStringLiteral("Variáv&el"), fraCoeficiente);
    auto *hc = new QHBoxLayout(fraCoeficiente);
    hc->addWidget(Rotulo("lblCoeficiente", QStringLiteral("Coeficiente de Redução : "), aba));
    hc->addWidget(ParDeOpcoes(optFixo, optVariavel, fraCoeficiente), 1);

    // Statement kind: rectifying or replacing, never both.
    auto moldura = [&](const char *nome, QLabel *&rot, const QString &texto, QRadioButton *&sim,
                       const char *nomeSim, QRadioButton *&nao, const char *nomeNao) {
        auto *f = new QGroupBox(aba);
        f->setObjectName(QString::fromLatin1(nome));
        rot = Rotulo("", texto, f);
        sim = opcao(nomeSim, QStringLiteral("Sim"), f);
        nao = opcao(nomeNao, QStringLiteral("Não"), f);
        auto *h = new QHBoxLayout(f);
        h->addWidget(rot);
        h->addWidget(ParDeOpcoes(sim, nao, f), 1);
        return f;
    };
    fraRetificador =
        moldura("fraRetificador", lblRetificador, QStringLiteral("Retificador :"),
                optRetificadorSim, "optRetificadorSim", optRetificadorNao, "optRetificadorNao");
    lblRetificador->setObjectName(QStringLiteral("lblRetificador"));
    fraSubstitutivo =
        moldura("fraSubstitutivo", lblSubstitutivo, QStringLiteral("Substitutivo :"),
                optSubstitutivoSim, "optSubstitutivoSim", optSubstitutivoNao, "optSubstitutivoNao");
    lblSubstitutivo->setObjectName(QStringLiteral("lblSubstitutivo"));
    auto *gk = new QGridLayout;
    gk->addWidget(fraRetificador, 0, 0);
    gk->addWidget(fraSubstitutivo, 0, 1);
    lblVlmAnterior = Rotulo("lblVlmAnterior", QStringLiteral("VLM-E Anterior :"), aba);
    lblNrProcesso = Rotulo("lblNrProcesso", QStringLiteral(" Processo :"), aba);
    lblVlmAnterior->setBuddy(mskVlmAnterior);
    lblNrProcesso->setBuddy(mskNrProcesso);
    auto *hk = new QHBoxLayout;
    hk->addWidget(lblVlmAnterior);
    hk->addWidget(mskVlmAnterior);
    hk->addSpacing(16);
    hk->addWidget(lblNrProcesso);
    hk->addWidget(mskNrProcesso);
    hk->addStretch();
    gk->addLayout(hk, 1, 0, 1, 2);
    gk->setRowStretch(2, 1);

    // The coefficient comes before the costs it enables, on screen and by Tab.
    auto *meio = new QGridLayout;
    meio->addWidget(fraCoeficiente, 0, 0);
    meio->addWidget(fraCustos, 1, 0);
    meio->addLayout(gk, 0, 1, 2, 1);

    auto *fraModelos = new QGroupBox(QStringLiteral("Modelos, Tipos e Referências"), aba);
    fraModelos->setObjectName(QStringLiteral("fraModelos"));
    auto *v = new QVBoxLayout(aba);
    v->addLayout(g);
    v->addLayout(meio);
    v->addWidget(fraModelos, 1);
    auto *lm = new QVBoxLayout(fraModelos);
    auto *listaModelos = criaAbaLista(modelos_, {}, "Modelo");
    lm->setContentsMargins(0, 0, 0, 0);
    lm->addWidget(listaModelos);

    // Wide enough for the whole mask, whatever the font.
    for (CampoMascarado *c : {mskCNPJ, mskCPF, mskNCM, txtUnidade, mskPesoBruto, mskSalarios,
                              mskEncargos, mskVlmAnterior, mskNrProcesso}) {
        const int caracteres = std::max(c->mascara().size(), qsizetype(12)) + 3;
        c->setMinimumWidth(c->fontMetrics().horizontalAdvance(QString(caracteres, u'0')));
    }
    QWidget *ordem[] = {mskCNPJ,
                        mskCPF,
                        txtPPB,
                        txtDenProduto,
                        mskNCM,
                        txtUnidade,
                        mskPesoBruto,
                        optFixo,
                        optVariavel,
                        mskSalarios,
                        mskEncargos,
                        optRetificadorSim,
                        optRetificadorNao,
                        optSubstitutivoSim,
                        optSubstitutivoNao,
                        mskVlmAnterior,
                        mskNrProcesso,
                        modelos_.grade,
                        modelos_.incluir,
                        modelos_.alterar,
                        modelos_.excluir,
                        modelos_.localizar};
    for (std::size_t i = 1; i < std::size(ordem); ++i)
        QWidget::setTabOrder(ordem[i - 1], ordem[i]);
    return aba;
}

QWidget *frmCentral::criaAbaLista(Lista &lista, const QString &moldura, const char *sufixo) {
    auto *aba = new QWidget;
    const QString s = QString::fromLatin1(sufixo);
    lista.modelo = new ModeloLista(lista.tipo, this);
    lista.grade = new QTableView(aba);
    lista.grade->setObjectName(lista.tipo == entry::Lista::Modelos ? "dbgModelos"
                               : lista.tipo == entry::Lista::Nacionais
                                   ? "dbgComponentesNacionais"
                                   : "dbgComponentesImportados");
    lista.grade->setModel(lista.modelo);
    lista.grade->setSelectionBehavior(QAbstractItemView::SelectRows);
    lista.grade->setSelectionMode(QAbstractItemView::SingleSelection);
    lista.grade->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lista.grade->setTabKeyNavigation(false);
    lista.grade->verticalHeader()->hide();
    lista.grade->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    lista.grade->horizontalHeader()->setStretchLastSection(false);
    lista.grade->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 1; c < lista.modelo->columnCount(); ++c)
        lista.grade->setColumnWidth(c, 150);
    lista.incluir =
        Botao(qPrintable(QStringLiteral("cmdIncluir") + s), QStringLiteral("Incluir"), aba);
    lista.alterar =
        Botao(qPrintable(QStringLiteral("cmdAlterar") + s), QStringLiteral("Alterar"), aba);
    lista.excluir =
        Botao(qPrintable(QStringLiteral("cmdExcluir") + s), QStringLiteral("Excluir"), aba);
    lista.localizar =
        Botao(qPrintable(QStringLiteral("cmdLocalizar") + s), QStringLiteral("Localizar"), aba);
    lista.visualizar = lista.tipo == entry::Lista::Modelos
                           ? nullptr
                           : Botao(qPrintable(QStringLiteral("cmdVisualizar") + s),
                                   QStringLiteral("Visualizar"), aba);
    for (QPushButton *b : {lista.incluir, lista.alterar, lista.excluir})
        DefineTag(b, QStringLiteral("T"));
    lista.incluir->setToolTip(QStringLiteral("Ctrl+I"));
    lista.alterar->setToolTip(QStringLiteral("Ctrl+A"));
    lista.excluir->setToolTip(QStringLiteral("Ctrl+X"));
    lista.localizar->setToolTip(QStringLiteral("Ctrl+L"));

    auto *botoes = new QVBoxLayout;
    for (QPushButton *b :
         {lista.incluir, lista.alterar, lista.excluir, lista.visualizar, lista.localizar})
        if (b)
            botoes->addWidget(b);
    botoes->addStretch();
    auto *h = new QHBoxLayout;
    h->addWidget(lista.grade, 1);
    h->addLayout(botoes);
    auto *v = new QVBoxLayout(aba);
    if (moldura.isEmpty()) {
        v->addLayout(h);
    } else {
        auto *f = new QGroupBox(moldura, aba);
        f->setLayout(h);
        v->addWidget(f);
    }

    Lista *p = &lista;
    auto protege = [this](auto acao) {
        return [this, acao] { shell::ExecutaProtegido(usuario_, acao); };
    };
    connect(lista.incluir, &QPushButton::clicked, this,
            protege([this, p] { abreItem(*p, Op::Incluir); }));
    connect(lista.alterar, &QPushButton::clicked, this,
            protege([this, p] { abreItem(*p, Op::Alterar); }));
    connect(lista.excluir, &QPushButton::clicked, this, protege([this, p] {
                if (p->tipo == entry::Lista::Modelos)
                    excluiModelo();
                else
                    abreItem(*p, Op::Excluir);
            }));
    if (lista.visualizar)
        connect(lista.visualizar, &QPushButton::clicked, this,
                protege([this, p] { abreItem(*p, Op::Visualizar); }));
    connect(lista.localizar, &QPushButton::clicked, this, protege([this, p] { localiza(*p); }));
    connect(lista.grade, &QTableView::doubleClicked, this, [p] {
        QPushButton *b = p->visualizar ? p->visualizar : p->alterar;
        if (b->isEnabled())
            b->click();
    });
    connect(lista.grade->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this, p] { setaBotoes(*p); });
    return aba;
}

QWidget *frmCentral::criaAbaResumo() {
    auto *aba = new QWidget;
    auto *v = new QVBoxLayout(aba);
    QLabel **valores[] = {&lblResumoCnpj,
                          &lblResumoCpf,
                          &lblResumoDescricao,
                          &lblResumoCustoNacionais,
                          &lblResumoCustoImportados,
                          &lblResumoCustoMaoDeObra,
                          &lblResumoCustoTotal,
                          &lblResumoValorII,
                          &lblResumoReducao,
                          &lblResumoValorIIReducao};
    const char *nomes[] = {"lblResumoCnpj",
                           "lblResumoCpf",
                           "lblResumoDescricao",
                           "lblResumoCustoNacionais",
                           "lblResumoCustoImportados",
                           "lblResumoCustoMaoDeObra",
                           "lblResumoCustoTotal",
                           "lblResumoValorII",
                           "lblResumoReducao",
                           "lblResumoValorIIReducao"};
    const QStringList legendas = checking::LegendasResumo();
    const struct {
        const char *titulo;
        int de, ate;
    } molduras[] = {{"Identificação", 0, 3}, {"Custos", 3, 7}, {"Resultados", 7, 10}};
    for (const auto &m : molduras) {
        auto *f = new QGroupBox(QString::fromUtf8(m.titulo), aba);
        auto *g = new QGridLayout(f);
        for (int i = m.de; i < m.ate; ++i) {
            *valores[i] = Rotulo(nomes[i], QString(), f);
            (*valores[i])->setTextInteractionFlags(Qt::TextSelectableByMouse);
            g->addWidget(Rotulo("", legendas[i] + QStringLiteral(" :"), f), i, 0, Qt::AlignRight);
            g->addWidget(*valores[i], i, 1);
        }
        g->setColumnStretch(1, 1);
        v->addWidget(f);
    }
    v->addStretch();
    return aba;
}

void frmCentral::criaAtalhos() {
    auto atalho = [this](const QKeySequence &tecla, auto botaoDe) {
        auto *s = new QShortcut(tecla, this);
        s->setContext(Qt::WidgetWithChildrenShortcut);
        connect(s, &QShortcut::activated, this, [this, botaoDe] {
            Lista *l = listaDaAba();
            QPushButton *b = l ? botaoDe(*l) : nullptr;
            if (b && b->isEnabled())
                b->click();
        });
    };
    atalho(QKeySequence(Qt::CTRL | Qt::Key_I), [](Lista &l) { return l.incluir; });
    atalho(QKeySequence(Qt::CTRL | Qt::Key_A), [](Lista &l) { return l.alterar; });
    atalho(QKeySequence(Qt::CTRL | Qt::Key_X), [](Lista &l) { return l.excluir; });
    atalho(QKeySequence(Qt::CTRL | Qt::Key_L), [](Lista &l) { return l.localizar; });
    atalho(QKeySequence(Qt::CTRL | Qt::Key_V), [](Lista &l) { return l.visualizar; });
    auto *f5 = new QShortcut(QKeySequence(Qt::Key_F5), this);
    f5->setContext(Qt::WidgetWithChildrenShortcut);
    // Read again as stored; held for change, what was typed is saved first
    // (and checked against another program's change).
    connect(f5, &QShortcut::activated, this, [this] {
        if (aoReabrir)
            aoReabrir();
    });
    auto *esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    esc->setContext(Qt::WidgetWithChildrenShortcut);
    connect(esc, &QShortcut::activated, this, [this] {
        // The document window, not just this widget, goes away.
        if (parentWidget())
            parentWidget()->close();
        else
            close();
    });
}

// A field losing the focus while the window is destroyed (deleted without
// being closed first) would run its slots on a half-destroyed window.
frmCentral::~frmCentral() {
    for (QObject *campo : {static_cast<QObject *>(mskNCM), static_cast<QObject *>(txtUnidade)})
        campo->disconnect(this);
}

void frmCentral::ligaCampos() {
    for (CampoMascarado *c :
         {mskCNPJ, mskCPF, txtPPB, txtDenProduto, mskNCM, txtUnidade, mskPesoBruto, mskSalarios,
          mskEncargos, mskVlmAnterior, mskNrProcesso})
        connect(c, &QLineEdit::textEdited, this, [this] { formulario_.marcaAlterada(); });
    connect(mskNCM, &QLineEdit::textChanged, this, [this] {
        shell::ExecutaProtegido(usuario_, [this] {
            lblDescricaoNCM->setText(entry::DescricaoNCM(programa_.banco, mskNCM->valor()));
        });
    });
    connect(txtUnidade, &QLineEdit::editingFinished, this, [this] {
        shell::ExecutaProtegido(usuario_, [this] {
            lblDescricaoUnidade->setText(
                entry::DescricaoUnidade(programa_.banco, txtUnidade->text()));
        });
    });
    connect(optFixo, &QRadioButton::clicked, this, &frmCentral::escolheFixo);
    for (QRadioButton *o : {optVariavel, optRetificadorSim, optRetificadorNao, optSubstitutivoSim,
                            optSubstitutivoNao})
        connect(o, &QRadioButton::clicked, this, &frmCentral::opcaoMarcada);
    connect(CmdNcm, &QPushButton::clicked, this, &frmCentral::consultaNCM);
    connect(Command1, &QPushButton::clicked, this, &frmCentral::consultaUnidade);
}

void frmCentral::carrega() {
    formulario_.carrega();
    mostraCampos();
    for (Lista *l : {&modelos_, &nacionais_, &importados_})
        recarrega(*l, 0);
    aplicaRegras();
    const shell::DeclaracaoAberta &aberta = programa_.declaracao;
    if (aberta.consulta) {
        const QString quem = aberta.titular ? aberta.titular->usuario + QStringLiteral(" em ") +
                                                  aberta.titular->maquina
                                            : QStringLiteral("outro programa");
        setWindowTitle(base::Mensagem("TITULO_CONSULTA", numero(), quem));
        lblConsulta->setText(
            base::Mensagem("TEXTO_CONSULTA", numero(), store::TextoTitular(aberta.titular)));
    } else {
        setWindowTitle(QStringLiteral("VLM-E %1").arg(numero()));
    }
    lblConsulta->setVisible(aberta.consulta);
    // A delivered statement has its fields locked: the keyboard goes to the list.
    FocoInicial(this, {mskCNPJ, dbgModelos});
}

void frmCentral::mostraCampos() {
    const entry::CamposDadosGerais &c = formulario_.campos();
    mskCNPJ->setText(c.cnpj);
    mskCPF->setText(c.cpf);
    txtPPB->setText(c.ppb);
    txtDenProduto->setText(c.denProduto);
    mskNCM->setText(c.ncm);
    txtUnidade->setText(c.unidade);
    lblDescricaoUnidade->setText(entry::DescricaoUnidade(programa_.banco, c.unidade));
    mskPesoBruto->setText(c.pesoBruto);
    mskSalarios->setText(c.salarios);
    mskEncargos->setText(c.encargos);
    optFixo->setChecked(c.fixo);
    optVariavel->setChecked(c.variavel);
    optRetificadorSim->setChecked(c.retificadorSim);
    optRetificadorNao->setChecked(c.retificadorNao);
    optSubstitutivoSim->setChecked(c.substitutivoSim);
    optSubstitutivoNao->setChecked(c.substitutivoNao);
    mskVlmAnterior->setText(c.vlmAnterior);
    mskNrProcesso->setText(c.nrProcesso);
}

void frmCentral::leCampos() {
    entry::CamposDadosGerais &c = formulario_.campos();
    c.cnpj = mskCNPJ->valor();
    c.cpf = mskCPF->valor();
    c.ppb = txtPPB->text();
    c.denProduto = txtDenProduto->text();
    c.ncm = mskNCM->valor();
    c.unidade = txtUnidade->text();
    c.pesoBruto = mskPesoBruto->text();
    c.salarios = mskSalarios->text();
    c.encargos = mskEncargos->text();
    c.fixo = optFixo->isChecked();
    c.variavel = optVariavel->isChecked();
    c.retificadorSim = optRetificadorSim->isChecked();
    c.retificadorNao = optRetificadorNao->isChecked();
    c.substitutivoSim = optSubstitutivoSim->isChecked();
    c.substitutivoNao = optSubstitutivoNao->isChecked();
    c.vlmAnterior = mskVlmAnterior->valor();
    c.nrProcesso = mskNrProcesso->valor();
}

// Everything whose enabling follows from the data: statement kind, labour
// fields under the fixed coefficient, list buttons, then the delivered lock.
void frmCentral::aplicaRegras() {
    leCampos();
    const entry::EstadoTipoDeclaracao e = entry::SetaRetificador(formulario_.campos());
    for (QWidget *w :
         {static_cast<QWidget *>(fraRetificador), static_cast<QWidget *>(lblRetificador),
          static_cast<QWidget *>(optRetificadorSim), static_cast<QWidget *>(optRetificadorNao)})
        w->setEnabled(e.retificador);
    for (QWidget *w :
         {static_cast<QWidget *>(fraSubstitutivo), static_cast<QWidget *>(lblSubstitutivo),
          static_cast<QWidget *>(optSubstitutivoSim), static_cast<QWidget *>(optSubstitutivoNao)})
        w->setEnabled(e.substitutivo);
    mskVlmAnterior->setEnabled(e.vlmAnterior);
    lblVlmAnterior->setEnabled(e.vlmAnterior);
    mskNrProcesso->setEnabled(e.nrProcesso);
    lblNrProcesso->setEnabled(e.nrProcesso);
    mskVlmAnterior->setText(formulario_.campos().vlmAnterior);
    mskNrProcesso->setText(formulario_.campos().nrProcesso);
    const bool variavel = optVariavel->isChecked();
    for (QWidget *w : {static_cast<QWidget *>(mskSalarios), static_cast<QWidget *>(lblSalarios),
                       static_cast<QWidget *>(mskEncargos), static_cast<QWidget *>(lblEncargos)})
        w->setEnabled(variavel);
    if (formulario_.travada())
        BloqueiaEntregue(this, true);
    ConsultaNosTravados(this);
    for (Lista *l : {&modelos_, &nacionais_, &importados_})
        setaBotoes(*l);
}

void frmCentral::escolheFixo() {
    leCampos();
    formulario_.marcaAlterada();
    if (formulario_.fixoPedeConfirmacao() &&
        usuario_.mensagem(QStringLiteral("ATENÇÃO"), entry::PerguntaCoeficienteFixo,
                          base::Icone::Pergunta, base::Botoes::SimNao) != base::Resposta::Sim) {
        optVariavel->setChecked(true);
        return;
    }
    formulario_.escolheFixo();
    mskSalarios->setText(formulario_.campos().salarios);
    mskEncargos->setText(formulario_.campos().encargos);
    aplicaRegras();
}

void frmCentral::opcaoMarcada() {
    formulario_.marcaAlterada();
    aplicaRegras();
}

void frmCentral::consultaNCM() {
    shell::ExecutaProtegido(usuario_, [this] {
        // A locked statement is only consulted: its fields keep what they hold.
        if (const auto e = EscolheNCM(programa_.banco, usuario_, this);
            e && !formulario_.travada()) {
            mskNCM->setText(e->codigo);
            lblDescricaoNCM->setText(e->descricao.trimmed());
            formulario_.marcaAlterada();
        }
        mskNCM->setFocus();
    });
}

void frmCentral::consultaUnidade() {
    shell::ExecutaProtegido(usuario_, [this] {
        if (const auto e = EscolheUnidade(programa_.banco, usuario_, this);
            e && !formulario_.travada()) {
            txtUnidade->setText(e->codigo);
            lblDescricaoUnidade->setText(e->descricao);
            formulario_.marcaAlterada();
        }
        txtUnidade->setFocus();
    });
}

void frmCentral::trocaAba(int nova) {
    const int anterior = abaAtual_;
    abaAtual_ = nova;
    setProperty("contextoAjuda", ContextosAbas[nova]);
    if (anterior == 0) {
        leCampos();
        gravaDadosGerais([this] { formulario_.saiDaPrimeiraAba(); });
    }
    if (nova == 3)
        processaResumo();
}

void frmCentral::processaResumo() {
    const auto linhas = checking::LinhasResumo(programa_.banco, numero());
    QLabel *valores[] = {lblResumoCnpj,
                         lblResumoCpf,
                         lblResumoDescricao,
                         lblResumoCustoNacionais,
                         lblResumoCustoImportados,
                         lblResumoCustoMaoDeObra,
                         lblResumoCustoTotal,
                         lblResumoValorII,
                         lblResumoReducao,
                         lblResumoValorIIReducao};
    for (std::size_t i = 0; i < std::size(valores); ++i)
        valores[i]->setText(linhas[i].second);
}

void frmCentral::grava() {
    leCampos();
    gravaDadosGerais([this] { formulario_.grava(); });
}

void frmCentral::gravaDadosGerais(const std::function<void()> &grava) {
    const int origem = numero();
    const std::optional<int> destino = GravaOuGuardaComoNova(
        programa_.banco, usuario_, origem, formulario_.campos().paraGravacao(), [&](int numero) {
            // A copy already holds the typed general data.
            if (numero == origem)
                grava();
        });
    if (!destino)
        throw base::ErroJaInformado();
    if (*destino != origem) {
        trocaPor(*destino == 0 ? origem : *destino);
        throw base::ErroJaInformado();
    }
}

void frmCentral::trocaPor(int numero) {
    if (aoTrocar)
        aoTrocar(numero);
}

checking::DadosGeraisVerificacao frmCentral::dadosVerificacao() {
    leCampos();
    return checking::DadosDoFormulario(formulario_.campos());
}

frmCentral::Lista &frmCentral::lista(entry::Lista tipo) {
    switch (tipo) {
    case entry::Lista::Modelos:
        return modelos_;
    case entry::Lista::Nacionais:
        return nacionais_;
    case entry::Lista::Importados:
        break;
    }
    return importados_;
}

frmCentral::Lista *frmCentral::listaDaAba() {
    switch (SSTab->currentIndex()) {
    case 0:
        return &modelos_;
    case 1:
        return &nacionais_;
    case 2:
        return &importados_;
    }
    return nullptr;
}

void frmCentral::setaBotoes(Lista &l) {
    const entry::BotoesLista b = formulario_.botoes(l.modelo->rowCount() > 0);
    l.incluir->setEnabled(b.incluir);
    l.alterar->setEnabled(b.alterar);
    l.excluir->setEnabled(b.excluir);
    l.localizar->setEnabled(b.localizar);
    if (l.visualizar)
        l.visualizar->setEnabled(b.visualizar);
}

int frmCentral::atual(const Lista &l) const {
    return l.modelo->nrSq(l.grade->currentIndex().row());
}

void frmCentral::recarrega(Lista &l, int nrSq) {
    const int linhaAntes = l.grade->currentIndex().row();
    l.modelo->carrega(programa_.banco, numero());
    int linha = nrSq > 0 ? l.modelo->linhaDe(nrSq) : -1;
    if (linha < 0)
        linha = std::min(std::max(linhaAntes, 0), l.modelo->rowCount() - 1);
    if (linha >= 0) {
        l.grade->setCurrentIndex(l.modelo->index(linha, 0));
        l.grade->scrollTo(l.modelo->index(linha, 0));
    }
    setaBotoes(l);
}

void frmCentral::abreItem(Lista &l, int operacao, const QString &campo) {
    const int nrSq = operacao == Op::Incluir ? 0 : atual(l);
    if (operacao != Op::Incluir && nrSq == 0)
        return;
    // A connection lost, or a statement not held again yet, refuses here,
    // once, rather than in every field of a form opened for nothing.
    programa_.banco.retoma();
    // Accepted: a row saved (whose number the list goes to) or deleted.
    auto executa = [&](auto &janela, auto numeroGravado) {
        const bool aceita = janela.exec() == QDialog::Accepted;
        const int destino = janela.declaracaoDestino();
        if (destino >= 0 && destino != numero()) {
            // Another program had changed the statement: this window gives
            // way to the statement the work went to, or to the changed one.
            trocaPor(destino == 0 ? numero() : destino);
            return;
        }
        if (!aceita)
            return;
        // A row added or changed is a statement in use, never discarded.
        formulario_.marcaAlterada();
        recarrega(l, operacao == Op::Excluir ? 0 : (janela.*numeroGravado)());
    };
    if (l.tipo == entry::Lista::Modelos) {
        frmModelos janela(programa_.banco, usuario_, numero(), operacao, nrSq, this);
        executa(janela, &frmModelos::nrSqModelo);
    } else if (l.tipo == entry::Lista::Nacionais) {
        frmNacionais janela(programa_.banco, usuario_, numero(), operacao, nrSq, this);
        janela.defineCampoInicial(campo);
        executa(janela, &frmNacionais::nrSqNacional);
    } else {
        frmImportados janela(programa_.banco, usuario_, numero(), 0, operacao, nrSq, this);
        janela.defineCampoInicial(campo);
        executa(janela, &frmImportados::nrSqImportado);
    }
    // The keyboard comes back here, whatever the window manager did.
    if (!QApplication::activeWindow())
        window()->activateWindow();
    l.grade->setFocus();
}

void frmCentral::excluiModelo() {
    const int nrSq = atual(modelos_);
    if (SSTab->currentIndex() != 0 || nrSq == 0)
        return;
    if (!usuario_.confirmaDestruicao(QStringLiteral("Excluir"),
                                     QStringLiteral("Deseja realmente excluir o modelo "
                                                    "selecionado ?")))
        return;
    store::Alteracao alteracao(programa_.banco, numero(),
                               entry::ParteGravada("Modelos", entry::OperacaoFormulario::Excluir));
    store::ExcluiModelo(programa_.banco, numero(), nrSq);
    alteracao.confirma();
    formulario_.marcaAlterada();
    recarrega(modelos_, 0);
}

void frmCentral::localiza(Lista &l) {
    const QString texto =
        usuario_.pedeTexto(QStringLiteral("Localizar"), entry::PerguntaLocalizar(l.tipo));
    if (texto.isEmpty())
        return;
    const auto nrSq = entry::Localiza(programa_.banco, numero(), l.tipo, texto);
    if (!nrSq) {
        usuario_.avisa(QStringLiteral("Localizar"), entry::TextoNaoEncontrado(l.tipo));
        return;
    }
    const int linha = l.modelo->linhaDe(*nrSq);
    if (linha >= 0) {
        l.grade->setCurrentIndex(l.modelo->index(linha, 0));
        l.grade->scrollTo(l.modelo->index(linha, 0));
        l.grade->setFocus();
    }
}

void frmCentral::vaiPara(const QString &chave) {
    const auto destino = entry::DestinoDaPendencia(programa_.banco, numero(), chave);
    if (!destino)
        return;
    SSTab->setCurrentIndex(destino->aba);
    Lista &l = lista(destino->lista);
    if (destino->nrSq > 0) {
        const int linha = l.modelo->linhaDe(destino->nrSq);
        if (linha >= 0) {
            l.grade->setCurrentIndex(l.modelo->index(linha, 0));
            l.grade->scrollTo(l.modelo->index(linha, 0));
        }
    }
    if (destino->campo.isEmpty()) {
        l.grade->setFocus();
        return;
    }
    if (destino->noItem) {
        const bool podeAlterar = l.alterar->isEnabled();
        abreItem(l, podeAlterar ? Op::Alterar : Op::Visualizar, destino->campo);
        return;
    }
    // Once the list that was closed has given the focus back.
    if (auto *w = findChild<QWidget *>(destino->campo); w && w->isEnabled())
        QTimer::singleShot(0, w, [w] { w->setFocus(Qt::OtherFocusReason); });
}

void frmCentral::closeEvent(QCloseEvent *evento) {
    leCampos();
    // A save that fails keeps the window, and what was typed, open, unless
    // the user gives it up: a database that stays out of reach must not keep
    // the program from closing. Refused because another program changed the
    // statement, what was typed is kept as a new statement or given up as the
    // user says, and the window closes.
    const int origem = numero();
    const std::optional<int> destino =
        descartada_ ? std::optional<int>(0)
                    : GravaOuGuardaComoNova(programa_.banco, usuario_, origem,
                                            formulario_.campos().paraGravacao(), [&](int numero) {
                                                if (numero == origem)
                                                    formulario_.fecha();
                                            });
    if (destino && *destino != origem)
        programa_.declaracao = {};
    if (!destino) {
        if (usuario_.mensagem(QStringLiteral("Fechar"),
                              base::Mensagem("PERGUNTA_FECHAR_SEM_GRAVAR"), base::Icone::Pergunta,
                              base::Botoes::SimNaoPadraoNao) != base::Resposta::Sim) {
            evento->ignore();
            return;
        }
        programa_.declaracao = {};
    }
    evento->accept();
    if (aoFechar)
        aoFechar();
}

} // namespace vlme::ui
