#include "print/PrintLabel.h"

#include <QPrintDialog>
#include <QPrinter>

#include "print/CheckApproval.h"
#include "print/CupsPrinterConfig.h"
#include "print/CupsSpooler.h"

namespace etiqo {

bool AskPrinterAndCopies(QWidget* parent, std::string& printer, int& copies) {
    QPrinter device(QPrinter::HighResolution);
    QPrintDialog dialog(&device, parent);
    // For printing, not print setup: no selection, no page numbers, no print to file.
    dialog.setOptions(QAbstractPrintDialog::PrintCollateCopies);
    if (dialog.exec() != QDialog::Accepted || device.printerName().isEmpty()) {
        return false;
    }
    printer = device.printerName().toStdString();
    copies = device.copyCount();
    return true;
}

PrintResult PrintLabel(QWidget* parent, Label& label, const LabelPainter& painter,
                       const std::string& printerName, int copies) {
    std::string printer = printerName;
    if (printer.empty() && !AskPrinterAndCopies(parent, printer, copies)) {
        PrintResult cancelled;
        cancelled.status = PrintResult::Status::Cancelled;
        return cancelled;
    }
    CupsPrinterConfig printers;
    CupsSpooler spooler;
    LabelChecker checker;
    LabelPrintJob job(printers, spooler, painter);
    job.SetCheck(&checker, [parent](const std::vector<FailingPage>& failing) {
        return AskPrintDespiteCheck(parent, failing);
    });
    PrintResult result = job.Print(label, printer, copies);
    if (result.status == PrintResult::Status::CheckRefused) {
        result.status = PrintResult::Status::Cancelled;  // the user's own answer needs no message
    }
    return result;
}

}  // namespace etiqo
