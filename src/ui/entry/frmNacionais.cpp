#include "ui/entry/frmNacionais.h"

#include "ui/entry/Controles.h"
#include "ui/entry/DeclaracaoAlterada.h"

#include "base/InterfaceUsuario.h"
#include "entry/Descricoes.h"
#include "entry/ListasDeclaracao.h"
#include "entry/Numeros.h"
#include "entry/OperacaoFormulario.h"
#include "shell/ContextosAjuda.h"
#include "shell/FronteiraComando.h"
#include "ui/entry/Assistentes.h"
#include "ui/entry/CampoMascarado.h"
#include "ui/entry/FabricaCampos.h"
#include "ui/entry/frmImportados.h"
#include "ui/shell/frmAjuda.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vlme::ui {

namespace Op = entry::OperacaoFormulario;

namespace {

constexpr char Form[] = "frmNacionais";

} // namespace

frmNacionais::frmNacionais(store::Banco &banco, base::InterfaceUsuario &usuario, int nrVlm,
                           int operacao, int nrSqNacional, QWidget *pai)
    : QDialog(pai), banco_(banco), usuario_(usuario), nrVlm_(nrVlm),
      logica_(banco, nrVlm, operacao, nrSqNacional) {
    setObjectName(QLatin1String(Form));
    setWindowTitle(logica_.titulo());
    monta();
    AtalhoAjuda(this, shell::ContextoAjuda::ComponenteNacional);
    shell::ExecutaProtegido(usuario_, [this] {
        logica_.descartaPendentes();
        mostra(logica_.carrega());
    });
}

CampoMascarado *frmNacionais::campo(const char *nome) const {
    return findChild<CampoMascarado *>(QLatin1String(nome));
}

