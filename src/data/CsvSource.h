#pragma once
// CSV and TSV files (RFC 4180: quoted fields, doubled quotes, line breaks inside quotes, a header
// row) parsed by libcsv as they are read, 64 KB at a time.

#include <memory>
#include <string>

#include "data/DataSource.h"

namespace etiqo {

std::unique_ptr<DataSource> OpenCsvSource(const std::string& path, char delimiter, std::string& error);

}  // namespace etiqo
