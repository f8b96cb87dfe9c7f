#include "data/FieldTemplate.h"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <optional>

namespace etiqo {

namespace {

struct Offset {
    int months = 0;
    qint64 seconds = 0;
};

// "+30d", "-1m+15d", "+2h": signed terms, each a number and a unit.
std::optional<Offset> ParseOffset(std::string_view text) {
    Offset offset;
    std::size_t at = 0;
    if (text.empty()) {
        return std::nullopt;
    }
    while (at < text.size()) {
        const char sign = text[at];
        if (sign != '+' && sign != '-') {
            return std::nullopt;
        }
        ++at;
        int amount = 0;
        const auto [end, error] = std::from_chars(text.data() + at, text.data() + text.size(), amount);
        if (error != std::errc() || end == text.data() + at || amount > 100000) {
            return std::nullopt;
        }
        at = static_cast<std::size_t>(end - text.data());
        std::size_t unitEnd = at;
        while (unitEnd < text.size() && text[unitEnd] >= 'a' && text[unitEnd] <= 'z') {
            ++unitEnd;
        }
        const std::string_view unit = text.substr(at, unitEnd - at);
        at = unitEnd;
        const int signedAmount = sign == '-' ? -amount : amount;
        if (unit == "d") {
            offset.seconds += qint64{signedAmount} * 86400;
        } else if (unit == "w") {
            offset.seconds += qint64{signedAmount} * 7 * 86400;
        } else if (unit == "m") {
            offset.months += signedAmount;
        } else if (unit == "y") {
            offset.months += signedAmount * 12;
        } else if (unit == "h") {
            offset.seconds += qint64{signedAmount} * 3600;
        } else if (unit == "min") {
            offset.seconds += qint64{signedAmount} * 60;
        } else {
            return std::nullopt;
        }
    }
    return offset;
}

}  // namespace

bool FieldTemplate::IsBuiltIn(std::string_view name) {
    return name == "date" || name == "time" || name == "datetime" || name == "record" || name == "copy";
}

FieldTemplate FieldTemplate::Parse(std::string_view text) {
    FieldTemplate result;
    std::string literal;
    const auto flush = [&] {
        if (!literal.empty()) {
            result.m_parts.push_back(Part{Kind::Literal, std::move(literal)});
            literal.clear();
        }
    };
    std::size_t at = 0;
    while (at < text.size()) {
        if (text.compare(at, 3, "$${") == 0) {
            literal += "${";
            at += 3;
            result.m_hasFields = true;
            continue;
        }
        const std::size_t close =
            text.compare(at, 2, "${") == 0 ? text.find('}', at + 2) : std::string_view::npos;
        if (close == std::string_view::npos || close == at + 2) {
            literal += text[at++];
            continue;
        }
        const std::string_view inner = text.substr(at + 2, close - at - 2);
        const std::size_t colon = inner.find(':');
        const std::string_view name = inner.substr(0, colon);
        const std::string_view args =
            colon == std::string_view::npos ? std::string_view() : inner.substr(colon + 1);
        Part part;
        bool valid = true;
        if (name == "date" || name == "time" || name == "datetime") {
            part.kind = name == "date" ? Kind::Date : name == "time" ? Kind::Time : Kind::DateTime;
            part.text = name == "date" ? "%Y-%m-%d" : name == "time" ? "%H:%M:%S" : "%Y-%m-%d %H:%M";
            std::string_view format = args;
            if (!args.empty() && (args[0] == '+' || args[0] == '-')) {
                const std::size_t end = args.find(':');
                const std::optional<Offset> offset = ParseOffset(args.substr(0, end));
                valid = offset.has_value();
                if (offset) {
                    part.months = offset->months;
                    part.seconds = offset->seconds;
                }
                format = end == std::string_view::npos ? std::string_view() : args.substr(end + 1);
            }
            if (!format.empty()) {
                part.text = format;
            }
        } else if (inner == "record" || inner == "copy") {
            part.kind = inner == "record" ? Kind::Record : Kind::Copy;
        } else if (IsBuiltIn(name)) {
            valid = false;  // ${record:x}: nothing to read
        } else {
            part.kind = Kind::Column;
            part.text = inner;
        }
        if (!valid) {
            literal += text[at++];
            continue;
        }
        flush();
        result.m_parts.push_back(std::move(part));
        result.m_hasFields = true;
        at = close + 1;
    }
    flush();
    return result;
}

std::vector<std::string> FieldTemplate::Columns() const {
    std::vector<std::string> names;
    for (const Part& part : m_parts) {
        if (part.kind == Kind::Column && std::find(names.begin(), names.end(), part.text) == names.end()) {
            names.push_back(part.text);
        }
    }
    return names;
}

std::string FieldTemplate::Expand(const FieldValues& values) const {
    std::string out;
    for (const Part& part : m_parts) {
        switch (part.kind) {
            case Kind::Literal:
                out += part.text;
                break;
            case Kind::Column:
                if (values.columns && values.values) {
                    const auto found = values.columns->find(part.text);
                    if (found != values.columns->end() &&
                        static_cast<std::size_t>(found->second) < values.values->size()) {
                        out += (*values.values)[static_cast<std::size_t>(found->second)];
                    }
                }
                break;
            case Kind::Date:
            case Kind::Time:
            case Kind::DateTime:
                out += FormatDateTime(values.now.addMonths(part.months).addSecs(part.seconds), part.text);
                break;
            case Kind::Record:
                out += std::to_string(values.record);
                break;
            case Kind::Copy:
                out += std::to_string(values.copy);
                break;
        }
    }
    return out;
}

std::string FormatDateTime(const QDateTime& when, const std::string& format) {
    if (format.empty()) {
        return {};
    }
    const QDate date = when.date();
    const QTime time = when.time();
    std::tm tm{};
    tm.tm_year = date.year() - 1900;
    tm.tm_mon = date.month() - 1;
    tm.tm_mday = date.day();
    tm.tm_hour = time.hour();
    tm.tm_min = time.minute();
    tm.tm_sec = time.second();
    tm.tm_wday = date.dayOfWeek() % 7;
    tm.tm_yday = date.dayOfYear() - 1;
    tm.tm_isdst = -1;
    char buffer[256];
    const std::size_t length = std::strftime(buffer, sizeof buffer, format.c_str(), &tm);
    return std::string(buffer, length);
}

}  // namespace etiqo
