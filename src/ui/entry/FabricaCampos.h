#pragma once
// Builds a form's fields from the field tables, so a form only places them,
// and acts on the tag letters every control may carry (T locks a delivered
// statement's controls, D and V the component forms' modes).
// User-interface thread only.

#include <QString>

class QWidget;

namespace vlme::base {
class InterfaceUsuario;
} // namespace vlme::base

namespace vlme::ui {

class CampoMascarado;

// The field (form, name) of the field table with its mask, maximum length,
// tag, keystroke filter and leaving rules; its objectName is the name. Its
// messages go to `usuario`, which must outlive it. Throws base::ErroVLME
// for a field the table does not have.
CampoMascarado *CriaCampo(const QString &formulario, const QString &campo,
                          base::InterfaceUsuario &usuario, QWidget *pai = nullptr);

// The tag letters of any control (fields, options, buttons).
void DefineTag(QWidget *controle, const QString &tag);
// Gives every control inside `janela` the tag the field tables list for it
// on `formulario`.
void DefineTagsDoFormulario(QWidget *janela, const char *formulario);
QString Tag(const QWidget *controle);
// Enables or disables every control inside `janela` whose tag has `letra`.
void HabilitaPorTag(QWidget *janela, QChar letra, bool habilitado);
// The T rule: a statement already transmitted or registered is not changed.
inline void BloqueiaEntregue(QWidget *janela, bool bloqueia) {
    HabilitaPorTag(janela, QLatin1Char('T'), !bloqueia);
}

// A control (a Cancel button) that takes the cursor without the leaving
// checks of the field it comes from, so a bad value never traps the user.
void DispensaConferencia(QWidget *controle);
bool ConferenciaDispensada(const QWidget *controle);

} // namespace vlme::ui
