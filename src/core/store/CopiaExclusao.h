#pragma once
// Whole-statement operations: a new empty statement, a copy of a statement
// with its own rows in every table (its invoices and import declarations
// duplicated), and the delete of a statement with every row that belongs to it.
//
// Each copy or delete runs in one store::Transacao: a cancel or a database
// error rolls everything back, so a half-copied or half-deleted statement is
// never left behind: a partial copy would look like an ordinary statement and
// be easy to take for a whole one. Database errors are thrown as
// store::ErroBanco after the rollback. Nothing here touches program-wide state:
// after ExcluiVLM the caller marks the open statement as new and unchanged.
// UI thread only, like the Banco, Progresso and InterfaceUsuario given.

#include <QString>

namespace vlme::base {
class InterfaceUsuario;
class Progresso;
} // namespace vlme::base

namespace vlme::store {

class Banco;

// A new NF / DI row with the same values as the row keyed `chave`; returns its
// key. 0 gives 0; so does a key whose row is missing (the copy then has no
// document, which the pendency check reports, instead of a link to nothing).
int CopiaNF(Banco &banco, int chave);
int CopiaDI(Banco &banco, int chave);

// Copies statement `origem` under a new number and returns it; 0 when the
// user cancelled (after telling them, and with nothing written). The copy is
// "Original" (no transmission, code or registration), has no receipts or
// diagnostic rows, and is named "Cópia de " + the first 71 characters of the
// source's product name. Throws ErroDeclaracaoInexistente when `origem` does
// not exist.
int CopiaVLM(Banco &banco, int origem, base::Progresso &progresso, base::InterfaceUsuario &usuario);
// The product name a copy of a statement named `nomeProduto` gets.
QString NomeDeCopia(const QString &nomeProduto);

// Deletes statement `n` and every row of it: its invoices and declarations,
// subcomponent links, components, models, receipts, diagnostic rows, print
// scratch rows and its VLME row. Cannot be cancelled. Unless `silencioso`, the
// steps are shown in `progresso` (which may be null).
void ExcluiVLM(Banco &banco, int n, bool silencioso, base::Progresso *progresso);

} // namespace vlme::store
