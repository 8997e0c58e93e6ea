#pragma once
// The record of imported files: which content (its SHA-256) made which
// statements, so that a job retried after a time-out can be refused the same
// file twice. Written inside the import's own transaction.

#include <QByteArray>
#include <QString>

#include <vector>

namespace vlme::store {

class Banco;

// One row per statement `declaracoes` names, all under `sha256` (lower-case
// hex) and the file's path.
void RegistraImportacao(Banco &banco, const QByteArray &sha256, const QString &arquivo,
                        const std::vector<int> &declaracoes);

// The statements an import of that content made that are still in the
// database, in ascending order; empty when there are none (never imported,
// or every one deleted since).
std::vector<int> DeclaracoesImportadas(Banco &banco, const QByteArray &sha256);

} // namespace vlme::store
