#include "cli/CommandLine.h"

#include <cstdio>
#include <cstring>
#include <string_view>

namespace etiqo {

std::optional<int> RunCommand(int argc, char** argv) {
    if (argc < 2) {
        return std::nullopt;
    }
    const std::string_view command = argv[1];
    if (command == "--help" || command == "help") {
        std::puts("usage: etiqo [FILE.lab]\n       etiqo info FILE.lab");
        return 0;
    }
    return std::nullopt;
}

}  // namespace etiqo
