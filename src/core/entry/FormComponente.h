#pragma once
// What the two component forms share: the outcome of their checks tied to the
// field each belongs to, the enabled state of their controls, the captions by
// operation and the tags of the controls that are not fields.
// Pure data and functions; any thread.

#include "entry/Conferencias.h"

#include <QString>

#include <utility>
#include <vector>

namespace vlme::entry {

// One field check as the form runs it on confirming.
struct ConferenciaCampo {
    QString campo; // objectName of the field
    Conferencia conferencia;
};
// The checks in order, up to and including the first that failed.
using ConferenciasCampos = std::vector<ConferenciaCampo>;
inline bool Passou(const ConferenciasCampos &c) {
    return c.empty() || c.back().conferencia.passou;
}

// objectName of a control and whether it is enabled.
using Habilitacao = std::vector<std::pair<QString, bool>>;

// "Incluir ", "Alterar ", "Excluir " or "Visualizar " for the operation code.
QString PrefixoOperacao(int operacao);

// The tag letters of a form's controls, fields (from the field table) and
// others (options, buttons) alike; empty for an untagged control.
QString TagControle(const char *formulario, const QString &controle);

// Whether a control stays enabled under the operation's mode: delete mode
// disables the tag letter D, view mode the letter V.
bool HabilitadoNoModo(int operacao, const QString &tag);

// The catalog's text of a key.
QString Mensagem(const char *chave);

} // namespace vlme::entry
