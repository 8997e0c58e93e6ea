#include "cli/Comandos.h"

#include "backup/CopiaSeguranca.h"
#include "cli/Json.h"
#include "cli/ProgressoTerminal.h"

#include <QFileInfo>
#include <QTextStream>

namespace vlme::cli {

// Restores the backup ARQ as a new statement and writes its number; a file
// refused, a statement already there or Ctrl+C store nothing.
Saida restaurar(Contexto &c) {
    ProgressoTerminal progresso;
    const int novo = backup::RestauraCopiaSeguranca(
        c.banco, QFileInfo(c.argumentos.first()).absoluteFilePath(), progresso, c.usuario);
    if (novo == 0)
        return Saida::Falha; // the user told why
    c.saida << novo << '\n';
    c.json.insert(QStringLiteral("numero"), Numero(novo));
    return Saida::Sucesso;
}

} // namespace vlme::cli
