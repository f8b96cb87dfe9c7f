#include "model/PosixFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace etiqo {

namespace {

long SystemWrite(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}

WriteFunction g_write = SystemWrite;

}  // namespace

void SetWriteFunctionForTesting(WriteFunction write) {
    g_write = write ? write : SystemWrite;
}

void UniqueFd::Reset(int fd) {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    m_fd = fd;
}

bool UniqueFd::Close() {
    if (m_fd < 0) {
        return true;
    }
    const int rc = ::close(m_fd);
    m_fd = -1;
    return rc == 0;
}

bool WriteAll(int fd, std::span<const std::byte> bytes) {
    while (!bytes.empty()) {
        const long n = g_write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (n == 0) {  // no progress: treat as a full disk rather than spin
            errno = ENOSPC;
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

std::optional<std::vector<std::byte>> ReadAll(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        return std::nullopt;
    }
    std::vector<std::byte> data;
    data.reserve(S_ISREG(st.st_mode) && st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0);
    std::byte chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        if (n == 0) {
            return data;
        }
        data.insert(data.end(), chunk, chunk + n);
    }
}

std::string ErrnoText() {
    return std::strerror(errno);
}

}  // namespace etiqo
