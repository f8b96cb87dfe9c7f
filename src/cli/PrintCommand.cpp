#include <cstdio>
#include <set>
#include <string>
#include <variant>

#include "cli/CheckCommand.h"
#include "cli/CliSupport.h"
#include "cli/DataOptions.h"
#include "cli/PrintCommands.h"
#include "data/MergeOutput.h"
#include "model/LabelFile.h"
#include "print/CupsPrinterConfig.h"
#include "print/CupsSpooler.h"
#include "print/HeadlessOutput.h"
#include "print/LabelPrintJob.h"
#include "print/PrintRun.h"
#include "print/PrintServer.h"
#include "render/SymbolCache.h"
#include "res/UiText.h"

namespace etiqo {

namespace {

constexpr int kMaxCopies = 1000000;

struct PrintOptions {
    std::string file;
    std::string printer;  // empty: the printer the label names
    int copies = 1;
    bool update = false;  // save the label afterwards: serial numbers, printer name
    bool wait = false;    // until the printer has the job
    bool check = true;    // the scan check before the job is queued
    DataOptions data;     // one label per record
    bool force = false;   // even on a printer without the label's paper
    int jobSize = 0;      // labels a job; 0: one job
};

// The options, or the exit status when the command is to stop (help, usage error).
std::variant<PrintOptions, int> Parse(const QStringList& args) {
    CommandParser command(QStringLiteral("print"), TextId::CliPrintSummary);
    QCommandLineParser& parser = command.Parser();
    parser.addPositionalArgument(QStringLiteral("FILE.lab"), UiText(TextId::CliArgLabelFile));
    const QCommandLineOption printer(QStringLiteral("printer"), UiText(TextId::CliOptPrinter),
                                     QStringLiteral("NAME"));
    const QCommandLineOption copies(QStringLiteral("copies"), UiText(TextId::CliOptCopies),
                                    QStringLiteral("N"));
    const QCommandLineOption update(QStringLiteral("update"), UiText(TextId::CliOptUpdate));
    const QCommandLineOption wait(QStringLiteral("wait"), UiText(TextId::CliOptWait));
    const QCommandLineOption noCheck(QStringLiteral("no-check"), UiText(TextId::CliOptNoCheck));
    const QCommandLineOption force(QStringLiteral("force"), UiText(TextId::CliOptForce));
    const QCommandLineOption jobSize(QStringLiteral("job-size"), UiText(TextId::CliOptJobSize),
                                     QStringLiteral("K"));
    parser.addOptions({printer, copies, update, wait, noCheck, force, jobSize});
    const DataOptionSet data(parser);
    if (const auto status = command.Parse(args, 1)) {
        return *status;
    }
    PrintOptions options;
    options.file = ArgumentBytes(parser.positionalArguments().front());
    options.printer = ArgumentBytes(parser.value(printer));  // CUPS names are UTF-8 bytes
    options.update = parser.isSet(update);
    options.wait = parser.isSet(wait);
    options.check = !parser.isSet(noCheck);
    options.force = parser.isSet(force);
    if (const auto status = command.ReadCount(copies, TextId::CliBadCopies, kMaxCopies, options.copies)) {
        return *status;
    }
    if (const auto status =
            data.Read(command, options.file, parser.isSet(copies) ? options.copies : 0, options.data)) {
        return *status;
    }
    if (const auto status = command.ReadCount(jobSize, TextId::CliBadJobSize, kMaxCopies, options.jobSize)) {
        return *status;
    }
    return options;
}

}  // namespace

int RunPrint(const QStringList& args) {
    std::variant<PrintOptions, int> parsed = Parse(args);
    if (const int* status = std::get_if<int>(&parsed)) {
        return *status;
    }
    const PrintOptions* options = &std::get<PrintOptions>(parsed);
    LabelReadResult read = ReadLabelFile(options->file);
    if (!read) {
        return Fail(read.error);
    }
    Label label;
    label.Adopt(std::move(*read.contents), options->file);

    const std::string printer = options->printer.empty() ? label.m_strPrinterName : options->printer;
    const PrintServerScope server(printer);  // QUEUE@HOST: everything below talks to HOST
    CupsPrinterConfig printers;
    if (const std::string why = printers.WhyUnavailable(server.Queue()); !why.empty()) {
        return Fail(why);
    }

    const auto application = EnsureGuiApplication();
    SymbolCache symbols;
    const PixelSize view = HeadlessView(label);
    PrepareHeadless(label, symbols, view);
    std::set<std::string> warned;  // a missing picture is said once, not once a page
    auto warn = [&](const std::string& message) {
        if (warned.insert(message).second) {
            Fail(UiText(TextId::PrintCliWarning, options->file, message).toStdString());
        }
    };
    CupsSpooler spooler;
    LabelChecker checker;
    const QString file = QString::fromStdString(options->file);
    // No one to ask on the command line: a code that would not scan stops the job.
    const CheckApproval refuse = [&file](const std::vector<FailingPage>& failing) {
        TellFailingPages(file, failing);
        return false;
    };
    if (options->data.used) {
        const MergeOutcome outcome =
            PrintMerged(label, options->data.choice,
                        SettingsFor(options->data.choice, options->data.range, QDateTime::currentDateTime()),
                        symbols, HeadlessPainter(symbols, view, warn), printers, spooler, printer,
                        options->check ? &checker : nullptr, refuse);
        if (outcome.wouldNotScan) {
            return Fail(UiText(TextId::CliCheckRefused).arg(file), kExitWouldNotScan);
        }
        if (outcome.jobId > 0) {
            std::printf("%s\n", UiText(TextId::PrintCliQueued, printer, outcome.jobId, outcome.labels, "1")
                                    .toStdString()
                                    .c_str());
            std::fflush(stdout);
            if (options->update) {
                if (const LabelFileStatus saved = SaveLabelFile(label, options->file); !saved) {
                    return Fail(saved.error);
                }
            }
            if (options->wait &&
                spooler.WaitForJob(outcome.jobId, std::chrono::minutes(10)) != JobEnd::Completed) {
                Fail(UiText(TextId::PrintCliJobFailed, outcome.jobId, spooler.LastError()).toStdString());
                return kExitFailed;
            }
        }
        return ReportOutcome(outcome);
    }
    LabelPrintJob job(printers, spooler, HeadlessPainter(symbols, view, warn));
    job.AllowUnavailablePaper(options->force);
    if (options->check) {
        job.SetCheck(&checker, refuse);
    }
    // Each job is announced as soon as it is queued, so a long run shows its progress.
    const PrintRunResult run =
        PrintInJobs(job, label, printer, options->copies, options->jobSize, [&](const PrintResult& result) {
            std::printf("%s\n", UiText(TextId::PrintCliQueued, printer, result.jobId, result.pages,
                                       result.deviceCopies)
                                    .toStdString()
                                    .c_str());
            std::fflush(stdout);
        });

    // The numbers after the last label queued are saved even when a later job failed: a run
    // started again from the file prints no number twice.
    if (options->update && !run.jobs.empty()) {
        if (const LabelFileStatus saved = SaveLabelFile(label, options->file); !saved) {
            return Fail(saved.error);
        }
    }
    if (run.failure.status == PrintResult::Status::CheckRefused) {
        return Fail(UiText(TextId::CliCheckRefused).arg(file), kExitWouldNotScan);
    }
    if (run.failure.status == PrintResult::Status::PaperUnavailable) {
        return Fail(UiText(TextId::PrintForceHint, run.failure.error).toStdString());
    }
    if (!run.Ok()) {
        return Fail(run.failure.error);
    }
    if (options->wait) {
        constexpr auto kPatience = std::chrono::minutes(10);
        for (const PrintResult& result : run.jobs) {
            if (spooler.WaitForJob(result.jobId, kPatience) != JobEnd::Completed) {
                return Fail(
                    UiText(TextId::PrintCliJobFailed, result.jobId, spooler.LastError()).toStdString());
            }
        }
    }
    return kExitOk;
}

}  // namespace etiqo
