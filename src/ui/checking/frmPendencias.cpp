#include "ui/checking/frmPendencias.h"

#include "base/InterfaceUsuario.h"
#include "checking/ListaDiagnostico.h"
#include "printing/Relatorios.h"
#include "shell/ContextosAjuda.h"
#include "shell/FronteiraComando.h"
#include "ui/printing/Impressao.h"
#include "ui/shell/UsuarioJanela.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vlme::ui {

frmPendencias::frmPendencias(QWidget *pai) : QDialog(pai) {
    setObjectName(QStringLiteral("frmPendencias"));
    setWindowTitle(QStringLiteral("Pendências"));
    resize(640, 420);

    lstPendencias = new QTreeWidget(this);
    lstPendencias->setObjectName(QStringLiteral("lstPendencias"));
    lstPendencias->setRootIsDecorated(false);
    lstPendencias->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstPendencias->setAlternatingRowColors(true);
    lstPendencias->setWordWrap(true);

    fraProtocolo = new QGroupBox(this);
    fraProtocolo->setObjectName(QStringLiteral("fraProtocolo"));
    auto *grade = new QGridLayout(fraProtocolo);
    grade->addWidget(new QLabel(QStringLiteral("Demonstrativo recebido em :"), fraProtocolo), 0, 0);
    lblDataHora = new QLabel(fraProtocolo);
    lblDataHora->setObjectName(QStringLiteral("lblDataHora"));
    grade->addWidget(lblDataHora, 0, 1);
    grade->addWidget(
        new QLabel(QStringLiteral("Número de protocolo da transmissão : "), fraProtocolo), 1, 0);
    lblTransmissao = new QLabel(fraProtocolo);
    lblTransmissao->setObjectName(QStringLiteral("lblTransmissao"));
    grade->addWidget(lblTransmissao, 1, 1);
    grade->setColumnStretch(1, 1);
    fraProtocolo->hide();
    // A pendency double-clicked (or Enter) is the one the user goes to fix.
    connect(lstPendencias, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        escolhida_ = item->data(0, Qt::UserRole).toString();
        if (!escolhida_.isEmpty())
            accept();
    });

    lblContagem = new QLabel(this);
    lblContagem->setObjectName(QStringLiteral("lblContagem"));
    lblContagem->hide();

    cmdAjuda = new QPushButton(QStringLiteral("&Ajuda"), this);
    cmdAjuda->setObjectName(QStringLiteral("cmdAjuda"));
    cmdImprimir = new QPushButton(QStringLiteral("&Imprimir"), this);
    cmdImprimir->setObjectName(QStringLiteral("cmdImprimir"));
    cmdFechar = new QPushButton(QStringLiteral("&Fechar"), this);
    cmdFechar->setObjectName(QStringLiteral("cmdFechar"));
    cmdFechar->setDefault(true);
    connect(cmdFechar, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdAjuda, &QPushButton::clicked, this, [this] {
        if (ajuda)
            ajuda(contexto_);
    });
    auto *f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, cmdAjuda, &QPushButton::click);
    connect(cmdImprimir, &QPushButton::clicked, this, &frmPendencias::imprime);

    auto *botoes = new QHBoxLayout;
    botoes->addWidget(lblContagem);
    botoes->addStretch();
    botoes->addWidget(cmdAjuda);
    botoes->addWidget(cmdImprimir);
    botoes->addWidget(cmdFechar);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lstPendencias, 1);
    layout->addWidget(fraProtocolo);
    layout->addLayout(botoes);
}

void frmPendencias::mostraPendencias(const std::vector<checking::Pendencia> &pendencias) {
    lstPendencias->clear();
    lstPendencias->setColumnCount(1);
    lstPendencias->setHeaderLabels({QStringLiteral("PROBLEMA DETECTADO")});
    for (const auto &p : pendencias) {
        auto *item = new QTreeWidgetItem(lstPendencias, {p.texto});
        item->setData(0, Qt::UserRole, p.chave);
    }
    // The keyboard starts on the list: Enter goes to the first problem.
    if (QTreeWidgetItem *primeiro = lstPendencias->topLevelItem(0))
        lstPendencias->setCurrentItem(primeiro);
    QTimer::singleShot(0, lstPendencias, [this] { lstPendencias->setFocus(); });

    fraProtocolo->hide();
    lblContagem->hide();
    cmdImprimir->setEnabled(!pendencias.empty());
    contexto_ = ContextoAjuda;
}

