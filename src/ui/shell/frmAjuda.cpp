#include "ui/shell/frmAjuda.h"

#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QShortcut>
#include <QSplitter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

// Resources of a static library are registered by hand, at global scope.
static void registraPaginasAjuda() {
    Q_INIT_RESOURCE(ajuda);
}

namespace vlme::ui {

namespace {

const QString Pasta = QStringLiteral("qrc:/ajuda/");
constexpr int PapelPagina = Qt::UserRole;

QPointer<frmAjuda> &janelaAtual() {
    static QPointer<frmAjuda> atual;
    return atual;
}

struct ListaAjuda {
    QString inicio;
    QList<TopicoAjuda> topicos;
};

const ListaAjuda &lista() {
    static const ListaAjuda carregada = [] {
        registraPaginasAjuda();
        ListaAjuda l;
        QFile arquivo(QStringLiteral(":/ajuda/conteudo.json"));
        if (!arquivo.open(QIODevice::ReadOnly))
            return l;
        const QJsonObject raiz = QJsonDocument::fromJson(arquivo.readAll()).object();
        l.inicio = raiz.value(QStringLiteral("inicio")).toString();
        for (const QJsonValue &c : raiz.value(QStringLiteral("capitulos")).toArray()) {
            const QJsonObject capitulo = c.toObject();
            const QString nome = capitulo.value(QStringLiteral("titulo")).toString();
            for (const QJsonValue &t : capitulo.value(QStringLiteral("topicos")).toArray()) {
                const QJsonObject o = t.toObject();
                TopicoAjuda topico;
                topico.capitulo = nome;
                topico.titulo = o.value(QStringLiteral("titulo")).toString();
                topico.pagina = o.value(QStringLiteral("pagina")).toString();
                for (const QJsonValue &n : o.value(QStringLiteral("contextos")).toArray())
                    topico.contextos << n.toInt();
                for (const QJsonValue &p : o.value(QStringLiteral("indice")).toArray())
                    topico.indice << p.toString();
                l.topicos << topico;
            }
        }
        return l;
    }();
    return carregada;
}

// Gives each row of the contents the height of its title wrapped to the
// tree's width: the view alone measures rows as one long line.
class DelegadoConteudo : public QStyledItemDelegate {
  public:
    explicit DelegadoConteudo(QTreeWidget *arvore) : QStyledItemDelegate(arvore), arvore_(arvore) {}

    QSize sizeHint(const QStyleOptionViewItem &opcao, const QModelIndex &indice) const override {
        QStyleOptionViewItem o(opcao);
        initStyleOption(&o, indice);
        int nivel = arvore_->rootIsDecorated() ? 1 : 0;
        for (QModelIndex pai = indice.parent(); pai.isValid(); pai = pai.parent())
            ++nivel;
        // The height only has to make the rectangle valid.
        o.rect =
            QRect(0, 0, qMax(40, arvore_->viewport()->width() - nivel * arvore_->indentation()), 1);
        o.features |= QStyleOptionViewItem::WrapText;
        return arvore_->style()->sizeFromContents(QStyle::CT_ItemViewItem, &o, QSize(), arvore_);
    }

