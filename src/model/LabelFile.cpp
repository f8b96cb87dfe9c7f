#include "model/LabelFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "model/PosixFile.h"
#include "model/RecordIo.h"
#include "model/TextCodec.h"
#include "res/Texts.h"

namespace etiqo {
namespace {

std::string Problem(std::string_view fileName, TextId reason, const std::string& detail = {}) {
    std::string message(fileName);
    message += ": ";
    message += Tr(reason);
    if (!detail.empty()) {
        message += " (" + detail + ")";
    }
    return message;
}

LabelReadResult Failure(std::string message) {
    LabelReadResult result;
    result.error = std::move(message);
    return result;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// One "%d" conversion: leading white space, an optional sign, at least one digit.
const char* ParseInt(const char* p, const char* end, int& value) {
    while (p < end && IsSpace(*p)) {
        ++p;
    }
    if (p < end && *p == '+') {
        ++p;
    }
    const auto [next, error] = std::from_chars(p, end, value);
    return error == std::errc() ? next : nullptr;
}

// The size block read as "%d %d"; nullopt unless it holds two integers of 1…1000 mm.
std::optional<std::pair<int, int>> ParseSizeBlock(std::span<const std::byte> block) {
    const char* begin = reinterpret_cast<const char*>(block.data());
    const char* end = begin + ::strnlen(begin, block.size());
    int width = 0;
    int height = 0;
    const char* p = ParseInt(begin, end, width);
    if (p == nullptr || (p = ParseInt(p, end, height)) == nullptr) {
        return std::nullopt;
    }
    const auto valid = [](int mm) { return mm >= 1 && mm <= kMaxLabelMM; };
    if (!valid(width) || !valid(height)) {
        return std::nullopt;
    }
    return std::pair{width, height};
}

// The two layouts are told apart by length: a current file is 84 + 508·n bytes, an older one
// 20 + 508·n, and no length is both. Only a file whose last record is cut short matches
// neither; then the first byte of the printer block decides, as older readers did.
LabelLayout DetectLayout(std::span<const std::byte> bytes) {
    const std::size_t size = bytes.size();
    if (size >= kCurrentHeaderBytes && (size - kCurrentHeaderBytes) % kElementSize == 0) {
        return LabelLayout::Current;
    }
    if ((size - kSizeBlockBytes) % kElementSize == 0) {
        return LabelLayout::Older;
    }
    const auto first = static_cast<unsigned char>(bytes[kSizeBlockBytes]);
    const bool printable = first >= 0x20 && first <= 0x7E;
    return size >= kCurrentHeaderBytes && printable ? LabelLayout::Current : LabelLayout::Older;
}

// Short, so that a target name of up to 255 bytes still saves.
std::string TempName(int attempt) {
    return ".etiqo-" + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".tmp";
}

// A new file in folder under a short unused name; O_EXCL never reuses someone else's file.
UniqueFd CreateTemp(const std::filesystem::path& folder, std::filesystem::path& temp, mode_t mode) {
    UniqueFd fd;
    for (int attempt = 0; attempt < 100 && !fd; ++attempt) {
        temp = folder / TempName(attempt);
        fd.Reset(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        if (!fd && errno != EEXIST) {
            break;
        }
    }
    return fd;
}

// Whether we may change the file: its permissions as the system sees them, and for root (whom
// the system lets write anything) the write bits, as editors do.
bool MayWrite(const std::filesystem::path& target, const struct stat& st) {
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        return false;
    }
    return ::geteuid() != 0 || (st.st_mode & 0222) != 0;
}

bool WriteAt(int fd, std::span<const std::byte> bytes) {
    return ::lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, bytes) &&
           ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fdatasync(fd) == 0;
}

// Puts the old bytes back over the blocks they held, so a full disk does not stop it.
bool RestoreAt(int fd, std::span<const std::byte> bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n <= 0 && errno != EINTR) {
            return false;
        }
        done += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    return ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fdatasync(fd) == 0;
}

// A file shared by other names, or owned by someone else, is changed in place: renaming a new
// file over it would split the links and hand it to us. Its old content is first copied aside
// (and synced), so a failed or interrupted write can always be undone; the copy goes when done.
std::string SaveInPlace(const std::filesystem::path& target, const std::filesystem::path& folder,
                        std::span<const std::byte> bytes) {
    UniqueFd fd(::open(target.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC));
    if (!fd) {
        return ErrnoText();
    }
    const auto old = ReadAll(fd.Get());
    if (!old) {
        return ErrnoText();
    }
    std::filesystem::path copy;
    UniqueFd aside = CreateTemp(folder, copy, 0600);
    if (!aside || !WriteAll(aside.Get(), *old) || ::fdatasync(aside.Get()) != 0 || !aside.Close()) {
        const std::string detail = ErrnoText();
        if (!copy.empty()) {
            ::unlink(copy.c_str());
        }
        return detail;
    }
    if (WriteAt(fd.Get(), bytes) && fd.Close()) {
        ::unlink(copy.c_str());
        return {};
    }
    const std::string detail = ErrnoText();
    if (fd && RestoreAt(fd.Get(), *old)) {
        ::unlink(copy.c_str());
        return detail;
    }
    std::string kept = Tr(TextId::LabelFileRestoreFailed);
    kept.replace(kept.find("%1"), 2, copy.string());
    return detail + "; " + kept;
}

}  // namespace

