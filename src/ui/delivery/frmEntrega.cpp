#include "ui/delivery/frmEntrega.h"

#include "base/InterfaceUsuario.h"
#include "shell/ContextosAjuda.h"
#include "shell/FronteiraComando.h"
#include "store/Declaracoes.h"
#include "ui/entry/CampoMascarado.h"
#include "ui/entry/Controles.h"
#include "ui/shell/frmAjuda.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace vlme::ui {

namespace {

const QString Titulo = QStringLiteral("Registrar Entrega");

QLineEdit *Texto(const char *nome, QWidget *pai) {
    auto *t = new QLineEdit(pai);
    t->setObjectName(QString::fromLatin1(nome));
    t->setMaxLength(255);
    return t;
}

CampoMascarado *DataHora(const char *nome, QWidget *pai) {
    auto *c = new CampoMascarado(pai);
    c->setObjectName(QString::fromLatin1(nome));
    c->defineMascara(QStringLiteral("##/##/#### ##:##:##"));
    c->defineTag(QStringLiteral("S"));
    c->setMaximumWidth(c->fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000 00:00:00")) +
                       24);
    return c;
}

// The typed date, or empty when the user typed no digit of it.
QString Digitado(const CampoMascarado *c) {
    return c->valor().isEmpty() ? QString() : c->text();
}

} // namespace

frmEntrega::frmEntrega(store::Banco &banco, const QString &pasta, base::InterfaceUsuario &usuario,
                       int numero, QWidget *pai)
    : QDialog(pai), banco_(banco), pasta_(pasta), usuario_(usuario), numero_(numero) {
    setObjectName(QStringLiteral("frmEntrega"));
    setWindowTitle(Titulo);
    AtalhoAjuda(this, shell::ContextoAjuda::RegistrarEntrega);
    setModal(true);

    QString declaracao = QStringLiteral("Declaração %1").arg(numero);
    shell::ExecutaProtegido(usuario_, [&] {
        for (const auto &item : store::ListaDeclaracoes(banco_))
            if (item.numero == numero)
                declaracao += QStringLiteral(" — CNPJ %1 — %2 (%3%4)")
                                  .arg(item.cnpj, item.produto, item.situacao,
                                       item.protocolo == QLatin1String("-")
                                           ? QString()
                                           : QStringLiteral(", protocolo ") + item.protocolo);
    });
    lblDeclaracao = Rotulo("lblDeclaracao", declaracao, this);
    lblDeclaracao->setWordWrap(true);
    auto *lblExplica = Rotulo("lblExplica",
                              QStringLiteral("Digite o que está no recibo que o programa Enviador "
                                             "deu ao transmitir a declaração. Só o número da "
                                             "transmissão e a recepção são obrigatórios."),
                              this);
    lblExplica->setWordWrap(true);

    txtNumero = Texto("txtNumero", this);
    txtNumero->setMaxLength(10);
    txtNumero->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), txtNumero));
    txtNumero->setMaximumWidth(txtNumero->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 12 +
                               16);
    mskRecepcao = DataHora("mskRecepcao", this);
    mskGeracao = DataHora("mskGeracao", this);
    txtLocal = Texto("txtLocal", this);
    txtRemessa = Texto("txtRemessa", this);
    txtGateway = Texto("txtGateway", this);
    txtSelo = Texto("txtSelo", this);
    txtControle = Texto("txtControle", this);
    txtTotais = Texto("txtTotais", this);

    auto *campos = new QFormLayout;
    const auto linha = [&](const QString &rotulo, QWidget *campo) {
        auto *l = new QLabel(rotulo, this);
        l->setBuddy(campo);
        campos->addRow(l, campo);
    };
    linha(QStringLiteral("&Número da transmissão:"), txtNumero);
    linha(QStringLiteral("&Recepção (data e hora):"), mskRecepcao);
    linha(QStringLiteral("&Geração (data e hora):"), mskGeracao);
    linha(QStringLiteral("&Local:"), txtLocal);
    linha(QStringLiteral("R&emessa:"), txtRemessa);
    linha(QStringLiteral("Ga&teway:"), txtGateway);
    linha(QStringLiteral("&Selo:"), txtSelo);
    linha(QStringLiteral("Número de &controle:"), txtControle);
    linha(QStringLiteral("T&otais:"), txtTotais);

    const OkCancelar botoes = BotoesOkCancelar(this);
    cmdOk = botoes.ok;
    cmdCancelar = botoes.cancelar;
    connect(cmdOk, &QPushButton::clicked, this, &frmEntrega::cmdOk_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblDeclaracao);
    layout->addWidget(lblExplica);
    layout->addLayout(campos);
    layout->addLayout(botoes.linha);
    setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 70);
    txtNumero->setFocus();
}

void frmEntrega::cmdOk_Click() {
    delivery::ReciboDigitado recibo;
    recibo.numero = txtNumero->text();
    recibo.recepcao = Digitado(mskRecepcao);
    recibo.geracao = Digitado(mskGeracao);
    recibo.local = txtLocal->text();
    recibo.remessa = txtRemessa->text();
    recibo.gateway = txtGateway->text();
    recibo.selo = txtSelo->text();
    recibo.controle = txtControle->text();
    recibo.totais = txtTotais->text();
    QWidget *corrigir = nullptr;
    shell::ExecutaProtegido(usuario_, [&] {
        try {
            entrega_ = delivery::RegistraEntrega(banco_, pasta_, numero_, recibo, usuario_);
        } catch (const delivery::ErroRecibo &erro) {
            switch (erro.campo) {
            case delivery::CampoRecibo::Numero:
                corrigir = txtNumero;
                break;
            case delivery::CampoRecibo::Recepcao:
                corrigir = mskRecepcao;
                break;
            case delivery::CampoRecibo::Geracao:
                corrigir = mskGeracao;
                break;
            case delivery::CampoRecibo::Nenhum:
                break;
            }
            usuario_.mensagem(Titulo, erro.mensagem(), base::Icone::Exclamacao, base::Botoes::Ok);
        }
    });
    if (corrigir) {
        corrigir->setFocus();
        if (auto *l = qobject_cast<QLineEdit *>(corrigir))
            l->selectAll();
    }
    if (!entrega_)
        return; // refused or the replacement declined: the user fixes or cancels
    usuario_.mensagem(Titulo,
                      QStringLiteral("A entrega da declaração %1 foi registrada com o número de "
                                     "transmissão %2.\r\nPeça agora o diagnóstico "
                                     "(Declaração > Diagnóstico).")
                          .arg(entrega_->declaracao)
                          .arg(entrega_->numero),
                      base::Icone::Informacao, base::Botoes::Ok);
    accept();
}

} // namespace vlme::ui
