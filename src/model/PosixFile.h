#pragma once
// Small RAII helpers over POSIX file descriptors, shared by the label file and the snapshot store.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace etiqo {

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    ~UniqueFd() { Reset(); }
    UniqueFd(UniqueFd&& other) noexcept : m_fd(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int Get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    int Release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    void Reset(int fd = -1);
    // Closes now and reports whether the close succeeded (a failed close can mean lost data).
    bool Close();

private:
    int m_fd = -1;
};

// Writes every byte, retrying short writes and EINTR.
bool WriteAll(int fd, std::span<const std::byte> bytes);

// The write(2) behind WriteAll. Tests put a failing one in its place to see a full disk or an
// I/O error part way through a save; nullptr restores write(2). Not for concurrent use.
using WriteFunction = long (*)(int fd, const void* data, std::size_t size);
void SetWriteFunctionForTesting(WriteFunction write);

// Reads from the current position to the end of the file.
std::optional<std::vector<std::byte>> ReadAll(int fd);

// strerror of the current errno, for messages.
std::string ErrnoText();

}  // namespace etiqo
