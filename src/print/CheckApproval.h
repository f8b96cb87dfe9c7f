#pragma once
// The designer's side of the scan check before printing: the user is shown which codes on which
// pages would not scan and decides whether to print all the same.

#include <vector>

#include "print/LabelPrintJob.h"

class QWidget;

namespace etiqo {

// Yes/No, naming each failing page and element (the first few of them). No is the default.
bool AskPrintDespiteCheck(QWidget* parent, const std::vector<FailingPage>& failing);

}  // namespace etiqo
