#include "print/PrintLabel.h"

#include "print/CheckApproval.h"
#include "print/CupsPrinterConfig.h"
#include "print/CupsSpooler.h"
#include "print/PrintDlg.h"

namespace etiqo {

bool AskPrinterAndCopies(QWidget* parent, std::string& printer, int& copies) {
    CupsPrinterConfig printers;
    CPrintDlg dialog(printers, parent);
    if (dialog.exec() != QDialog::Accepted || dialog.Printer().empty()) {
        return false;
    }
    printer = dialog.Printer();
    copies = dialog.Copies();
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
