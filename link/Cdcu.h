#pragma once
// The USB adapter's serial protocol: one-letter commands, each a single request answered by a
// single reply read within the line's time-out. Nothing here retries or shows anything; a false
// result leaves the system's wording of the last error in ErrorText.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "link/SerialLine.h"

namespace orbisk {

class TCDC {
public:
    static constexpr std::size_t kBlockSize = 64;
    static constexpr std::size_t kBufferSize = 65;

    explicit TCDC(std::unique_ptr<SerialLine> line);
    ~TCDC();
    TCDC(const TCDC&) = delete;
    TCDC& operator=(const TCDC&) = delete;

    const std::string& PortName() const { return portName_; }
    void SetPortName(const std::string& name) { portName_ = name; }
    const std::string& ErrorText() const { return errorText_; }
    // Why the last Open failed (None when it succeeded); ErrorText then tells it to the person.
    PortFailure OpenFailure() const { return line_->OpenFailure(); }
    // The identification the adapter answers with, in Windows-1251 as it comes over the line.
    const std::string& AdapterName() const { return adapterName_; }
    bool IsOpen() const { return line_->IsOpen(); }

    bool Open();
    bool Identify();
    bool CheckReader();
    bool SetBlockSize();
    bool SetAddress(std::uint32_t address);
    // Copies at most `capacity` of the bytes received into the destination and returns their
    // number; 0 on failure.
    std::size_t ReadBlock(std::uint8_t* destination, std::size_t capacity = kBlockSize);
    bool WriteMemByte(std::uint8_t value);
    void Close();

    std::uint32_t BytesReceived() const { return bytesRead_; }

private:
    bool Command(const std::uint8_t* bytes, std::size_t n);
    bool ReadReply(std::size_t n);
    bool ReplyIsQY() const;
    void KeepError();

    std::uint32_t bytesRead_ = 0, bytesWritten_ = 0, bytesToRead_ = 0, bytesToWrite_ = 0;
    std::array<std::uint8_t, kBufferSize> receive_{};
    std::array<std::uint8_t, kBufferSize> transmit_{};
    SerialSettings settings_;
    std::unique_ptr<SerialLine> line_;
    int lastError_ = 0;
    bool lastResult_ = true;
    std::string portName_ = "COM1";
    std::string errorText_;
    std::string adapterName_;
};

}  // namespace orbisk
