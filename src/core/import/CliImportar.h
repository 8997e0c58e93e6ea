#pragma once
// `vlme-cli importar ARQ`: the statement text import without windows, for
// the company's own systems. Exit status: 0 imported (the new statement
// numbers on standard output, one per line), 1 the file has problems (the
// error list on standard output, or the structural fault told through the
// user interface; nothing stored), 2 wrong usage, 3 failure (unreadable
// file, database error, cancelled by Ctrl+C; nothing stored).
// Main thread only.

#include <QStringList>

class QTextStream;

namespace vlme::store {
class Banco;
}
namespace vlme::shell {
class InterfaceUsuario;
class Progresso;
} // namespace vlme::shell

namespace vlme::importacao {

// Progress on standard error; results on standard output.
int cliImportar(store::Banco &banco, shell::InterfaceUsuario &usuario, const QStringList &args);
// The same with the progress and the output given.
int cliImportar(store::Banco &banco, shell::InterfaceUsuario &usuario, const QStringList &args,
                shell::Progresso &progresso, QTextStream &saida);

} // namespace vlme::importacao
