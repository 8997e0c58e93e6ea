#include "ui/entry/frmImportados.h"

#include "ui/entry/Controles.h"
#include "ui/entry/DeclaracaoAlterada.h"

#include "entry/Descricoes.h"
#include "entry/OperacaoFormulario.h"
#include "shell/ContextosAjuda.h"
#include "shell/FronteiraComando.h"
#include "ui/entry/Assistentes.h"
#include "ui/entry/CampoMascarado.h"
#include "ui/entry/FabricaCampos.h"
#include "ui/shell/frmAjuda.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vlme::ui {

namespace Op = entry::OperacaoFormulario;

namespace {

constexpr char Form[] = "frmImportados";

} // namespace

frmImportados::frmImportados(store::Banco &banco, base::InterfaceUsuario &usuario, int nrVlm,
                             int dono, int operacao, int nrSqImportado, QWidget *pai)
    : QDialog(pai), banco_(banco), usuario_(usuario),
      logica_(banco, nrVlm, dono, operacao, nrSqImportado) {
    setObjectName(QLatin1String(Form));
    setWindowTitle(logica_.titulo());
    monta();
    AtalhoAjuda(this, shell::ContextoAjuda::ComponenteImportado);
    mostra(logica_.carrega());
}

CampoMascarado *frmImportados::campo(const char *nome) const {
    return findChild<CampoMascarado *>(QLatin1String(nome));
}

