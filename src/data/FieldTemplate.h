#pragma once
// Field references in a text, barcode or 2D content. The references are plain text in the
// record, so a label file stays as it was and a reader that knows nothing of data shows them as
// typed:
//   ${column}                 the record's value of that column
//   ${date} ${time} ${datetime}, optionally ${date:+30d} ${date:%d.%m.%Y} ${date:+1m-1d:%Y%m%d}
//                             the job's clock, moved by the offset (d days, w weeks, m months,
//                             y years, h hours, min minutes) and formatted strftime-style
//   ${record}                 the record's number in the source, from 1
//   ${copy}                   the copy's number within its record, from 1
//   $${                       a literal "${"
// A "${" without its "}", an empty "${}" or a date with an offset it cannot read stays as typed.

#include <QDateTime>

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace etiqo {

// What a record gives the references of one label.
struct FieldValues {
    const std::unordered_map<std::string, int>* columns = nullptr;  // name → index into values
    const std::vector<std::string>* values = nullptr;               // UTF-8
    long record = 1;
    int copy = 1;
    QDateTime now;  // the job's clock, read once for the whole job
};

class FieldTemplate {
public:
    // Parses a UTF-8 content.
    static FieldTemplate Parse(std::string_view utf8);

    // True when expanding can change the text (a reference or an escape).
    bool HasFields() const { return m_hasFields; }
    // The column names referred to, in order of first use, each once.
    std::vector<std::string> Columns() const;
    // The content with every reference replaced; a column the values lack expands to nothing
    // (the caller checks columns beforehand with Columns()).
    std::string Expand(const FieldValues& values) const;

    // The built-in names, which no column of that name hides.
    static bool IsBuiltIn(std::string_view name);

private:
    enum class Kind { Literal, Column, Date, Time, DateTime, Record, Copy };
    struct Part {
        Kind kind = Kind::Literal;
        std::string text;  // literal text, column name or strftime format
        int months = 0;    // offset of a date or time
        qint64 seconds = 0;
    };
    std::vector<Part> m_parts;
    bool m_hasFields = false;
};

// strftime of a local date and time (the C library's rules; an empty format gives "").
std::string FormatDateTime(const QDateTime& when, const std::string& format);

}  // namespace etiqo
