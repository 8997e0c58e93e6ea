#pragma once
// The desktop program's start-up, from launch to the main window.

namespace vlme::ui {

// Runs the program; returns its exit status.
int Main(int argc, char *argv[]);

} // namespace vlme::ui
