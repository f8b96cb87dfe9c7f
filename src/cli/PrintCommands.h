#pragma once
// `etiqo print` and `etiqo printers`: the print job and the printer list without a window.

#include <QStringList>

namespace etiqo {

// etiqo print FILE.lab [--printer NAME] [--copies N] [--update] [--wait]
int RunPrint(const QStringList& args);

// etiqo printers: every printer, the default one marked, with its default paper and resolution.
int RunPrinters(const QStringList& args);

}  // namespace etiqo
