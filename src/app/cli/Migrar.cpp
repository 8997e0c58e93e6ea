#include "backup/Migracao.h"
#include "cli/Comandos.h"
#include "cli/Json.h"
#include "cli/ProgressoTerminal.h"
#include "store/Banco.h"

#include <QJsonArray>
#include <QTextStream>

namespace vlme::cli {

namespace {

QJsonArray Lista(const QList<backup::Movida> &movidas) {
    QJsonArray lista;
    for (const backup::Movida &m : movidas)
        lista.append(QJsonObject{{QStringLiteral("antigo"), Numero(m.antigo)},
                                 {QStringLiteral("novo"), Numero(m.novo)}});
    return lista;
}

} // namespace

// Copies the data folder's statements and tables to the team database URL;
// "antigo -> novo" per statement copied. A statement changed since an earlier
// copy is told and left alone (exit 1); a failure keeps nothing of the
// statement being copied (exit 3), those before it stay on the server.
Saida migrar(Contexto &c) {
    store::Banco servidor;
    servidor.abreServidor(c.argumentos.first());
    ProgressoTerminal progresso;
    const backup::ResultadoMigracao r = backup::Migra(c.banco, servidor, progresso);
    c.saida << backup::TextoMigracao(r);
    c.json.insert(QStringLiteral("migradas"), Lista(r.migradas));
    c.json.insert(QStringLiteral("jaMigradas"), Lista(r.jaMigradas));
    c.json.insert(QStringLiteral("alteradas"), Lista(r.alteradas));
    c.json.insert(QStringLiteral("excluidasNoServidor"), Lista(r.excluidas));
    c.json.insert(QStringLiteral("ncmIncluidos"), r.ncmIncluidos);
    c.json.insert(QStringLiteral("unidadesIncluidas"), r.unidadesIncluidas);
    if (r.cancelada)
        return Saida::Falha;
    return r.alteradas.isEmpty() && r.excluidas.isEmpty() ? Saida::Sucesso : Saida::Problemas;
}

} // namespace vlme::cli
