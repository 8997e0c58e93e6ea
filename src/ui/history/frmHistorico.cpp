#include "ui/history/frmHistorico.h"

#include "printing/PaginaHistorico.h"
#include "shell/FronteiraComando.h"
#include "store/Banco.h"
#include "ui/history/ModeloHistorico.h"
#include "ui/printing/Impressao.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace vlme::ui {

namespace {

// The hourglass for as long as the rows are read, also when reading fails.
struct Ampulheta {
    Ampulheta() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Ampulheta() { QApplication::restoreOverrideCursor(); }
    Ampulheta(const Ampulheta &) = delete;
    Ampulheta &operator=(const Ampulheta &) = delete;
};

} // namespace

frmHistorico::frmHistorico(store::Banco &banco, base::InterfaceUsuario &usuario, QWidget *pai)
    : QDialog(pai), banco_(banco), usuario_(usuario) {
    setObjectName(QStringLiteral("frmHistorico"));
    setWindowTitle(QStringLiteral("Histórico"));

    lblExcluida = new QLabel(this);
    lblExcluida->setObjectName(QStringLiteral("lblExcluida"));
    lblExcluida->setWordWrap(true);
    lblExcluida->setFrameShape(QFrame::StyledPanel);
    lblExcluida->setStyleSheet(QStringLiteral("QLabel { background: #fff4c2; padding: 4px; }"));
    lblExcluida->hide();

    cboEvento = new QComboBox(this);
    cboEvento->setObjectName(QStringLiteral("cboEvento"));
    cboEvento->addItem(QStringLiteral("Todos os eventos"));
    for (store::Evento e : store::TodosEventos)
        cboEvento->addItem(store::NomeEvento(e), int(e));
    cboEvento->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    lblEvento = new QLabel(QStringLiteral("&Tipo de evento:"), this);
    lblEvento->setObjectName(QStringLiteral("lblEvento"));
    lblEvento->setBuddy(cboEvento);
    lblContagem = new QLabel(this);
    lblContagem->setObjectName(QStringLiteral("lblContagem"));

    modelo_ = new ModeloHistorico(this);
    grdHistorico = new QTableView(this);
    grdHistorico->setObjectName(QStringLiteral("grdHistorico"));
    grdHistorico->setModel(modelo_);
    grdHistorico->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdHistorico->setSelectionMode(QAbstractItemView::SingleSelection);
    grdHistorico->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdHistorico->setAlternatingRowColors(true);
    grdHistorico->setWordWrap(false);
    grdHistorico->setTabKeyNavigation(false);
    // Fixed heights and widths: nothing is measured row by row, so ten
    // thousand rows open at once.
    grdHistorico->verticalHeader()->hide();
    grdHistorico->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdHistorico->verticalHeader()->setDefaultSectionSize(grdHistorico->fontMetrics().height() + 8);
    QHeaderView *cabecalho = grdHistorico->horizontalHeader();
    cabecalho->setHighlightSections(false);
    cabecalho->setSectionResizeMode(QHeaderView::Interactive);
    cabecalho->setSectionResizeMode(printing::HistDetalhe, QHeaderView::Stretch);
    const QFontMetrics medida = grdHistorico->fontMetrics();
    // Each column as wide as its widest likely text, the detail taking the rest.
    QString evento;
    for (store::Evento e : store::TodosEventos)
        if (store::NomeEvento(e).size() > evento.size())
            evento = store::NomeEvento(e);
    const QStringList amostras{QStringLiteral("00/00/0000 00:00:00"),
                               evento,
                               QString(),
                               QStringLiteral("00000"),
                               QStringLiteral("usuario.nome"),
                               QStringLiteral("estacao-0000"),
                               QStringLiteral("vlme-cli 0.0.0"),
                               QStringLiteral("▲ US$ 000.000.000,00"),
                               QStringLiteral("▲ 000,00%")};
    for (int c = 0; c < printing::ColunasHistorico; ++c)
        if (c != printing::HistDetalhe)
            grdHistorico->setColumnWidth(
                c,
                std::max(medida.horizontalAdvance(amostras[c]),
                         medida.horizontalAdvance(
                             modelo_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString())) +
                    24);

    cmdImprimir = new QPushButton(QStringLiteral("&Imprimir"), this);
    cmdImprimir->setObjectName(QStringLiteral("cmdImprimir"));
    cmdImprimir->setAutoDefault(false);
    cmdFechar = new QPushButton(QStringLiteral("&Fechar"), this);
    cmdFechar->setObjectName(QStringLiteral("cmdFechar"));
    cmdFechar->setDefault(true);
    connect(cmdFechar, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdImprimir, &QPushButton::clicked, this, &frmHistorico::imprime);
    connect(cboEvento, &QComboBox::currentIndexChanged, this, &frmHistorico::filtra);

    auto *filtro = new QHBoxLayout;
    filtro->addWidget(lblEvento);
    filtro->addWidget(cboEvento);
    filtro->addStretch();
    filtro->addWidget(lblContagem);
    auto *botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(cmdImprimir);
    botoes->addWidget(cmdFechar);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblExcluida);
    layout->addLayout(filtro);
    layout->addWidget(grdHistorico, 1);
    layout->addLayout(botoes);

    int total = 0;
    for (int c = 0; c < printing::ColunasHistorico; ++c)
        total += c == printing::HistDetalhe
                     ? medida.horizontalAdvance(QString(28, QLatin1Char('x')))
                     : grdHistorico->columnWidth(c);
    resize(std::min(total + 40, 1400), 30 * grdHistorico->verticalHeader()->defaultSectionSize());
    setTabOrder(cboEvento, grdHistorico);
    setTabOrder(grdHistorico, cmdImprimir);
    setTabOrder(cmdImprimir, cmdFechar);
}

