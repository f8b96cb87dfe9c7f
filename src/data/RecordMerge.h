#pragma once
// One label per record: each page is a copy of the label's elements with the record's values
// filled into their contents; the label itself keeps its references. Serialized elements keep
// counting from page to page across records.

#include <QDateTime>
#include <QImage>

#include <deque>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "data/DataSource.h"
#include "data/FieldTemplate.h"
#include "data/SymbolPrefetch.h"
#include "model/Label.h"

class QPainter;

namespace etiqo {

class SymbolCache;

struct RecordRange {
    long first = 1;
    long last = std::numeric_limits<long>::max();
};

// "A-B", "A-" or "A" (record numbers from 1); nullopt when it reads otherwise or B < A.
std::optional<RecordRange> ParseRecordRange(std::string_view text);

struct MergeSettings {
    RecordRange range;
    int copies = 1;              // of each record, unless
    std::string quantityColumn;  // the record says how many
    QDateTime now;               // the job's clock
};

// A record that was left out, and why.
struct RecordProblem {
    long record = 0;
    int element = -1;  // index in the label, -1 for the record as a whole (its quantity)
    std::string reason;
};

// The line the user is shown for a problem.
std::string DescribeProblem(const RecordProblem& problem);
// The closing line: how many records were left out and how many labels made.
std::string MergeSummary(std::size_t skipped, long labels);

// Every column the label refers to, in order of first use.
std::vector<std::string> LabelColumns(const Label& label);

class RecordMerge {
public:
    // label: the stored label (its serial numbers step); symbols: where barcodes are encoded to
    // check them before a page is given out.
    RecordMerge(Label& label, DataSource& source, SymbolCache& symbols, MergeSettings settings);
    ~RecordMerge();
    RecordMerge(const RecordMerge&) = delete;
    RecordMerge& operator=(const RecordMerge&) = delete;

    // Makes the next page in `page` (its size and resolution follow the label); false at the end
    // of the records or the range, or when the source failed (SourceError()).
    bool NextPage(Label& page);
    // After the page has been drawn: the label's serial numbers step, the page's symbols go.
    void PageDone(Label& page);
    // Instead of PageDone for a page that is not drawn (counting pages before a print job): only
    // its symbols go, the label does not step.
    void Discard(Label& page);

    const std::vector<RecordProblem>& Problems() const { return m_problems; }
    std::string SourceError() const { return m_source.Error(); }
    long Pages() const { return m_pages; }

private:
    struct Record {
        long number = 0;
        std::vector<std::string> values;
    };
    // Reads records ahead of the page being made, up to the end of the range, and asks for their
    // symbols; false once the source has nothing more.
    bool ReadAhead();
    void Prefetch(const Record& record);
    bool LoadRecord();
    bool Fill(Label& page, int copy, RecordProblem& problem);
    // The label's element `index` parsed for fields.
    const FieldTemplate& Parsed(std::size_t index);

    Label& m_label;
    DataSource& m_source;
    SymbolCache& m_symbols;
    MergeSettings m_settings;
    std::unordered_map<std::string, int> m_columns;
    std::vector<std::string> m_values;
    std::vector<bool> m_filled;  // page elements whose content came from the record
    std::deque<Record> m_ahead;  // read, not yet made into pages
    long m_read = 0;             // number of the record last read from the source
    bool m_sourceDone = false;
    long m_record = 0;  // number of the record the pages are made of
    int m_copies = 0;   // copies of the current record
    int m_copy = 0;     // copies of it made so far
    long m_pages = 0;
    bool m_done = false;
    std::vector<RecordProblem> m_problems;
    SymbolPrefetch m_prefetch;
    // Each element's content parsed, kept while its bytes stay the same (a serial steps them).
    struct ParsedContent {
        std::string bytes;
        FieldTemplate fields;
    };
    std::vector<ParsedContent> m_parsed;
    QImage m_scratch{1, 1, QImage::Format_Mono};  // what the encoding check paints on: nothing
    std::unique_ptr<QPainter> m_scratchPainter;
};

}  // namespace etiqo
