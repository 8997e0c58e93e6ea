#include "cli/Comandos.h"

#include "backup/CopiaSeguranca.h"
#include "base/Erros.h"
#include "base/InterfaceUsuario.h"
#include "cli/ProgressoTerminal.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace vlme::cli {

// Writes the backup of N to ARQ, replacing a file there, and the path written;
// Ctrl+C cancels with no file left.
Saida backup(Contexto &c) {
    const QString destino = QFileInfo(backup::NomeCopia(c.argumentos.at(1))).absoluteFilePath();
    ProgressoTerminal progresso;
    if (!backup::GravaCopiaSeguranca(c.banco, c.declaracao, destino, progresso)) {
        c.usuario.mensagem(QStringLiteral("Cancelado!"), base::Mensagem("AVISO_OPERACAO_CANCELADA"),
                           base::Icone::Exclamacao, base::Botoes::Ok);
        return Saida::Falha;
    }
    c.saida << QDir::toNativeSeparators(destino) << '\n';
    c.json.insert(QStringLiteral("arquivo"), QDir::toNativeSeparators(destino));
    return Saida::Sucesso;
}

} // namespace vlme::cli
