// raw_listener PORT_FILE DIR: a network label printer's raw port for tests. Listens on 127.0.0.1 (a
// free port, written to PORT_FILE once listening) and writes each connection, one job, to
// DIR/job-N.prn, N counting from 1 in the order connections arrive. A job is written as
// job-N.part and renamed when the sender closes, so every .prn file is a complete job.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

namespace {

std::atomic<int> g_jobs{0};

void Receive(int connection, std::string dir) {
    const std::string name = dir + "/job-" + std::to_string(++g_jobs);
    {
        std::ofstream out(name + ".part", std::ios::binary);
        char buffer[65536];
        for (ssize_t n; (n = ::read(connection, buffer, sizeof buffer)) > 0;) {
            out.write(buffer, n);
        }
    }
    ::close(connection);
    std::rename((name + ".part").c_str(), (name + ".prn").c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: raw_listener PORT_FILE DIR\n", stderr);
        return 2;
    }
    const int server = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (server < 0 || ::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(server, 64) != 0 ||
        ::getsockname(server, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        std::perror("raw_listener");
        return 1;
    }
    {
        const std::string temporary = std::string(argv[1]) + ".part";
        std::ofstream(temporary) << ntohs(address.sin_port) << '\n';
        std::rename(temporary.c_str(), argv[1]);
    }
    for (;;) {
        const int connection = ::accept(server, nullptr, nullptr);
        if (connection >= 0) {
            std::thread(Receive, connection, std::string(argv[2])).detach();
        }
    }
}
