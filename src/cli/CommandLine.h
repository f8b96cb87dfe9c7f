#pragma once
// The headless commands of the etiqo program: info, render, print, printers, and the program's own
// --help and --version.

#include <optional>

namespace etiqo {

// Runs the command named by argv[1] and returns its exit status, or nullopt when argv names no
// command and the designer window is to start (no argument, a file, or one of Qt's own options).
std::optional<int> RunCommand(int argc, char** argv);

}  // namespace etiqo
