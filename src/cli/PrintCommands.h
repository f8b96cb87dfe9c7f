#pragma once
// `etiqo print` and `etiqo printers`: the print job and the printer list without a window.

#include <span>

namespace etiqo {

// etiqo print FILE.lab [--printer NAME] [--copies N] [--update] [--wait]
int RunPrint(std::span<char* const> args);

// etiqo printers: every printer, the default one marked, with its default paper and resolution.
int RunPrinters(std::span<char* const> args);

}  // namespace etiqo
