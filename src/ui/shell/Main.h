#pragma once
// The desktop program's start-up, from launch to the main window.

class QCoreApplication;

namespace vlme::ui {

// Loads Qt's own translations of the standard dialogs and buttons into `app`
// (the translators are its children): Brazilian Portuguese, under the user's
// own Portuguese when that is another, since the program speaks Portuguese
// whatever the system's language. False when none could be installed.
bool InstalaTraducoesQt(QCoreApplication &app);

// Runs the program; returns its exit status.
int Main(int argc, char *argv[]);

} // namespace vlme::ui
