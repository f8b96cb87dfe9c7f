#include "print/BatchPrint.h"

#include "model/LabelFile.h"
#include "res/Texts.h"

namespace etiqo {

std::optional<std::string> LoadQueuedLabel(Label& label, const std::string& file) {
    LabelReadResult read = ReadLabelFile(file);
    if (!read) {
        return read.error;
    }
    label.Adopt(std::move(*read.contents), file);
    return std::nullopt;
}

BatchReport RunBatch(Label& label, std::deque<std::string>& queue, LabelPrintJob& job,
                     const BatchHooks& hooks) {
    BatchReport report;
    const int total = static_cast<int>(queue.size());
    std::optional<std::optional<std::string>> chosenPrinter;  // asked once per run
    for (int done = 0; !queue.empty(); ++done) {
        const std::string file = queue.front();
        if (hooks.progress && !hooks.progress(done, total, file)) {
            report.cancelled = true;
            return report;
        }
        queue.pop_front();
        const auto error = hooks.load ? hooks.load(label, file) : LoadQueuedLabel(label, file);
        if (error) {
            report.unreadable.push_back(*error);
            continue;
        }
        std::string printer = label.m_strPrinterName;
        if (printer.empty()) {
            if (!chosenPrinter) {
                chosenPrinter = hooks.askPrinter ? hooks.askPrinter() : std::nullopt;
            }
            if (!*chosenPrinter) {
                report.notPrinted.push_back(file + ": " + Tr(TextId::BatchNoPrinter));
                continue;
            }
            printer = **chosenPrinter;
        }
        if (hooks.confirm) {
            if (const auto declined = hooks.confirm(label, printer)) {
                report.notPrinted.push_back(file + ": " + *declined);
                continue;
            }
        }
        const PrintResult result = job.Print(label, printer, 1);
        if (result) {
            ++report.printed;
            report.jobs.push_back({file, printer, result.jobId});
        } else {
            report.notPrinted.push_back(file + ": " + result.error);
        }
    }
    if (hooks.progress) {
        hooks.progress(total, total, {});
    }
    return report;
}

}  // namespace etiqo
