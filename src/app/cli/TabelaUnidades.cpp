#include "cli/Comandos.h"

#include "import/Tabelas.h"

#include <QFileInfo>

namespace vlme::cli {

// The table's message; a file refused stores nothing and exits with 1.
Saida tabelaUnidades(Contexto &c) {
    const importacao::ResultadoTabela r = importacao::GeraTabela(
        c.banco, c.usuario, QFileInfo(c.argumentos.first()).absoluteFilePath(),
        QString::fromLatin1(importacao::CodigoTabelaUnidade));
    return r.sucesso ? Saida::Sucesso : Saida::Problemas;
}

} // namespace vlme::cli
