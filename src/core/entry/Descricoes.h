#pragma once
// The names the forms show beside a typed NCM code or unit code, read from the
// reference tables. Database errors are thrown (store::ErroBanco) to the caller.
// User-interface thread, like the connection.

#include <QString>

namespace vlme::store {
class Banco;
}

namespace vlme::entry {

inline constexpr char DescricaoNaoEncontrada[] = "DESCRIÇÃO NÃO ENCONTRADA";

// The description of an 8-character code (blanks around it ignored); the
// not-found text when no row has it; empty for any other length.
QString DescricaoNCM(store::Banco &banco, const QString &codigo);
// The unit's name (codes compare without regard to case); the not-found text
// when no row has it; empty for an empty code.
QString DescricaoUnidade(store::Banco &banco, const QString &codigo);

} // namespace vlme::entry
