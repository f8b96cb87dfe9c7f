#pragma once
// The options that make `etiqo render` and `etiqo print` one label per record of a data source:
// --data SOURCE [--table T | --query SQL] [--quantity COLUMN] [--records A-B]. Without --data the
// source remembered beside the label (FILE.lab.data) is used when there is one.

#include <QCommandLineOption>
#include <QCommandLineParser>

#include <optional>
#include <string>
#include <vector>

#include "data/DataSource.h"
#include "data/RecordMerge.h"

namespace etiqo {

class CommandParser;
struct MergeOutcome;

struct DataOptions {
    bool used = false;  // a source was given or remembered
    SourceChoice choice;
    RecordRange range;
};

class DataOptionSet {
public:
    explicit DataOptionSet(QCommandLineParser& parser);
    // After parsing: the source for labelFile, or the exit status of a usage error. copies (0 when
    // --copies was not given) becomes the copies of each record.
    std::optional<int> Read(const CommandParser& command, const std::string& labelFile, int copies,
                            DataOptions& options) const;

private:
    QCommandLineParser& m_parser;
    QCommandLineOption m_data, m_table, m_query, m_quantity, m_records;
};

// Says each left-out record and the summary on stderr (or the error); the exit status.
int ReportOutcome(const MergeOutcome& outcome);

}  // namespace etiqo
