#pragma once
// SQLite files and SQL servers through Qt SQL (QSQLITE, QPSQL, QODBC): a table or a query, read
// forward only, so the driver hands rows over as they come.

#include <memory>
#include <string>

#include "data/DataSource.h"

namespace etiqo {

std::unique_ptr<DataSource> OpenSqlSource(const SourceChoice& choice, std::string& error);

}  // namespace etiqo
