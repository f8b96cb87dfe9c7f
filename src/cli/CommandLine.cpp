#include "cli/CommandLine.h"

#include <QtGlobal>

#include <cstdio>
#include <filesystem>
#include <string_view>

#include "cli/CheckCommand.h"
#include "cli/CliSupport.h"
#include "cli/InfoCommand.h"
#include "cli/PrintCommands.h"
#include "cli/RenderCommand.h"

namespace etiqo {
namespace {

struct Command {
    const char* name;
    const char* synopsis;
    TextId summary;
    int (*run)(const QStringList& args);  // the words after the command's name
};

// One line per command; keep it sorted by name.
constexpr Command kCommands[] = {
    {"check", "FILE.lab [--dpi D|DXxDY | --printer NAME] [--copies N] [--data SOURCE ...]",
     TextId::CliCheckSummary, RunCheck},
    {"info", "FILE.lab", TextId::CliInfoSummary, RunInfo},
    {"print", "FILE.lab [--printer NAME] [--copies N] [--update] [--wait] [--no-check]",
     TextId::CliPrintSummary, RunPrint},
    {"printers", "", TextId::CliPrintersSummary, RunPrinters},
    {"render", "FILE.lab -o OUT [--format png|pdf] [--dpi D|DXxDY] [--copies N] [--update] [--view WxH]",
     TextId::CliRenderSummary, RunRender},
};

// Options Qt's own application object takes; with one of them first, the designer starts.
constexpr std::string_view kQtOptions[] = {
    "-platform",        "-platformpluginpath",
    "-platformtheme",   "-plugin",
    "-qwindowgeometry", "-qwindowicon",
    "-qwindowtitle",    "-reverse",
    "-session",         "-display",
    "-geometry",        "-style",
    "-stylesheet",      "-nograb",
    "-dograb",          "-sync",
    "-widgetcount",
};

void PrintHelp() {
    std::printf(
        "usage: etiqo [FILE.lab]\n       etiqo COMMAND [OPTIONS]\n       etiqo --help | "
        "--version\n\n%s\n\n%s\n",
        Tr(TextId::CliSummary), Tr(TextId::CliCommandsHeading));
    for (const Command& command : kCommands) {
        std::printf("  %-9s %s\n", command.name, Tr(command.summary));
        if (*command.synopsis != '\0') {
            std::printf("  %-9s %s\n", "", command.synopsis);
        }
    }
    std::printf("\n%s\n", Tr(TextId::CliHelpFooter));
}

// Qt's notes about the environment (no runtime folder, no session bus, fonts) are not ours to report:
// stderr carries one line per problem with the command.
void QuietQt() {
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            Fail(message);
        }
    });
}

}  // namespace

std::optional<int> RunCommand(int argc, char** argv) {
    if (argc < 2) {
        return std::nullopt;
    }
    const std::string_view first = argv[1];
    if (first == "--help" || first == "-h" || first == "help") {
        PrintHelp();
        return kExitOk;
    }
    if (first == "--version" || first == "-V") {
        std::printf("etiqo %s\n", ETIQO_VERSION);
        return kExitOk;
    }
    for (const Command& command : kCommands) {
        if (first == command.name) {
            QuietQt();
            QStringList args;
            for (int i = 2; i < argc; ++i) {
                args << ArgumentFromBytes(argv[i]);
            }
            return command.run(args);
        }
    }
    for (const std::string_view option : kQtOptions) {
        if (first == option) {
            return std::nullopt;
        }
    }
    std::error_code error;  // the name as bytes: it need not be UTF-8
    if (first.starts_with('-') || !std::filesystem::exists(argv[1], error)) {
        return Fail(UiText(TextId::CliUnknownCommand).arg(QString::fromLocal8Bit(argv[1])), kExitUsage);
    }
    return std::nullopt;  // a label file for the designer
}

}  // namespace etiqo