void frmNacionais::monta() {
    const auto cria = [this](const char *nome, QWidget *pai) {
        return CriaCampo(QLatin1String(Form), QLatin1String(nome), usuario_, pai);
    };
    auto *fraDados = new QGroupBox(QStringLiteral("Dados do componente"), this);
    fraDados->setObjectName(QStringLiteral("fraDados"));
    auto *g = new QGridLayout(fraDados);
    g->addWidget(new QLabel(QStringLiteral("Nota Fiscal :"), fraDados), 0, 0);
    g->addWidget(cria("mskNR", fraDados), 0, 1);
    g->addWidget(new QLabel(QStringLiteral("Série :"), fraDados), 0, 2);
    g->addWidget(cria("mskSerie", fraDados), 0, 3);
    g->addWidget(new QLabel(QStringLiteral("Data Emissão :"), fraDados), 0, 4);
    auto *data = cria("mskDataEmissao", fraDados);
    data->setMinimumWidth(data->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) +
                          16);
    g->addWidget(data, 0, 5);
    g->addWidget(new QLabel(QStringLiteral("CNPJ Fornecedor :"), fraDados), 1, 0);
    g->addWidget(cria("mskCNPJ", fraDados), 1, 1);
    g->addWidget(new QLabel(QStringLiteral("Insc. Estadual :"), fraDados), 1, 2);
    g->addWidget(cria("mskNrInsEstadual", fraDados), 1, 3, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Especificação :"), fraDados), 2, 0);
    g->addWidget(cria("txtDescricao", fraDados), 2, 1, 1, 5);
    g->addWidget(new QLabel(QStringLiteral("Código NCM :"), fraDados), 3, 0);
    auto *ncm = cria("mskNCM", fraDados);
    auto *CmdNcm =
        BotaoAssistente("CmdNcm", QStringLiteral("Procurar o código NCM na tabela"), fraDados);
    g->addLayout(ComBotao(ncm, CmdNcm), 3, 1);
    MskDescNCM = CaixaDescricao("MskDescNCM", fraDados);
    g->addWidget(MskDescNCM, 3, 2, 1, 4);
    g->addWidget(new QLabel(QStringLiteral("Unidade Comercial :"), fraDados), 4, 0);
    auto *unidade = cria("TxtUnidade", fraDados);
    auto *Command1 =
        BotaoAssistente("Command1", QStringLiteral("Procurar a unidade na tabela"), fraDados);
    g->addLayout(ComBotao(unidade, Command1), 4, 1);
    MskDescUnM = CaixaDescricao("MskDescUnM", fraDados);
    g->addWidget(MskDescUnM, 4, 2, 1, 4);
    g->addWidget(new QLabel(QStringLiteral(" Quantidade :"), fraDados), 5, 0);
    g->addWidget(cria("mskQTD", fraDados), 5, 1);
    g->addWidget(new QLabel(QStringLiteral("Valor Unitário (US$) :"), fraDados), 5, 2);
    g->addWidget(cria("mskCustoUnitario", fraDados), 5, 3, 1, 3);
    g->setColumnStretch(5, 1);
    g->setColumnMinimumWidth(
        1, fontMetrics().horizontalAdvance(QStringLiteral("00.000.000/0000-00")) + 40);

    auto *fraImportadosNacionais = new QGroupBox(QStringLiteral("Subcomponentes importados"), this);
    fraImportadosNacionais->setObjectName(QStringLiteral("fraImportadosNacionais"));
    dbgImportadosNacionais = new QTableWidget(0, 5, fraImportadosNacionais);
    dbgImportadosNacionais->setObjectName(QStringLiteral("dbgImportadosNacionais"));
    dbgImportadosNacionais->setHorizontalHeaderLabels(
        {QStringLiteral("Especificação"), QStringLiteral("Quantidade"),
         QStringLiteral("Valor Unitário"), QStringLiteral("Valor Total"),
         QStringLiteral("Valor II")});
    dbgImportadosNacionais->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbgImportadosNacionais->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbgImportadosNacionais->setSelectionMode(QAbstractItemView::SingleSelection);
    // Tab leaves the list for its buttons instead of walking its cells.
    dbgImportadosNacionais->setTabKeyNavigation(false);
    dbgImportadosNacionais->verticalHeader()->hide();
    dbgImportadosNacionais->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    dbgImportadosNacionais->setMinimumHeight(120);
    auto *lista = new QHBoxLayout(fraImportadosNacionais);
    lista->addWidget(dbgImportadosNacionais, 1);
    auto *comandos = new QVBoxLayout;
    struct Comando {
        const char *nome;
        const char *texto;
        Qt::Key tecla;
        int operacao;
    };
    const Comando cmds[] = {
        {"cmdIncluirImportadoNacional", "Incluir", Qt::Key_I, Op::Incluir},
        {"cmdAlterarImportadoNacional", "Alterar", Qt::Key_A, Op::Alterar},
        {"cmdVisualizarImportadoNacional", "Visualizar", Qt::Key_V, Op::Visualizar},
        {"cmdExcluirImportadoNacional", "Excluir", Qt::Key_X, Op::Excluir},
        {"cmdLocalizarImportadoNacional", "Localizar", Qt::Key_L, 0},
    };
    for (const Comando &c : cmds) {
        QPushButton *b = Botao(c.nome, QString::fromUtf8(c.texto), fraImportadosNacionais);
        const QKeySequence tecla(Qt::CTRL | c.tecla);
        b->setToolTip(tecla.toString(QKeySequence::NativeText));
        comandos->addWidget(b);
        const int op = c.operacao;
        connect(b, &QPushButton::clicked, this, [this, op] {
            if (op == 0)
                localiza();
            else
                abreSubcomponente(op);
        });
        auto *atalho = new QShortcut(tecla, this);
        connect(atalho, &QShortcut::activated, b, [b] {
            if (b->isEnabled())
                b->click();
        });
    }
    comandos->addStretch();
    lista->addLayout(comandos);

    const OkCancelar botoes = BotoesOkCancelar(this, true);
    cmdOk = botoes.ok;
    cmdCancelar = botoes.cancelar;

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fraDados);
    layout->addWidget(fraImportadosNacionais, 1);
    layout->addLayout(botoes.linha);
    resize(760, 560);

    DefineTagsDoFormulario(this, Form);

    connect(ncm, &QLineEdit::textChanged, this, [this, ncm] {
        shell::ExecutaProtegido(
            usuario_, [&] { MskDescNCM->setText(entry::DescricaoNCM(banco_, ncm->valor())); });
    });
    const auto nomeUnidade = [this, unidade] {
        shell::ExecutaProtegido(usuario_, [&] {
            MskDescUnM->setText(entry::DescricaoUnidade(banco_, unidade->valor()));
        });
    };
    connect(unidade, &QLineEdit::editingFinished, this, nomeUnidade);
    connect(CmdNcm, &QPushButton::clicked, this, [this, ncm] {
        if (const auto e = EscolheNCM(banco_, usuario_, this))
            ncm->setText(e->codigo);
    });
    connect(Command1, &QPushButton::clicked, this, [this, unidade, nomeUnidade] {
        if (const auto e = EscolheUnidade(banco_, usuario_, this)) {
            unidade->setText(e->codigo);
            nomeUnidade();
        }
    });
    connect(cmdOk, &QPushButton::clicked, this, &frmNacionais::confirma);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmNacionais::reject);
}