void frmImportados::monta() {
    const auto cria = [this](const char *nome, QWidget *pai) {
        return CriaCampo(QLatin1String(Form), QLatin1String(nome), usuario_, pai);
    };

    fraOrigem = new QGroupBox(logica_.tituloOrigem(), this);
    fraOrigem->setObjectName(QStringLiteral("fraOrigem"));
    auto *g = new QGridLayout(fraOrigem);
    optDiretoSim = Opcao("optDiretoSim", QStringLiteral("&DI"), fraOrigem);
    optDiretoNao = Opcao("optDiretoNao", QStringLiteral("&NF"), fraOrigem);
    g->addWidget(new QLabel(QStringLiteral("Documento :"), fraOrigem), 0, 0);
    g->addWidget(ParDeOpcoes(optDiretoSim, optDiretoNao, fraOrigem), 0, 1, 1, 5);

    g->addWidget(Rotulo("lblNrDI", QStringLiteral(" DI :"), fraOrigem), 1, 0);
    g->addWidget(cria("mskNrDI", fraOrigem), 1, 1);
    g->addWidget(Rotulo("lblNrAdicao", QStringLiteral("Adição :"), fraOrigem), 1, 2);
    g->addWidget(cria("mskNrAdicao", fraOrigem), 1, 3);
    g->addWidget(Rotulo("lblNrItem", QStringLiteral("Item :"), fraOrigem), 1, 4);
    g->addWidget(cria("mskNrItem", fraOrigem), 1, 5);

    g->addWidget(Rotulo("lblNR", QStringLiteral("Nota Fiscal :"), fraOrigem), 2, 0);
    g->addWidget(cria("mskNR", fraOrigem), 2, 1);
    g->addWidget(Rotulo("lblSerie", QStringLiteral("Série :"), fraOrigem), 2, 2);
    g->addWidget(cria("mskSerie", fraOrigem), 2, 3);
    g->addWidget(Rotulo("lblDataEmissao", QStringLiteral("Data :"), fraOrigem), 2, 4);
    auto *data = cria("mskDataEmissao", fraOrigem);
    data->setMinimumWidth(data->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) +
                          16);
    g->addWidget(data, 2, 5);

    g->addWidget(Rotulo("lblCNPJ", QStringLiteral("CNPJ Fornecedor :"), fraOrigem), 3, 0);
    g->addWidget(cria("mskCNPJ", fraOrigem), 3, 1);
    g->addWidget(Rotulo("lblNrInsEstadual", QStringLiteral("Insc. Estadual :"), fraOrigem), 3, 2);
    g->addWidget(cria("mskNrInsEstadual", fraOrigem), 3, 3, 1, 3);

    g->addWidget(Rotulo("lblNCM", QStringLiteral("Código NCM :"), fraOrigem), 4, 0);
    auto *ncm = cria("mskNCM", fraOrigem);
    CmdNcm =
        BotaoAssistente("CmdNcm", QStringLiteral("Procurar o código NCM na tabela"), fraOrigem);
    g->addLayout(ComBotao(ncm, CmdNcm), 4, 1);
    MskDescNCM = CaixaDescricao("MskDescNCM", fraOrigem);
    g->addWidget(MskDescNCM, 4, 2, 1, 4);

    g->addWidget(Rotulo("lblUnidade", QStringLiteral("Unidade Comercial:"), fraOrigem), 5, 0);
    auto *unidade = cria("txtUnidade", fraOrigem);
    CmdUnid = BotaoAssistente("CmdUnid", QStringLiteral("Procurar a unidade na tabela"), fraOrigem);
    g->addLayout(ComBotao(unidade, CmdUnid), 5, 1);
    MskDescUnM = CaixaDescricao("MskDescUnM", fraOrigem);
    g->addWidget(MskDescUnM, 5, 2, 1, 4);

    fraBaseCalculo = new QGroupBox(fraOrigem);
    fraBaseCalculo->setObjectName(QStringLiteral("fraBaseCalculo"));
    fraBaseCalculo->setFlat(true);
    auto *b = new QHBoxLayout(fraBaseCalculo);
    b->setContentsMargins(0, 0, 0, 0);
    b->addWidget(
        new QLabel(QStringLiteral("Compõe base de cálculo do II no VLME :"), fraBaseCalculo));
    optBaseCalculoSim = Opcao("optBaseCalculoSim", QStringLiteral("Sim"), fraBaseCalculo);
    optBaseCalculoNao = Opcao("optBaseCalculoNao", QStringLiteral("Não"), fraBaseCalculo);
    b->addWidget(ParDeOpcoes(optBaseCalculoSim, optBaseCalculoNao, fraBaseCalculo), 1);
    g->addWidget(fraBaseCalculo, 6, 0, 1, 6);

    g->addWidget(Rotulo("lblSuspensao", QStringLiteral("Com Suspensão :"), fraOrigem), 7, 0);
    optComSuspSim = Opcao("optComSuspSim", QStringLiteral("Sim"), fraOrigem);
    optComSuspNao = Opcao("optComSuspNao", QStringLiteral("Não"), fraOrigem);
    g->addWidget(ParDeOpcoes(optComSuspSim, optComSuspNao, fraOrigem), 7, 1, 1, 5);
    g->setColumnStretch(5, 1);
    // Room for a whole CNPJ under its mask.
    g->setColumnMinimumWidth(
        1, fontMetrics().horizontalAdvance(QStringLiteral("00.000.000/0000-00")) + 40);

    fraDados = new QGroupBox(logica_.tituloDados(), this);
    fraDados->setObjectName(QStringLiteral("fraDados"));
    auto *d = new QGridLayout(fraDados);
    d->addWidget(new QLabel(QStringLiteral("Especificação :"), fraDados), 0, 0);
    d->addWidget(cria("txtDescricao", fraDados), 0, 1, 1, 3);
    d->addWidget(new QLabel(QStringLiteral("Quantidade :"), fraDados), 1, 0);
    d->addWidget(cria("mskQTD", fraDados), 1, 1);
    d->addWidget(new QLabel(QStringLiteral("Valor Unitário (US$) :"), fraDados), 1, 2);
    d->addWidget(cria("mskValorUnitario", fraDados), 1, 3);
    d->addWidget(new QLabel(QStringLiteral("Alíquota (%) :"), fraDados), 2, 0);
    d->addWidget(cria("mskAliquota", fraDados), 2, 1);
    d->addWidget(new QLabel(QStringLiteral("Tem Redução exceto Dec. 288/67 :"), fraDados), 3, 0, 1,
                 2);
    optReducaoSim = Opcao("optReducaoSim", QStringLiteral("Sim"), fraDados);
    optReducaoNao = Opcao("optReducaoNao", QStringLiteral("Não"), fraDados);
    d->addWidget(ParDeOpcoes(optReducaoSim, optReducaoNao, fraDados), 3, 2, 1, 2);
    d->setColumnStretch(1, 1);
    d->setColumnStretch(3, 1);

    const OkCancelar botoes = BotoesOkCancelar(this, true);
    cmdOk = botoes.ok;
    cmdCancelar = botoes.cancelar;

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fraOrigem);
    layout->addWidget(fraDados);
    layout->addLayout(botoes.linha);

    fraBaseCalculo->setVisible(logica_.subcomponente());
    DefineTagsDoFormulario(this, Form);

    for (QRadioButton *o : {optDiretoSim, optDiretoNao, optBaseCalculoSim, optBaseCalculoNao})
        connect(o, &QRadioButton::clicked, this, &frmImportados::aplicaRegras);
    // A DI row has no goods code nor unit of its own: what an invoice left
    // there would be saved under the DI.
    connect(optDiretoSim, &QRadioButton::toggled, this, [this, ncm, unidade](bool di) {
        if (di) {
            ncm->clear();
            unidade->clear();
            atualizaNomeUnidade();
        }
    });
    connect(ncm, &QLineEdit::textChanged, this, &frmImportados::atualizaDescricaoNCM);
    connect(unidade, &QLineEdit::editingFinished, this, &frmImportados::atualizaNomeUnidade);
    connect(CmdNcm, &QPushButton::clicked, this, [this, ncm] {
        if (const auto e = EscolheNCM(banco_, usuario_, this))
            ncm->setText(e->codigo);
    });
    connect(CmdUnid, &QPushButton::clicked, this, [this, unidade] {
        if (const auto e = EscolheUnidade(banco_, usuario_, this)) {
            unidade->setText(e->codigo);
            atualizaNomeUnidade();
        }
    });
    connect(cmdOk, &QPushButton::clicked, this, &frmImportados::confirma);
    connect(cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
}

