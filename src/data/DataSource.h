#pragma once
// Where the records of a label come from: a CSV or TSV file, an SQLite file, or an SQL server
// reached through Qt SQL. Records are read one at a time, never the whole source at once.

#include <memory>
#include <string>
#include <vector>

namespace etiqo {

enum class SourceKind { Csv, Tsv, Sqlite, Sql };

struct SourceChoice {
    SourceKind kind = SourceKind::Csv;
    // A file's path, or for an SQL server a connection: postgresql://[user@][host][:port]/database
    // (a unix socket folder as ?host=/folder), or odbc:DSN-or-connection-string. Passwords come
    // from PGPASSWORD or ~/.pgpass (read by libpq) or the ODBC data source, never from here.
    std::string location;
    std::string table;           // SQL sources: a table, or else
    std::string query;           // a query (used when set)
    std::string quantityColumn;  // copies of each record from this column, else `copies`
    int copies = 1;
};

// The kind a --data argument names: a URL or odbc: prefix is a server, .tsv/.tab a TSV file, a
// file beginning with SQLite's magic an SQLite database, anything else CSV.
SourceChoice SourceChoiceFor(const std::string& location);

const char* SourceKindName(SourceKind kind);  // csv, tsv, sqlite, sql
bool SourceKindFromName(const std::string& name, SourceKind& kind);

class DataSource {
public:
    virtual ~DataSource() = default;
    // The column names (the header row, or the query's fields).
    virtual const std::vector<std::string>& Columns() const = 0;
    // The next record's values in column order, UTF-8 (a short row is padded with empty values);
    // false at the end or on a failure, which Error() then tells.
    virtual bool Next(std::vector<std::string>& values) = 0;
    virtual std::string Error() const = 0;
};

// Opens the source; null with one line in error (the driver's or the system's reason).
std::unique_ptr<DataSource> OpenDataSource(const SourceChoice& choice, std::string& error);

}  // namespace etiqo
