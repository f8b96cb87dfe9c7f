#include <cstdio>
#include <set>
#include <string>
#include <string_view>

#include "cli/PrintCommands.h"
#include "model/LabelFile.h"
#include "print/CupsPrinterConfig.h"
#include "print/CupsSpooler.h"
#include "print/HeadlessOutput.h"
#include "print/LabelPrintJob.h"
#include "print/TextFormat.h"
#include "render/SymbolCache.h"

namespace etiqo {

namespace {

struct PrintOptions {
    std::string file;
    std::string printer;  // empty: the printer the label names
    int copies = 1;
    bool update = false;  // save the label afterwards: serial numbers, printer name
    bool wait = false;    // until the printer has the job
};

int Fail(const std::string& line) {
    std::fprintf(stderr, "etiqo: %s\n", line.c_str());
    return 1;
}

std::optional<int> PositiveCount(std::string_view text) {
    int value = 0;
    if (text.empty() || text.size() > 6) {
        return std::nullopt;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value > 0 ? std::optional(value) : std::nullopt;
}

std::optional<PrintOptions> Parse(std::span<char* const> args, std::string& error) {
    PrintOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view word = args[i];
        const bool takesValue = word == "--printer" || word == "--copies";
        if (takesValue && i + 1 >= args.size()) {
            error = TrFormat(TextId::CliMissingValue, {word});
            return std::nullopt;
        }
        if (word == "--printer") {
            options.printer = args[++i];
        } else if (word == "--copies") {
            const std::string_view value = args[++i];
            const auto copies = PositiveCount(value);
            if (!copies) {
                error = TrFormat(TextId::CliBadCopies, {value});
                return std::nullopt;
            }
            options.copies = *copies;
        } else if (word == "--update") {
            options.update = true;
        } else if (word == "--wait") {
            options.wait = true;
        } else if (!word.starts_with("--") && options.file.empty()) {
            options.file = word;
        } else {
            error = TrFormat(TextId::CliUnknownOption, {word});
            return std::nullopt;
        }
    }
    if (options.file.empty()) {
        error = Tr(TextId::PrintCliUsage);
        return std::nullopt;
    }
    return options;
}

}  // namespace

int RunPrint(std::span<char* const> args) {
    std::string error;
    const auto options = Parse(args, error);
    if (!options) {
        return Fail(error);
    }
    LabelReadResult read = ReadLabelFile(options->file);
    if (!read) {
        return Fail(read.error);
    }
    Label label;
    label.SetLabelSize(read.contents->widthMM, read.contents->heightMM);
    label.m_strPrinterName = read.contents->printerName;
    label.m_elements = std::move(read.contents->elements);
    label.m_strFileName = options->file;

    const std::string printer = options->printer.empty() ? label.m_strPrinterName : options->printer;
    CupsPrinterConfig printers;
    if (const std::string why = printers.WhyUnavailable(printer); !why.empty()) {
        return Fail(why);
    }

    const auto application = EnsureGuiApplication();
    SymbolCache symbols;
    const PixelSize view = HeadlessView(label);
    PrepareHeadless(label, symbols, view);
    std::set<std::string> warned;  // a missing picture is said once, not once a page
    auto warn = [&](const std::string& message) {
        if (warned.insert(message).second) {
            std::fprintf(stderr, "etiqo: %s\n",
                         TrFormat(TextId::PrintCliWarning, {options->file, message}).c_str());
        }
    };
    CupsSpooler spooler;
    LabelPrintJob job(printers, spooler, HeadlessPainter(symbols, view, warn));
    const PrintResult result = job.Print(label, printer, options->copies);
    if (!result) {
        return Fail(result.error);
    }
    std::printf("%s\n", TrFormat(TextId::PrintCliQueued,
                                 {printer, std::to_string(result.jobId), std::to_string(result.pages),
                                  std::to_string(result.deviceCopies)})
                            .c_str());
    std::fflush(stdout);

    if (options->update) {
        if (const LabelFileStatus saved = SaveLabelFile(label, options->file); !saved) {
            return Fail(saved.error);
        }
    }
    if (options->wait) {
        constexpr auto kPatience = std::chrono::minutes(10);
        if (spooler.WaitForJob(result.jobId, kPatience) != JobEnd::Completed) {
            return Fail(
                TrFormat(TextId::PrintCliJobFailed, {std::to_string(result.jobId), spooler.LastError()}));
        }
    }
    return 0;
}

}  // namespace etiqo
