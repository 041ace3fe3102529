#include "link/qt/QtSerialLine.h"

#include <QDeadlineTimer>
#include <cerrno>
#include <cstring>

#include "link/SerialPorts.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace orbisk {

namespace {

// Codes of the line's own failures, beyond QSerialPort's error numbers.
constexpr int kNoSuchPort = 1000;
constexpr int kTimedOut = 1001;

QSerialPort::DataBits DataBitsOf(int bits) {
    switch (bits) {
        case 5:
            return QSerialPort::Data5;
        case 6:
            return QSerialPort::Data6;
        case 7:
            return QSerialPort::Data7;
        default:
            return QSerialPort::Data8;
    }
}

QSerialPort::Parity ParityOf(Parity parity) {
    switch (parity) {
        case Parity::Even:
            return QSerialPort::EvenParity;
        case Parity::Odd:
            return QSerialPort::OddParity;
        case Parity::None:
            break;
    }
    return QSerialPort::NoParity;
}

#ifndef _WIN32
// Unix98 pseudo-terminal slaves have the majors 136 to 143.
bool IsPseudoTerminal(int fd) {
    struct stat info {};
    if (fd < 0 || fstat(fd, &info) != 0 || !S_ISCHR(info.st_mode)) return false;
    const unsigned m = major(info.st_rdev);
    return m >= 136 && m <= 143;
}

// The line as it stands is raw with eight-bit bytes.
bool LineIsRaw(int fd) {
    termios now{};
    if (tcgetattr(fd, &now) != 0) return false;
    return (now.c_lflag & (ICANON | ECHO)) == 0 && (now.c_cflag & CSIZE) == CS8;
}
#endif

}  // namespace

QtSerialLine::QtSerialLine() = default;

QtSerialLine::~QtSerialLine() {
    Close();
}

bool QtSerialLine::Fail(int code, const QString& text) {
    errorCode_ = code;
    errorText_ = text.toStdString();
    return false;
}

bool QtSerialLine::FailFromPort() {
    const QSerialPort::SerialPortError error = port_.error();
    const QString text = port_.errorString();
    port_.clearError();
    return Fail(static_cast<int>(error), text);
}

bool QtSerialLine::FailOpen(int code, PortFailure kind, const std::string& device,
                            const std::string& wording) {
    openFailure_ = kind;
    errorCode_ = code;
    errorText_ = SerialOpenFailureText(kind, device, wording);
    return false;
}

bool QtSerialLine::FailOpenFromPort(const std::string& device) {
    const QSerialPort::SerialPortError error = port_.error();
    const std::string wording = port_.errorString().toStdString();
    port_.clearError();
    switch (error) {
        case QSerialPort::DeviceNotFoundError:
            return FailOpen(error, PortFailure::Missing, device, wording);
        // The line's own descriptor was let in, so the refusal is another program's lock file;
        // on Windows a port another program has open is refused as access denied.
        case QSerialPort::PermissionError:
            return FailOpen(error, PortFailure::Busy, device, std::strerror(EBUSY));
        default:
            return FailOpen(error, PortFailure::Other, device, wording);
    }
}

#ifndef _WIN32
bool QtSerialLine::TakeDeviceLock(const std::string& device) {
    lockFd_ = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    int error = lockFd_ < 0 ? errno : 0;
    if (!error && flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        // However another program holds the port, it is told as the busy device.
        error = errno == EWOULDBLOCK ? EBUSY : errno;
    }
    if (!error) return true;
    ReleaseDeviceLock();
    const PortFailure kind = ClassifyOpenError(error);
    const int code = kind == PortFailure::Missing ? QSerialPort::DeviceNotFoundError
                     : PortRefused(kind)          ? QSerialPort::PermissionError
                                                  : QSerialPort::UnknownError;
    return FailOpen(code, kind, device, std::strerror(error));
}
#endif

void QtSerialLine::ReleaseDeviceLock() {
#ifndef _WIN32
    if (lockFd_ >= 0) close(lockFd_);
    lockFd_ = -1;
#endif
}

