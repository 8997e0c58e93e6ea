#include "ui/shell/RegraOcupado.h"

#include <QCursor>
#include <QGuiApplication>

namespace vlme::ui {

bool Ocupado() {
    const QCursor *cursor = QGuiApplication::overrideCursor();
    return cursor && (cursor->shape() == Qt::WaitCursor || cursor->shape() == Qt::IBeamCursor);
}

} // namespace vlme::ui
