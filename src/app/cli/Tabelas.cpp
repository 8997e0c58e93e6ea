#include "cli/Comandos.h"

#include "import/Tabelas.h"

#include <QFileInfo>

namespace vlme::cli {

namespace {

// The table's message; a file refused stores nothing and exits with 1.
Saida importaTabela(Contexto &c, const char *codigo) {
    const importacao::ResultadoTabela r = importacao::GeraTabela(
        c.banco, c.usuario, QFileInfo(c.argumentos.first()).absoluteFilePath(),
        QString::fromLatin1(codigo));
    return r.sucesso ? Saida::Sucesso : Saida::Problemas;
}

} // namespace

Saida tabelaNCM(Contexto &c) {
    return importaTabela(c, importacao::CodigoTabelaNCM);
}

Saida tabelaUnidades(Contexto &c) {
    return importaTabela(c, importacao::CodigoTabelaUnidade);
}

} // namespace vlme::cli
