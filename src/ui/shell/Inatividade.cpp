#include "ui/shell/Inatividade.h"

#include <QCoreApplication>
#include <QEvent>

namespace vlme::ui {

Inatividade::Inatividade(QObject *pai) : QObject(pai) {
    tempo_.setSingleShot(true);
    connect(&tempo_, &QTimer::timeout, this, [this] {
        if (aoEsgotar)
            aoEsgotar();
    });
    QCoreApplication::instance()->installEventFilter(this);
}

Inatividade::~Inatividade() {
    QCoreApplication::instance()->removeEventFilter(this);
}

void Inatividade::defineIntervalo(int ms) {
    tempo_.setInterval(ms);
    if (tempo_.isActive())
        tempo_.start();
}

void Inatividade::arma(bool armada) {
    if (armada)
        tempo_.start();
    else
        tempo_.stop();
}

bool Inatividade::eventFilter(QObject *alvo, QEvent *evento) {
    if (tempo_.isActive()) {
        switch (evento->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::Wheel:
            tempo_.start();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(alvo, evento);
}

} // namespace vlme::ui
