#pragma once
// The statement database's tables, keys and indexes, and the one-time upgrade
// of a database made by the earlier layout.

#include <QStringList>

namespace vlme::store {

class Banco;

// Collation of the text columns compared for equality (model
// descriptions, codes looked up): case-insensitive, accented letters too.
inline constexpr char NomeColacao[] = "VLME_TEXTO";

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
// Makes sure CODIGO_VLM is never null (other tools may leave nulls).
void NormalizaCodigos(Banco &banco);

} // namespace vlme::store