  private:
    QTreeWidget *arvore_;
};

// Lower case without accents, so that "pendencia" finds "Pendências".
QString normaliza(const QString &texto) {
    const QString decomposto = texto.normalized(QString::NormalizationForm_D);
    QString simples;
    simples.reserve(decomposto.size());
    for (const QChar c : decomposto)
        if (c.category() != QChar::Mark_NonSpacing)
            simples += c.toLower();
    return simples;
}

} // namespace

const QList<TopicoAjuda> &TopicosAjuda() {
    return lista().topicos;
}

QString PaginaDoContexto(int contexto) {
    for (const TopicoAjuda &t : TopicosAjuda())
        if (t.contextos.contains(contexto))
            return t.pagina;
    return {};
}

QString PaginaInicial() {
    return lista().inicio;
}

frmAjuda::frmAjuda(QWidget *pai) : QDialog(pai) {
    setObjectName(QStringLiteral("frmAjuda"));
    setWindowTitle(QStringLiteral("Ajuda do VLM-E"));
    setModal(false);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setGeometry(256, 256, 512, 512);
    janelaAtual() = this;

    cmdVoltar = new QToolButton(this);
    cmdVoltar->setObjectName(QStringLiteral("cmdVoltar"));
    cmdVoltar->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    cmdVoltar->setToolTip(QStringLiteral("Voltar"));
    cmdVoltar->setEnabled(false);
    cmdAvancar = new QToolButton(this);
    cmdAvancar->setObjectName(QStringLiteral("cmdAvancar"));
    cmdAvancar->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    cmdAvancar->setToolTip(QStringLiteral("Avançar"));
    cmdAvancar->setEnabled(false);
    auto *cmdInicio = new QToolButton(this);
    cmdInicio->setObjectName(QStringLiteral("cmdInicio"));
    cmdInicio->setIcon(style()->standardIcon(QStyle::SP_DirHomeIcon));
    cmdInicio->setToolTip(QStringLiteral("Página inicial"));

    tabAjuda = new QTabWidget(this);
    tabAjuda->setObjectName(QStringLiteral("tabAjuda"));
    trvConteudo = new QTreeWidget;
    trvConteudo->setObjectName(QStringLiteral("trvConteudo"));
    trvConteudo->setHeaderHidden(true);
    // The default window is narrow: long titles wrap instead of being cut.
    trvConteudo->setWordWrap(true);
    trvConteudo->setTextElideMode(Qt::ElideNone);
    trvConteudo->setIndentation(12);
    trvConteudo->setItemDelegate(new DelegadoConteudo(trvConteudo));
    trvConteudo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Row heights follow the width only when laid out again.
    connect(trvConteudo->header(), &QHeaderView::sectionResized, trvConteudo,
            [this] { trvConteudo->doItemsLayout(); });
    tabAjuda->addTab(trvConteudo, QStringLiteral("&Conteúdo"));

    auto *abaIndice = new QWidget;
    txtProcurar = new QLineEdit(abaIndice);
    txtProcurar->setObjectName(QStringLiteral("txtProcurar"));
    txtProcurar->setPlaceholderText(QStringLiteral("Palavra procurada"));
    txtProcurar->setClearButtonEnabled(true);
    lstIndice = new QListWidget(abaIndice);
    lstIndice->setObjectName(QStringLiteral("lstIndice"));
    lstIndice->setWordWrap(true);
    lstIndice->setTextElideMode(Qt::ElideNone);
    lstIndice->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *rotulo = new QLabel(QStringLiteral("&Digite o início da palavra:"), abaIndice);
    rotulo->setBuddy(txtProcurar);
    rotulo->setWordWrap(true);
    auto *layoutIndice = new QVBoxLayout(abaIndice);
    layoutIndice->setContentsMargins(4, 4, 4, 4);
    layoutIndice->addWidget(rotulo);
    layoutIndice->addWidget(txtProcurar);
    layoutIndice->addWidget(lstIndice);
    tabAjuda->addTab(abaIndice, QStringLiteral("Í&ndice"));

    txtPagina = new QTextBrowser(this);
    txtPagina->setObjectName(QStringLiteral("txtPagina"));
    txtPagina->setOpenExternalLinks(true);

    auto *divisor = new QSplitter(Qt::Horizontal, this);
    divisor->addWidget(tabAjuda);
    divisor->addWidget(txtPagina);
    divisor->setStretchFactor(1, 1);
    divisor->setSizes({190, 322});

    auto *barra = new QHBoxLayout;
    barra->addWidget(cmdVoltar);
    barra->addWidget(cmdAvancar);
    barra->addWidget(cmdInicio);
    barra->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(barra);
    layout->addWidget(divisor, 1);

    montaConteudo();
    montaIndice();

    connect(cmdVoltar, &QToolButton::clicked, txtPagina, &QTextBrowser::backward);
    connect(cmdAvancar, &QToolButton::clicked, txtPagina, &QTextBrowser::forward);
    connect(cmdInicio, &QToolButton::clicked, this, [this] { abrePagina(PaginaInicial()); });
    connect(txtPagina, &QTextBrowser::backwardAvailable, cmdVoltar, &QWidget::setEnabled);
    connect(txtPagina, &QTextBrowser::forwardAvailable, cmdAvancar, &QWidget::setEnabled);
    connect(txtPagina, &QTextBrowser::sourceChanged, this, &frmAjuda::sincronizaConteudo);
    connect(trvConteudo, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (item && !item->data(0, PapelPagina).toString().isEmpty())
            abrePagina(item->data(0, PapelPagina).toString());
    });
    // A tab chosen by its key leaves the keyboard on the tab bar, where typing
    // a word finds nothing.
    connect(tabAjuda, &QTabWidget::currentChanged, this, [this](int aba) {
        if (isActiveWindow())
            (aba == 1 ? static_cast<QWidget *>(txtProcurar) : trvConteudo)->setFocus();
    });
    connect(txtProcurar, &QLineEdit::textChanged, this, &frmAjuda::filtraIndice);
    connect(txtProcurar, &QLineEdit::returnPressed, this, &frmAjuda::abreItemIndice);
    connect(lstIndice, &QListWidget::itemActivated, this, &frmAjuda::abreItemIndice);
    connect(lstIndice, &QListWidget::itemClicked, this, &frmAjuda::abreItemIndice);
}

