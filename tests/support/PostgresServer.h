#pragma once
// A PostgreSQL server of the tests' own: a cluster made by initdb in a temporary folder, started
// by pg_ctl on 127.0.0.1 at a free port, stopped and removed at the end. The server refuses to
// run as root, so under root (as in CI) it runs as the user "nobody".
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace orbisk::test {

// A port nobody listens on at the moment.
inline int FreeLocalPort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof a;
    ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &size);
    ::close(s);
    return ntohs(a.sin_port);
}

class PostgresServer {
public:
    explicit PostgresServer(std::string binFolder) : bin_(std::move(binFolder)) {
        char pattern[] = "/tmp/orbisk-pg-XXXXXX";
        if (!::mkdtemp(pattern)) throw std::runtime_error("no temporary folder");
        folder_ = pattern;
        port_ = FreeLocalPort();
        const std::string data = folder_ + "/data";
        if (::geteuid() == 0) {
            asUser_ = "setpriv --reuid=nobody --regid=nogroup --clear-groups ";
            Run("chown nobody:nogroup " + folder_);
        }
        Run(asUser_ + bin_ + "/initdb -A trust -U orbisk -E UTF8 --locale=C.UTF-8 -D " + data +
            " >" + folder_ + "/initdb.log 2>&1");
        Run(asUser_ + bin_ + "/pg_ctl -D " + data + " -l " + folder_ + "/server.log -w -o \"-h " +
            "127.0.0.1 -p " + std::to_string(port_) + " -k " + folder_ + "\" start >/dev/null");
        started_ = true;
    }
    ~PostgresServer() {
        if (started_) {
            std::system((asUser_ + bin_ + "/pg_ctl -D " + folder_ + "/data -m immediate -w stop" +
                         " >/dev/null 2>&1")
                            .c_str());
        }
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    int Port() const { return port_; }

    // A new, empty database on the server, by its address.
    std::string NewDatabase() {
        const std::string name = "archive" + std::to_string(++databases_);
        Run(asUser_ + bin_ + "/createdb -h 127.0.0.1 -p " + std::to_string(port_) + " -U orbisk " +
            name);
        return "postgresql://orbisk@127.0.0.1:" + std::to_string(port_) + "/" + name;
    }

private:
    void Run(const std::string& command) {
        if (std::system(command.c_str()) != 0) {
            throw std::runtime_error("failed: " + command + " (see " + folder_ + ")");
        }
    }

    std::string bin_;
    std::string folder_;
    std::string asUser_;
    int port_ = 0;
    int databases_ = 0;
    bool started_ = false;
};

}  // namespace orbisk::test
