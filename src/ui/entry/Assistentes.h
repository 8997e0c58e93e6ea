#pragma once
// The NCM and unit lookups the editing forms open from their buttons: a
// modal list of the reference table filtered by code prefix. The choice is
// returned, never left in shared state. User-interface thread only.

#include <QString>

#include <optional>

class QWidget;

namespace vlme::store {
class Banco;
}
namespace vlme::base {
class InterfaceUsuario;
} // namespace vlme::base

namespace vlme::ui {

struct EscolhaAssistente {
    QString codigo;    // NCM: its 8 digits; unit: its code
    QString descricao; // NCM description (trimmed) or unit name
};

// Nothing when the user cancelled or the table had no row.
std::optional<EscolhaAssistente> EscolheNCM(store::Banco &banco, base::InterfaceUsuario &usuario,
                                            QWidget *pai);
std::optional<EscolhaAssistente> EscolheUnidade(store::Banco &banco,
                                                base::InterfaceUsuario &usuario, QWidget *pai);

} // namespace vlme::ui