LabelReadResult ParseLabelFile(std::span<const std::byte> bytes, std::string_view fileName) {
    if (bytes.size() < kSizeBlockBytes) {
        return Failure(Problem(fileName, TextId::LabelFileTooShort));
    }
    const auto size = ParseSizeBlock(bytes.first(kSizeBlockBytes));
    if (!size) {
        return Failure(Problem(fileName, TextId::LabelFileBadSize));
    }
    LabelFileContents contents;
    contents.widthMM = size->first;
    contents.heightMM = size->second;
    contents.layout = DetectLayout(bytes);
    std::size_t header = kSizeBlockBytes;
    if (contents.layout == LabelLayout::Current) {
        const auto* name = reinterpret_cast<const char*>(bytes.data() + kSizeBlockBytes);
        contents.printerName = Utf8FromGb18030(std::string_view(name, ::strnlen(name, kPrinterBlockBytes)));
        header = kCurrentHeaderBytes;
    }
    contents.elements = RecordsFromBytes(bytes.subspan(header));
    LabelReadResult result;
    result.contents = std::move(contents);
    return result;
}

LabelReadResult ReadLabelFile(const std::filesystem::path& file) {
    const std::string name = file.string();
    // O_NONBLOCK so that a FIFO given by mistake cannot hang us; only regular files are labels.
    const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd) {
        return Failure(Problem(name, TextId::LabelFileCannotOpen, ErrnoText()));
    }
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return Failure(Problem(name, TextId::LabelFileNotRegular));
    }
    if (st.st_size > kMaxLabelFileBytes) {
        return Failure(Problem(name, TextId::LabelFileTooLarge));
    }
    const auto bytes = ReadAll(fd.Get());
    if (!bytes) {
        return Failure(Problem(name, TextId::LabelFileCannotOpen, ErrnoText()));
    }
    return ParseLabelFile(*bytes, name);
}

std::vector<std::byte> LabelFileBytes(const Label& label) {
    std::vector<std::byte> bytes(kCurrentHeaderBytes);
    char sizeText[kSizeBlockBytes + 1] = {};
    std::snprintf(sizeText, sizeof sizeText, "%d %d", label.m_nLabelWidthMM, label.m_nLabelHeightMM);
    std::memcpy(bytes.data(), sizeText, kSizeBlockBytes);
    // The first 64 bytes of the name, never part of a character.
    const std::string printer = Gb18030FromUtf8(label.m_strPrinterName);
    std::memcpy(bytes.data() + kSizeBlockBytes, printer.data(),
                Gb18030PrefixLength(printer, kPrinterBlockBytes));
    AppendRecords(bytes, label.m_elements, /*skipCut=*/true);
    return bytes;
}

LabelFileStatus SaveLabelFile(const Label& label, const std::filesystem::path& file) {
    LabelFileStatus status;
    if (label.m_elements.empty()) {
        return status;
    }
    const std::string name = file.string();
    const auto fail = [&status, &name](const std::string& detail) {
        status.ok = false;
        status.error = Problem(name, TextId::LabelFileCannotWrite, detail);
        return status;
    };

    // Saving through a symlink replaces the file it points to, not the link.
    std::error_code error;
    std::filesystem::path target = std::filesystem::weakly_canonical(file, error);
    if (error || target.empty()) {
        target = file;
    }
    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }

    const std::vector<std::byte> bytes = LabelFileBytes(label);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists) {
        if (!S_ISREG(old.st_mode)) {
            status.ok = false;
            status.error = Problem(name, TextId::LabelFileNotRegular);
            return status;
        }
        if (!MayWrite(target, old)) {
            status.ok = false;
            status.error = Problem(name, TextId::LabelFileReadOnly);
            return status;
        }
        if (old.st_nlink > 1 || old.st_uid != ::geteuid()) {
            if (const std::string detail = SaveInPlace(target, folder, bytes); !detail.empty()) {
                return fail(detail);
            }
            status.written = true;
            return status;
        }
    }

    // A new file beside the target, renamed over it: a reader never sees half a label. Its mode
    // is the replaced file's, or follows the umask like any new file.
    std::filesystem::path temp;
    UniqueFd fd = CreateTemp(folder, temp, 0666);
    if (!fd) {
        return fail(ErrnoText());
    }
    if (exists) {
        ::fchmod(fd.Get(), old.st_mode & 07777);
    }

    // fdatasync flushes the data and the size a reader needs, without the rest of the metadata.
    if (!WriteAll(fd.Get(), bytes) || ::fdatasync(fd.Get()) != 0 || !fd.Close() ||
        ::rename(temp.c_str(), target.c_str()) != 0) {
        const std::string detail = ErrnoText();
        ::unlink(temp.c_str());
        return fail(detail);
    }
    // The rename itself must survive a power cut too.
    if (const UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)); dir) {
        ::fsync(dir.Get());
    }
    status.written = true;
    return status;
}

LabelFileStatus OpenLabelFile(Label& label, const std::filesystem::path& file) {
    LabelReadResult read = ReadLabelFile(file);
    LabelFileStatus status;
    if (read) {
        label.Adopt(std::move(*read.contents), file.string());
        label.m_bModified = false;
    } else {
        status.ok = false;
        status.error = std::move(read.error);
    }
    label.WriteBaseSnapshot();
    return status;
}

}  // namespace etiqo
