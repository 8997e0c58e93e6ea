#include "ui/shell/frmVLMs.h"

#include "base/InterfaceUsuario.h"
#include "shell/Comandos.h"
#include "shell/ContextosAjuda.h"
#include "shell/FronteiraComando.h"
#include "shell/Programa.h"
#include "store/Banco.h"
#include "store/CopiaExclusao.h"
#include "store/Reservas.h"
#include "ui/history/frmHistorico.h"
#include "ui/shell/ModeloListaDeclaracoes.h"
#include "ui/shell/RegraOcupado.h"
#include "ui/shell/frmAjuda.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace vlme::ui {

namespace {

namespace Op = shell::Operacao;
// An older code of the pendency check, still answered.
constexpr int PendenciasAnterior = 12;

} // namespace

frmVLMs::DadosOperacao frmVLMs::Dados(int operacao) {
    namespace Ajuda = shell::ContextoAjuda;
    using store::FiltroLista;
    switch (operacao) {
    case Op::Excluir:
        return {QStringLiteral("Excluir VLM-E"), FiltroLista::Todas, Ajuda::Excluir};
    case Op::Copiar:
        return {QStringLiteral("Copiar VLM-E"), FiltroLista::Todas, Ajuda::Copiar};
    case Op::GerarArquivo:
        return {QStringLiteral("Gerar arquivo para transmissão VLM-E"), FiltroLista::Geracao,
                Ajuda::GerarArquivo};
    case Op::GravarTransmissao:
        return {QStringLiteral("Gerar arquivo VLM-E"), FiltroLista::Todas,
                Ajuda::GravarTransmissao};
    case Op::Backup:
        return {QStringLiteral("Backup da Declaração"), FiltroLista::Todas, Ajuda::Backup};
    case Op::Imprimir:
        return {QStringLiteral("Imprimir VLM-E"), FiltroLista::Todas, Ajuda::Imprimir};
    case Op::ImprimirResumo:
        return {QStringLiteral("Imprimir Resumo VLM-E"), FiltroLista::Todas, Ajuda::Imprimir};
    case Op::ImprimirRecibo:
        return {QStringLiteral("Imprimir recibo de entrega VLM-E"), FiltroLista::Todas, 0};
    case PendenciasAnterior:
    case Op::Pendencias:
        return {QStringLiteral("Verificar pendências VLM-E"), FiltroLista::Pendencias,
                Ajuda::Pendencias};
    case Op::Diagnostico:
        return {QStringLiteral("Diagnóstico VLM-E"), FiltroLista::Diagnostico, Ajuda::Diagnostico};
    case Op::ConsultarDiagnostico:
        return {QStringLiteral("Consultar diagnóstico VLM-E"), FiltroLista::Todas,
                Ajuda::Diagnostico};
    case Op::RegistrarEntrega:
        return {QStringLiteral("Registrar entrega VLM-E"), FiltroLista::Entrega,
                Ajuda::RegistrarEntrega};
    case Op::DesfazerEntrega:
        return {QStringLiteral("Desfazer registro de entrega VLM-E"), FiltroLista::Entrega,
                Ajuda::RegistrarEntrega};
    default: // Op::Abrir and any other code
        return {QStringLiteral("Abrir Declaração"), FiltroLista::Todas, Ajuda::Abrir};
    }
}

bool frmVLMs::ConfirmaExclusao(base::InterfaceUsuario &usuario) {
    return usuario.confirmaDestruicao(QStringLiteral("Excluir"),
                                      QStringLiteral("Deseja realmente excluir este VLM-E ?"));
}

QString frmVLMs::TextoPainel(const QString &codigo, const QString &razaoSocial) {
    return QStringLiteral(" NÚMERO VLM-E : ") + store::FormataCodigo(codigo) +
           QStringLiteral("  RAZÃO SOCIAL : ") + razaoSocial;
}