void frmPendencias::imprime() {
    UsuarioJanela janelas(this);
    base::InterfaceUsuario &quem = usuario ? *usuario : janelas;
    shell::ExecutaProtegido(quem, [&] {
        QStringList cabecalhos;
        std::vector<double> larguras;
        for (int c = 0; c < lstPendencias->columnCount(); ++c) {
            cabecalhos << lstPendencias->headerItem()->text(c);
            larguras.push_back(c == 0 ? 6 : 2);
        }
        std::vector<QStringList> linhas;
        for (int i = 0; i < lstPendencias->topLevelItemCount(); ++i) {
            QStringList valores;
            for (int c = 0; c < lstPendencias->columnCount(); ++c)
                valores << lstPendencias->topLevelItem(i)->text(c);
            linhas.push_back(valores);
        }
        QString identificacao = declaracao ? printing::IdentificaDeclaracao(declaracao) : QString();
        if (fraProtocolo->isVisible())
            identificacao += QStringLiteral(", recebida em %1, protocolo %2")
                                 .arg(lblDataHora->text(), lblTransmissao->text());
        MostraDocumento(
            printing::ImprimeLista(windowTitle(), identificacao, cabecalhos, larguras, linhas),
            quem, this);
    });
}

void frmPendencias::mostraDiagnostico(store::Banco &banco, int nrVlm,
                                      base::InterfaceUsuario &usuario) {
    const checking::Diagnostico d = checking::LeDiagnostico(banco, nrVlm);
    declaracao = nrVlm;
    this->usuario = &usuario;
    // The server's answer is explained on the diagnostic's own page.
    contexto_ = shell::ContextoAjuda::Diagnostico;
    lstPendencias->clear();
    lstPendencias->setColumnCount(3);
    lstPendencias->setHeaderLabels(
        {QStringLiteral("ERROS"), QStringLiteral("FICHA"), QStringLiteral("REGISTRO")});
    const QIcon iconeErro = style()->standardIcon(QStyle::SP_MessageBoxCritical);
    const QIcon iconeAviso = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    for (const auto &i : d.itens) {
        auto *item = new QTreeWidgetItem(lstPendencias, {i.descricao, i.local, i.registro});
        item->setIcon(0, i.erro ? iconeErro : iconeAviso);
        item->setToolTip(0, i.descricao.trimmed());
    }
    // The server's text gets the width; part and reference are short.
    QHeaderView *cabecalho = lstPendencias->header();
    cabecalho->setStretchLastSection(false);
    cabecalho->setSectionResizeMode(0, QHeaderView::Stretch);
    cabecalho->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    cabecalho->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    if (!d.itens.empty() && d.registrado)
        usuario.mensagem(QStringLiteral("ATENÇÃO"), checking::TextoSoAvisos,
                         base::Icone::Informacao, base::Botoes::Ok);
    cmdImprimir->setEnabled(!d.itens.empty());
    lblContagem->setText(QStringLiteral("Erros: %1    Avisos: %2").arg(d.erros).arg(d.avisos));
    lblContagem->show();
    if (d.recebidoEm) {
        lblDataHora->setText(*d.recebidoEm);
        lblTransmissao->setText(d.transmissao.value_or(QString()));
        fraProtocolo->show();
        setWindowTitle(QStringLiteral("Diagnóstico"));
    }
}

namespace {

// The picker steps aside for the list.
void fechaSeletor() {
    if (QWidget *ativa = QApplication::activeWindow();
        ativa && ativa->objectName() == QLatin1String("frmVLMs"))
        ativa->close();
}

} // namespace

void MostraListaDiagnostico(store::Banco &banco, int nrVlm, base::InterfaceUsuario &usuario,
                            QWidget *pai, const std::function<void(int)> &ajuda) {
    fechaSeletor();
    frmPendencias janela(pai);
    janela.ajuda = ajuda;
    janela.declaracao = nrVlm;
    janela.usuario = &usuario;
    janela.mostraDiagnostico(banco, nrVlm, usuario);
    janela.exec();
}

QString MostraListaPendencias(const std::vector<checking::Pendencia> &pendencias, QWidget *pai,
                              const std::function<void(int)> &ajuda, int nrVlm,
                              base::InterfaceUsuario *usuario) {
    fechaSeletor();
    frmPendencias janela(pai);
    janela.ajuda = ajuda;
    janela.declaracao = nrVlm;
    janela.usuario = usuario;
    janela.mostraPendencias(pendencias);
    janela.exec();
    return janela.escolhida();
}

bool VerificaPendencias(store::Banco &banco, int nrVlm, bool mostraSucesso,
                        base::InterfaceUsuario &usuario, QWidget *pai,
                        const checking::DadosGeraisVerificacao *formulario,
                        const std::function<void(int)> &ajuda, QString *escolhida) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::vector<checking::Pendencia> pendencias;
    try {
        pendencias = checking::VerificaPendencias(banco, nrVlm, formulario);
    } catch (...) {
        QApplication::restoreOverrideCursor();
        throw;
    }
    QApplication::restoreOverrideCursor();
    if (pendencias.empty()) {
        if (mostraSucesso)
            usuario.mensagem(QStringLiteral("Pendências"), checking::TextoSemPendencias,
                             base::Icone::Informacao, base::Botoes::Ok);
        return false;
    }
    const QString chave = MostraListaPendencias(pendencias, pai, ajuda, nrVlm, &usuario);
    if (escolhida)
        *escolhida = chave;
    return true;
}

} // namespace vlme::ui
