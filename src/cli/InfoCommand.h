#pragma once
// etiqo info FILE.lab: the label as JSON on stdout.

#include <nlohmann/json.hpp>

#include <span>

#include "model/LabelFile.h"

namespace etiqo {

// Keys in a fixed, readable order. Every element carries every key, whatever its kind, with the values as
// stored.
nlohmann::ordered_json LabelToJson(const LabelFileContents& label);

// args: the words after "info". Exit status 0, or 1 with one line on stderr naming the file.
int RunInfo(std::span<char* const> args);

}  // namespace etiqo
