#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/PrintCommands.h"
#include "print/CupsPrinterConfig.h"
#include "print/PaperForms.h"
#include "res/Texts.h"
#include "res/UiText.h"

namespace etiqo {

namespace {

struct Row {
    std::string mark, name, paper, resolution, model, loaded;
};

std::string Resolution(const PrinterInfo& info) {
    if (info.dpiX == info.dpiY) {
        return std::to_string(info.dpiX) + " dpi";
    }
    return std::to_string(info.dpiX) + " x " + std::to_string(info.dpiY) + " dpi";
}

std::string Paper(PrinterConfig& printers, const std::string& name) {
    const std::string paper = MediaDescription(printers.GetPrinterMedia(name));
    return paper.empty() ? "-" : paper;
}

// What the printer says is loaded, where it tells.
std::string Loaded(PrinterConfig& printers, const std::string& name) {
    const std::string loaded = MediaDescription(printers.LoadedMedia(name));
    return loaded.empty() ? loaded : "  " + UiText(TextId::PrintLoadedMedia, loaded).toStdString();
}

}  // namespace

int RunPrinters(const QStringList& args) {
    CommandParser command(QStringLiteral("printers"), TextId::CliPrintersSummary);
    if (const auto status = command.Parse(args, 0)) {
        return *status;
    }
    CupsPrinterConfig printers;
    if (!printers.IsServiceRunning()) {
        return Fail(UiText(TextId::PrintServiceUnavailable));
    }
    std::vector<Row> rows;
    for (const PrinterEntry& entry : printers.Printers()) {
        PrinterInfo info;
        const bool known = printers.GetPrinterInfo(entry.name, info);
        rows.push_back({entry.isDefault ? "*" : " ", entry.name, Paper(printers, entry.name),
                        known ? Resolution(info) : "-", known ? info.makeAndModel : "",
                        Loaded(printers, entry.name)});
    }
    std::size_t nameWidth = 0;
    std::size_t paperWidth = 0;
    std::size_t resolutionWidth = 0;
    for (const Row& row : rows) {
        nameWidth = std::max(nameWidth, row.name.size());
        paperWidth = std::max(paperWidth, row.paper.size());
        resolutionWidth = std::max(resolutionWidth, row.resolution.size());
    }
    for (const Row& row : rows) {
        std::printf("%s %-*s  %-*s  %-*s  %s%s\n", row.mark.c_str(), static_cast<int>(nameWidth),
                    row.name.c_str(), static_cast<int>(paperWidth), row.paper.c_str(),
                    static_cast<int>(resolutionWidth), row.resolution.c_str(), row.model.c_str(),
                    row.loaded.c_str());
    }
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailed;
}

}  // namespace etiqo
