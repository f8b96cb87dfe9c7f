#pragma once
// What every headless command shares: its parser, its messages and its exit statuses.

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <utility>

#include "res/UiText.h"

namespace etiqo {

// Exit statuses, the same in every command.
enum ExitStatus : int { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

// Arguments arrive as bytes and are parsed as Latin-1, so that every byte survives the parser: a file
// name need not be UTF-8. These give them back as the bytes (file names) or as text (names, queries).
QString ArgumentFromBytes(const char* bytes);
std::string ArgumentBytes(const QString& argument);
QString ArgumentText(const QString& argument);

// "etiqo: LINE" on stderr; returns status so a command can `return Fail(...)`.
int Fail(const QString& line, int status = kExitFailed);
int Fail(const std::string& line, int status = kExitFailed);

// A parser for `etiqo NAME`: its summary, --help, and the positional arguments it takes.
class CommandParser {
public:
    CommandParser(QString name, TextId summary);
    QCommandLineParser& Parser() { return m_parser; }

    // Parses args (the words after the command's name). nullopt: go on; otherwise the exit status to
    // return (0 after --help, 2 after a usage error, with its message on stderr).
    std::optional<int> Parse(const QStringList& args, qsizetype positionals);
    // A usage error of this command, said the same way as the parser's own.
    int UsageError(const QString& message) const;
    // The whole number (1 to max) given to option into value, when given; otherwise value stays.
    // nullopt: go on; else the exit status of the usage error, said with message (%1 value, %2 max).
    std::optional<int> ReadCount(const QCommandLineOption& option, TextId message, int max, int& value) const;

private:
    QString m_name;
    QCommandLineParser m_parser;
};

// A whole number from 1 to max, or nullopt.
std::optional<int> WholeNumber(const QString& text, int max);
// "N" or "NxM" (both from 1 to max); with pairOnly, only "NxM".
std::optional<std::pair<int, int>> WholePair(const QString& text, int max, bool pairOnly);

}  // namespace etiqo
