#pragma once
// The source a label remembers: NAME.lab.data beside NAME.lab, an INI file, so the label file
// itself never changes. A file's path is kept relative to the label's folder when it lies inside
// it; a connection is kept without any password.

#include <optional>
#include <string>

#include "data/DataSource.h"

namespace etiqo {

std::string SourceFilePath(const std::string& labelPath);

// The remembered source, or nullopt when there is no side file (or it names no source).
std::optional<SourceChoice> ReadSourceFile(const std::string& labelPath);
// Writes (replaces) the side file; false when it could not be written.
bool WriteSourceFile(const std::string& labelPath, const SourceChoice& choice);
// Removes the side file (detaching the source); true when none is left.
bool RemoveSourceFile(const std::string& labelPath);

// The location with any password taken out of a connection URL.
std::string WithoutPassword(const std::string& location);

}  // namespace etiqo
