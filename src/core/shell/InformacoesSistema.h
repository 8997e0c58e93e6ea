#pragma once
// What the about window's system information lists: the program, the
// libraries it runs on, where its data lives and the operating system.

#include <QList>
#include <QString>

#include <utility>

namespace vlme::shell {

struct Programa;

// The SQLite library in use: asked of the open connection when there is one,
// so that it is the engine really holding the file.
QString VersaoSQLite(Programa &programa);

// Label and value, in the order shown.
QList<std::pair<QString, QString>> InformacoesSistema(Programa &programa);

} // namespace vlme::shell
