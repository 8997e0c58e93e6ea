#include "ui/shell/frmBancoEquipe.h"

#include "base/Erros.h"
#include "base/InterfaceUsuario.h"
#include "shell/ContextosAjuda.h"
#include "shell/FronteiraComando.h"
#include "shell/Inicializacao.h"
#include "store/Banco.h"
#include "store/servidor/MotorServidor.h"
#include "ui/shell/frmAjuda.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vlme::ui {

frmBancoEquipe::frmBancoEquipe(const QString &url, const QString &senha,
                               base::InterfaceUsuario &usuario, QWidget *pai)
    : QDialog(pai), usuario_(usuario), senha_(senha) {
    setObjectName(QStringLiteral("frmBancoEquipe"));
    setWindowTitle(base::Mensagem("TITULO_BANCO_EQUIPE"));
    AtalhoAjuda(this, shell::ContextoAjuda::BancoEquipe);
    setModal(true);

    auto *explicacao = new QLabel(
        QStringLiteral("Endereço do servidor PostgreSQL da equipe, por exemplo\n"
                       "postgresql://usuario@servidor:5432/vlme\n"
                       "A senha não é guardada: o programa a pede quando o servidor exigir."),
        this);
    auto *rotulo = new QLabel(QStringLiteral("&Endereço:"), this);
    txtURL = new QLineEdit(url, this);
    txtURL->setObjectName(QStringLiteral("txtURL"));
    txtURL->setPlaceholderText(QStringLiteral("vazio: arquivo local desta pasta"));
    txtURL->setMinimumWidth(txtURL->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 50);
    rotulo->setBuddy(txtURL);

    cmdTestar = new QPushButton(QStringLiteral("&Testar"), this);
    cmdTestar->setObjectName(QStringLiteral("cmdTestar"));
    cmdTestar->setAutoDefault(false);
    cmdLocal = new QPushButton(QStringLiteral("Usar o arquivo &local"), this);
    cmdLocal->setObjectName(QStringLiteral("cmdLocal"));
    cmdLocal->setAutoDefault(false);
    connect(cmdTestar, &QPushButton::clicked, this, &frmBancoEquipe::testa);
    connect(cmdLocal, &QPushButton::clicked, this, [this] {
        txtURL->clear();
        txtURL->setFocus();
    });

    auto *rotuloMinutos =
        new QLabel(QStringLiteral("&Fechar a declaração aberta sem uso após"), this);
    spnMinutos = new QSpinBox(this);
    spnMinutos->setObjectName(QStringLiteral("spnMinutos"));
    spnMinutos->setRange(1, 24 * 60);
    spnMinutos->setValue(30);
    spnMinutos->setSuffix(QStringLiteral(" minutos"));
    spnMinutos->setToolTip(QStringLiteral("Gravada e fechada, ela fica livre para os outros "
                                          "usuários alterarem."));
    rotuloMinutos->setBuddy(spnMinutos);

    auto *caixa = new QDialogButtonBox(this);
    cmdOk = caixa->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    cmdCancelar = caixa->addButton(QStringLiteral("&Cancelar"), QDialogButtonBox::RejectRole);
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    connect(caixa, &QDialogButtonBox::accepted, this, &frmBancoEquipe::aceita);
    connect(caixa, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *linha = new QHBoxLayout;
    linha->addWidget(rotulo);
    linha->addWidget(txtURL, 1);
    auto *acoes = new QHBoxLayout;
    acoes->addWidget(cmdTestar);
    acoes->addWidget(cmdLocal);
    acoes->addStretch();
    auto *semUso = new QHBoxLayout;
    semUso->addWidget(rotuloMinutos);
    semUso->addWidget(spnMinutos);
    semUso->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(explicacao);
    layout->addLayout(linha);
    layout->addLayout(acoes);
    layout->addSpacing(8);
    layout->addLayout(semUso);
    layout->addWidget(caixa);
    setTabOrder(txtURL, cmdTestar);
    setTabOrder(cmdTestar, cmdLocal);
    setTabOrder(cmdLocal, spnMinutos);
    setTabOrder(spnMinutos, cmdOk);
    setTabOrder(cmdOk, cmdCancelar);
}

QString frmBancoEquipe::url() const {
    return txtURL->text().trimmed();
}

bool frmBancoEquipe::enderecoValido() {
    const QString motivo = url().isEmpty() ? QString() : store::servidor::MotivoURLInvalida(url());
    if (motivo.isEmpty())
        return true;
    usuario_.avisa(windowTitle(), motivo);
    txtURL->setFocus();
    return false;
}

void frmBancoEquipe::testa() {
    if (!enderecoValido())
        return;
    if (url().isEmpty()) {
        usuario_.avisa(windowTitle(), base::Mensagem("TEXTO_BANCO_LOCAL"), base::Icone::Informacao);
        return;
    }
    QString texto;
    bool ok = false;
    {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        store::Banco banco;
        try {
            // A password typed here is the session's, kept for OK.
            shell::AbreServidor(url(), banco, usuario_, &senha_);
            texto = base::Mensagem("TEXTO_BANCO_TESTE_OK", store::servidor::URLVisivel(url()),
                                   banco.escalar(QStringLiteral("SHOW server_version")).toString());
            ok = true;
        } catch (const store::ErroBanco &e) {
            texto = shell::TextoComDetalhe(e);
        }
        QGuiApplication::restoreOverrideCursor();
    }
    usuario_.avisa(windowTitle(), texto, ok ? base::Icone::Informacao : base::Icone::Critico);
}

void frmBancoEquipe::aceita() {
    if (enderecoValido())
        accept();
}

} // namespace vlme::ui