frmVLMs::frmVLMs(shell::Programa &programa, base::InterfaceUsuario &usuario,
                 base::Progresso &progresso, QWidget *pai)
    : QDialog(pai), programa_(programa), usuario_(usuario), progresso_(progresso) {
    // The progress window recognises the picker by this name and closes it.
    setObjectName(QStringLiteral("frmVLMs"));
    setModal(true);

    datVlms = new ModeloListaDeclaracoes(this);
    dbgVlms = new QTableView(this);
    dbgVlms->setObjectName(QStringLiteral("dbgVlms"));
    dbgVlms->setModel(datVlms);
    dbgVlms->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbgVlms->setSelectionMode(QAbstractItemView::SingleSelection);
    dbgVlms->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbgVlms->setAlternatingRowColors(true);
    dbgVlms->setWordWrap(false);
    dbgVlms->verticalHeader()->hide();
    dbgVlms->verticalHeader()->setDefaultSectionSize(dbgVlms->fontMetrics().height() + 8);
    QHeaderView *cabecalho = dbgVlms->horizontalHeader();
    cabecalho->setHighlightSections(false);
    cabecalho->setSectionResizeMode(QHeaderView::Interactive);
    cabecalho->setSectionResizeMode(ModeloListaDeclaracoes::Produto, QHeaderView::Stretch);
    const int m = dbgVlms->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    dbgVlms->setColumnWidth(ModeloListaDeclaracoes::Numero, 8 * m);
    dbgVlms->setColumnWidth(ModeloListaDeclaracoes::Cnpj, 20 * m);
    dbgVlms->setColumnWidth(ModeloListaDeclaracoes::Tipo, 13 * m);
    dbgVlms->setColumnWidth(ModeloListaDeclaracoes::Situacao, 13 * m);
    dbgVlms->setColumnWidth(ModeloListaDeclaracoes::Protocolo, 12 * m);
    dbgVlms->installEventFilter(this);
    connect(dbgVlms, &QTableView::doubleClicked, this, [this](const QModelIndex &indice) {
        if (indice.isValid())
            cmdOk_Click();
    });

    cmdOk = new QPushButton(QStringLiteral("&OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    cmdCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    connect(cmdOk, &QPushButton::clicked, this, &frmVLMs::cmdOk_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);

    cmdHistorico = new QPushButton(QStringLiteral("&Histórico"), this);
    cmdHistorico->setObjectName(QStringLiteral("cmdHistorico"));
    cmdHistorico->setAutoDefault(false);
    connect(cmdHistorico, &QPushButton::clicked, this, [this] {
        const QModelIndexList linhas = dbgVlms->selectionModel()->selectedRows();
        if (executando_ || Ocupado() || linhas.isEmpty())
            return;
        const int numero = datVlms->numero(linhas.first().row());
        shell::ExecutaProtegido(usuario_,
                                [&] { MostraHistorico(programa_.banco, numero, usuario_, this); });
    });

    auto *botoes = new QHBoxLayout;
    botoes->addWidget(cmdHistorico);
    botoes->addStretch();
    botoes->addWidget(cmdOk);
    botoes->addWidget(cmdCancelar);
    // The delivery's list says how to choose, since it starts on none.
    auto *lblEscolha = new QLabel(QStringLiteral("Escolha a declaração com as setas, Home ou End "
                                                 "(ou o mouse) e confirme com Enter ou OK."),
                                  this);
    lblEscolha->setObjectName(QStringLiteral("lblEscolha"));
    lblEscolha->hide();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblEscolha);
    layout->addWidget(dbgVlms);
    layout->addLayout(botoes);
    resize(100 * m, 30 * dbgVlms->verticalHeader()->defaultSectionSize());

    operacoes.abrir = [this](int n) { abreDeclaracao(n); };
    operacoes.excluir = [this](int n) { excluiDeclaracao(n); };
    operacoes.copiar = [this](int n) { copiaDeclaracao(n); };

    // Other programs (vlme-cli, the company's systems) change the list meanwhile.
    auto *atualizar = new QShortcut(QKeySequence(Qt::Key_F5), this);
    connect(atualizar, &QShortcut::activated, this, &frmVLMs::atualiza);

    AtalhoAjuda(this, shell::ContextoAjuda::Abrir);
    setOperacaoVLM(Op::Abrir);
}

frmVLMs::~frmVLMs() = default;

void frmVLMs::setOperacaoVLM(int operacao) {
    operacao_ = operacao;
    const DadosOperacao dados = Dados(operacao);
    setWindowTitle(dados.titulo);
    setProperty("contextoAjuda", dados.contextoAjuda);
    shell::ExecutaProtegido(usuario_, [&] { datVlms->carrega(programa_.banco, dados.filtro); });
    findChild<QLabel *>(QStringLiteral("lblEscolha"))
        ->setVisible(operacao == Op::RegistrarEntrega || operacao == Op::DesfazerEntrega);
    escolheLinha(0);
}

void frmVLMs::escolhe(int numero) {
    escolheLinha(numero);
}

void frmVLMs::escolheLinha(int numero) {
    // Like a data grid, the list starts on its first (newest) row; but a
    // receipt recorded on the newest by a hasty Enter locks the wrong
    // statement, so the delivery's list waits for the user's choice.
    const bool primeira = operacao_ != Op::RegistrarEntrega && operacao_ != Op::DesfazerEntrega;
    int linha = primeira && datVlms->rowCount() > 0 ? 0 : -1;
    for (int i = 0; numero > 0 && i < datVlms->rowCount(); ++i)
        if (datVlms->numero(i) == numero)
            linha = i;
    if (linha >= 0) {
        dbgVlms->selectRow(linha);
        dbgVlms->scrollTo(datVlms->index(linha, 0));
        return;
    }
    dbgVlms->clearSelection();
    // Also keeps the view from making the first row current when it takes
    // the keyboard: nothing is chosen until the user moves.
    dbgVlms->setCurrentIndex(QModelIndex());
}

void frmVLMs::atualiza() {
    if (executando_ || Ocupado())
        return;
    const QModelIndexList linhas = dbgVlms->selectionModel()->selectedRows();
    const int escolhida = linhas.isEmpty() ? 0 : datVlms->numero(linhas.first().row());
    shell::ExecutaProtegido(usuario_,
                            [&] { datVlms->carrega(programa_.banco, Dados(operacao_).filtro); });
    // The same statement stays chosen while it is listed.
    escolheLinha(escolhida);
}

void frmVLMs::defineDesfecho(Desfecho desfecho, int numero) {
    desfecho_ = desfecho;
    numero_ = numero;
}

bool frmVLMs::eventFilter(QObject *objeto, QEvent *evento) {
    if (objeto == dbgVlms && evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent *>(evento)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
            cmdOk_Click();
            return true;
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

void frmVLMs::cmdOk_Click() {
    // A second click while an operation runs (its progress window lets
    // events through) must not start another.
    if (executando_ || Ocupado())
        return;
    const QModelIndexList linhas = dbgVlms->selectionModel()->selectedRows();
    if (linhas.isEmpty())
        return;
    const int numero = datVlms->numero(linhas.first().row());
    if (numero <= 0)
        return;

    executando_ = true;
    defineDesfecho(Desfecho::Nenhum, numero);
    if (!shell::ExecutaProtegido(usuario_, [&] { executa(numero); }))
        desfecho_ = Desfecho::Nenhum;
    executando_ = false;
    if (desfecho_ == Desfecho::Nenhum)
        reject();
    else
        accept();
}

void frmVLMs::executa(int numero) {
    const Operacoes::Acao *acao = nullptr;
    switch (operacao_) {
    case Op::Excluir:
        acao = &operacoes.excluir;
        break;
    case Op::Copiar:
        acao = &operacoes.copiar;
        break;
    case Op::GerarArquivo:
        acao = &operacoes.gerar;
        break;
    case Op::GravarTransmissao:
        acao = &operacoes.gravarParaTransmissao;
        break;
    case Op::Backup:
        acao = &operacoes.backup;
        break;
    case Op::Imprimir:
        acao = &operacoes.imprimir;
        break;
    case Op::ImprimirResumo:
        acao = &operacoes.imprimirResumo;
        break;
    case Op::ImprimirRecibo:
        acao = &operacoes.imprimirRecibo;
        break;
    case PendenciasAnterior:
    case Op::Pendencias:
        acao = &operacoes.pendencias;
        break;
    case Op::Diagnostico:
        acao = &operacoes.diagnostico;
        break;
    case Op::ConsultarDiagnostico:
        acao = &operacoes.consultarDiagnostico;
        break;
    case Op::RegistrarEntrega:
        acao = &operacoes.registrarEntrega;
        break;
    case Op::DesfazerEntrega:
        acao = &operacoes.desfazerEntrega;
        break;
    default:
        acao = &operacoes.abrir;
        break;
    }
    if (!*acao) {
        naoDisponivel();
        return;
    }
    desfecho_ = Desfecho::Executada;
    (*acao)(numero);
}

void frmVLMs::naoDisponivel() {
    usuario_.mensagem(QStringLiteral("Atenção!"), shell::TextoNaoDisponivel(windowTitle()),
                      base::Icone::Informacao, base::Botoes::Ok);
}

void frmVLMs::abreDeclaracao(int numero) {
    const auto registro = store::RegistroDeclaracao(programa_.banco, numero);
    if (!registro) {
        defineDesfecho(Desfecho::Nenhum, numero);
        return;
    }
    if (!registro->codigo.isEmpty() && mostraPainel)
        mostraPainel(TextoPainel(registro->codigo, registro->razaoSocial));
    programa_.declaracao = {numero, true, false, false};
    defineDesfecho(Desfecho::Aberta, numero);
}

void frmVLMs::excluiDeclaracao(int numero) {
    {
        // Who holds it is told before anything is asked.
        store::Reserva reserva(programa_.banco, numero);
        if (!ConfirmaExclusao(usuario_)) {
            defineDesfecho(Desfecho::Nenhum, numero);
            return;
        }
        store::ExcluiVLM(programa_.banco, numero, false, &progresso_);
    }
    // Should the statement be open, closing its window now discards it
    // instead of saving it again.
    if (programa_.declaracao.numero == numero) {
        programa_.declaracao.nova = true;
        programa_.declaracao.alterada = false;
    }
    defineDesfecho(Desfecho::Excluida, numero);
}

void frmVLMs::copiaDeclaracao(int numero) {
    const int copia = store::CopiaVLM(programa_.banco, numero, progresso_, usuario_);
    if (copia < 1) {
        defineDesfecho(Desfecho::Nenhum, numero);
        return;
    }
    programa_.declaracao = {copia, true, false, false};
    defineDesfecho(Desfecho::Copiada, copia);
}

} // namespace vlme::ui
