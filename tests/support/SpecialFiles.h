#pragma once
// Things other than files for a program to write to: device nodes that behave like the system's
// null and full devices, and a FIFO with a reader that takes whatever comes through it.
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

namespace orbisk::test {

// A character device at `name` in the folder, the same device as `system` ("/dev/null",
// "/dev/full"), so that a program that wrongly replaces it harms nothing of the machine's. Where
// a node cannot be made (not the superuser), the system's own device, which such a user cannot
// replace either.
inline std::filesystem::path DeviceLike(const std::filesystem::path& folder, const char* name,
                                        const char* system) {
    struct stat device {};
    const std::filesystem::path own = folder / name;
    if (::stat(system, &device) == 0 && ::mknod(own.c_str(), S_IFCHR | 0666, device.st_rdev) == 0) {
        return own;
    }
    return system;
}

// A FIFO at `path`, opened for reading before anything writes to it, emptied as bytes come.
class FifoReader {
public:
    explicit FifoReader(std::filesystem::path path) : path_(std::move(path)) {
        if (::mkfifo(path_.c_str(), 0600) != 0) return;
        fd_ = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd_ >= 0) thread_ = std::thread([this] { Run(); });
    }
    ~FifoReader() { Take(); }
    FifoReader(const FifoReader&) = delete;
    FifoReader& operator=(const FifoReader&) = delete;

    bool Ready() const { return fd_ >= 0; }
    const std::filesystem::path& Path() const { return path_; }

    // Once the writer is done: everything that came through.
    std::string Take() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        return data_;
    }

private:
    void Run() {
        char buffer[4096];
        for (;;) {
            pollfd p{fd_, POLLIN, 0};
            ::poll(&p, 1, 20);
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n > 0) {
                data_.append(buffer, static_cast<std::size_t>(n));
                continue;
            }
            if (stop_) break;
            if (n == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ::close(fd_);
    }

    std::filesystem::path path_;
    int fd_ = -1;
    std::atomic<bool> stop_{false};
    std::string data_;
    std::thread thread_;
};

}  // namespace orbisk::test
