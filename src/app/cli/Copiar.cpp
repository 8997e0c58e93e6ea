#include "cli/Comandos.h"

#include "cli/Json.h"
#include "cli/ProgressoTerminal.h"
#include "store/CopiaExclusao.h"

#include <QTextStream>

namespace vlme::cli {

// Writes the number of the copy; Ctrl+C cancels with nothing written.
Saida copiar(Contexto &c) {
    ProgressoTerminal progresso;
    const int copia = store::CopiaVLM(c.banco, c.declaracao, progresso, c.usuario);
    if (copia == 0)
        return Saida::Falha; // cancelled, and the user told
    c.saida << copia << '\n';
    c.json.insert(QStringLiteral("numero"), Numero(copia));
    return Saida::Sucesso;
}

} // namespace vlme::cli
