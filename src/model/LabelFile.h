#pragma once
// The .lab file: a 20-byte size text ("%d %d" in millimetres), a 64-byte printer name
// (GB18030, NUL-padded) and the raw 508-byte records. An older layout has no printer-name block.
// No dialogs here: the designer asks for file names and confirmations, then calls these.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/Label.h"

namespace etiqo {

inline constexpr std::size_t kSizeBlockBytes = 20;
inline constexpr std::size_t kPrinterBlockBytes = 64;
inline constexpr std::size_t kCurrentHeaderBytes = kSizeBlockBytes + kPrinterBlockBytes;
inline constexpr int kMaxLabelMM = 1000;  // width and height read from a file lie in 1…1000 mm
// Larger files (over 30,000 elements) are refused before reading: a mailed file must not fill memory.
inline constexpr long kMaxLabelFileBytes = 16L * 1024 * 1024;

struct LabelReadResult {
    std::optional<LabelFileContents> contents;  // set when the file is a label
    std::string error;                          // otherwise "<file>: <reason>", one line
    explicit operator bool() const { return contents.has_value(); }
};

struct LabelFileStatus {
    bool ok = true;
    bool written = false;  // saving: false when there was nothing to write
    std::string error;     // "<file>: <reason>" when !ok
    explicit operator bool() const { return ok; }
};

LabelReadResult ReadLabelFile(const std::filesystem::path& file);
// The parsing behind ReadLabelFile; fileName only names the file in error messages.
LabelReadResult ParseLabelFile(std::span<const std::byte> bytes, std::string_view fileName);

// The file's bytes in the current layout; records with a non-zero bCut are left out.
std::vector<std::byte> LabelFileBytes(const Label& label);

// A label without elements writes nothing and succeeds. Otherwise the file is written beside its
// final name, synced and renamed over it, so a failed save leaves the old file intact.
// The label, its file name and its undo counters are not changed.
LabelFileStatus SaveLabelFile(const Label& label, const std::filesystem::path& file);

// Opening without the dialog: on success the file's size, printer name and elements replace the
// label's and the path becomes its file name; on failure the label is left as it was. Either
// way the base snapshot 0 is written from the list as it then stands.
LabelFileStatus OpenLabelFile(Label& label, const std::filesystem::path& file);

}  // namespace etiqo