void frmHistorico::carrega(int numero) {
    numero_ = numero;
    setWindowTitle(printing::TituloHistorico(numero));
    {
        Ampulheta ampulheta;
        const QString identidade = store::IdentidadeDoNumero(banco_, numero);
        if (identidade.isEmpty())
            throw store::ErroDeclaracaoInexistente(numero);
        modelo_->define(store::LeHistorico(banco_, identidade));
    }
    const auto &linhas = modelo_->linhas();
    const bool excluida = !linhas.empty() && linhas.front().evento == store::Evento::Excluida;
    lblExcluida->setText(
        QStringLiteral("A declaração %1 foi excluída em %2; o histórico dela "
                       "continua guardado.")
            .arg(numero)
            .arg(excluida ? printing::TextoQuando(linhas.front().quando) : QString()));
    lblExcluida->setVisible(excluida);
    filtra();
    // The keyboard starts on the newest row.
    if (modelo_->rowCount() > 0)
        grdHistorico->selectRow(0);
    grdHistorico->setFocus();
}

void frmHistorico::filtra() {
    const QVariant escolhido = cboEvento->currentData();
    modelo_->filtra(escolhido.isValid()
                        ? std::optional<store::Evento>(store::Evento(escolhido.toInt()))
                        : std::nullopt);
    const int mostrados = modelo_->rowCount();
    const int total = int(modelo_->linhas().size());
    const auto eventos = [](int n) {
        return n == 1 ? QStringLiteral("1 evento") : QStringLiteral("%1 eventos").arg(n);
    };
    lblContagem->setText(total == 0 ? QStringLiteral("Nenhum evento registrado.")
                         : mostrados == total
                             ? eventos(total)
                             : QStringLiteral("%1 de %2").arg(eventos(mostrados)).arg(total));
    cmdImprimir->setEnabled(mostrados > 0);
    if (mostrados > 0)
        grdHistorico->selectRow(0);
}

void frmHistorico::imprime() {
    shell::ExecutaProtegido(usuario_, [&] {
        MostraDocumento(printing::ImprimeHistorico(numero_, modelo_->linhas(), modelo_->filtro()),
                        usuario_, this);
    });
}

void MostraHistorico(store::Banco &banco, int numero, base::InterfaceUsuario &usuario,
                     QWidget *pai) {
    frmHistorico janela(banco, usuario, pai);
    janela.carrega(numero);
    janela.exec();
}

} // namespace vlme::ui
