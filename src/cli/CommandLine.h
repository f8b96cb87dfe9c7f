#pragma once
// The headless commands of the etiqo program: info, render, print, printers.

#include <optional>

namespace etiqo {

// Runs the command named by argv[1] and returns its exit status, or nullopt when argv names
// no command (the designer window is then started instead).
std::optional<int> RunCommand(int argc, char** argv);

}  // namespace etiqo
