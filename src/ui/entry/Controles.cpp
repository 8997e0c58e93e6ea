#include "ui/entry/Controles.h"

#include "ui/entry/FabricaCampos.h"

#include <QApplication>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

namespace vlme::ui {

QLabel *Rotulo(const char *nome, const QString &texto, QWidget *pai) {
    auto *l = new QLabel(texto, pai);
    l->setObjectName(QLatin1String(nome));
    return l;
}

QRadioButton *Opcao(const char *nome, const QString &texto, QWidget *pai) {
    auto *o = new QRadioButton(texto, pai);
    o->setObjectName(QLatin1String(nome));
    return o;
}

QWidget *ParDeOpcoes(QRadioButton *sim, QRadioButton *nao, QWidget *pai) {
    auto *w = new QWidget(pai);
    auto *h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 0);
    sim->setParent(w);
    nao->setParent(w);
    h->addWidget(sim);
    h->addWidget(nao);
    h->addStretch();
    auto *grupo = new QButtonGroup(w);
    grupo->addButton(sim);
    grupo->addButton(nao);
    // Tabbing into the pair lands on the choice made, never on the other
    // option, where Space or an arrow would change it unseen.
    const auto paradaNaEscolha = [sim, nao] {
        if (!sim->isChecked() && !nao->isChecked())
            return;
        for (QRadioButton *o : {sim, nao})
            o->setFocusPolicy(o->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    };
    QObject::connect(sim, &QRadioButton::toggled, w, paradaNaEscolha);
    QObject::connect(nao, &QRadioButton::toggled, w, paradaNaEscolha);
    return w;
}

QPushButton *Botao(const char *nome, const QString &texto, QWidget *pai) {
    auto *b = new QPushButton(texto, pai);
    b->setObjectName(QLatin1String(nome));
    return b;
}

QPushButton *BotaoAssistente(const char *nome, const QString &dica, QWidget *pai) {
    QPushButton *b = Botao(nome, QStringLiteral("..."), pai);
    b->setToolTip(dica + QStringLiteral(" (F4 no campo)"));
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    return b;
}

QLineEdit *CaixaDescricao(const char *nome, QWidget *pai) {
    auto *d = new QLineEdit(pai);
    d->setObjectName(QLatin1String(nome));
    d->setReadOnly(true);
    d->setFocusPolicy(Qt::NoFocus);
    return d;
}

namespace {
// Set on a code field by LigaF4: the lookup button F4 opens.
constexpr char BotaoF4[] = "vlmeBotaoF4";
// Set on a code field that only consults (see ConsultaNosTravados).
constexpr char SoConsulta[] = "vlmeSoConsulta";
} // namespace

void LigaF4(QWidget *campo, QPushButton *botao) {
    campo->setProperty(BotaoF4, QVariant::fromValue<QObject *>(botao));
    auto *f4 = new QShortcut(QKeySequence(Qt::Key_F4), campo);
    f4->setContext(Qt::WidgetShortcut);
    QObject::connect(f4, &QShortcut::activated, botao, [botao] {
        if (botao->isEnabled())
            botao->click();
    });
}

void ConsultaNosTravados(QWidget *janela) {
    for (QLineEdit *campo : janela->findChildren<QLineEdit *>()) {
        const auto *botao =
            qobject_cast<QPushButton *>(campo->property(BotaoF4).value<QObject *>());
        if (!botao)
            continue;
        const bool antes = campo->property(SoConsulta).toBool();
        const bool travado = !campo->isEnabled() || antes;
        const bool consulta = travado && botao->isEnabled();
        campo->setEnabled(!travado || consulta);
        if (consulta == antes)
            continue;
        campo->setProperty(SoConsulta, consulta);
        campo->setReadOnly(consulta);
        // Read-only, it looks like the description box beside it, not like a
        // field to type in.
        QPalette p = campo->palette();
        p.setBrush(QPalette::Base, consulta ? p.brush(QPalette::Window)
                                            : QApplication::palette(campo).brush(QPalette::Base));
        campo->setPalette(p);
    }
}

QHBoxLayout *ComBotao(QWidget *campo, QPushButton *botao) {
    LigaF4(campo, botao);
    auto *h = new QHBoxLayout;
    h->setSpacing(2);
    h->addWidget(campo, 1);
    h->addWidget(botao);
    return h;
}

void FocoInicial(QWidget *janela, std::initializer_list<QWidget *> candidatos) {
    for (QWidget *w : candidatos)
        if (w && w->isEnabled() && w->isVisibleTo(janela) && w->focusPolicy() != Qt::NoFocus) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
}

OkCancelar BotoesOkCancelar(QWidget *janela, bool okSemFoco) {
    OkCancelar b;
    b.ok = Botao("cmdOk", QStringLiteral("&OK"), janela);
    b.ok->setDefault(true);
    if (okSemFoco)
        b.ok->setFocusPolicy(Qt::TabFocus);
    b.cancelar = Botao("cmdCancelar", QStringLiteral("&Cancelar"), janela);
    DispensaConferencia(b.cancelar);
    b.linha = new QHBoxLayout;
    b.linha->addStretch();
    b.linha->addWidget(b.ok);
    b.linha->addWidget(b.cancelar);
    return b;
}

} // namespace vlme::ui
