#pragma once
// PrintLabel of the canvas: with no printer named, the print dialog chooses the printer and the
// copies (nothing else is taken from it); then the print job runs on the printer service.

#include <string>

#include "model/Label.h"
#include "print/LabelPage.h"
#include "print/LabelPrintJob.h"
#include "print/PrintCheck.h"

class QWidget;

namespace etiqo {

PrintResult PrintLabel(QWidget* parent, Label& label, const LabelPainter& painter,
                       const std::string& printerName, int copies);

// Shows the warnings of a check before printing and asks whether to print anyway; true to go on.
bool AskPrintAnyway(QWidget* parent, const PrintCheck& check);

// The print dialog asking for a printer and a copy count; false when cancelled.
bool AskPrinterAndCopies(QWidget* parent, std::string& printer, int& copies);

}  // namespace etiqo
