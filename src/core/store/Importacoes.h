#pragma once
// The record of imported files: which content (its SHA-256) made which
// statements, so that a job retried after a time-out can be refused the same
// file twice. Written inside the import's own transaction.

#include <QByteArray>
#include <QString>

#include <optional>
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

// An import of `sha256` whose COMMIT went without an answer on the server,
// found out once the server answers again (tried for a few seconds): the
// statements it stored beyond `antes` (those the content had made before);
// none when provably nothing was stored (the lost session `sessao` is gone
// from the server, and with it anything it had not committed); nullopt when
// it cannot be known yet.
std::optional<std::vector<int>> ConfereImportacao(Banco &banco, const QByteArray &sha256,
                                                  const std::vector<int> &antes,
                                                  const QString &sessao);

} // namespace vlme::store
