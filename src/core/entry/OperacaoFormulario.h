#pragma once
// What a model or component form is opened to do; the general-data window
// passes it, and each form's captions, enabled fields and confirmation follow.

#include <QString>

namespace vlme::entry::OperacaoFormulario {

inline constexpr int Incluir = 1;
inline constexpr int Alterar = 2;
inline constexpr int Excluir = 3;
inline constexpr int Visualizar = 17;

} // namespace vlme::entry::OperacaoFormulario

namespace vlme::entry {

// The part of a statement a form saved, as its history names it:
// "Componentes nacionais: inclusão".
inline QString ParteGravada(const char *parte, int operacao) {
    const char *acao = operacao == OperacaoFormulario::Incluir   ? "inclusão"
                       : operacao == OperacaoFormulario::Excluir ? "exclusão"
                                                                 : "alteração";
    return QString::fromUtf8(parte) + QStringLiteral(": ") + QString::fromUtf8(acao);
}

} // namespace vlme::entry
