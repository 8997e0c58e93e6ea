#include "ui/entry/Controles.h"

#include "ui/entry/FabricaCampos.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

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
    return w;
}

QPushButton *Botao(const char *nome, const QString &texto, QWidget *pai) {
    auto *b = new QPushButton(texto, pai);
    b->setObjectName(QLatin1String(nome));
    return b;
}

QPushButton *BotaoAssistente(const char *nome, const QString &dica, QWidget *pai) {
    QPushButton *b = Botao(nome, QStringLiteral("..."), pai);
    b->setToolTip(dica);
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

QHBoxLayout *ComBotao(QWidget *campo, QPushButton *botao) {
    auto *h = new QHBoxLayout;
    h->setSpacing(2);
    h->addWidget(campo, 1);
    h->addWidget(botao);
    return h;
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
