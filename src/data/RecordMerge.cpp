#include "data/RecordMerge.h"

#include <QImage>
#include <QPainter>

#include <charconv>

#include "model/Serial.h"
#include "model/TextCodec.h"
#include "render/ElementRenderer.h"
#include "render/SymbolCache.h"
#include "res/UiText.h"

namespace etiqo {

namespace {

bool TakesFields(const Element& element) {
    return element.nKind == ElementKind::Text || element.nKind == ElementKind::Barcode ||
           element.nKind == ElementKind::Code2D;
}

std::optional<long> Number(std::string_view text) {
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0) {
        return std::nullopt;
    }
    return value;
}

// The record's values filled into a copy of a label element; false when they do not fit its record.
bool FillContent(Element& element, const FieldTemplate& content, const FieldValues& values) {
    return StoreGb18030(element.str, Gb18030FromUtf8(content.Expand(values)), Overflow::Refuse) !=
           TextFit::Refused;
}

}  // namespace

std::optional<RecordRange> ParseRecordRange(std::string_view text) {
    RecordRange range;
    const std::size_t dash = text.find('-');
    const auto first = Number(text.substr(0, dash));
    if (!first || *first < 1) {
        return std::nullopt;
    }
    range.first = *first;
    if (dash == std::string_view::npos) {
        range.last = *first;
    } else if (dash + 1 < text.size()) {
        const auto last = Number(text.substr(dash + 1));
        if (!last || *last < *first) {
            return std::nullopt;
        }
        range.last = *last;
    }
    return range;
}

std::string DescribeProblem(const RecordProblem& problem) {
    if (problem.element < 0) {
        return UiText(TextId::DataRecordProblem, problem.record, problem.reason).toStdString();
    }
    return UiText(TextId::DataElementProblem, problem.record, problem.element, problem.reason).toStdString();
}

std::string MergeSummary(std::size_t skipped, long labels) {
    const QString records = UiText(skipped == 1 ? TextId::DataSkippedOne : TextId::DataSkippedMany, skipped);
    const QString made = UiText(labels == 1 ? TextId::DataMadeOne : TextId::DataMadeMany, labels);
    return UiText(TextId::DataSummary, records, made).toStdString();
}

std::vector<std::string> LabelColumns(const Label& label) {
    std::vector<std::string> names;
    for (const ElementPtr& element : label.m_elements) {
        if (!element || !TakesFields(*element)) {
            continue;
        }
        for (std::string& name : FieldTemplate::Parse(ContentUtf8(*element)).Columns()) {
            if (std::find(names.begin(), names.end(), name) == names.end()) {
                names.push_back(std::move(name));
            }
        }
    }
    return names;
}

RecordMerge::RecordMerge(Label& label, DataSource& source, SymbolCache& symbols, MergeSettings settings)
    : m_label(label),
      m_source(source),
      m_symbols(symbols),
      m_settings(std::move(settings)),
      m_parsed(label.m_elements.size()) {
    const std::vector<std::string>& columns = m_source.Columns();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        m_columns.emplace(columns[i], static_cast<int>(i));  // the first of equal names wins
    }
}

RecordMerge::~RecordMerge() = default;

const FieldTemplate& RecordMerge::Parsed(std::size_t index) {
    ParsedContent& parsed = m_parsed[index];
    const std::string_view bytes = ContentBytes(*m_label.m_elements[index]);
    if (parsed.bytes != bytes) {  // an empty content parses to no fields, as a new entry has
        parsed.bytes = bytes;
        parsed.fields = FieldTemplate::Parse(Utf8FromGb18030(bytes));
    }
    return parsed.fields;
}

bool RecordMerge::ReadAhead() {
    // Enough to keep the encoder ahead of the drawing, few enough to stay small.
    constexpr std::size_t kAhead = 32;
    while (m_ahead.size() < kAhead && !m_sourceDone) {
        Record record;
        if (m_read >= m_settings.range.last || !m_source.Next(record.values)) {
            m_sourceDone = true;
            break;
        }
        record.number = ++m_read;
        if (record.number >= m_settings.range.first) {
            Prefetch(record);
            m_ahead.push_back(std::move(record));
        }
    }
    return !m_ahead.empty();
}

void RecordMerge::Prefetch(const Record& record) {
    const FieldValues values{&m_columns, &record.values, record.number, 1, m_settings.now};
    for (std::size_t i = 0; i < m_label.m_elements.size(); ++i) {
        const ElementPtr& stored = m_label.m_elements[i];
        if (!stored || !TakesFields(*stored) || !OutputSymbol(*stored)) {
            continue;
        }
        Element element = *stored;
        const FieldTemplate& content = Parsed(i);
        if (content.HasFields() && FillContent(element, content, values)) {
            m_prefetch.Request(*OutputSymbol(element), record.number);
        }
    }
}

