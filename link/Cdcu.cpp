#include "link/Cdcu.h"

#include <algorithm>
#include <cstring>

#include "base/TextCodec.h"
#include "link/LinkTexts.h"

namespace orbisk {

namespace {
constexpr std::uint8_t kIdentify = 'C';
constexpr std::uint8_t kCheckReader = 'D';
constexpr std::uint8_t kSetBlockSize = 'Z';
constexpr std::uint8_t kSetAddress = 'A';
constexpr std::uint8_t kReadBlock = 'R';
constexpr std::uint8_t kWriteByte = 'W';
constexpr std::uint8_t kAck[2] = {'Q', 'Y'};
}  // namespace

TCDC::TCDC(std::unique_ptr<SerialLine> line)
    : line_(std::move(line)), adapterName_(Utf8ToCp1251(linktext::kAdapterName)) {
    settings_.baudRate = 115200;
    settings_.dataBits = 8;
    settings_.parity = Parity::Even;
    settings_.parityCheck = true;
    settings_.stopBits = 1;
    settings_.readTimeoutMs = 500;
    settings_.writeTimeoutMs = 500;
}

TCDC::~TCDC() {
    Close();
}

void TCDC::KeepError() {
    lastError_ = line_->LastErrorCode();
    errorText_ = line_->LastErrorText();
}

bool TCDC::Open() {
    lastResult_ = line_->Open(portName_, settings_);
    if (!lastResult_) KeepError();
    return lastResult_;
}

void TCDC::Close() {
    if (!line_->IsOpen()) return;
    lastResult_ = line_->Close();
    if (!lastResult_) KeepError();
}

// Discards whatever is pending in both directions, then sends the command: a single byte as a
// priority character, a longer one in one write that must send every byte.
bool TCDC::Command(const std::uint8_t* bytes, std::size_t n) {
    bytesToWrite_ = static_cast<std::uint32_t>(n);
    bytesWritten_ = 0;
    if (!line_->Purge()) {
        KeepError();
        return false;
    }
    std::memcpy(transmit_.data(), bytes, n);
    if (n == 1) {
        lastResult_ = line_->SendPriority(transmit_[0]);
        bytesWritten_ = lastResult_ ? 1 : 0;
    } else {
        const long sent = line_->Write(transmit_.data(), n);
        bytesWritten_ = sent > 0 ? static_cast<std::uint32_t>(sent) : 0;
        lastResult_ = bytesWritten_ == n;
    }
    if (!lastResult_) KeepError();
    return lastResult_;
}

// Only bytes of this exchange count: the count starts from zero for every reply.
bool TCDC::ReadReply(std::size_t n) {
    bytesToRead_ = static_cast<std::uint32_t>(n);
    bytesRead_ = 0;
    const long got = line_->Read(receive_.data(), n);
    if (got < 0) {
        KeepError();
        lastResult_ = false;
        return false;
    }
    bytesRead_ = static_cast<std::uint32_t>(got);
    if (bytesRead_ < n) KeepError();
    lastResult_ = true;
    return true;
}

bool TCDC::ReplyIsQY() const {
    return bytesRead_ == 2 && receive_[0] == kAck[0] && receive_[1] == kAck[1];
}

bool TCDC::Identify() {
    const std::uint8_t command = kIdentify;
    const bool ok = Command(&command, 1) && ReadReply(kBufferSize) && bytesRead_ >= 1 &&
                    bytesRead_ >= adapterName_.size() &&
                    std::memcmp(receive_.data(), adapterName_.data(), adapterName_.size()) == 0;
    if (!ok) Close();
    return ok;
}

bool TCDC::CheckReader() {
    const std::uint8_t command = kCheckReader;
    if (!Command(&command, 1)) {
        Close();
        return false;
    }
    return ReadReply(2) && ReplyIsQY();
}

bool TCDC::SetBlockSize() {
    const std::uint8_t command[2] = {kSetBlockSize, static_cast<std::uint8_t>(kBlockSize)};
    return Command(command, 2) && ReadReply(2) && ReplyIsQY();
}

bool TCDC::SetAddress(std::uint32_t address) {
    const std::uint8_t command[5] = {
        kSetAddress, static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(address >> 8),
        static_cast<std::uint8_t>(address >> 16), static_cast<std::uint8_t>(address >> 24)};
    return Command(command, 5) && ReadReply(2) && ReplyIsQY();
}

std::size_t TCDC::ReadBlock(std::uint8_t* destination, std::size_t capacity) {
    const std::uint8_t command = kReadBlock;
    if (!Command(&command, 1) || !ReadReply(kBlockSize) || bytesRead_ == 0) return 0;
    const std::size_t n = std::min<std::size_t>(bytesRead_, capacity);
    std::memcpy(destination, receive_.data(), n);
    return n;
}

bool TCDC::WriteMemByte(std::uint8_t value) {
    const std::uint8_t command[2] = {kWriteByte, value};
    return Command(command, 2) && ReadReply(2) && ReplyIsQY();
}

}  // namespace orbisk
