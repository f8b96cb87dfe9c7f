#pragma once
// "QUEUE@HOST" names the queue QUEUE of the print service on another machine (HOST, HOST:PORT, or
// the path of a scheduler's socket), as lpstat names remote queues. While a scope lives, libcups
// talks to that server, so every usual call on the queue reaches it; a plain name changes nothing.

#include <optional>
#include <string>

namespace etiqo {

class PrintServerScope {
public:
    explicit PrintServerScope(const std::string& printer);
    ~PrintServerScope();
    PrintServerScope(const PrintServerScope&) = delete;
    PrintServerScope& operator=(const PrintServerScope&) = delete;

    // The queue's name on its server.
    const std::string& Queue() const { return m_queue; }

private:
    std::string m_queue;
    std::optional<std::string> m_previousServer;
    int m_previousPort = 0;
};

}  // namespace etiqo