bool RecordMerge::LoadRecord() {
    while (!m_done) {
        if (!ReadAhead()) {
            m_done = true;
            return false;
        }
        m_record = m_ahead.front().number;
        m_values = std::move(m_ahead.front().values);
        m_ahead.pop_front();
        m_copies = m_settings.copies;
        if (!m_settings.quantityColumn.empty()) {
            const auto column = m_columns.find(m_settings.quantityColumn);
            const std::string text = column == m_columns.end()
                                         ? std::string()
                                         : m_values[static_cast<std::size_t>(column->second)];
            const auto quantity = Number(text);
            if (!quantity || *quantity > 1000000) {
                m_problems.push_back({m_record, -1, UiText(TextId::DataBadQuantity, text).toStdString()});
                continue;
            }
            m_copies = static_cast<int>(*quantity);
        }
        m_copy = 0;
        if (m_copies > 0) {
            return true;
        }
    }
    return false;
}

bool RecordMerge::Fill(Label& page, int copy, RecordProblem& problem) {
    page.m_nLabelWidthMM = m_label.m_nLabelWidthMM;
    page.m_nLabelHeightMM = m_label.m_nLabelHeightMM;
    page.m_nDpiX = m_label.m_nDpiX;
    page.m_nDpiY = m_label.m_nDpiY;
    page.m_elements.resize(m_label.m_elements.size());
    m_filled.assign(m_label.m_elements.size(), false);
    const FieldValues values{&m_columns, &m_values, m_record, copy, m_settings.now};
    if (!m_scratchPainter) {
        m_scratchPainter = std::make_unique<QPainter>(&m_scratch);
    }
    const RenderContext context{*m_scratchPainter,      m_symbols, DisplayScale{1.0, 1.0}, true,
                                DisplayScale{1.0, 1.0}, {}};
    for (std::size_t i = 0; i < m_label.m_elements.size(); ++i) {
        const Element& source = *m_label.m_elements[i];
        if (!page.m_elements[i]) {
            page.m_elements[i] = std::make_unique<Element>();
        }
        Element& element = *page.m_elements[i];
        element = source;
        if (!TakesFields(source)) {
            continue;
        }
        const FieldTemplate& content = Parsed(i);
        if (!content.HasFields()) {
            continue;
        }
        m_filled[i] = true;
        element.hImage = 0;  // the symbol of this record's value, encoded below
        problem = {m_record, static_cast<int>(i), {}};
        if (!FillContent(element, content, values)) {
            problem.reason = Tr(TextId::DataTooLong);
            return false;
        }
        if (const std::optional<SymbolRequest> request = OutputSymbol(element)) {
            if (std::optional<SymbolImage> symbol = m_prefetch.Take(*request, m_record)) {
                element.hImage = m_symbols.Store(std::move(*symbol));
            }
        }
        problem.reason = EncodeForOutput(context, element);
        if (!problem.reason.empty()) {
            m_symbols.Release(element);
            return false;
        }
    }
    return true;
}

bool RecordMerge::NextPage(Label& page) {
    while (true) {
        if (m_copy >= m_copies && !LoadRecord()) {
            return false;
        }
        ++m_copy;
        RecordProblem problem;
        if (Fill(page, m_copy, problem)) {
            ++m_pages;
            return true;
        }
        // The record's other copies are left out with it.
        Discard(page);
        m_problems.push_back(std::move(problem));
        m_copy = m_copies;
    }
}

void RecordMerge::Discard(Label& page) {
    for (std::size_t i = 0; i < m_filled.size() && i < page.m_elements.size(); ++i) {
        if (m_filled[i]) {
            m_symbols.Release(*page.m_elements[i]);
        }
    }
    m_filled.clear();
}

void RecordMerge::PageDone(Label& page) {
    for (std::size_t i = 0; i < m_filled.size() && i < page.m_elements.size(); ++i) {
        Element& stored = *m_label.m_elements[i];
        Element& drawn = *page.m_elements[i];
        if (!m_filled[i]) {
            // Drawing stepped the copy's serial number and may have encoded its symbol anew.
            std::memcpy(stored.str, drawn.str, sizeof stored.str);
            stored.hImage = drawn.hImage;
            continue;
        }
        m_symbols.Release(drawn);
        if (stored.nSerialMode != kSerialNone && stored.nKind != ElementKind::Code2D) {
            AdvanceSerial(stored);
        }
    }
    m_filled.clear();
}

}  // namespace etiqo
