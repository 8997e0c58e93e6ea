#pragma once
// Our schema on the team server: created in an empty database (in the
// connection's schema), marked with the program's identity and schema
// version; a database of another program, or of a newer version of this
// one, is refused untouched.

#include <QString>

namespace vlme::store {
class Banco;
class Motor;
} // namespace vlme::store

namespace vlme::store::servidor {

// The schema version this program writes; an earlier one is upgraded.
inline constexpr int VersaoEsquema = 1;

// Creates the schema when the database is empty, checks the mark when not.
// Throws ErroBanco with the reason for the user.
void PreparaEsquema(Banco &banco, const Motor &motor);

} // namespace vlme::store::servidor
