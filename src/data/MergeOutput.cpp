#include "data/MergeOutput.h"

#include <QFile>
#include <QSaveFile>

#include <deque>
#include <future>

#include "print/CheckedWrites.h"
#include "print/HeadlessOutput.h"
#include "print/LabelPdfPages.h"
#include "print/LabelPrintJob.h"
#include "res/UiText.h"

namespace etiqo {

namespace {

std::string Join(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& name : names) {
        out += (out.empty() ? "" : ", ") + name;
    }
    return out;
}

MergeOutcome Failed(std::string error, std::vector<RecordProblem> problems = {}) {
    MergeOutcome outcome;
    outcome.error = std::move(error);
    outcome.problems = std::move(problems);
    return outcome;
}

// The end of a run: a source that failed on the way spoils the output.
bool Finished(const RecordMerge& merge, MergeOutcome& outcome) {
    outcome.problems = merge.Problems();
    outcome.labels = merge.Pages();
    if (!merge.SourceError().empty()) {
        outcome.error = UiText(TextId::DataReadFailed, merge.SourceError()).toStdString();
        return false;
    }
    if (merge.Pages() == 0 && outcome.problems.empty()) {
        outcome.error = Tr(TextId::DataNoRecords);
        return false;
    }
    return true;
}

// PNG pages being written while the next is drawn.
constexpr std::size_t kPagesAhead = 4;

QString CannotWrite(const QString& name, const QString& why) {
    return UiText(TextId::CliCannotWrite, name, why);
}

}  // namespace

MergeSettings SettingsFor(const SourceChoice& choice, RecordRange range, QDateTime now) {
    MergeSettings settings;
    settings.range = range;
    settings.copies = choice.copies;
    settings.quantityColumn = choice.quantityColumn;
    settings.now = std::move(now);
    return settings;
}

std::unique_ptr<DataSource> OpenForLabel(const Label& label, const SourceChoice& choice, std::string& error) {
    std::unique_ptr<DataSource> source = OpenDataSource(choice, error);
    if (!source) {
        return nullptr;
    }
    std::vector<std::string> missing;
    std::vector<std::string> wanted = LabelColumns(label);
    if (!choice.quantityColumn.empty()) {
        wanted.push_back(choice.quantityColumn);
    }
    const std::vector<std::string>& columns = source->Columns();
    for (const std::string& name : wanted) {
        if (std::find(columns.begin(), columns.end(), name) == columns.end() &&
            std::find(missing.begin(), missing.end(), name) == missing.end()) {
            missing.push_back(name);
        }
    }
    if (!missing.empty()) {
        error = UiText(TextId::DataMissingColumns, Join(missing)).toStdString();
        return nullptr;
    }
    return source;
}

QString MergedPngName(const QString& path, long page) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return path.left(dot) + QStringLiteral("-%1").arg(page) + path.mid(dot);
}

MergeOutcome ExportMergedPdf(Label& label, const SourceChoice& choice, const MergeSettings& settings,
                             SymbolCache& symbols, const LabelPainter& painter, const QString& path) {
    std::string error;
    const std::unique_ptr<DataSource> source = OpenForLabel(label, choice, error);
    if (!source) {
        return Failed(error);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return Failed(CannotWrite(path, file.errorString()).toStdString());
    }
    CheckedWrites checked(file);
    LabelPdfPages pdf(checked, QSizeF(label.m_nLabelWidthMM, label.m_nLabelHeightMM), label.m_nDpiX,
                      label.m_nDpiY, QString::fromStdString(label.m_strFileName));
    RecordMerge merge(label, *source, symbols, settings);
    Label page;
    bool painted = true;
    while (painted && merge.NextPage(page)) {
        bool moved = false;
        painted =
            pdf.AddPage(RenderLabelGrey(page, painter, moved, pdf.TakeBlankPage(LabelSizeInDots(page))));
        merge.PageDone(page);
    }
    MergeOutcome outcome;
    if (!Finished(merge, outcome)) {
        return outcome;  // the save file, uncommitted, leaves nothing behind
    }
    if (!pdf.Finish() || !painted || !checked.Finish() || !file.commit()) {
        return Failed(CannotWrite(path, file.errorString()).toStdString(), outcome.problems);
    }
    outcome.ok = true;
    return outcome;
}

