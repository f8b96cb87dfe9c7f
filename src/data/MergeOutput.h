#pragma once
// Labels from records to their outputs: a PDF, PNG pages, or a print job. Problems with single
// records are collected (the other records still come out); anything that stops the whole run
// (a missing column, a source that cannot be opened or read, a file that cannot be written) is
// said in `error` before anything is made, or leaves no output behind.

#include <QString>

#include <string>
#include <vector>

#include "data/DataSource.h"
#include "data/RecordMerge.h"
#include "model/Label.h"
#include "print/LabelPage.h"
#include "print/LabelPrintJob.h"

namespace etiqo {

class PrinterConfig;
class PrintSpooler;
class SymbolCache;

struct MergeOutcome {
    bool ok = false;    // output made (records may still have been skipped)
    std::string error;  // one line when not ok
    std::vector<RecordProblem> problems;
    long labels = 0;
    int jobId = 0;              // a print job's id
    bool wouldNotScan = false;  // the scan check stopped the print job
    // Not ok, or records were left out: the command line then exits with 1.
};

// Opens the source and checks it has every referred column. Null with the message otherwise.
std::unique_ptr<DataSource> OpenForLabel(const Label& label, const SourceChoice& choice, std::string& error);

// pngPattern: OUT.png gives OUT-1.png, OUT-2.png … (one per label, always numbered).
MergeOutcome ExportMergedPdf(Label& label, const SourceChoice& choice, const MergeSettings& settings,
                             SymbolCache& symbols, const LabelPainter& painter, const QString& path);
MergeOutcome ExportMergedPng(Label& label, const SourceChoice& choice, const MergeSettings& settings,
                             SymbolCache& symbols, const LabelPainter& painter, const QString& path);
// Reads the source twice: once to count the labels (and find the bad records) before the job
// starts, once to draw them.
// With a checker, each page is scan-checked before the job is queued (see LabelPrintJob::SetCheck).
MergeOutcome PrintMerged(Label& label, const SourceChoice& choice, const MergeSettings& settings,
                         SymbolCache& symbols, const LabelPainter& painter, PrinterConfig& printers,
                         PrintSpooler& spooler, const std::string& printer, LabelChecker* checker = nullptr,
                         CheckApproval approve = {});

// The file of the n-th PNG page (from 1).
QString MergedPngName(const QString& path, long page);

// The settings a source names (copies, quantity column) with the range and clock.
MergeSettings SettingsFor(const SourceChoice& choice, RecordRange range, QDateTime now);

}  // namespace etiqo
