#pragma once
// Whole-label snapshot files "<n>.undo" (508-byte records, nothing else) in a folder of this
// process inside a private per-user folder, so that two running designers never share numbers.

#include <sys/types.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/Element.h"

namespace etiqo {

class SnapshotStore {
public:
    // The private per-user folder is "$XDG_RUNTIME_DIR/etiqo" where that folder is ours and
    // private, else "etiqo-<uid>" in the system temp folder. The first call in a process removes
    // the folders of processes that no longer run (and a stale one under our own id).
    static SnapshotStore ForCurrentUser();
    static std::filesystem::path PrivateFolderForCurrentUser();
    // Snapshots of the given process (this one by default) in privateFolder/<process>.
    explicit SnapshotStore(std::filesystem::path privateFolder, pid_t process = ::getpid());

    std::filesystem::path Folder() const;  // this process's folder
    std::filesystem::path FileFor(int number) const;

    // False when the file could not be written (the folder is unusable, the disk is full...);
    // the reason is then in LastError().
    bool Write(int number, const std::vector<std::unique_ptr<Element>>& elements) const;
    // The records of snapshot n with hImage 0; nullopt unless it is a regular file of ours with
    // one link. Anything else found under the name is removed.
    std::optional<std::vector<std::unique_ptr<Element>>> Read(int number) const;
    const std::string& LastError() const { return m_lastError; }

    // Removes the snapshot folders of processes that have ended. Returns how many went.
    static int RemoveLeftovers(const std::filesystem::path& privateFolder);

private:
    std::filesystem::path m_private;
    pid_t m_process;
    mutable std::string m_lastError;
};

}  // namespace etiqo
