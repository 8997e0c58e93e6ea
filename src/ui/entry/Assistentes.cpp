#include "ui/entry/Assistentes.h"

#include "ui/entry/CampoMascarado.h"
#include "ui/entry/FabricaCampos.h"
#include "ui/entry/frmAssistentes.h"
#include "ui/shell/frmAjuda.h"

#include "base/InterfaceUsuario.h"
#include "shell/ContextosAjuda.h"
#include "shell/FronteiraComando.h"

#include <QAbstractTableModel>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace vlme::ui {

// The rows of one lookup as the grid shows them; the NCM code with its dots.
class ModeloConsulta : public QAbstractTableModel {
  public:
    ModeloConsulta(QList<entry::ColunaGrade> colunas, bool ncm, QObject *pai)
        : QAbstractTableModel(pai), colunas_(std::move(colunas)), ncm_(ncm) {}

    void define(QList<entry::LinhaConsulta> linhas) {
        beginResetModel();
        linhas_ = std::move(linhas);
        endResetModel();
    }
    const entry::LinhaConsulta &linha(int i) const { return linhas_.at(i); }
    const QList<entry::ColunaGrade> &colunas() const { return colunas_; }

    int rowCount(const QModelIndex &pai = {}) const override {
        return pai.isValid() ? 0 : int(linhas_.size());
    }
    int columnCount(const QModelIndex &pai = {}) const override {
        return pai.isValid() ? 0 : int(colunas_.size());
    }
    QVariant data(const QModelIndex &indice, int papel) const override {
        // A description longer than its column shows whole under the mouse.
        if (!indice.isValid() || (papel != Qt::DisplayRole && papel != Qt::ToolTipRole) ||
            (papel == Qt::ToolTipRole && indice.column() != 1))
            return {};
        const entry::LinhaConsulta &l = linhas_.at(indice.row());
        switch (indice.column()) {
        case 0:
            return ncm_ ? entry::MostraNCM(l.codigo) : l.codigo;
        // Fixed-width tables pad these with blanks, which would end in "...".
        case 1:
            return l.descricao.trimmed();
        default:
            return l.unidade.trimmed();
        }
    }
    QVariant headerData(int secao, Qt::Orientation orientacao, int papel) const override {
        if (orientacao == Qt::Horizontal && papel == Qt::DisplayRole && secao < colunas_.size())
            return colunas_.at(secao).titulo;
        return QAbstractTableModel::headerData(secao, orientacao, papel);
    }

  private:
    QList<entry::ColunaGrade> colunas_;
    bool ncm_;
    QList<entry::LinhaConsulta> linhas_;
};

