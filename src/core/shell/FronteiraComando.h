#pragma once
// Where a command meets the user: whatever its operation throws becomes one
// message in Portuguese, so nothing escapes to std::terminate. The transaction
// guards have already rolled back by the time the exception gets here.
// Called on the user-interface thread only.

#include <QString>

#include <functional>

namespace vlme::base {
class ErroVLME;
class InterfaceUsuario;
} // namespace vlme::base
namespace vlme::shell {

// An error's message, its technical detail (the database's own text) after it.
QString TextoComDetalhe(const base::ErroVLME &erro);

// The user's text for the exception being handled: an ErroVLME's message
// (its detail after it), else a generic text. Call only inside a catch block.
QString TextoDoErro();

// Runs `acao`; whatever it throws is shown through `usuario` (title "ERRO",
// critical icon). False when it threw.
bool ExecutaProtegido(base::InterfaceUsuario &usuario, const std::function<void()> &acao);

} // namespace vlme::shell
