#pragma once
// The statement database's tables, keys and indexes, and the one-time upgrade
// of a database made by the earlier layout.

#include <QStringList>

namespace vlme::store {

class Banco;

// Text equality the way the old engine saw it (case-insensitive, accented
// letters too), registered on our own connections. Queries that compare model
// descriptions or look codes up name it; the schema never does, so that any
// SQLite tool reads the file.
inline constexpr char NomeColacao[] = "VLME_TEXTO";

// The program's name in a database's identity (VLME_IDENTIDADE).
inline constexpr char ProgramaEsquema[] = "VLM-E";

// Every statement that creates the current schema, in order.
QStringList ComandosEsquema();
void CriaEsquema(Banco &banco);

// The start-up probe: true when the database lacks the lookup tables of the
// current layout and must be upgraded. Throws ErroBanco when the probe fails
// for any other reason.
bool PrecisaAtualizar(Banco &banco);
// Upgrades an earlier-layout database: the previous-statement number becomes
// text of width 10 and the NCM and unit tables are added. All or nothing.
void AtualizaEsquema(Banco &banco);
// Adds the import record (IMPORTACAO), the database's own identity
// (VLME_IDENTIDADE) and the statements' identities and versions (CONTROLE) to
// a file made before them. All or nothing; writes
// nothing when both are there.
void CompletaEsquema(Banco &banco);
// The identity of a database of ours (file or team server), a UUID; empty
// when it has none yet.
QString IdentidadeBanco(Banco &banco);
// The identity table, and its one row with a new UUID.
QString ComandoIdentidade();
void MarcaIdentidade(Banco &banco, int versao);
// True when a table or index names the collation in its definition, as the
// previous version made VLM.MDB and VLME.MOD.
bool NomeiaColacao(Banco &banco);
// Rebuilds those tables and indexes without it, keeping every row, rowid,
// index and AUTOINCREMENT counter. All or nothing; does nothing when no
// definition names it.
void RetiraColacao(Banco &banco);
// Makes sure CODIGO_VLM is never null (other tools may leave nulls).
void NormalizaCodigos(Banco &banco);

} // namespace vlme::store
