#pragma once
// Small builders the editing windows share, so each window names its
// controls (the objectName tests find them by) in one line.
// User-interface thread only.

#include <QString>

#include <initializer_list>

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace vlme::ui {

QLabel *Rotulo(const char *nome, const QString &texto, QWidget *pai);
QRadioButton *Opcao(const char *nome, const QString &texto, QWidget *pai);
// Two options that exclude only each other, side by side in a row of their
// own (returned, to be placed). Tab stops on the selected one only; the
// arrow keys change the choice.
QWidget *ParDeOpcoes(QRadioButton *sim, QRadioButton *nao, QWidget *pai);
QPushButton *Botao(const char *nome, const QString &texto, QWidget *pai);
// The "..." button that opens a lookup, with its tooltip. It is no Tab stop
// between two fields: F4 in the code field opens it (LigaF4).
QPushButton *BotaoAssistente(const char *nome, const QString &dica, QWidget *pai);
// F4 in `campo` clicks `botao` while it is enabled.
void LigaF4(QWidget *campo, QPushButton *botao);
// A code field locked (a delivered statement) while its lookup still
// consults stays a read-only Tab stop, so F4 there opens the lookup. Call
// after the window's enabling rules; a lock is not lifted while the window
// is open.
void ConsultaNosTravados(QWidget *janela);
// The read-only box beside a code that shows its description.
QLineEdit *CaixaDescricao(const char *nome, QWidget *pai);
// A field with its lookup button right after it, opened by F4 in the field.
QHBoxLayout *ComBotao(QWidget *campo, QPushButton *botao);

// Gives the keyboard to the first of `candidatos` that can take it (enabled
// and not hidden inside `janela`): the field a user types first, else the
// list or the button that closes. Call before the window is shown or in its
// showEvent.
void FocoInicial(QWidget *janela, std::initializer_list<QWidget *> candidatos);

// The OK ("cmdOk") and Cancel ("cmdCancelar") of an editing window, to the
// right of the row returned. OK is the default button (Enter); Cancel leaves
// without the field checks. okSemFoco: the window's confirm runs the current
// field's leaving rules itself, so a click on OK leaves the cursor in it.
struct OkCancelar {
    QPushButton *ok;
    QPushButton *cancelar;
    QHBoxLayout *linha;
};
OkCancelar BotoesOkCancelar(QWidget *janela, bool okSemFoco = false);

} // namespace vlme::ui
