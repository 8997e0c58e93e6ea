#pragma once
// Backup and restore of one statement.
//
// A backup file is a database of ours (same schema, application id,
// owner-only) holding one statement: its VLME row with its own number, its
// models, components, subcomponent links, receipts and ERRO rows, and the
// invoices and import declarations its components refer to, with their keys.
// It is built in a new file beside the target, filled through an ATTACH of the
// program's own connection in one transaction, and renamed onto the target
// only when whole: VLM.MDB is never closed or swapped, and a cancel or failure
// leaves no file behind and the target as it was.
//
// A restore trusts nothing in the file: it is opened read-only with
// trusted_schema=OFF on a connection of its own and its layout is checked
// (application id, integrity, our tables and columns, no triggers or views,
// one statement of at most 9999 rows per kind) before a row is read. The
// statement is added in one transaction under new keys, each component with
// its own new invoice or declaration row; a cancel or a failure stores nothing.
// UI thread only, like the Banco, Progresso and InterfaceUsuario given.

#include <QString>
#include <QVariantList>

#include <optional>

namespace vlme::base {
class InterfaceUsuario;
class Progresso;
} // namespace vlme::base
namespace vlme::store {
class Banco;
}

namespace vlme::backup {

// The file dialogs' filter.
inline constexpr char FiltroCopia[] = "Arquivos backup VLME (*.BAK)";
inline constexpr char TextoFormatoInvalido[] = "Formato de arquivo inválido.";
inline constexpr char TituloFormatoInvalido[] = "ERRO!";

// The backup command for statement `numero`: asks where to save it (starting
// in the statement's file folder), writes it and tells the outcome. False when
// the user gave up or cancelled. Throws ErroDeclaracaoInexistente, ErroBanco,
// base::ErroVLME (a target that cannot be written).
bool GeraCopiaSeguranca(store::Banco &banco, const QString &pastaPrograma, int numero,
                        base::InterfaceUsuario &usuario, base::Progresso &progresso);

// The file a backup chosen as `nome` is written to: "*." (left by the
// dialog's filter) taken out, and ".BAK" added to a name without extension so
// that the restore dialog lists it.
QString NomeCopia(const QString &nome);

// Writes the backup of `numero` to `destino` ("*." taken out of the name),
// replacing a file there. False when cancelled, with nothing written. Tells
// the user nothing. Refuses (base::ErroVLME) a target that is the program's
// own database or a folder.
bool GravaCopiaSeguranca(store::Banco &banco, int numero, const QString &destino,
                         base::Progresso &progresso);

// The restore command: adds the statement of the backup file `caminho` as a
// new one and returns its number; 0 when it was refused or cancelled, after
// telling the user.
int RestauraCopiaSeguranca(store::Banco &banco, const QString &caminho, base::Progresso &progresso,
                           base::InterfaceUsuario &usuario);

// The VLME row of statement `m` in `copia`, as AdicionaDeclaracao takes it
// (its columns in a fixed order: the transmission number 15th, the code 17th,
// the product name 19th, counted from 0). Throws ErroDeclaracaoInexistente.
QVariantList LinhaVLME(store::Banco &copia, int m);

// Adds statement `m` of `copia` to `banco` in one transaction (nested in the
// caller's, when there is one): `linhaVLME` as its row, its components,
// subcomponent links, models, diagnostic rows and receipts, each component
// with a new invoice or declaration row, the identity `copia` gives it (a new
// one when it gives none, or one `banco` already has), the history it carries
// and the history's row of its arrival, `origem` saying from where. Its new
// number, or nullopt when `progresso` was cancelled, with nothing stored.
std::optional<int> AdicionaDeclaracao(store::Banco &copia, store::Banco &banco, int m,
                                      const QVariantList &linhaVLME, const QString &origem,
                                      base::Progresso &progresso);

} // namespace vlme::backup