frmAjuda::~frmAjuda() = default;

void frmAjuda::montaConteudo() {
    QTreeWidgetItem *capitulo = nullptr;
    for (const TopicoAjuda &t : TopicosAjuda()) {
        if (!capitulo || capitulo->text(0) != t.capitulo) {
            capitulo = new QTreeWidgetItem(trvConteudo, {t.capitulo});
            capitulo->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
            capitulo->setFlags(Qt::ItemIsEnabled);
        }
        auto *item = new QTreeWidgetItem(capitulo, {t.titulo});
        item->setData(0, PapelPagina, t.pagina);
        item->setToolTip(0, t.titulo);
        item->setIcon(0, style()->standardIcon(QStyle::SP_FileIcon));
    }
    trvConteudo->expandAll();
}

void frmAjuda::montaIndice() {
    struct Entrada {
        QString texto, pagina, titulo;
    };
    QList<Entrada> entradas;
    for (const TopicoAjuda &t : TopicosAjuda()) {
        entradas.append({t.titulo, t.pagina, t.titulo});
        for (const QString &p : t.indice)
            entradas.append({p, t.pagina, t.titulo});
    }
    std::stable_sort(entradas.begin(), entradas.end(), [](const Entrada &a, const Entrada &b) {
        return normaliza(a.texto) < normaliza(b.texto);
    });
    for (qsizetype i = 0; i < entradas.size(); ++i) {
        const Entrada &e = entradas[i];
        const auto repetida = [&](qsizetype j) {
            return j >= 0 && j < entradas.size() &&
                   normaliza(entradas[j].texto) == normaliza(e.texto);
        };
        // An entry found on more than one page says which page it leads to.
        const QString texto = (repetida(i - 1) || repetida(i + 1))
                                  ? e.texto + QStringLiteral(" (") + e.titulo + QLatin1Char(')')
                                  : e.texto;
        auto *item = new QListWidgetItem(texto, lstIndice);
        item->setData(PapelPagina, e.pagina);
        item->setToolTip(e.titulo);
    }
}

