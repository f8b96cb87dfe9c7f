#include "cli/CommandLine.h"

#include <cstdio>
#include <span>
#include <string_view>

#include "cli/InfoCommand.h"
#include "cli/PrintCommands.h"
#include "cli/RenderCommand.h"

namespace etiqo {
namespace {

struct Command {
    std::string_view name;
    int (*run)(std::span<char* const> args);  // the words after the command's name
};

// One line per command; keep it sorted by name.
constexpr Command kCommands[] = {
    {"info", RunInfo},
    {"print", RunPrint},
    {"printers", RunPrinters},
    {"render", RunRender},
};

}  // namespace

std::optional<int> RunCommand(int argc, char** argv) {
    if (argc < 2) {
        return std::nullopt;
    }
    const std::string_view name = argv[1];
    if (name == "--help" || name == "help") {
        std::puts(
            "usage: etiqo [FILE.lab]\n       etiqo info FILE.lab\n"
            "       etiqo print FILE.lab [--printer NAME] [--copies N] [--update] [--wait]\n"
            "       etiqo printers\n"

            "       etiqo render FILE.lab -o OUT [--dpi D | --dpi DXxDY] [--copies N] [--update] [--view "
            "WxH]");
        return 0;
    }
    for (const Command& command : kCommands) {
        if (command.name == name) {
            return command.run(std::span<char* const>(argv + 2, static_cast<std::size_t>(argc - 2)));
        }
    }
    return std::nullopt;
}

}  // namespace etiqo
