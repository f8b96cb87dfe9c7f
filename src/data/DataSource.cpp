#include "data/DataSource.h"

#include <cstdio>
#include <cstring>

#include "data/CsvSource.h"
#include "data/SqlSource.h"

namespace etiqo {

namespace {

bool EndsWith(const std::string& text, const char* suffix) {
    const std::size_t length = std::strlen(suffix);
    if (text.size() < length) {
        return false;
    }
    for (std::size_t i = 0; i < length; ++i) {
        const char c = text[text.size() - length + i];
        if ((c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) != suffix[i]) {
            return false;
        }
    }
    return true;
}

bool HasSqliteMagic(const std::string& path) {
    char magic[16] = {};
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return false;
    }
    const bool read = std::fread(magic, 1, sizeof magic, file) == sizeof magic;
    std::fclose(file);
    return read && std::memcmp(magic, "SQLite format 3", 16) == 0;
}

constexpr const char* kKindNames[] = {"csv", "tsv", "sqlite", "sql"};

}  // namespace

SourceChoice SourceChoiceFor(const std::string& location) {
    SourceChoice choice;
    choice.location = location;
    if (location.starts_with("postgresql://") || location.starts_with("postgres://") ||
        location.starts_with("odbc:")) {
        choice.kind = SourceKind::Sql;
    } else if (EndsWith(location, ".tsv") || EndsWith(location, ".tab")) {
        choice.kind = SourceKind::Tsv;
    } else if (HasSqliteMagic(location)) {
        choice.kind = SourceKind::Sqlite;
    }
    return choice;
}

const char* SourceKindName(SourceKind kind) {
    return kKindNames[static_cast<int>(kind)];
}

bool SourceKindFromName(const std::string& name, SourceKind& kind) {
    for (int i = 0; i < 4; ++i) {
        if (name == kKindNames[i]) {
            kind = static_cast<SourceKind>(i);
            return true;
        }
    }
    return false;
}

std::unique_ptr<DataSource> OpenDataSource(const SourceChoice& choice, std::string& error) {
    switch (choice.kind) {
        case SourceKind::Csv:
            return OpenCsvSource(choice.location, ',', error);
        case SourceKind::Tsv:
            return OpenCsvSource(choice.location, '\t', error);
        case SourceKind::Sqlite:
        case SourceKind::Sql:
            return OpenSqlSource(choice, error);
    }
    return nullptr;
}

}  // namespace etiqo
