#pragma once
// The serial line on a POSIX terminal device (USB serial adapters, on-board ports,
// pseudo-terminals). Exclusive use is taken with an advisory lock on the device, as other
// serial programs of the platform do, and with the terminal's exclusive mode. A port another
// program holds by either of those fails to open as busy.
#ifndef _WIN32
#include <string>

#include "link/SerialLine.h"

namespace orbisk {

class PosixSerialLine final : public SerialLine {
public:
    PosixSerialLine() = default;
    ~PosixSerialLine() override;
    PosixSerialLine(const PosixSerialLine&) = delete;
    PosixSerialLine& operator=(const PosixSerialLine&) = delete;

    bool Open(const std::string& portName, const SerialSettings& settings) override;
    bool IsOpen() const override { return fd_ >= 0; }
    bool Purge() override;
    bool Close() override;
    bool SendPriority(std::uint8_t byte) override;
    long Write(const std::uint8_t* data, std::size_t n) override;
    long Read(std::uint8_t* data, std::size_t n) override;
    int LastErrorCode() const override { return error_; }
    std::string LastErrorText() const override;
    PortFailure OpenFailure() const override { return openFailure_; }

private:
    bool Fail(int error);
    bool FailOpen(int error, const std::string& device);
    int fd_ = -1;
    int error_ = 0;
    PortFailure openFailure_ = PortFailure::None;
    std::string openFailureText_;
    SerialSettings settings_;
};

}  // namespace orbisk
#endif
