#include "ui/entry/Assistentes.h"

namespace vlme::ui {

// Placeholder until the lookup windows land: no choice is ever made.
std::optional<EscolhaAssistente> EscolheNCM(store::Banco &, shell::InterfaceUsuario &, QWidget *) {
    return std::nullopt;
}

std::optional<EscolhaAssistente> EscolheUnidade(store::Banco &, shell::InterfaceUsuario &,
                                                QWidget *) {
    return std::nullopt;
}

} // namespace vlme::ui
