#include "print/PrintLabel.h"

#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

#include "print/CupsPrinterConfig.h"
#include "print/CupsSpooler.h"
#include "print/PrintCheck.h"
#include "res/Texts.h"

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
    if (const PrintCheck check = CheckBeforePrinting(printers, label, printer);
        !check.warnings.empty() && !AskPrintAnyway(parent, check)) {
        PrintResult cancelled;
        cancelled.status = PrintResult::Status::Cancelled;
        return cancelled;
    }
    CupsSpooler spooler;
    LabelPrintJob job(printers, spooler, painter);
    job.AllowUnavailablePaper(true);  // the user was asked
    return job.Print(label, printer, copies);
}

bool AskPrintAnyway(QWidget* parent, const PrintCheck& check) {
    QString lines;
    for (const std::string& warning : check.warnings) {
        lines += (lines.isEmpty() ? QString() : QStringLiteral("\n")) + QString::fromStdString(warning);
    }
    const QString question =
        QString::fromUtf8(Tr(TextId::PrintAnywayQuestion)).replace(QStringLiteral("%1"), lines);
    return QMessageBox::warning(parent, QString::fromUtf8(Tr(TextId::PrintCheckTitle)), question,
                                QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace etiqo
