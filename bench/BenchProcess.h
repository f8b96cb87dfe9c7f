#pragma once
// Running other programs from a benchmark: to their end, with their output or their peak memory.

#include <QProcess>
#include <QString>
#include <QStringList>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <string>
#include <vector>

namespace etiqo::bench {

// Runs a program to its end (10 minutes at most); its stdout and stderr. ok: it exited with 0.
inline QString Run(const QString& program, const QStringList& arguments, bool* ok = nullptr) {
    QProcess process;
    process.start(program, arguments);
    const bool finished = process.waitForFinished(600000);
    if (ok) {
        *ok = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

// Runs a program to its end; its peak resident memory in MB, or a negative value on failure.
// cpuSeconds, when given, receives the user and system time it took (on a busy machine a fairer
// measure of its work than the wall clock).
inline double RunForPeakMegabytes(std::vector<std::string> arguments, double* cpuSeconds = nullptr) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        return -1;
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return -1;
    }
    if (cpuSeconds) {
        *cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                      static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KB
}

}  // namespace etiqo::bench
