#pragma once
// etiqo info FILE.lab: the label as JSON on stdout.

#include <QStringList>

#include <nlohmann/json.hpp>

#include "model/LabelFile.h"

namespace etiqo {

// Keys in a fixed, readable order. Every element carries every key, whatever its kind, with the values as
// stored.
nlohmann::ordered_json LabelToJson(const LabelFileContents& label);

// args: the words after "info". Exit status 0, 1 with one line on stderr naming the file, 2 for a usage
// error.
int RunInfo(const QStringList& args);

}  // namespace etiqo