void frmNacionais::mostra(const entry::CamposNacional &c) {
    campo("mskNR")->setText(c.nf);
    campo("mskSerie")->setText(c.serie);
    campo("mskDataEmissao")->setText(c.dataEmissao);
    campo("mskCNPJ")->setText(c.cnpj);
    campo("mskNrInsEstadual")->setText(c.inscricao);
    campo("txtDescricao")->setText(c.descricao);
    campo("mskNCM")->setText(c.ncm);
    campo("TxtUnidade")->setText(c.unidade);
    MskDescUnM->setText(entry::DescricaoUnidade(banco_, c.unidade));
    campo("mskQTD")->setText(c.quantidade);
    campo("mskCustoUnitario")->setText(c.custoUnitario);
    atualizaLista();
}

entry::CamposNacional frmNacionais::campos() const {
    entry::CamposNacional c;
    c.nf = campo("mskNR")->valor();
    c.serie = campo("mskSerie")->valor();
    c.dataEmissao = campo("mskDataEmissao")->valor();
    c.cnpj = campo("mskCNPJ")->valor();
    c.inscricao = campo("mskNrInsEstadual")->valor();
    c.descricao = campo("txtDescricao")->valor();
    c.ncm = campo("mskNCM")->valor();
    c.unidade = campo("TxtUnidade")->valor();
    c.quantidade = campo("mskQTD")->valor();
    c.custoUnitario = campo("mskCustoUnitario")->valor();
    return c;
}

