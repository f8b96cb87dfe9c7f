#pragma once
// Runs a program of this build as a separate process and collects what it printed.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TempDir.h"

namespace etiqo::testing {

struct ProcessResult {
    int status = -1;  // exit status, -1 when it did not exit normally
    std::string out;
    std::string err;
};

inline std::string ShellQuoted(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

inline std::string FileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The etiqo program built beside the tests.
inline std::filesystem::path EtiqoProgram() {
    return std::filesystem::path(ETIQO_BINARY_DIR) / "src" / "app" / "etiqo";
}

inline ProcessResult RunProcess(const std::filesystem::path& program, const std::vector<std::string>& args) {
    TempDir dir;
    std::string command = ShellQuoted(program.string());
    for (const std::string& arg : args) {
        command += " " + ShellQuoted(arg);
    }
    command += " >" + ShellQuoted((dir / "out").string()) + " 2>" + ShellQuoted((dir / "err").string()) +
               " </dev/null";
    ProcessResult result;
    const int raw = std::system(command.c_str());
    if (raw != -1 && WIFEXITED(raw)) {
        result.status = WEXITSTATUS(raw);
    }
    result.out = FileText(dir / "out");
    result.err = FileText(dir / "err");
    return result;
}

}  // namespace etiqo::testing