bool QtSerialLine::ApplySettings(const SerialSettings& settings) {
    if (!port_.setBaudRate(settings.baudRate) ||
        !port_.setDataBits(DataBitsOf(settings.dataBits)) ||
        !port_.setStopBits(settings.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) ||
        !port_.setFlowControl(QSerialPort::NoFlowControl)) {
        return FailFromPort();
    }
    parityDropped_ = false;
    if (!port_.setParity(ParityOf(settings.parity))) {
#ifndef _WIN32
        // A pseudo-terminal keeps no parity; what matters there is a raw line at the speed.
        const int fd = static_cast<int>(port_.handle());
        if (IsPseudoTerminal(fd) && LineIsRaw(fd)) {
            port_.clearError();
            parityDropped_ = true;
            return true;
        }
#endif
        return FailFromPort();
    }
#ifndef _WIN32
    // The driver may take the request and still leave parity off; a real port must keep it.
    if (settings.parity != Parity::None) {
        const int fd = static_cast<int>(port_.handle());
        termios now{};
        if (tcgetattr(fd, &now) == 0 && !(now.c_cflag & PARENB)) {
            if (!IsPseudoTerminal(fd)) {
                return Fail(QSerialPort::UnsupportedOperationError,
                            QStringLiteral("The port does not keep even parity"));
            }
            parityDropped_ = true;
        } else if (settings.parityCheck && tcgetattr(fd, &now) == 0 && !(now.c_iflag & INPCK)) {
            now.c_iflag |= INPCK;
            tcsetattr(fd, TCSANOW, &now);
        }
    }
#endif
    return true;
}

bool QtSerialLine::Open(const std::string& portName, const SerialSettings& settings) {
    Close();
    const std::string device = SerialDevicePath(portName);
    if (device.empty()) {
        return FailOpen(kNoSuchPort, PortFailure::Missing, portName, std::strerror(ENOENT));
    }
#ifndef _WIN32
    if (!TakeDeviceLock(device)) return false;
#endif
    port_.setPortName(QString::fromStdString(device));
    // QSerialPort opens the device for this process alone (a lock on Unix, no sharing on
    // Windows).
    if (!port_.open(QIODevice::ReadWrite)) {
        ReleaseDeviceLock();
        return FailOpenFromPort(device);
    }
    if (!ApplySettings(settings)) {
        const int code = errorCode_;
        const std::string text = errorText_;
        port_.close();
        ReleaseDeviceLock();
        return FailOpen(code, PortFailure::Other, device, text);
    }
    settings_ = settings;
    device_ = QString::fromStdString(device);
    errorCode_ = 0;
    errorText_.clear();
    openFailure_ = PortFailure::None;
    return true;
}

bool QtSerialLine::Purge() {
    if (!port_.isOpen())
        return Fail(QSerialPort::NotOpenError, QStringLiteral("Device is not open"));
    if (!port_.clear(QSerialPort::AllDirections)) return FailFromPort();
    return true;
}

bool QtSerialLine::Close() {
    if (!port_.isOpen()) return true;
    port_.clear(QSerialPort::AllDirections);
    port_.close();
    port_.clearError();
    ReleaseDeviceLock();
    device_.clear();
    return true;
}

// The protocol purges before every command, so nothing is ever queued ahead of a single-byte
// command: it goes out at once, which is what a priority character achieves.
bool QtSerialLine::SendPriority(std::uint8_t byte) {
    return Write(&byte, 1) == 1;
}

long QtSerialLine::Write(const std::uint8_t* data, std::size_t n) {
    if (!port_.isOpen()) {
        Fail(QSerialPort::NotOpenError, QStringLiteral("Device is not open"));
        return -1;
    }
    const qint64 queued = port_.write(reinterpret_cast<const char*>(data), static_cast<qint64>(n));
    if (queued < 0) {
        FailFromPort();
        return -1;
    }
    QDeadlineTimer deadline(settings_.writeTimeoutMs);
    while (port_.bytesToWrite() > 0) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0) {
            Fail(kTimedOut, QStringLiteral("Write timed out"));
            break;
        }
        if (!port_.waitForBytesWritten(static_cast<int>(left))) {
            if (port_.error() != QSerialPort::TimeoutError) {
                FailFromPort();
                break;
            }
            port_.clearError();
        }
    }
    // What is still queued did not go out in time; the next purge drops it.
    return static_cast<long>(queued - port_.bytesToWrite());
}

long QtSerialLine::Read(std::uint8_t* data, std::size_t n) {
    if (!port_.isOpen()) {
        Fail(QSerialPort::NotOpenError, QStringLiteral("Device is not open"));
        return -1;
    }
    const auto wanted = static_cast<qint64>(n);
    QDeadlineTimer deadline(settings_.readTimeoutMs);
    while (port_.bytesAvailable() < wanted) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0) {
            Fail(kTimedOut, QStringLiteral("Read timed out"));
            break;
        }
        if (!port_.waitForReadyRead(static_cast<int>(left))) {
            const QSerialPort::SerialPortError error = port_.error();
            if (error == QSerialPort::TimeoutError || error == QSerialPort::NoError) {
                port_.clearError();
                continue;  // the deadline decides
            }
            // A device that went away (a pulled USB adapter) ends the read with what came.
            FailFromPort();
            break;
        }
    }
    const qint64 got = port_.read(reinterpret_cast<char*>(data), wanted);
    if (got < 0) {
        FailFromPort();
        return -1;
    }
    return static_cast<long>(got);
}

}  // namespace orbisk
