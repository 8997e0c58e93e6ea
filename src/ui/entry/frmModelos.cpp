#include "ui/entry/frmModelos.h"

#include "ui/entry/CampoMascarado.h"
#include "ui/entry/Controles.h"
#include "ui/entry/DeclaracaoAlterada.h"
#include "ui/entry/FabricaCampos.h"
#include "ui/shell/frmAjuda.h"

#include "shell/ContextosAjuda.h"
#include "shell/FronteiraComando.h"

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vlme::ui {

namespace {
const QString Formulario = QStringLiteral("frmModelos");
}

frmModelos::frmModelos(store::Banco &banco, base::InterfaceUsuario &usuario, int nrVlm,
                       int operacao, int nrSqModelo, QWidget *pai)
    : QDialog(pai), banco_(banco), usuario_(usuario) {
    setObjectName(Formulario);
    setModal(true);
    AtalhoAjuda(this, shell::ContextoAjuda::Modelo);

    auto rotulo = [this](const QString &nome, const QString &texto) {
        auto *l = new QLabel(texto, this);
        l->setObjectName(nome);
        return l;
    };
    lblDescricao = rotulo(QStringLiteral("lblDescricao"), QStringLiteral("&Especificação:"));
    txtDescricaoModelo = CriaCampo(Formulario, QStringLiteral("txtDescricaoModelo"), usuario, this);
    lblCodigoInterno =
        rotulo(QStringLiteral("lblCodigoInterno"), QStringLiteral("Código &Interno:"));
    mskCodigoInterno = CriaCampo(Formulario, QStringLiteral("mskCodigoInterno"), usuario, this);
    lblPrecoVenda = rotulo(QStringLiteral("lblPrecoVenda"), QStringLiteral("&Preço de Venda:"));
    mskPrecoVenda = CriaCampo(Formulario, QStringLiteral("mskPrecoVenda"), usuario, this);
    mskPrecoVenda->setAlignment(Qt::AlignRight);
    lblDescricao->setBuddy(txtDescricaoModelo);
    lblCodigoInterno->setBuddy(mskCodigoInterno);
    lblPrecoVenda->setBuddy(mskPrecoVenda);

    const OkCancelar botoes = BotoesOkCancelar(this);
    cmdOk = botoes.ok;
    cmdCancelar = botoes.cancelar;
    connect(cmdOk, &QPushButton::clicked, this, &frmModelos::cmdOk_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);

    const int digito = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    txtDescricaoModelo->setMinimumWidth(digito * 60);
    mskCodigoInterno->setFixedWidth(digito * 18);
    mskPrecoVenda->setFixedWidth(digito * 22);

    auto *campos = new QFormLayout;
    campos->addRow(lblDescricao, txtDescricaoModelo);
    campos->addRow(lblCodigoInterno, mskCodigoInterno);
    campos->addRow(lblPrecoVenda, mskPrecoVenda);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(campos);
    layout->addLayout(botoes.linha);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(txtDescricaoModelo, mskCodigoInterno);
    setTabOrder(mskCodigoInterno, mskPrecoVenda);
    setTabOrder(mskPrecoVenda, cmdOk);
    setTabOrder(cmdOk, cmdCancelar);

    shell::ExecutaProtegido(usuario_, [&] {
        formulario_ = std::make_unique<entry::FormularioModelo>(banco, nrVlm, operacao, nrSqModelo);
    });
    if (!formulario_)
        return;
    setWindowTitle(formulario_->titulo());
    const auto &v = formulario_->iniciais();
    txtDescricaoModelo->setText(v.descricao);
    mskCodigoInterno->setText(v.codigoInterno);
    mskPrecoVenda->setText(v.precoVenda);
}

frmModelos::~frmModelos() = default;

int frmModelos::nrSqModelo() const {
    return formulario_ ? formulario_->nrSqModelo() : 0;
}

int frmModelos::exec() {
    if (!formulario_)
        return QDialog::Rejected;
    txtDescricaoModelo->setFocus(Qt::OtherFocusReason);
    return QDialog::exec();
}

CampoMascarado *frmModelos::campo(entry::FormularioModelo::Campo c) const {
    switch (c) {
    case entry::FormularioModelo::Campo::Descricao:
        return txtDescricaoModelo;
    case entry::FormularioModelo::Campo::CodigoInterno:
        return mskCodigoInterno;
    case entry::FormularioModelo::Campo::PrecoVenda:
        break;
    }
    return mskPrecoVenda;
}

void frmModelos::cmdOk_Click() {
    if (!formulario_)
        return;
    entry::FormularioModelo::Valores v{txtDescricaoModelo->text(), mskCodigoInterno->text(),
                                       mskPrecoVenda->text()};
    std::optional<entry::FormularioModelo::Recusa> recusa;
    const std::optional<int> destino = GravaOuGuardaComoNova(
        banco_, usuario_, formulario_->declaracao(), std::nullopt, [&](int numero) {
            formulario_->mudaDeclaracao(numero);
            recusa = formulario_->confirma(v);
        });
    if (!destino)
        return;
    destino_ = *destino;
    if (destino_ == 0) {
        reject();
        return;
    }
    // What the checks normalised is what the fields show, also on a refusal.
    txtDescricaoModelo->setText(v.descricao);
    mskCodigoInterno->setText(v.codigoInterno);
    mskPrecoVenda->setText(v.precoVenda);
    if (recusa) {
        campo(recusa->campo)->aplica(recusa->conferencia);
        return;
    }
    accept();
}

} // namespace vlme::ui