void frmImportados::mostra(const entry::CamposImportado &c) {
    (c.di ? optDiretoSim : optDiretoNao)->setChecked(true);
    (c.baseCalculo ? optBaseCalculoSim : optBaseCalculoNao)->setChecked(true);
    (c.comSuspensao ? optComSuspSim : optComSuspNao)->setChecked(true);
    (c.reducao ? optReducaoSim : optReducaoNao)->setChecked(true);
    campo("mskNrDI")->setText(c.nrDI);
    campo("mskNrAdicao")->setText(c.adicao);
    campo("mskNrItem")->setText(c.item);
    campo("mskNR")->setText(c.nf);
    campo("mskSerie")->setText(c.serie);
    campo("mskDataEmissao")->setText(c.dataEmissao);
    campo("mskCNPJ")->setText(c.cnpj);
    campo("mskNrInsEstadual")->setText(c.inscricao);
    campo("mskNCM")->setText(c.ncm);
    campo("txtUnidade")->setText(c.unidade);
    campo("txtDescricao")->setText(c.descricao);
    campo("mskQTD")->setText(c.quantidade);
    campo("mskValorUnitario")->setText(c.valorUnitario);
    campo("mskAliquota")->setText(c.aliquota);
    atualizaDescricaoNCM();
    atualizaNomeUnidade();
    aplicaRegras();
}

entry::CamposImportado frmImportados::campos() const {
    entry::CamposImportado c;
    c.di = optDiretoSim->isChecked();
    c.nrDI = campo("mskNrDI")->valor();
    c.adicao = campo("mskNrAdicao")->valor();
    c.item = campo("mskNrItem")->valor();
    c.nf = campo("mskNR")->valor();
    c.serie = campo("mskSerie")->valor();
    c.dataEmissao = campo("mskDataEmissao")->valor();
    c.cnpj = campo("mskCNPJ")->valor();
    c.inscricao = campo("mskNrInsEstadual")->valor();
    c.ncm = campo("mskNCM")->valor();
    c.unidade = campo("txtUnidade")->valor();
    c.descricao = campo("txtDescricao")->valor();
    c.quantidade = campo("mskQTD")->valor();
    c.valorUnitario = campo("mskValorUnitario")->valor();
    c.aliquota = campo("mskAliquota")->valor();
    c.baseCalculo = optBaseCalculoSim->isChecked();
    c.comSuspensao = optComSuspSim->isChecked();
    c.reducao = optReducaoSim->isChecked();
    return c;
}

void frmImportados::aplicaRegras() {
    for (const auto &[nome, habilitado] : logica_.habilitacao(campos()))
        if (QWidget *w = findChild<QWidget *>(nome))
            w->setEnabled(habilitado);
}

void frmImportados::atualizaDescricaoNCM() {
    shell::ExecutaProtegido(usuario_, [this] {
        MskDescNCM->setText(entry::DescricaoNCM(banco_, campo("mskNCM")->valor()));
    });
}

void frmImportados::atualizaNomeUnidade() {
    shell::ExecutaProtegido(usuario_, [this] {
        MskDescUnM->setText(entry::DescricaoUnidade(banco_, campo("txtUnidade")->valor()));
    });
}

void frmImportados::showEvent(QShowEvent *evento) {
    QDialog::showEvent(evento);
    // Delete and view leave every field disabled: Enter there must not delete.
    FocoInicial(this, {campoInicial_.isEmpty() ? nullptr : findChild<QWidget *>(campoInicial_),
                       campo(optDiretoSim->isChecked() ? "mskNrDI" : "mskNR"),
                       logica_.operacao() == Op::Excluir ? cmdCancelar : cmdOk});
}

void frmImportados::confirma() {
    const int op = logica_.operacao();
    if (op == Op::Incluir || op == Op::Alterar) {
        if (auto *atual = qobject_cast<CampoMascarado *>(focusWidget()); atual && !atual->confere())
            return;
        // The subcomponent's cost check reads the database.
        entry::ConferenciasCampos conferencias;
        if (!shell::ExecutaProtegido(usuario_, [&] { conferencias = logica_.confere(campos()); }))
            return;
        for (const entry::ConferenciaCampo &c : conferencias)
            if (!campo(c.campo.toLatin1().constData())->aplica(c.conferencia))
                return;
    }
    // A subcomponent is saved with its national component's form still open
    // over the statement: a refusal is only told there.
    const std::optional<int> destino =
        logica_.subcomponente()
            ? (shell::ExecutaProtegido(usuario_, [this] { logica_.grava(campos()); })
                   ? std::optional<int>(logica_.declaracao())
                   : std::nullopt)
            : GravaOuGuardaComoNova(banco_, usuario_, logica_.declaracao(), std::nullopt,
                                    [this](int numero) {
                                        logica_.mudaDeclaracao(numero);
                                        logica_.grava(campos());
                                    });
    if (!destino)
        return;
    destino_ = *destino;
    if (op == Op::Visualizar || destino_ == 0)
        reject();
    else
        accept();
}

} // namespace vlme::ui
