#pragma once
// `etiqo check`: the scan check of a label's pages without a window, as a JSON report.

#include <QStringList>

#include <vector>

#include "print/LabelPrintJob.h"

namespace etiqo {

// The exit status of `etiqo check` and `etiqo print` when a code would not scan right.
inline constexpr int kExitWouldNotScan = 3;

// etiqo check FILE.lab [--dpi D|DXxDY | --printer NAME] [--copies N]
int RunCheck(const QStringList& args);

// One "etiqo: FILE: page N, element …" line on stderr for each failing element.
void TellFailingPages(const QString& file, const std::vector<FailingPage>& failing);

}  // namespace etiqo