MergeOutcome ExportMergedPng(Label& label, const SourceChoice& choice, const MergeSettings& settings,
                             SymbolCache& symbols, const LabelPainter& painter, const QString& path) {
    std::string error;
    const std::unique_ptr<DataSource> source = OpenForLabel(label, choice, error);
    if (!source) {
        return Failed(error);
    }
    RecordMerge merge(label, *source, symbols, settings);
    Label page;
    std::vector<QString> written;  // pages in place, in order
    long made = 0;
    // Pages are compressed and written (each synced, then renamed into place) on threads of their
    // own while the next ones are drawn; a few at a time, oldest first, so memory stays flat.
    std::deque<std::pair<QString, std::future<QString>>> writing;  // the file, and why it failed
    QString failure;
    const auto settle = [&](std::size_t keep) {
        while (writing.size() > keep) {
            const QString why = writing.front().second.get();
            if (why.isEmpty()) {
                written.push_back(writing.front().first);
            }
            writing.pop_front();
            if (failure.isEmpty()) {
                failure = why;
            }
        }
    };
    const auto removeWritten = [&] {
        settle(0);
        for (const QString& name : written) {
            QFile::remove(name);
        }
    };
    while (failure.isEmpty() && merge.NextPage(page)) {
        bool moved = false;
        QImage image = RenderLabelPage(page, painter, moved);
        merge.PageDone(page);
        const QString name = MergedPngName(path, ++made);
        writing.emplace_back(
            name, std::async(std::launch::async,
                             [name, image = std::move(image), dpiX = label.m_nDpiX, dpiY = label.m_nDpiY] {
                                 QSaveFile file(name);
                                 const bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
                                                 WritePngPage(image, dpiX, dpiY, file) && file.commit();
                                 return ok ? QString() : CannotWrite(name, file.errorString());
                             }));
        settle(kPagesAhead);
    }
    settle(0);
    if (!failure.isEmpty()) {
        removeWritten();
        return Failed(failure.toStdString(), merge.Problems());
    }
    MergeOutcome outcome;
    if (!Finished(merge, outcome)) {
        removeWritten();
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}

MergeOutcome PrintMerged(Label& label, const SourceChoice& choice, const MergeSettings& settings,
                         SymbolCache& symbols, const LabelPainter& painter, PrinterConfig& printers,
                         PrintSpooler& spooler, const std::string& printer, LabelChecker* checker,
                         CheckApproval approve) {
    std::string error;
    MergeOutcome outcome;
    {
        const std::unique_ptr<DataSource> source = OpenForLabel(label, choice, error);
        if (!source) {
            return Failed(error);
        }
        RecordMerge count(label, *source, symbols, settings);
        Label page;
        while (count.NextPage(page)) {
            count.Discard(page);
        }
        if (!Finished(count, outcome)) {
            return outcome;
        }
    }
    if (outcome.labels > std::numeric_limits<int>::max()) {
        return Failed(Tr(TextId::DataNoRecords), outcome.problems);
    }
    if (outcome.labels == 0) {
        outcome.ok = true;  // every record was left out: nothing to send
        return outcome;
    }
    const std::unique_ptr<DataSource> source = OpenForLabel(label, choice, error);
    if (!source) {
        return Failed(error, outcome.problems);
    }
    RecordMerge merge(label, *source, symbols, settings);
    Label page;
    std::vector<DrawnElement> drawn;  // the record's page as drawn, for the scan check
    const LabelPainter pages = [&](QPainter& device, Label&) {
        if (!merge.NextPage(page)) {
            return false;
        }
        if (checker) {
            drawn = DrawnElements(page.m_elements);
        }
        painter(device, page);
        merge.PageDone(page);
        return true;
    };
    LabelPrintJob job(printers, spooler, pages);
    if (checker) {
        job.SetCheck(checker, std::move(approve));
        job.SetDrawnElements([&drawn] { return drawn; });
    }
    const PrintResult result = job.PrintPages(label, printer, static_cast<int>(outcome.labels));
    if (result.status == PrintResult::Status::CheckRefused) {
        MergeOutcome refused = Failed(result.error, outcome.problems);
        refused.wouldNotScan = true;
        return refused;
    }
    if (!result) {
        return Failed(result.error, outcome.problems);
    }
    outcome.jobId = result.jobId;
    outcome.ok = true;
    return outcome;
}

}  // namespace etiqo