frmAssistente::frmAssistente(store::Banco &banco, base::InterfaceUsuario &usuario, const Tipo &tipo,
                             QWidget *pai)
    : QDialog(pai), banco_(banco), usuario_(usuario), tipo_(tipo) {
    setObjectName(QLatin1String(tipo.nome));
    setWindowTitle(tipo.titulo);
    setModal(true);
    AtalhoAjuda(this, tipo.contextoAjuda);

    auto *rotulo = new QLabel(tipo.rotulo, this);
    txtCodigo = CriaCampo(QLatin1String(tipo.nome), QStringLiteral("txtCodigo"), usuario, this);
    rotulo->setBuddy(txtCodigo);
    txtCodigo->installEventFilter(this);
    cmdFiltro = new QPushButton(QStringLiteral("&Filtrar"), this);
    cmdFiltro->setObjectName(QStringLiteral("cmdFiltro"));

    grdAssistNCM = new QTableView(this);
    grdAssistNCM->setObjectName(QStringLiteral("grdAssistNCM"));
    modelo_ = new ModeloConsulta(entry::ColunasDoCabecalho(tipo.cabecalho), tipo.ncm, this);
    grdAssistNCM->setModel(modelo_);
    grdAssistNCM->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdAssistNCM->setSelectionMode(QAbstractItemView::SingleSelection);
    grdAssistNCM->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdAssistNCM->setTabKeyNavigation(false);
    grdAssistNCM->setWordWrap(false);
    grdAssistNCM->verticalHeader()->hide();
    grdAssistNCM->verticalHeader()->setDefaultSectionSize(grdAssistNCM->fontMetrics().height() + 6);
    grdAssistNCM->horizontalHeader()->setHighlightSections(false);
    grdAssistNCM->horizontalHeader()->setStretchLastSection(true);
    grdAssistNCM->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The blanks in each caption set its width, as the list was drawn; the
    // caption itself always shows whole.
    const QFontMetrics letras = grdAssistNCM->fontMetrics();
    int largura = 0;
    for (int i = 0; i < modelo_->colunas().size(); ++i) {
        const entry::ColunaGrade &c = modelo_->colunas().at(i);
        const int l =
            std::max(c.caracteres * letras.averageCharWidth(), letras.horizontalAdvance(c.titulo)) +
            12;
        grdAssistNCM->setColumnWidth(i, l);
        largura += l;
    }
    grdAssistNCM->setMinimumSize(largura + 24,
                                 grdAssistNCM->verticalHeader()->defaultSectionSize() * 14);
    grdAssistNCM->installEventFilter(this);
    connect(grdAssistNCM, &QTableView::doubleClicked, this,
            [this](const QModelIndex &i) { escolheLinha(i.row()); });

    cmdOk = new QPushButton(QStringLiteral("&OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdCancela = new QPushButton(QStringLiteral("&Cancelar"), this);
    cmdCancela->setObjectName(QStringLiteral("cmdCancela"));
    DispensaConferencia(cmdCancela);
    connect(cmdFiltro, &QPushButton::clicked, this, [this] { cmdFiltro_Click(); });
    connect(cmdOk, &QPushButton::clicked, this, &frmAssistente::cmdOk_Click);
    connect(cmdCancela, &QPushButton::clicked, this, &QDialog::reject);

    auto *filtro = new QHBoxLayout;
    filtro->addWidget(rotulo);
    filtro->addWidget(txtCodigo);
    filtro->addWidget(cmdFiltro);
    filtro->addStretch();
    auto *botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(cmdOk);
    botoes->addWidget(cmdCancela);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filtro);
    layout->addWidget(grdAssistNCM, 1);
    layout->addLayout(botoes);
    txtCodigo->setFixedWidth(txtCodigo->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 14);
    setTabOrder(txtCodigo, cmdFiltro);
    setTabOrder(cmdFiltro, grdAssistNCM);
    setTabOrder(grdAssistNCM, cmdOk);
    setTabOrder(cmdOk, cmdCancela);
}

std::optional<EscolhaAssistente> frmAssistente::escolhe() {
    if (!shell::ExecutaProtegido(usuario_, [this] { preenche({}); }))
        return std::nullopt;
    if (modelo_->rowCount() == 0) {
        usuario_.mensagem({}, tipo_.naoEncontrado, base::Icone::Critico, base::Botoes::Ok);
        return std::nullopt;
    }
    escolha_.reset();
    exec();
    return escolha_;
}

void frmAssistente::preenche(const QString &filtro) {
    modelo_->define(tipo_.ncm ? entry::ConsultaNCM(banco_, filtro)
                              : entry::ConsultaUnidades(banco_, filtro));
    if (modelo_->rowCount() > 0)
        grdAssistNCM->selectRow(0);
}

// A filter that matches nothing is told and the window stays open for
// another try: closing it would throw away the user's whole lookup.
bool frmAssistente::cmdFiltro_Click() {
    // The NCM filter is the digits typed under the mask.
    const QString filtro = txtCodigo->valor().trimmed();
    if (!shell::ExecutaProtegido(usuario_, [&] { preenche(filtro); }))
        return false;
    if (modelo_->rowCount() == 0) {
        usuario_.mensagem({}, tipo_.naoEncontrado, base::Icone::Critico, base::Botoes::Ok);
        txtCodigo->setFocus(Qt::OtherFocusReason);
        txtCodigo->selectAll();
        return false;
    }
    return true;
}

void frmAssistente::cmdOk_Click() {
    const QModelIndex atual = grdAssistNCM->currentIndex();
    if (atual.isValid() && grdAssistNCM->selectionModel()->isRowSelected(atual.row()))
        escolheLinha(atual.row());
}

void frmAssistente::escolheLinha(int linha) {
    if (linha < 0 || linha >= modelo_->rowCount())
        return;
    const entry::LinhaConsulta &l = modelo_->linha(linha);
    escolha_ = tipo_.ncm ? EscolhaAssistente{l.codigo.trimmed(), l.descricao.trimmed()}
                         : EscolhaAssistente{l.codigo, l.descricao};
    accept();
}

bool frmAssistente::eventFilter(QObject *objeto, QEvent *evento) {
    if (evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent *>(evento)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
            // Enter in the filter filters and goes to the list; in the list, chooses.
            if (objeto == txtCodigo) {
                if (cmdFiltro_Click())
                    grdAssistNCM->setFocus(Qt::TabFocusReason);
                return true;
            }
            if (objeto == grdAssistNCM) {
                cmdOk_Click();
                return true;
            }
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

frmAssistNCM::frmAssistNCM(store::Banco &banco, base::InterfaceUsuario &usuario, QWidget *pai)
    : frmAssistente(
          banco, usuario,
          {"frmAssistNCM", QStringLiteral("Consulta e Seleção de NCMs"),
           QStringLiteral("Código de &NCM:"),
           QStringLiteral("    ||<Código de NCM       |Descrição da NCM                        "
                          "                                          |Unidade de Medida  "),
           QStringLiteral("Código de NCM não encontrado!"), shell::ContextoAjuda::AssistenteNCM,
           true},
          pai) {}

FrmAssistUnM::FrmAssistUnM(store::Banco &banco, base::InterfaceUsuario &usuario, QWidget *pai)
    : frmAssistente(banco, usuario,
                    {"FrmAssistUnM", QStringLiteral("Consulta e Seleção de Unidades de Medida"),
                     QStringLiteral("Código da &Unidade:"),
                     QStringLiteral("<CódUnidade|Descrição Da Unidade de Medida                  "
                                    "                               "),
                     QStringLiteral("Código de Unidade de Medida não encontrado!"),
                     shell::ContextoAjuda::AssistenteUnidade, false},
                    pai) {}

std::optional<EscolhaAssistente> EscolheNCM(store::Banco &banco, base::InterfaceUsuario &usuario,
                                            QWidget *pai) {
    frmAssistNCM janela(banco, usuario, pai);
    return janela.escolhe();
}

std::optional<EscolhaAssistente> EscolheUnidade(store::Banco &banco,
                                                base::InterfaceUsuario &usuario, QWidget *pai) {
    FrmAssistUnM janela(banco, usuario, pai);
    return janela.escolhe();
}

} // namespace vlme::ui
