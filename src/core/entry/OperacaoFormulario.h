#pragma once
// What a model or component form is opened to do; the general-data window
// passes it, and each form's captions, enabled fields and confirmation follow.

namespace vlme::entry::OperacaoFormulario {

inline constexpr int Incluir = 1;
inline constexpr int Alterar = 2;
inline constexpr int Excluir = 3;
inline constexpr int Visualizar = 17;

} // namespace vlme::entry::OperacaoFormulario
