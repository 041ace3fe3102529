#pragma once
// The serial line of the desktop program, on QSerialPort: the port opened exclusively, the line
// settings and total time-outs the adapter protocol asks for, purges of both directions, and
// blocking reads and writes on the user-interface thread bounded by those time-outs.
//
// A pseudo-terminal (the adapter emulator serves one) cannot carry parity; there the line is
// used without it, as long as everything else could be set.
//
// Besides QSerialPort's own lock file and exclusive terminal, the line takes the advisory lock
// on the device that the command-line tool's serial line takes, so that the two keep each other
// out even for the administrator, whom an exclusive terminal does not stop. The lock is taken on
// a descriptor of the line's own before QSerialPort touches the device, so a port another
// program holds is left as that program set it.
#include <QSerialPort>
#include <QString>
#include <string>

#include "link/SerialLine.h"

namespace orbisk {

class QtSerialLine final : public SerialLine {
public:
    QtSerialLine();
    ~QtSerialLine() override;
    QtSerialLine(const QtSerialLine&) = delete;
    QtSerialLine& operator=(const QtSerialLine&) = delete;

    bool Open(const std::string& portName, const SerialSettings& settings) override;
    bool IsOpen() const override { return port_.isOpen(); }
    bool Purge() override;
    bool Close() override;
    bool SendPriority(std::uint8_t byte) override;
    long Write(const std::uint8_t* data, std::size_t n) override;
    long Read(std::uint8_t* data, std::size_t n) override;
    int LastErrorCode() const override { return errorCode_; }
    std::string LastErrorText() const override { return errorText_; }
    PortFailure OpenFailure() const override { return openFailure_; }

    // The device the line has open (empty when closed) and whether parity had to be left off.
    const QString& Device() const { return device_; }
    bool ParityDropped() const { return parityDropped_; }

private:
    bool Fail(int code, const QString& text);
    bool FailFromPort();
    bool FailOpen(int code, PortFailure kind, const std::string& device,
                  const std::string& wording);
    bool FailOpenFromPort(const std::string& device);
#ifndef _WIN32
    bool TakeDeviceLock(const std::string& device);
#endif
    void ReleaseDeviceLock();
    bool ApplySettings(const SerialSettings& settings);

    QSerialPort port_;
    SerialSettings settings_;
    QString device_;
    bool parityDropped_ = false;
    int errorCode_ = 0;
    std::string errorText_;
    PortFailure openFailure_ = PortFailure::None;
    int lockFd_ = -1;  // the descriptor that holds the advisory lock
};

}  // namespace orbisk
