#ifndef _WIN32
#include "link/sim/PtyAdapterServer.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace orbisk {

PtyAdapterServer::PtyAdapterServer(AdapterEmulator& emulator) : emulator_(emulator) {}

PtyAdapterServer::~PtyAdapterServer() {
    Stop();
    if (slaveHold_ >= 0) close(slaveHold_);
    if (master_ >= 0) close(master_);
}

bool PtyAdapterServer::Open() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        error_ = std::strerror(errno);
        return false;
    }
    char name[256] = {};
    if (ptsname_r(master_, name, sizeof(name)) != 0) {
        error_ = std::strerror(errno);
        return false;
    }
    devicePath_ = name;
    slaveHold_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slaveHold_ < 0) {
        error_ = std::strerror(errno);
        return false;
    }
    // Raw from the start, so that nothing is echoed before a program sets its own mode.
    termios tio{};
    tcgetattr(slaveHold_, &tio);
    cfmakeraw(&tio);
    tcsetattr(slaveHold_, TCSANOW, &tio);
    const int flags = fcntl(master_, F_GETFL);
    fcntl(master_, F_SETFL, flags | O_NONBLOCK);
    return true;
}

bool PtyAdapterServer::WriteAll(const std::string& bytes) {
    std::size_t sent = 0;
    const auto started = std::chrono::steady_clock::now();
    while (sent < bytes.size()) {
        std::size_t chunk = bytes.size() - sent;
        if (bytesPerSecond_ > 0) {
            chunk = 1;
            const auto due = started + std::chrono::microseconds(static_cast<long long>(sent) *
                                                                 1'000'000 / bytesPerSecond_);
            std::this_thread::sleep_until(due);
        }
        const ssize_t r = write(master_, bytes.data() + sent, chunk);
        if (r > 0) {
            sent += static_cast<std::size_t>(r);
            continue;
        }
        if (r < 0 && errno != EAGAIN && errno != EINTR) return false;
        if (stop_) return false;
        pollfd p{master_, POLLOUT, 0};
        poll(&p, 1, 20);
    }
    return true;
}

void PtyAdapterServer::Serve(const std::function<bool()>& stop) {
    std::uint8_t buffer[4096];
    while (!stop_ && !(stop && stop())) {
        pollfd p{master_, POLLIN, 0};
        const int ready = poll(&p, 1, 20);
        if (ready <= 0 || !(p.revents & POLLIN)) continue;
        const ssize_t n = read(master_, buffer, sizeof(buffer));
        if (n <= 0) continue;
        std::string reply;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            reply = emulator_.Feed(buffer, static_cast<std::size_t>(n));
        }
        if (!reply.empty()) WriteAll(reply);
    }
}

void PtyAdapterServer::Start() {
    stop_ = false;
    thread_ = std::thread([this] { Serve(); });
}

void PtyAdapterServer::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

void PtyAdapterServer::WithEmulator(const std::function<void(AdapterEmulator&)>& action) {
    std::lock_guard<std::mutex> lock(mutex_);
    action(emulator_);
}

}  // namespace orbisk
#endif
