#include "print/BatchProgress.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressDialog>

#include "print/CheckApproval.h"
#include "print/CupsPrinterConfig.h"
#include "print/CupsSpooler.h"
#include "print/PrintCheck.h"
#include "print/PrintLabel.h"
#include "res/UiText.h"

namespace etiqo {

namespace {

// What the user reads at the end of a run that did not go through untouched.
QString Summary(const BatchReport& report) {
    QStringList lines{UiText(TextId::BatchPrinted, report.printed)};
    if (report.cancelled) {
        lines << UiText(TextId::BatchCancelled);
    }
    for (const auto& [title, files] : {std::pair{TextId::BatchUnreadable, &report.unreadable},
                                       std::pair{TextId::BatchNotPrinted, &report.notPrinted}}) {
        if (!files->empty()) {
            lines << QString() << UiText(title);
            for (const std::string& file : *files) {
                lines << QString::fromStdString(file);
            }
        }
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

BatchReport PrintBatch(QWidget* parent, Label& label, std::deque<std::string>& queue,
                       const LabelPainter& painter,
                       std::function<std::optional<std::string>(Label&, const std::string&)> load) {
    QProgressDialog progress(parent);
    progress.setWindowTitle(UiText(TextId::BatchTitle));
    progress.setCancelButtonText(UiText(TextId::BatchCancel));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);

    BatchHooks hooks;
    hooks.load = std::move(load);
    hooks.askPrinter = [parent]() -> std::optional<std::string> {
        std::string printer;
        int copies = 1;
        return AskPrinterAndCopies(parent, printer, copies) ? std::optional(printer) : std::nullopt;
    };
    hooks.progress = [&progress](int done, int total, const std::string& file) {
        progress.setMaximum(total);
        progress.setValue(done);
        if (!file.empty()) {
            const QString name = QFileInfo(QString::fromStdString(file)).fileName();
            progress.setLabelText(UiText(TextId::BatchProgress, done + 1, total, name));
        }
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
    };

    CupsPrinterConfig printers;
    hooks.confirm = [parent, &printers](const Label& l,
                                        const std::string& printer) -> std::optional<std::string> {
        const PrintCheck check = CheckBeforePrinting(printers, l, printer);
        if (check.warnings.empty() || AskPrintAnyway(parent, check)) {
            return std::nullopt;
        }
        return check.warnings.front();
    };
    CupsSpooler spooler;
    LabelPrintJob job(printers, spooler, painter);
    LabelChecker checker;
    job.SetCheck(&checker, [parent](const std::vector<FailingPage>& failing) {
        return AskPrintDespiteCheck(parent, failing);
    });
    job.AllowUnavailablePaper(true);  // the user was asked
    const BatchReport report = RunBatch(label, queue, job, hooks);
    progress.close();
    if (report.cancelled || !report.unreadable.empty() || !report.notPrinted.empty()) {
        QMessageBox::warning(parent, UiText(TextId::BatchTitle), Summary(report));
    }
    return report;
}

}  // namespace etiqo
