#pragma once
// The busy rule: while the hourglass (or the text cursor a long operation
// shows) is up, commands that would start other work are ignored and the main
// window does not close. The main window and the picker both ask here.
// UI thread only.

namespace vlme::ui {

bool Ocupado();

} // namespace vlme::ui
