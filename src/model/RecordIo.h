#pragma once
// Element lists as runs of raw 508-byte records: the body of label files and snapshot files.

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

#include "model/Element.h"

namespace etiqo {

// Appends the records in list order; with skipCut, records whose bCut is non-zero are left out.
void AppendRecords(std::vector<std::byte>& out, std::span<const std::unique_ptr<Element>> elements,
                   bool skipCut);

// Every complete record of the bytes, with hImage 0; a shorter trailing piece is ignored.
std::vector<std::unique_ptr<Element>> RecordsFromBytes(std::span<const std::byte> bytes);

}  // namespace etiqo
