#pragma once
// Whole-label snapshot files "<n>.undo" (508-byte records, nothing else) in a private folder.

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "model/Element.h"

namespace etiqo {

class SnapshotStore {
public:
    // The private per-user folder (mode 0700) inside the system temp folder.
    static SnapshotStore ForCurrentUser();
    explicit SnapshotStore(std::filesystem::path folder);

    const std::filesystem::path& Folder() const { return m_folder; }
    std::filesystem::path FileFor(int number) const;

    // False when the file could not be written (the folder is unusable, the disk is full...).
    bool Write(int number, const std::vector<std::unique_ptr<Element>>& elements) const;
    // The records of snapshot n with hImage 0; nullopt when the file cannot be opened.
    std::optional<std::vector<std::unique_ptr<Element>>> Read(int number) const;

private:
    std::filesystem::path m_folder;
};

}  // namespace etiqo
