#include "ui/shell/mdiPrincipal.h"

#include "shell/Programa.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QStatusBar>

namespace vlme::ui {

mdiPrincipal::mdiPrincipal(shell::Programa &programa, shell::InterfaceUsuario &usuario,
                           QWidget *pai)
    : QMainWindow(pai), programa_(programa), usuario_(usuario)
{
    setObjectName(QStringLiteral("mdiPrincipal"));
    setWindowTitle(QStringLiteral("Declaração do VLM-E"));
    resize(1024, 720);

    areaDocumentos = new QMdiArea(this);
    areaDocumentos->setObjectName(QStringLiteral("areaDocumentos"));
    areaDocumentos->setBackground(QColor(0x6b, 0x7f, 0x94));
    setCentralWidget(areaDocumentos);

    // Registration text of an opened registered statement; hidden otherwise.
    txtPainel = new QLabel(this);
    txtPainel->setObjectName(QStringLiteral("txtPainel"));
    txtPainel->setAlignment(Qt::AlignCenter);
    statusBar()->addWidget(txtPainel, 1);
    txtPainel->hide();

    // Drives the diagnostic's wait for the server.
    objTempo = new QTimer(this);
    objTempo->setObjectName(QStringLiteral("objTempo"));
    objTempo->setInterval(1000);
}

void mdiPrincipal::closeEvent(QCloseEvent *evento)
{
    // The statement's windows close first (they save or discard it), then the
    // connection.
    areaDocumentos->closeAllSubWindows();
    if (!areaDocumentos->subWindowList().isEmpty()) {
        evento->ignore();
        return;
    }
    programa_.declaracao = {};
    programa_.banco.fecha();
    evento->accept();
}

} // namespace vlme::ui
