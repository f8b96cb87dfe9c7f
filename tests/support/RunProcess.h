#pragma once
// Runs a program as a separate process, with no input, and collects what it printed.

#include <QProcess>

#include <filesystem>
#include <string>
#include <vector>

#include "TempDir.h"

namespace etiqo::testing {

struct ProcessResult {
    int status = -1;  // exit status, -1 when it did not exit normally
    std::string out;
    std::string err;
};

// The etiqo program built beside the tests.
inline std::filesystem::path EtiqoProgram() {
    return std::filesystem::path(ETIQO_BINARY_DIR) / "src" / "app" / "etiqo";
}

inline ProcessResult RunProcess(const std::filesystem::path& program, const std::vector<std::string>& args) {
    QStringList arguments;
    for (const std::string& arg : args) {
        arguments.push_back(QString::fromStdString(arg));
    }
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(QString::fromStdString(program.string()), arguments);
    process.waitForFinished(-1);
    const bool exited =
        process.error() != QProcess::FailedToStart && process.exitStatus() == QProcess::NormalExit;
    return {exited ? process.exitCode() : -1, process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

}  // namespace etiqo::testing
