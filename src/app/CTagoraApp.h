#pragma once
// Start-up of the designer window.

namespace etiqo {

// Runs the designer: language from the system locale, settings, the main window shown maximized;
// a label file named on the command line is opened. Returns the exit status.
int RunDesigner(int argc, char** argv);

}  // namespace etiqo
