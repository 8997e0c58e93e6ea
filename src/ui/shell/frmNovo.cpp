#include "ui/shell/frmNovo.h"

#include "base/InterfaceUsuario.h"
#include "shell/ContextosAjuda.h"
#include "shell/FronteiraComando.h"
#include "shell/Programa.h"
#include "store/Banco.h"
#include "store/Gravar.h"
#include "ui/shell/frmAjuda.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vlme::ui {

namespace {

const QString ChaveVazio = QStringLiteral("Vazio");
const QString ChaveAnterior = QStringLiteral("Anterior");

} // namespace

frmNovo::frmNovo(shell::Programa &programa, base::InterfaceUsuario &usuario, QWidget *pai)
    : QDialog(pai), programa_(programa), usuario_(usuario) {
    setObjectName(QStringLiteral("frmNovo"));
    setWindowTitle(QStringLiteral("Nova Declaração"));
    AtalhoAjuda(this, shell::ContextoAjuda::Novo);
    setModal(true);

    lstLista = new QListWidget(this);
    lstLista->setObjectName(QStringLiteral("lstLista"));
    for (const auto &[texto, chave] :
         {std::pair{QStringLiteral("Novo VLM-E vazio"), ChaveVazio},
          std::pair{QStringLiteral("VLM-E a partir de um anterior"), ChaveAnterior}}) {
        auto *item = new QListWidgetItem(texto, lstLista);
        item->setData(Qt::UserRole, chave);
    }
    // The highlighted entry is the one OK acts on: the first, until the user
    // moves.
    lstLista->setCurrentRow(0);
    lstLista->installEventFilter(this);
    connect(lstLista, &QListWidget::itemDoubleClicked, this, [this] { cmdOk_Click(); });

    cmdOk = new QPushButton(QStringLiteral("&OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    cmdCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    connect(cmdOk, &QPushButton::clicked, this, &frmNovo::cmdOk_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);

    auto *botoes = new QVBoxLayout;
    botoes->addWidget(cmdOk);
    botoes->addWidget(cmdCancelar);
    botoes->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(lstLista, 1);
    layout->addLayout(botoes);
    lstLista->setMinimumWidth(
        lstLista->fontMetrics().horizontalAdvance(QStringLiteral("VLM-E a partir de um anterior")) +
        40);
    lstLista->setMaximumHeight(lstLista->sizeHintForRow(0) * 4 + 8);
}

bool frmNovo::eventFilter(QObject *objeto, QEvent *evento) {
    // Enter on the list is the list's activation, taken once, as OK.
    if (objeto == lstLista && evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent *>(evento)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
            cmdOk_Click();
            return true;
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

void frmNovo::cmdOk_Click() {
    const QListWidgetItem *escolhido = lstLista->currentItem();
    if (!escolhido || !escolhido->isSelected()) {
        usuario_.mensagem(QStringLiteral("Atenção"),
                          QStringLiteral("Você precisa selecionar umas das opções ao lado."),
                          base::Icone::Nenhum, base::Botoes::Ok);
        return;
    }
    const QString chave = escolhido->data(Qt::UserRole).toString();
    if (chave == ChaveAnterior) {
        escolha_ = Escolha::Anterior;
        accept();
        return;
    }
    if (!shell::ExecutaProtegido(usuario_,
                                 [this] { numero_ = store::CriaVLM(programa_.banco, true); }))
        return;
    // Discarded when its window closes untouched.
    programa_.declaracao = {numero_, true, true, false};
    escolha_ = Escolha::Vazio;
    accept();
}

} // namespace vlme::ui
