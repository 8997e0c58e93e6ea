// vlme-cli: the program's operations without windows, for the company's own
// systems. The commands live in cli/.

#include "cli/Executa.h"

#include <QCoreApplication>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("VLME"));
    QCoreApplication::setApplicationName(QStringLiteral("VLME"));
    return vlme::cli::Executa(app.arguments().mid(1));
}
