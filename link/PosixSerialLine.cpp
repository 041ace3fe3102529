#ifndef _WIN32
#include "link/PosixSerialLine.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "link/SerialPorts.h"

namespace orbisk {

namespace {

using SteadyClock = std::chrono::steady_clock;

speed_t SpeedOf(int baud) {
    switch (baud) {
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 230400:
            return B230400;
        default:
            return B115200;
    }
}

int RemainingMs(SteadyClock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

PosixSerialLine::~PosixSerialLine() {
    Close();
}

bool PosixSerialLine::Fail(int error) {
    error_ = error;
    openFailureText_.clear();
    return false;
}

bool PosixSerialLine::FailOpen(int error, const std::string& device) {
    error_ = error;
    openFailure_ = ClassifyOpenError(error);
    openFailureText_ = SerialOpenFailureText(openFailure_, device, std::strerror(error));
    return false;
}

std::string PosixSerialLine::LastErrorText() const {
    if (!openFailureText_.empty()) return openFailureText_;
    return error_ ? std::strerror(error_) : std::string();
}

bool PosixSerialLine::Open(const std::string& portName, const SerialSettings& settings) {
    if (fd_ >= 0) Close();
    const std::string device = SerialDevicePath(portName);
    if (device.empty()) return FailOpen(ENOENT, portName);
    const int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return FailOpen(errno, device);
    const auto abandon = [&](int error) {
        close(fd);
        return FailOpen(error, device);
    };
    if (!isatty(fd)) return abandon(ENOTTY);
    // Another holder is reported alike however it holds the port: as the busy device that an
    // exclusive terminal of another program gives.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) return abandon(errno == EWOULDBLOCK ? EBUSY : errno);

    termios tio{};
    if (tcgetattr(fd, &tio) != 0) return abandon(errno);
    cfmakeraw(&tio);
    cfsetispeed(&tio, SpeedOf(settings.baudRate));
    cfsetospeed(&tio, SpeedOf(settings.baudRate));
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB);
    tio.c_cflag |= CLOCAL | CREAD;
    switch (settings.dataBits) {
        case 5:
            tio.c_cflag |= CS5;
            break;
        case 6:
            tio.c_cflag |= CS6;
            break;
        case 7:
            tio.c_cflag |= CS7;
            break;
        default:
            tio.c_cflag |= CS8;
            break;
    }
    if (settings.parity != Parity::None) {
        tio.c_cflag |= PARENB;
        if (settings.parity == Parity::Odd) tio.c_cflag |= PARODD;
    }
    if (settings.parityCheck && settings.parity != Parity::None) tio.c_iflag |= INPCK;
    if (settings.stopBits == 2) tio.c_cflag |= CSTOPB;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (tcsetattr(fd, TCSANOW, &tio) != 0) {
        // A pseudo-terminal cannot keep parity and says so on a second setting; what matters
        // there is that the line is raw at the speed asked for.
        const int error = errno ? errno : EINVAL;
        termios now{};
        if (tcgetattr(fd, &now) != 0 || cfgetospeed(&now) != SpeedOf(settings.baudRate) ||
            (now.c_lflag & (ICANON | ECHO)) != 0) {
            return abandon(error);
        }
    }
    // Keeps out programs that neither lock nor look for locks (the administrator excepted);
    // lifted again on close, as a terminal kept open elsewhere would stay exclusive.
    ioctl(fd, TIOCEXCL);
    fd_ = fd;
    settings_ = settings;
    error_ = 0;
    openFailure_ = PortFailure::None;
    openFailureText_.clear();
    return true;
}

bool PosixSerialLine::Purge() {
    if (fd_ < 0) return Fail(EBADF);
    if (tcflush(fd_, TCIOFLUSH) != 0) return Fail(errno);
    return true;
}

bool PosixSerialLine::Close() {
    if (fd_ < 0) return true;
    tcflush(fd_, TCIOFLUSH);
    ioctl(fd_, TIOCNXCL);
    const int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0) return Fail(errno);
    return true;
}

bool PosixSerialLine::SendPriority(std::uint8_t byte) {
    return Write(&byte, 1) == 1;
}

long PosixSerialLine::Write(const std::uint8_t* data, std::size_t n) {
    if (fd_ < 0) return Fail(EBADF), -1;
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(settings_.writeTimeoutMs);
    std::size_t sent = 0;
    while (sent < n) {
        const ssize_t r = write(fd_, data + sent, n - sent);
        if (r > 0) {
            sent += static_cast<std::size_t>(r);
            continue;
        }
        if (r < 0 && errno != EAGAIN && errno != EINTR) return Fail(errno), -1;
        const int left = RemainingMs(deadline);
        if (left == 0) {
            error_ = ETIMEDOUT;
            break;
        }
        pollfd p{fd_, POLLOUT, 0};
        if (poll(&p, 1, left) < 0 && errno != EINTR) return Fail(errno), -1;
    }
    return static_cast<long>(sent);
}

long PosixSerialLine::Read(std::uint8_t* data, std::size_t n) {
    if (fd_ < 0) return Fail(EBADF), -1;
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(settings_.readTimeoutMs);
    std::size_t got = 0;
    while (got < n) {
        const ssize_t r = read(fd_, data + got, n - got);
        if (r > 0) {
            got += static_cast<std::size_t>(r);
            continue;
        }
        if (r < 0 && errno != EAGAIN && errno != EINTR) {
            // A device that went away (a pulled USB adapter) ends the read with what came.
            error_ = errno;
            break;
        }
        const int left = RemainingMs(deadline);
        if (left == 0) {
            error_ = ETIMEDOUT;
            break;
        }
        pollfd p{fd_, POLLIN, 0};
        const int ready = poll(&p, 1, left);
        if (ready < 0 && errno != EINTR) return Fail(errno), -1;
        if (ready > 0 && (p.revents & (POLLERR | POLLNVAL))) {
            error_ = EIO;
            break;
        }
        if (ready > 0 && (p.revents & POLLHUP) && !(p.revents & POLLIN)) {
            error_ = EIO;
            break;
        }
    }
    return static_cast<long>(got);
}

}  // namespace orbisk
#endif
