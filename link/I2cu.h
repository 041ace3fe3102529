#pragma once
// Software I2C bus master on the parallel port's pins: SDA and SCL are pulled low through data
// register bits 4 and 5 and sensed on status register bits 6 and 7 (bit 7 inverted by the port).
// Every edge is a write of the whole data register; edges are spaced by a calibrated busy wait.
// Bus failures are thrown as I2cError carrying the message for the person; a missing
// acknowledge is a result, not a failure.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "base/Prompter.h"
#include "link/PortAccess.h"

namespace orbisk {

class I2cError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TI2C {
public:
    static constexpr std::uint8_t kSdaDrive = 0x10;
    static constexpr std::uint8_t kSclDrive = 0x20;
    static constexpr std::uint8_t kOtherOutputs = 0x0F;
    static constexpr std::uint8_t kSdaSense = 0x40;
    static constexpr std::uint8_t kSclSense = 0x80;  // after the inversion is undone
    static constexpr std::uint8_t kMemoryWrite = 0xA6;
    static constexpr std::uint8_t kMemoryRead = 0xA7;
    static constexpr std::size_t kMaxReadBlock = 1024;
    static constexpr std::size_t kPageSize = 64;
    // Failed attempts of one transaction (address polling, restarts) before it gives up. A
    // refused address costs about 4 ms of fixed sleeps, so this is about a second of trying.
    static constexpr int kMaxAttempts = 250;

    // The bus's fixed sleeps (settling after power-up, START and STOP hold times). They belong
    // to the bus timing, so no prompter can shorten them; only a simulated port, which needs no
    // timing, goes without them.
    using SleepFunction = std::function<void(std::chrono::milliseconds)>;
    static void RealSleep(std::chrono::milliseconds length);
    static void NoSleep(std::chrono::milliseconds) {}

    // Opens the port access (and shows its failure in a message box, then carries on) and
    // calibrates the delay; `delayCount` given skips the calibration (zero: no delay at all,
    // for simulated ports that need no timing). `sleep` empty: RealSleep.
    TI2C(Prompter& prompter, std::unique_ptr<PortAccess> port,
         std::optional<std::int32_t> delayCount = std::nullopt, SleepFunction sleep = {});
    ~TI2C();
    TI2C(const TI2C&) = delete;
    TI2C& operator=(const TI2C&) = delete;

    std::int32_t DelayCount() const { return delayCount_; }
    std::int32_t PollCount() const { return pollCount_; }
    std::int32_t MaxPolls() const { return maxPolls_; }
    std::uint8_t StatusByte() const { return statusByte_; }
    std::uint8_t OutShadow() const { return outShadow_; }
    std::uint16_t PortBase() const { return portBase_; }
    void SetPortBase(std::uint16_t base) { portBase_ = base; }
    PortAccess& Port() { return *port_; }

    // Bus primitives.
    bool InitBus();
    bool StartAddress(std::uint8_t b);
    void RepeatedStart();
    void Stop();
    void WriteByte(std::uint8_t b);
    bool ReadAck();
    std::uint8_t ReadByte();
    void SendAck();
    void SendNack();
    bool WriteTwo(std::uint8_t a, std::uint8_t b);

    // Memory transactions. AddressPhase polls the memory (also through its write cycle) and
    // sends the 16-bit address; ReadSequential reads n <= 1024 bytes and leaves the bus without
    // a STOP; WritePage writes bytes that lie within one 64-byte page, starting again from a
    // refused byte. Each gives up with "Нет ответа от ПСИ!" after kMaxAttempts failures.
    bool AddressPhase(std::uint16_t address);
    void ReadSequential(std::uint16_t address, std::size_t n, std::uint8_t* out);
    void WritePage(std::uint16_t address, const std::uint8_t* bytes, std::size_t n);

    // One bit-time spacing: DelayCount iterations of an empty loop.
    void Delay() const;
    // Runs the calibration loop: the DelayCount that makes Delay last about 10 microseconds.
    static std::int32_t CalibrateDelay();

private:
    void WriteOut();
    void ReleaseSda() { outShadow_ &= ~kSdaDrive, WriteOut(); }
    void PullSda() { outShadow_ |= kSdaDrive, WriteOut(); }
    void ReleaseScl() { outShadow_ &= ~kSclDrive, WriteOut(); }
    void PullScl() { outShadow_ |= kSclDrive, WriteOut(); }
    void ReadStatus();
    bool SdaHigh() const { return statusByte_ & kSdaSense; }
    bool SclHigh() const { return statusByte_ & kSclSense; }
    void PollTimeout(const char* message);
    void WaitSclHigh(const char* message);
    void Sleep(int milliseconds) { sleep_(std::chrono::milliseconds(milliseconds)); }
    // One budget of failed attempts per transaction, shared by its polling and its restarts.
    void CountFailedAttempt();
    bool PolledAddressPhase(std::uint16_t address);

    Prompter& prompter_;
    SleepFunction sleep_;
    std::int32_t delayCount_ = 0;
    std::int32_t pollCount_ = 0;
    std::uint8_t statusByte_ = 0;
    std::unique_ptr<PortAccess> port_;
    std::int32_t maxPolls_ = 1000;
    std::uint16_t portBase_ = 0x378;
    std::uint8_t outShadow_ = 0;
    int failedAttempts_ = 0;
};

}  // namespace orbisk