void frmAjuda::filtraIndice(const QString &texto) {
    const QString procurado = normaliza(texto.trimmed());
    QListWidgetItem *primeiro = nullptr;
    QListWidgetItem *comeca = nullptr;
    for (int i = 0; i < lstIndice->count(); ++i) {
        QListWidgetItem *item = lstIndice->item(i);
        const QString nome = normaliza(item->text());
        const bool mostra = procurado.isEmpty() || nome.contains(procurado);
        item->setHidden(!mostra);
        if (mostra && !primeiro)
            primeiro = item;
        if (mostra && !comeca && !procurado.isEmpty() && nome.startsWith(procurado))
            comeca = item;
    }
    QListWidgetItem *escolhido = comeca ? comeca : primeiro;
    lstIndice->setCurrentItem(escolhido);
    if (escolhido)
        lstIndice->scrollToItem(escolhido);
}

void frmAjuda::abreItemIndice() {
    QListWidgetItem *item = lstIndice->currentItem();
    if (item && !item->isHidden())
        abrePagina(item->data(PapelPagina).toString());
}

void frmAjuda::abrePagina(const QString &pagina) {
    if (pagina.isEmpty())
        return;
    const QUrl url(Pasta + pagina);
    if (txtPagina->source() != url)
        txtPagina->setSource(url);
}

QString frmAjuda::paginaAtual() const {
    return txtPagina->source().fileName();
}

void frmAjuda::sincronizaConteudo(const QUrl &endereco) {
    // The browser tells the new address before its source() follows it.
    const QString pagina = endereco.fileName();
    for (QTreeWidgetItemIterator it(trvConteudo); *it; ++it) {
        if ((*it)->data(0, PapelPagina).toString() == pagina) {
            if (trvConteudo->currentItem() != *it) {
                const QSignalBlocker bloqueio(trvConteudo);
                trvConteudo->setCurrentItem(*it);
            }
            return;
        }
    }
}

void frmAjuda::apresenta() {
    // Behind a modal window the help would take no clicks: while one is up,
    // the help goes on top of it as modal too, and is an ordinary window again
    // the next time it is shown without one. Modality only changes while hidden.
    QWidget *modal = QApplication::activeModalWidget();
    const Qt::WindowModality modalidade =
        modal && modal != this ? Qt::ApplicationModal : Qt::NonModal;
    if (windowModality() != modalidade) {
        hide();
        setWindowModality(modalidade);
    }
    show();
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void frmAjuda::mostraConteudo() {
    tabAjuda->setCurrentIndex(0);
    abrePagina(PaginaInicial());
    apresenta();
    trvConteudo->setFocus();
}

void frmAjuda::mostraIndice() {
    tabAjuda->setCurrentIndex(1);
    txtProcurar->clear();
    filtraIndice(QString());
    if (txtPagina->source().isEmpty())
        abrePagina(PaginaInicial());
    apresenta();
    txtProcurar->setFocus();
}

bool frmAjuda::mostraTopico(int contexto) {
    const QString pagina = PaginaDoContexto(contexto);
    tabAjuda->setCurrentIndex(0);
    abrePagina(pagina.isEmpty() ? PaginaInicial() : pagina);
    apresenta();
    txtPagina->setFocus(); // F1 opens a page to read: the arrows scroll it
    return !pagina.isEmpty();
}

frmAjuda &JanelaAjuda() {
    if (!janelaAtual()) {
        QWidget *principal = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("mdiPrincipal"))
                principal = w;
        auto *janela = new frmAjuda(principal);
        if (!principal)
            janela->setAttribute(Qt::WA_DeleteOnClose);
    }
    return *janelaAtual();
}

void MostraAjuda(int contexto) {
    JanelaAjuda().mostraTopico(contexto);
}

void AtalhoAjuda(QWidget *janela, int contexto) {
    janela->setProperty("contextoAjuda", contexto);
    auto *f1 = new QShortcut(QKeySequence::HelpContents, janela);
    f1->setContext(Qt::WindowShortcut);
    // Read when pressed: a window may change its topic (the picker's depends
    // on its operation).
    QObject::connect(f1, &QShortcut::activated, janela,
                     [janela] { MostraAjuda(janela->property("contextoAjuda").toInt()); });
}

} // namespace vlme::ui
