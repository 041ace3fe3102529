#pragma once
// The serial line on Windows: the port "COMn" opened as the device "\\.\COMn" for reading and
// writing, shared with nobody, synchronous; the line settings through the port's DCB and the
// waits as its COMMTIMEOUTS. A port another program holds refuses to open as busy.
#ifdef _WIN32
#include <string>

#include "link/SerialLine.h"

namespace orbisk {

class Win32SerialLine final : public SerialLine {
public:
    Win32SerialLine() = default;
    ~Win32SerialLine() override;
    Win32SerialLine(const Win32SerialLine&) = delete;
    Win32SerialLine& operator=(const Win32SerialLine&) = delete;

    bool Open(const std::string& portName, const SerialSettings& settings) override;
    bool IsOpen() const override { return handle_ != nullptr; }
    bool Purge() override;
    bool Close() override;
    bool SendPriority(std::uint8_t byte) override;
    long Write(const std::uint8_t* data, std::size_t n) override;
    long Read(std::uint8_t* data, std::size_t n) override;
    int LastErrorCode() const override { return static_cast<int>(error_); }
    std::string LastErrorText() const override;
    PortFailure OpenFailure() const override { return openFailure_; }

private:
    bool Fail(unsigned long error);
    bool FailOpen(unsigned long error, const std::string& port);
    void* handle_ = nullptr;  // HANDLE; nullptr when closed
    unsigned long error_ = 0;
    PortFailure openFailure_ = PortFailure::None;
    std::string openFailureText_;
};

}  // namespace orbisk
#endif
