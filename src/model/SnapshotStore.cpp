#include "model/SnapshotStore.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

#include "model/PosixFile.h"
#include "model/RecordIo.h"

namespace etiqo {
namespace {

std::string FileName(int number) {
    return std::to_string(number) + ".undo";
}

bool OursAndPrivate(const struct stat& st) {
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid();
}

// Opens (creating it 0700 when missing) the folder `name` under `parent`, without following a
// symlink. Refused when it is not a folder or not ours: another user must not be able to plant or
// read our snapshots. A looser mode is tightened.
UniqueFd OpenPrivateFolderAt(int parent, const char* name) {
    if (::mkdirat(parent, name, 0700) != 0 && errno != EEXIST) {
        return {};
    }
    UniqueFd dir(::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!dir) {
        return {};
    }
    struct stat st {};
    if (::fstat(dir.Get(), &st) != 0 || !OursAndPrivate(st)) {
        errno = EPERM;
        return {};
    }
    if ((st.st_mode & 077) != 0 && ::fchmod(dir.Get(), 0700) != 0) {
        return {};
    }
    return dir;
}

// The process folder, through the private folder, each step checked.
UniqueFd OpenProcessFolder(const std::filesystem::path& privateFolder, pid_t process) {
    const UniqueFd base = OpenPrivateFolderAt(AT_FDCWD, privateFolder.c_str());
    if (!base) {
        return {};
    }
    return OpenPrivateFolderAt(base.Get(), std::to_string(process).c_str());
}

// A snapshot file we may read: a regular file of ours that no other name shares.
bool Trusted(const struct stat& st) {
    return S_ISREG(st.st_mode) && st.st_uid == ::geteuid() && st.st_nlink == 1;
}

bool IsProcessId(const std::string& name) {
    return !name.empty() && name.size() < 12 && name.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

std::filesystem::path SnapshotStore::PrivateFolderForCurrentUser() {
    // The runtime folder is the user's own by design (0700, removed at logout).
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && runtime[0] == '/') {
        struct stat st {};
        if (::stat(runtime, &st) == 0 && OursAndPrivate(st) && (st.st_mode & 077) == 0) {
            return std::filesystem::path(runtime) / "etiqo";
        }
    }
    std::error_code error;
    std::filesystem::path temp = std::filesystem::temp_directory_path(error);
    if (error || temp.empty()) {
        temp = "/tmp";
    }
    return temp / ("etiqo-" + std::to_string(::geteuid()));
}

SnapshotStore SnapshotStore::ForCurrentUser() {
    const std::filesystem::path folder = PrivateFolderForCurrentUser();
    static const bool cleaned = [&folder] {
        RemoveLeftovers(folder);
        // A folder under our own id is left from an earlier process of that number.
        std::error_code ignored;
        std::filesystem::remove_all(folder / std::to_string(::getpid()), ignored);
        return true;
    }();
    (void)cleaned;
    return SnapshotStore(folder);
}

int SnapshotStore::RemoveLeftovers(const std::filesystem::path& privateFolder) {
    const UniqueFd base(::open(privateFolder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat st {};
    if (!base || ::fstat(base.Get(), &st) != 0 || !OursAndPrivate(st)) {
        return 0;  // not ours to clean
    }
    int removed = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(privateFolder, error)) {
        const std::string name = entry.path().filename().string();
        if (!IsProcessId(name)) {
            continue;
        }
        const auto process = static_cast<pid_t>(std::stol(name));
        if (process != ::getpid() && ::kill(process, 0) != 0 && errno == ESRCH) {
            std::error_code ignored;
            removed += std::filesystem::remove_all(entry.path(), ignored) > 0 ? 1 : 0;
        }
    }
    return removed;
}

SnapshotStore::SnapshotStore(std::filesystem::path privateFolder, pid_t process)
    : m_private(std::move(privateFolder)), m_process(process) {}

std::filesystem::path SnapshotStore::Folder() const {
    return m_private / std::to_string(m_process);
}

std::filesystem::path SnapshotStore::FileFor(int number) const {
    return Folder() / FileName(number);
}

bool SnapshotStore::Write(int number, const std::vector<std::unique_ptr<Element>>& elements) const {
    const auto failed = [this] {
        m_lastError = Folder().string() + ": " + ErrnoText();
        return false;
    };
    const UniqueFd dir = OpenProcessFolder(m_private, m_process);
    if (!dir) {
        return failed();
    }
    std::vector<std::byte> bytes;
    AppendRecords(bytes, elements, /*skipCut=*/false);

    // Written fresh beside its final name and renamed, so a snapshot is never seen half-written
    // and nothing found under either name (a hard link, a FIFO, a symlink) is written through.
    const std::string name = FileName(number);
    const std::string temp = name + ".tmp";
    constexpr int kFresh = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    UniqueFd file(::openat(dir.Get(), temp.c_str(), kFresh, 0600));
    if (!file && errno == EEXIST && ::unlinkat(dir.Get(), temp.c_str(), 0) == 0) {
        file.Reset(::openat(dir.Get(), temp.c_str(), kFresh, 0600));
    }
    if (!file) {
        return failed();
    }
    const bool written = WriteAll(file.Get(), bytes) && file.Close() &&
                         ::renameat(dir.Get(), temp.c_str(), dir.Get(), name.c_str()) == 0;
    if (!written) {
        const int error = errno;
        ::unlinkat(dir.Get(), temp.c_str(), 0);
        errno = error;
        return failed();
    }
    return true;
}

std::optional<std::vector<std::unique_ptr<Element>>> SnapshotStore::Read(int number) const {
    const UniqueFd dir = OpenProcessFolder(m_private, m_process);
    if (!dir) {
        return std::nullopt;
    }
    // O_NONBLOCK: a planted FIFO must not hang the editor.
    const std::string name = FileName(number);
    const UniqueFd file(::openat(dir.Get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    const bool opened = static_cast<bool>(file);
    if (!opened || ::fstat(file.Get(), &st) != 0 || !Trusted(st)) {
        if (opened || errno == ELOOP) {
            ::unlinkat(dir.Get(), name.c_str(), 0);  // planted: not ours to read
        }
        return std::nullopt;
    }
    const auto bytes = ReadAll(file.Get());
    if (!bytes) {
        return std::nullopt;
    }
    return RecordsFromBytes(*bytes);
}

}  // namespace etiqo
