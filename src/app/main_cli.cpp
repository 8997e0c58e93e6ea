// vlme-cli: the program's operations without windows, for the company's own
// systems. The commands live in cli/.

#include "cli/Executa.h"
#include "shell/Inicializacao.h"

#include <QGuiApplication>

#include <cstdio>

namespace {

// Qt's own warnings (a missing runtime folder, font notes) are not the
// program's texts: the company's systems read stderr as the command's errors.
void SoErrosGraves(QtMsgType tipo, const QMessageLogContext &, const QString &texto) {
    if (tipo == QtCriticalMsg || tipo == QtFatalMsg)
        fprintf(stderr, "%s\n", qPrintable(texto));
}

} // namespace

int main(int argc, char *argv[]) {
    qInstallMessageHandler(SoErrosGraves);
    // Printing measures text with fonts, which need a GUI application; the
    // offscreen platform keeps vlme-cli free of any display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("VLME"));
    QCoreApplication::setApplicationName(QStringLiteral("VLME"));
    vlme::shell::PreparaPrograma();
    return vlme::cli::Executa(app.arguments().mid(1));
}
