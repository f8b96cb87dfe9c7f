#include "print/PrintLabel.h"

#include <QMessageBox>

#include "print/CheckApproval.h"
#include "print/CupsPrinterConfig.h"
#include "print/CupsSpooler.h"
#include "print/PrintCheck.h"
#include "print/PrintDlg.h"
#include "res/Texts.h"
#include "res/UiText.h"

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
    if (const PrintCheck check = CheckBeforePrinting(printers, label, printer);
        !check.warnings.empty() && !AskPrintAnyway(parent, check)) {
        PrintResult cancelled;
        cancelled.status = PrintResult::Status::Cancelled;
        return cancelled;
    }
    CupsSpooler spooler;
    LabelChecker checker;
    LabelPrintJob job(printers, spooler, painter);
    job.AllowUnavailablePaper(true);  // the user was asked
    job.SetCheck(&checker, [parent](const std::vector<FailingPage>& failing) {
        return AskPrintDespiteCheck(parent, failing);
    });
    PrintResult result = job.Print(label, printer, copies);
    if (result.status == PrintResult::Status::CheckRefused) {
        result.status = PrintResult::Status::Cancelled;  // the user's own answer needs no message
    }
    return result;
}

bool AskPrintAnyway(QWidget* parent, const PrintCheck& check) {
    QString lines;
    for (const std::string& warning : check.warnings) {
        lines += (lines.isEmpty() ? QString() : QStringLiteral("\n")) + QString::fromStdString(warning);
    }
    const QString question = UiText(TextId::PrintAnywayQuestion).replace(QStringLiteral("%1"), lines);
    return QMessageBox::warning(parent, UiText(TextId::PrintCheckTitle), question,
                                QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace etiqo
