#pragma once
// A serial line as the adapter protocol needs it: open a port by name with line settings and
// total time-outs, discard pending input and output, write, read up to n bytes within the read
// time-out. The POSIX terminal implementation, the Win32 one and the desktop program's one
// implement it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "link/PortFailure.h"

namespace orbisk {

enum class Parity { None, Even, Odd };

struct SerialSettings {
    int baudRate = 115200;
    int dataBits = 8;
    Parity parity = Parity::Even;
    bool parityCheck = true;
    int stopBits = 1;
    int readTimeoutMs = 500;   // total time-out of one read
    int writeTimeoutMs = 500;  // total time-out of one write
};

class SerialLine {
public:
    virtual ~SerialLine() = default;

    // Opens the port (a "COMn" name or a device path) exclusively and applies the settings.
    virtual bool Open(const std::string& portName, const SerialSettings& settings) = 0;
    virtual bool IsOpen() const = 0;
    // Discards pending input and output; also purges before closing.
    virtual bool Purge() = 0;
    virtual bool Close() = 0;
    // Sends one byte ahead of any pending output.
    virtual bool SendPriority(std::uint8_t byte) = 0;
    // Bytes written (all of them unless the write time-out ran out), -1 on an error.
    virtual long Write(const std::uint8_t* data, std::size_t n) = 0;
    // Returns when n bytes have arrived or the read time-out has run out: the bytes received,
    // -1 on an error.
    virtual long Read(std::uint8_t* data, std::size_t n) = 0;

    // The system's code and wording of the last failure; after a failed Open the wording is
    // the reason with its advice (PortFailure.h).
    virtual int LastErrorCode() const = 0;
    virtual std::string LastErrorText() const = 0;
    // Why the last Open failed; None after one that succeeded.
    virtual PortFailure OpenFailure() const = 0;
};

}  // namespace orbisk
