#include "ui/shell/frmSobre.h"

#include "shell/ContextosAjuda.h"
#include "shell/InformacoesSistema.h"
#include "shell/Programa.h"
#include "ui/shell/frmAjuda.h"

#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vlme::ui {

frmSobre::frmSobre(shell::Programa &programa, QWidget *pai) : QDialog(pai), programa_(programa) {
    const QString titulo = QString::fromUtf8(TituloPrograma);
    setObjectName(QStringLiteral("frmSobre"));
    setWindowTitle(QStringLiteral("Sobre o ") + titulo);
    AtalhoAjuda(this, shell::ContextoAjuda::Sobre);

    auto *icone = new QLabel(this);
    icone->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
    icone->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    lblTitulo = new QLabel(titulo, this);
    lblTitulo->setObjectName(QStringLiteral("lblTitulo"));
    QFont grande = lblTitulo->font();
    grande.setPointSizeF(grande.pointSizeF() * 1.8);
    grande.setBold(true);
    lblTitulo->setFont(grande);

    lblVersao = new QLabel(QStringLiteral("Versão ") + programa.versao, this);
    lblVersao->setObjectName(QStringLiteral("lblVersao"));

    lblDescricao = new QLabel(QString::fromUtf8(DescricaoPrograma), this);
    lblDescricao->setObjectName(QStringLiteral("lblDescricao"));
    lblDescricao->setWordWrap(true);
    lblDescricao->setMinimumWidth(300);

    auto *linha = new QFrame(this);
    linha->setFrameShape(QFrame::HLine);
    linha->setFrameShadow(QFrame::Sunken);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&Informações do Sistema..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { mostraInformacoes(); });

    auto *textos = new QVBoxLayout;
    textos->addWidget(lblTitulo);
    textos->addWidget(lblVersao);
    textos->addSpacing(8);
    textos->addWidget(lblDescricao);
    textos->addStretch();
    auto *topo = new QHBoxLayout;
    topo->addWidget(icone);
    topo->addSpacing(12);
    topo->addLayout(textos, 1);

    auto *botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(cmdOK);
    botoes->addWidget(cmdSysInfo);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(topo);
    layout->addWidget(linha);
    layout->addLayout(botoes);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void frmSobre::mostraInformacoes() {
    frmInformacoesSistema informacoes(programa_, this);
    informacoes.exec();
}

frmInformacoesSistema::frmInformacoesSistema(shell::Programa &programa, QWidget *pai)
    : QDialog(pai) {
    setObjectName(QStringLiteral("frmInformacoesSistema"));
    setWindowTitle(QStringLiteral("Informações do Sistema"));
    AtalhoAjuda(this, shell::ContextoAjuda::Sobre);

    lstInformacoes = new QTreeWidget(this);
    lstInformacoes->setObjectName(QStringLiteral("lstInformacoes"));
    lstInformacoes->setColumnCount(2);
    lstInformacoes->setHeaderLabels({QStringLiteral("Item"), QStringLiteral("Valor")});
    lstInformacoes->setRootIsDecorated(false);
    lstInformacoes->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (const auto &[rotulo, valor] : shell::InformacoesSistema(programa)) {
        auto *item = new QTreeWidgetItem(lstInformacoes, {rotulo, valor});
        item->setToolTip(1, valor);
    }
    lstInformacoes->resizeColumnToContents(0);
    lstInformacoes->header()->setStretchLastSection(true);

    cmdCopiar = new QPushButton(QStringLiteral("&Copiar"), this);
    cmdCopiar->setObjectName(QStringLiteral("cmdCopiar"));
    cmdFechar = new QPushButton(QStringLiteral("&Fechar"), this);
    cmdFechar->setObjectName(QStringLiteral("cmdFechar"));
    cmdFechar->setDefault(true);
    connect(cmdCopiar, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(texto()); });
    connect(cmdFechar, &QPushButton::clicked, this, &QDialog::accept);

    auto *botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(cmdCopiar);
    botoes->addWidget(cmdFechar);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lstInformacoes);
    layout->addLayout(botoes);
    resize(560, 300);
}

QString frmInformacoesSistema::texto() const {
    QString t;
    for (int i = 0; i < lstInformacoes->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = lstInformacoes->topLevelItem(i);
        t += item->text(0) + QStringLiteral(": ") + item->text(1) + QLatin1Char('\n');
    }
    return t;
}

} // namespace vlme::ui
