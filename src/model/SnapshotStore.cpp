#include "model/SnapshotStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "model/PosixFile.h"
#include "model/RecordIo.h"

namespace etiqo {
namespace {

std::string FileName(int number) {
    return std::to_string(number) + ".undo";
}

// Opens the snapshot folder, creating it (mode 0700) when missing. Refused when it is a symlink,
// not a directory or not ours: another user must not be able to plant or read our snapshots.
UniqueFd OpenPrivateFolder(const std::filesystem::path& folder) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return {};
    }
    UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!dir) {
        return {};
    }
    struct stat st {};
    if (::fstat(dir.Get(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) {
        return {};
    }
    if ((st.st_mode & 077) != 0 && ::fchmod(dir.Get(), 0700) != 0) {
        return {};
    }
    return dir;
}

}  // namespace

SnapshotStore SnapshotStore::ForCurrentUser() {
    std::error_code error;
    std::filesystem::path temp = std::filesystem::temp_directory_path(error);
    if (error || temp.empty()) {
        temp = "/tmp";
    }
    return SnapshotStore(temp / ("etiqo-" + std::to_string(::geteuid())));
}

SnapshotStore::SnapshotStore(std::filesystem::path folder) : m_folder(std::move(folder)) {}

std::filesystem::path SnapshotStore::FileFor(int number) const {
    return m_folder / FileName(number);
}

bool SnapshotStore::Write(int number, const std::vector<std::unique_ptr<Element>>& elements) const {
    const UniqueFd dir = OpenPrivateFolder(m_folder);
    if (!dir) {
        return false;
    }
    std::vector<std::byte> bytes;
    AppendRecords(bytes, elements, /*skipCut=*/false);

    // Written beside its final name and renamed, so a snapshot is never seen half-written.
    const std::string name = FileName(number);
    const std::string temp = name + ".tmp";
    UniqueFd file(
        ::openat(dir.Get(), temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!file) {
        return false;
    }
    const bool written = WriteAll(file.Get(), bytes) && file.Close() &&
                         ::renameat(dir.Get(), temp.c_str(), dir.Get(), name.c_str()) == 0;
    if (!written) {
        ::unlinkat(dir.Get(), temp.c_str(), 0);
    }
    return written;
}

std::optional<std::vector<std::unique_ptr<Element>>> SnapshotStore::Read(int number) const {
    const UniqueFd dir = OpenPrivateFolder(m_folder);
    if (!dir) {
        return std::nullopt;
    }
    // O_NONBLOCK: a planted FIFO must not hang the editor; only regular files are read.
    const UniqueFd file(
        ::openat(dir.Get(), FileName(number).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (!file || ::fstat(file.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
    const auto bytes = ReadAll(file.Get());
    if (!bytes) {
        return std::nullopt;
    }
    return RecordsFromBytes(*bytes);
}

}  // namespace etiqo