void frmNacionais::atualizaLista(int nrSqSelecionado) {
    const std::vector<entry::LinhaSubcomponente> linhas = logica_.subcomponentes();
    dbgImportadosNacionais->setRowCount(static_cast<int>(linhas.size()));
    int linhaAtual = linhas.empty() ? -1 : 0;
    for (int i = 0; i < static_cast<int>(linhas.size()); ++i) {
        const entry::LinhaSubcomponente &l = linhas[i];
        const QStringList textos = {l.descricao, l.quantidade, l.valorUnitario, l.valorTotal,
                                    l.valorII};
        for (int c = 0; c < textos.size(); ++c) {
            auto *item = new QTableWidgetItem(textos[c]);
            if (c > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            item->setData(Qt::UserRole, l.nrSq);
            dbgImportadosNacionais->setItem(i, c, item);
        }
        if (l.nrSq == nrSqSelecionado)
            linhaAtual = i;
    }
    dbgImportadosNacionais->resizeColumnsToContents();
    dbgImportadosNacionais->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    if (linhaAtual >= 0)
        dbgImportadosNacionais->selectRow(linhaAtual);
    for (const auto &[nome, habilitado] : logica_.habilitacao(!linhas.empty()))
        if (QWidget *w = findChild<QWidget *>(nome))
            w->setEnabled(habilitado);
}

int frmNacionais::subcomponenteAtual() const {
    const QTableWidgetItem *item =
        dbgImportadosNacionais->item(std::max(dbgImportadosNacionais->currentRow(), 0), 0);
    return item ? item->data(Qt::UserRole).toInt() : 0;
}

bool frmNacionais::valida() {
    if (auto *atual = qobject_cast<CampoMascarado *>(focusWidget()); atual && !atual->confere())
        return false;
    // The cost check reads the database: a failure there is told and the
    // form stays open with what was typed.
    entry::ConferenciasCampos conferencias;
    if (!shell::ExecutaProtegido(usuario_, [&] { conferencias = logica_.confere(campos()); }))
        return false;
    for (const entry::ConferenciaCampo &c : conferencias)
        if (!campo(c.campo.toLatin1().constData())->aplica(c.conferencia))
            return false;
    return true;
}

void frmNacionais::abreSubcomponente(int operacao) {
    CampoMascarado *custo = campo("mskCustoUnitario");
    if (operacao == Op::Incluir && logica_.operacao() == Op::Incluir && !valida())
        return;
    if (operacao == Op::Alterar) {
        bool passou = false;
        shell::ExecutaProtegido(usuario_, [&] {
            passou = custo->aplica(logica_.confereAntesDeAlterar(custo->text()).conferencia);
        });
        if (!passou)
            return;
    }
    const int atual = operacao == Op::Incluir ? 0 : subcomponenteAtual();
    if (operacao != Op::Incluir && atual == 0)
        return;
    shell::ExecutaProtegido(usuario_, [&] {
        frmImportados f(banco_, usuario_, nrVlm_, logica_.dono(), operacao, atual, this);
        f.defineCustoNacional(entry::ConverteValor(custo->text()));
        const bool gravou = f.exec() == QDialog::Accepted;
        atualizaLista(gravou ? f.nrSqImportado() : atual);
    });
}

void frmNacionais::localiza() {
    const QString texto = usuario_.pedeTexto(QStringLiteral("Localizar"),
                                             entry::PerguntaLocalizar(entry::Lista::Nacionais));
    if (texto.isEmpty())
        return;
    shell::ExecutaProtegido(usuario_, [&] {
        if (const int sq = logica_.localiza(texto))
            atualizaLista(sq);
        else
            usuario_.avisa(QStringLiteral("Localizar"),
                           QStringLiteral("Subcomponente Importado não encontrado"),
                           base::Icone::Informacao);
    });
}

void frmNacionais::showEvent(QShowEvent *evento) {
    QDialog::showEvent(evento);
    // Delete leaves every field disabled: Enter there must not delete.
    FocoInicial(this, {campoInicial_.isEmpty() ? nullptr : findChild<QWidget *>(campoInicial_),
                       campo("mskNR"),
                       logica_.operacao() == Op::Excluir ? static_cast<QWidget *>(cmdCancelar)
                                                         : dbgImportadosNacionais,
                       cmdOk});
}

void frmNacionais::confirma() {
    const int op = logica_.operacao();
    if ((op == Op::Incluir || op == Op::Alterar) && !valida())
        return;
    const std::optional<int> destino = GravaOuGuardaComoNova(banco_, usuario_, logica_.declaracao(),
                                                             std::nullopt, [this](int numero) {
                                                                 logica_.mudaDeclaracao(numero);
                                                                 logica_.grava(campos());
                                                             });
    if (!destino)
        return;
    destino_ = *destino;
    if (op == Op::Visualizar || destino_ == 0)
        QDialog::reject();
    else
        accept();
}

void frmNacionais::reject() {
    // An include given up takes the subcomponents added for it along.
    shell::ExecutaProtegido(usuario_, [this] { logica_.descartaPendentes(); });
    QDialog::reject();
}

} // namespace vlme::ui
