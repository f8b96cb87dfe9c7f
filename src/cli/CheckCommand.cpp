#include "cli/CheckCommand.h"

#include <nlohmann/json.hpp>

#include <QDateTime>

#include <cstdio>
#include <set>
#include <string>
#include <variant>

#include "check/CheckText.h"
#include "cli/CliSupport.h"
#include "cli/DataOptions.h"
#include "data/MergeOutput.h"
#include "data/RecordMerge.h"
#include "model/LabelFile.h"
#include "print/CupsPrinterConfig.h"
#include "print/HeadlessOutput.h"
#include "print/LabelCheck.h"
#include "render/SymbolCache.h"

namespace etiqo {

namespace {

constexpr int kMaxCopies = 1000000;
constexpr int kMaxDpi = 100000;

struct CheckOptions {
    std::string file;
    std::string printer;  // take the resolution from this printer
    int dpiX = 0;         // 0: the label's own (203)
    int dpiY = 0;
    int copies = 1;
    DataOptions data;  // one page per record
};

std::variant<CheckOptions, int> Parse(const QStringList& args) {
    CommandParser command(QStringLiteral("check"), TextId::CliCheckSummary);
    QCommandLineParser& parser = command.Parser();
    parser.addPositionalArgument(QStringLiteral("FILE.lab"), UiText(TextId::CliArgLabelFile));
    const QCommandLineOption dpi(QStringLiteral("dpi"), UiText(TextId::CliOptDpi), QStringLiteral("D|DXxDY"));
    const QCommandLineOption printer(QStringLiteral("printer"), UiText(TextId::CliOptCheckPrinter),
                                     QStringLiteral("NAME"));
    const QCommandLineOption copies(QStringLiteral("copies"), UiText(TextId::CliOptCopies),
                                    QStringLiteral("N"));
    parser.addOptions({dpi, printer, copies});
    const DataOptionSet data(parser);
    if (const auto status = command.Parse(args, 1)) {
        return *status;
    }
    CheckOptions options;
    options.file = ArgumentBytes(parser.positionalArguments().front());
    if (parser.isSet(dpi) && parser.isSet(printer)) {
        return command.UsageError(UiText(TextId::CliDpiOrPrinter));
    }
    if (parser.isSet(dpi)) {
        const auto pair = WholePair(parser.value(dpi), kMaxDpi, false);
        if (!pair) {
            return command.UsageError(UiText(TextId::CliBadDpi).arg(parser.value(dpi)).arg(kMaxDpi));
        }
        std::tie(options.dpiX, options.dpiY) = *pair;
    }
    options.printer = ArgumentBytes(parser.value(printer));
    if (const auto status = command.ReadCount(copies, TextId::CliBadCopies, kMaxCopies, options.copies)) {
        return *status;
    }
    if (const auto status =
            data.Read(command, options.file, parser.isSet(copies) ? options.copies : 0, options.data)) {
        return *status;
    }
    return options;
}

// One page per record of the data source, each checked as the merged print job would send it.
std::optional<std::string> CheckRecordPages(Label& label, const DataOptions& data, SymbolCache& symbols,
                                            const LabelPainter& painter, LabelChecker& checker,
                                            std::vector<PageCheck>& pages) {
    std::string error;
    const std::unique_ptr<DataSource> source = OpenForLabel(label, data.choice, error);
    if (!source) {
        return error;
    }
    RecordMerge merge(label, *source, symbols,
                      SettingsFor(data.choice, data.range, QDateTime::currentDateTime()));
    Label page;
    while (merge.NextPage(page)) {
        pages.push_back(CheckDrawnPage(page, painter, checker));
        merge.PageDone(page);
    }
    if (const std::string failed = merge.SourceError(); !failed.empty()) {
        return failed;
    }
    for (const RecordProblem& problem : merge.Problems()) {
        Fail(DescribeProblem(problem));  // left out: said, as the merged print job says it
    }
    return std::nullopt;
}

const char* ResultName(ReadResult result) {
    switch (result) {
        case ReadResult::ReadsRight:
            return "reads right";
        case ReadResult::ReadsWrong:
            return "reads wrong";
        case ReadResult::DoesNotRead:
            return "does not read";
        case ReadResult::NotChecked:
            return "not checked";
    }
    return "";
}

const char* QuietZoneName(QuietZone zone) {
    switch (zone) {
        case QuietZone::Clear:
            return "clear";
        case QuietZone::CutByLabelEdge:
            return "cut by the label edge";
        case QuietZone::CutByElement:
            return "cut by another element";
    }
    return "";
}

nlohmann::ordered_json ElementJson(const ElementCheck& check) {
    nlohmann::ordered_json json;
    json["index"] = check.index;
    json["symbology"] = SymbologyName(check);
    json["result"] = ResultName(check.result);
    json["passes"] = check.Passes();
    if (check.result != ReadResult::NotChecked) {
        json["expected"] = check.expected;
        json["read"] = check.read;
        json["narrowest_module_dots"] = check.narrowestModule;
        json["module_spread_dots"] = check.moduleSpread;
        json["quiet_zone"] = QuietZoneName(check.quietZone);
    }
    json["area"] = {check.area.x(), check.area.y(), check.area.width(), check.area.height()};
    json["reason"] = CheckReason(check).toStdString();
    return json;
}

}  // namespace

void TellFailingPages(const QString& file, const std::vector<FailingPage>& failing) {
    for (const FailingPage& page : failing) {
        for (const QString& line : FailureLines(page.check)) {
            Fail(UiText(TextId::CliCheckFailure).arg(file).arg(page.page).arg(line));
        }
    }
}

int RunCheck(const QStringList& args) {
    std::variant<CheckOptions, int> parsed = Parse(args);
    if (const int* status = std::get_if<int>(&parsed)) {
        return *status;
    }
    const CheckOptions& options = std::get<CheckOptions>(parsed);
    LabelReadResult read = ReadLabelFile(options.file);
    if (!read) {
        return Fail(read.error);
    }
    Label label;
    label.SetLabelSize(read.contents->widthMM, read.contents->heightMM);
    label.m_strPrinterName = read.contents->printerName;
    label.m_elements = std::move(read.contents->elements);
    label.m_strFileName = options.file;
    if (!options.printer.empty()) {
        CupsPrinterConfig printers;
        PrinterInfo info;
        if (!printers.GetPrinterInfo(options.printer, info)) {
            return Fail(printers.WhyUnavailable(options.printer));
        }
        label.m_nDpiX = info.dpiX;
        label.m_nDpiY = info.dpiY;
    } else if (options.dpiX > 0) {
        label.m_nDpiX = options.dpiX;
        label.m_nDpiY = options.dpiY;
    }

    const auto application = EnsureGuiApplication();
    SymbolCache symbols;
    const PixelSize view = HeadlessView(label);
    PrepareHeadless(label, symbols, view);
    std::set<std::string> warned;
    const QString file = QString::fromStdString(options.file);
    auto warn = [&](const std::string& message) {
        if (warned.insert(message).second) {
            Fail(UiText(TextId::CliWarning).arg(file, QString::fromStdString(message)));
        }
    };
    LabelChecker checker;
    const LabelPainter painter = HeadlessPainter(symbols, view, warn);
    std::vector<PageCheck> pages;
    if (options.data.used) {
        if (const auto error = CheckRecordPages(label, options.data, symbols, painter, checker, pages)) {
            return Fail(*error);
        }
    } else {
        pages = CheckJobPages(label, painter, options.copies, checker);
    }

    nlohmann::ordered_json report;
    report["file"] = options.file;
    report["dpi"] = {label.m_nDpiX, label.m_nDpiY};
    bool fails = false;
    nlohmann::ordered_json pageList = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < pages.size(); ++i) {
        nlohmann::ordered_json page;
        page["page"] = i + 1;
        page["passes"] = !pages[i].Fails();
        nlohmann::ordered_json elements = nlohmann::ordered_json::array();
        for (const ElementCheck& check : pages[i].elements) {
            elements.push_back(ElementJson(check));
        }
        page["elements"] = std::move(elements);
        pageList.push_back(std::move(page));
        fails = fails || pages[i].Fails();
    }
    report["passes"] = !fails;
    report["pages"] = std::move(pageList);
    const std::string text = report.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
    return fails ? kExitWouldNotScan : kExitOk;
}

}  // namespace etiqo
