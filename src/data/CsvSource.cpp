#include "data/CsvSource.h"

#include <csv.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>

#include "model/TextCodec.h"
#include "res/UiText.h"

namespace etiqo {

namespace {

constexpr std::size_t kChunk = 64 * 1024;

// Whole UTF-8 sequences only (a sequence cut by the end of the buffer counts as whole when
// allowCut, for the first chunk of a file).
bool IsUtf8(std::string_view bytes, bool allowCut) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[at]);
        const std::size_t length = lead < 0x80         ? 1
                                   : (lead >> 5) == 6  ? 2
                                   : (lead >> 4) == 14 ? 3
                                   : (lead >> 3) == 30 ? 4
                                                       : 0;
        if (length == 0 || (length == 2 && lead < 0xC2)) {
            return false;
        }
        if (at + length > bytes.size()) {
            return allowCut;
        }
        for (std::size_t i = 1; i < length; ++i) {
            if ((static_cast<unsigned char>(bytes[at + i]) & 0xC0) != 0x80) {
                return false;
            }
        }
        at += length;
    }
    return true;
}

int NoSpace(unsigned char) {
    return 0;  // spaces around a field are part of it
}

class CsvSource final : public DataSource {
public:
    CsvSource(std::FILE* file, char delimiter) : m_file(file) {
        csv_init(&m_parser, 0);
        csv_set_delim(&m_parser, static_cast<unsigned char>(delimiter));
        csv_set_space_func(&m_parser, NoSpace);
    }
    ~CsvSource() override {
        csv_free(&m_parser);
        std::fclose(m_file);
    }
    CsvSource(const CsvSource&) = delete;
    CsvSource& operator=(const CsvSource&) = delete;

    // Reads the header; false when the file has none.
    bool Start() {
        std::vector<std::string> header;
        if (!NextRow(header)) {
            return false;
        }
        m_columns = std::move(header);
        return true;
    }

    const std::vector<std::string>& Columns() const override { return m_columns; }

    bool Next(std::vector<std::string>& values) override {
        if (!NextRow(values)) {
            return false;
        }
        values.resize(m_columns.size());
        return true;
    }

    std::string Error() const override { return m_error; }

private:
    static void OnField(void* data, std::size_t length, void* self) {
        auto* source = static_cast<CsvSource*>(self);
        source->m_row.push_back(
            source->Decode(std::string_view(static_cast<const char*>(data), data ? length : 0)));
    }
    static void OnRowEnd(int, void* self) {
        auto* source = static_cast<CsvSource*>(self);
        source->m_ready.push_back(std::move(source->m_row));
        source->m_row.clear();
    }

    std::string Decode(std::string_view bytes) const {
        if (m_utf8 && IsUtf8(bytes, false)) {
            return std::string(bytes);
        }
        return Utf8FromGb18030(bytes);
    }

    bool NextRow(std::vector<std::string>& row) {
        while (m_ready.empty() && !m_finished) {
            Fill();
        }
        if (m_ready.empty()) {
            return false;
        }
        row = std::move(m_ready.front());
        m_ready.pop_front();
        return true;
    }

    void Fill() {
        char buffer[kChunk];
        std::size_t length = std::fread(buffer, 1, sizeof buffer, m_file);
        std::string_view chunk(buffer, length);
        if (m_first) {
            m_first = false;
            if (chunk.starts_with("\xEF\xBB\xBF")) {
                chunk.remove_prefix(3);
            } else {
                // No mark: UTF-8 when the beginning reads as UTF-8, GB18030 otherwise.
                m_utf8 = IsUtf8(chunk, length == sizeof buffer);
            }
        }
        if (length == 0) {
            if (std::ferror(m_file)) {
                m_error = std::strerror(errno);
            }
            csv_fini(&m_parser, OnField, OnRowEnd, this);
            m_finished = true;
            return;
        }
        if (csv_parse(&m_parser, chunk.data(), chunk.size(), OnField, OnRowEnd, this) != chunk.size()) {
            m_error = csv_strerror(csv_error(&m_parser));
            m_finished = true;
        }
    }

    std::FILE* m_file;
    csv_parser m_parser{};
    std::vector<std::string> m_columns;
    std::vector<std::string> m_row;
    std::deque<std::vector<std::string>> m_ready;
    std::string m_error;
    bool m_first = true;
    bool m_utf8 = true;
    bool m_finished = false;
};

}  // namespace

std::unique_ptr<DataSource> OpenCsvSource(const std::string& path, char delimiter, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = UiText(TextId::DataCannotOpen, path, std::strerror(errno)).toStdString();
        return nullptr;
    }
    auto source = std::make_unique<CsvSource>(file, delimiter);
    if (!source->Start()) {
        error = UiText(TextId::DataCannotOpen, path,
                       source->Error().empty() ? Tr(TextId::DataNoHeader) : source->Error())
                    .toStdString();
        return nullptr;
    }
    return source;
}

}  // namespace etiqo
