#include "cli/CliSupport.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <cstdio>

namespace etiqo {

QString ArgumentFromBytes(const char* bytes) {
    return QString::fromLatin1(bytes);
}

std::string ArgumentBytes(const QString& argument) {
    return argument.toLatin1().toStdString();
}

QString ArgumentText(const QString& argument) {
    return QString::fromUtf8(argument.toLatin1());
}

// Messages carry label text and file names from anywhere: control characters (C0, DEL, C1) and
// the bidirectional overrides are written as escapes, so none reaches the terminal as a command.
namespace {

QString Escape(const char* prefix, char16_t u, int width) {
    return QLatin1String(prefix) + QString::number(u, 16).toUpper().rightJustified(width, QLatin1Char('0'));
}

QString EscapedControls(const QString& line) {
    QString out;
    out.reserve(line.size());
    for (const QChar c : line) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F)) {
            out += Escape("\\x", u, 2);
        } else if ((u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069)) {
            out += Escape("\\u", u, 4);
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

int Fail(const QString& line, int status) {
    std::fprintf(stderr, "etiqo: %s\n", EscapedControls(line).toUtf8().constData());
    return status;
}

int Fail(const std::string& line, int status) {
    return Fail(QString::fromStdString(line), status);
}

CommandParser::CommandParser(QString name, TextId summary) : m_name(std::move(name)) {
    m_parser.setApplicationDescription(UiText(summary));
    m_parser.addOption(
        QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")}, UiText(TextId::CliOptHelp)));
}

std::optional<int> CommandParser::Parse(const QStringList& args, qsizetype positionals) {
    // The parser skips the first word as the program's name.
    if (!m_parser.parse(QStringList{QStringLiteral("etiqo")} + args)) {
        return UsageError(m_parser.errorText());
    }
    if (m_parser.isSet(QStringLiteral("help"))) {
        // The help's first line names the program as the application's first argument.
        int argc = 1;
        QByteArray program = "etiqo " + m_name.toUtf8();
        char* argv[] = {program.data(), nullptr};
        const QCoreApplication application(argc, argv);
        std::fputs(m_parser.helpText().toUtf8().constData(), stdout);
        return kExitOk;
    }
    if (m_parser.positionalArguments().size() != positionals) {
        return UsageError(UiText(TextId::CliArgsWrong));
    }
    return std::nullopt;
}

int CommandParser::UsageError(const QString& message) const {
    return Fail(UiText(TextId::CliUsageError).arg(message, m_name), kExitUsage);
}

std::optional<int> CommandParser::ReadCount(const QCommandLineOption& option, TextId message, int max,
                                            int& value) const {
    if (!m_parser.isSet(option)) {
        return std::nullopt;
    }
    const std::optional<int> count = WholeNumber(m_parser.value(option), max);
    if (!count) {
        return UsageError(UiText(message).arg(m_parser.value(option)).arg(max));
    }
    value = *count;
    return std::nullopt;
}

std::optional<int> WholeNumber(const QString& text, int max) {
    static const QRegularExpression digits(QStringLiteral("^\\d{1,9}$"));
    if (!digits.match(text).hasMatch()) {
        return std::nullopt;
    }
    const int value = text.toInt();
    return value >= 1 && value <= max ? std::optional(value) : std::nullopt;
}

std::optional<std::pair<int, int>> WholePair(const QString& text, int max, bool pairOnly) {
    const QStringList parts = text.split(QLatin1Char('x'));
    if (parts.size() > 2 || (pairOnly && parts.size() != 2)) {
        return std::nullopt;
    }
    const std::optional<int> first = WholeNumber(parts.front(), max);
    const std::optional<int> second = WholeNumber(parts.back(), max);
    if (!first || !second) {
        return std::nullopt;
    }
    return std::pair{*first, *second};
}

}  // namespace etiqo
