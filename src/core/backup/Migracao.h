#pragma once
// Moving a machine's statements to the team database: every statement of a
// VLM.MDB copied into the server under a new number, each in one
// transaction, with its identity and its import records, then the NCM and
// unit codes the server lacks. The server records what came from where
// (MIGRACAO_VLME: the statement's identity, the file's, its number there, the
// number here and a fingerprint of the content), so a second run, or a run
// from a hand-copied file, copies nothing twice; a statement changed in the
// file since it was copied, or deleted on the server since, is reported
// instead of copied again.
// UI thread only, like the Banco and Progresso given.

#include <QList>
#include <QString>

namespace vlme::base {
class Progresso;
}
namespace vlme::store {
class Banco;
}

namespace vlme::backup {

struct Movida {
    int antigo;
    int novo; // the statement's number on the server
};

struct ResultadoMigracao {
    QList<Movida> migradas;   // copied now
    QList<Movida> jaMigradas; // copied before, unchanged since
    QList<Movida> alteradas;  // copied before and changed since: not copied
    QList<Movida> excluidas;  // copied before and deleted on the server since: not copied
    int ncmIncluidos = 0, unidadesIncluidas = 0;
    bool cancelada = false; // what was copied before the cancel stays, recorded
};

// Copies the statements of `local` (a file) into `servidor` (the team
// database). Throws base::ErroVLME when the two are not a file and a server,
// store::ErroBanco on a database error: the statement being copied is then
// rolled back, those copied before stay, recorded.
ResultadoMigracao Migra(store::Banco &local, store::Banco &servidor, base::Progresso &progresso);

// "N -> M" for each statement copied, then one line per statement left alone
// because it changed since it was copied.
QString TextoMigracao(const ResultadoMigracao &r);

// A digest of everything statement `n` holds (its row, models, components with
// their invoices and declarations, subcomponents, receipts, diagnostic rows),
// keys left out: equal while the statement is unchanged.
QString AssinaturaDeclaracao(store::Banco &banco, int n);

} // namespace vlme::backup
