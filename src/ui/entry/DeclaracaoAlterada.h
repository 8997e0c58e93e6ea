#pragma once
// A save refused because another program changed the statement after this
// window read it: the user keeps what was typed as a new statement (a copy of
// the stored one with the typing over it) or reads the stored one again.
// Nothing typed is dropped without the user's word. UI thread only.

#include "store/Gravar.h"

#include <functional>
#include <optional>

namespace vlme::base {
class InterfaceUsuario;
} // namespace vlme::base

namespace vlme::ui {

// Runs `gravaEm(origem)`. Refused for that reason, asks; to keep the typing,
// copies statement `origem` with `digitados` (the general data typed, when
// the form holds them) over it and runs `gravaEm(copia)`. Returns the
// statement the typing went to (`origem` or the copy), 0 when the user chose
// to read `origem` again, nullopt when nothing was saved (the user was told,
// or cancelled the copy).
std::optional<int> GravaOuGuardaComoNova(store::Banco &banco, base::InterfaceUsuario &usuario,
                                         int origem,
                                         const std::optional<store::DadosGerais> &digitados,
                                         const std::function<void(int numero)> &gravaEm);

} // namespace vlme::ui
