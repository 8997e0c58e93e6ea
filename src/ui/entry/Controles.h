#pragma once
// Small builders the editing windows share, so each window names its
// controls (the objectName tests find them by) in one line.
// User-interface thread only.

#include <QString>

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
// own (returned, to be placed).
QWidget *ParDeOpcoes(QRadioButton *sim, QRadioButton *nao, QWidget *pai);
QPushButton *Botao(const char *nome, const QString &texto, QWidget *pai);
// The "..." button that opens a lookup, with its tooltip.
QPushButton *BotaoAssistente(const char *nome, const QString &dica, QWidget *pai);
// The read-only box beside a code that shows its description.
QLineEdit *CaixaDescricao(const char *nome, QWidget *pai);
// A field with its lookup button right after it.
QHBoxLayout *ComBotao(QWidget *campo, QPushButton *botao);

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
