#pragma once
// vlme-cli from its arguments (those after the program's name) to its exit
// status: the usage, the data folder and database opened, the command run.
// Every error ends here as a message on standard error, never as a crash.
// Needs a QCoreApplication; main thread only.

#include <QStringList>

namespace vlme::cli {

int Executa(const QStringList &argumentos);

} // namespace vlme::cli
