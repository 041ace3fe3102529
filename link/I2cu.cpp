#include "link/I2cu.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "link/LinkTexts.h"
#include "link/Tdlportio.h"

namespace orbisk {

namespace {

// The loop that Delay runs and that the calibration measures; kept out of line and on a
// volatile counter so that the compiler can neither drop nor shorten it.
[[gnu::noinline]] void SpinLoop(std::int32_t n) {
    volatile std::int32_t i = 0;
    while (i < n) {
        i = i + 1;
    }
}

}  // namespace

void TI2C::RealSleep(std::chrono::milliseconds length) {
    std::this_thread::sleep_for(length);
}

TI2C::TI2C(Prompter& prompter, std::unique_ptr<PortAccess> port,
           std::optional<std::int32_t> delayCount, SleepFunction sleep)
    : prompter_(prompter),
      sleep_(sleep ? std::move(sleep) : SleepFunction(RealSleep)),
      port_(std::move(port)) {
    maxPolls_ = 1000;
    pollCount_ = 0;
    port_->SetDriverPath(TDLPortIO::ExecutableFolder());
    port_->OpenDriver();
    if (!port_->ActiveHW()) {
        prompter_.Message(std::string(linktext::kDriverOpenFailed) + port_->LastError(),
                          MessageIcon::Error);
    }
    delayCount_ = delayCount ? std::max<std::int32_t>(0, *delayCount) : CalibrateDelay();
}

TI2C::~TI2C() {
    port_->CloseDriver();
}

std::int32_t TI2C::CalibrateDelay() {
    // The loop is timed with the high-resolution clock over a few million iterations, the
    // fastest of three runs (a run interrupted by the scheduler only looks slower).
    constexpr std::int32_t kIterations = 4'000'000;
    std::int64_t best = 0;
    for (int run = 0; run < 3; ++run) {
        const auto start = std::chrono::steady_clock::now();
        SpinLoop(kIterations);
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                            std::chrono::steady_clock::now() - start)
                            .count();
        if (ns > 0 && (best == 0 || ns < best)) best = ns;
    }
    if (best == 0) best = 1;
    // Iterations per 10 microseconds, plus one.
    return static_cast<std::int32_t>(static_cast<std::int64_t>(kIterations) * 10'000 / best + 1);
}

void TI2C::Delay() const {
    if (delayCount_ > 0) SpinLoop(delayCount_);
}

void TI2C::WriteOut() {
    port_->SetPortByte(portBase_, outShadow_);
}

void TI2C::ReadStatus() {
    statusByte_ = port_->GetPortByte(static_cast<std::uint16_t>(portBase_ + 1)) ^ kSclSense;
}

void TI2C::PollTimeout(const char* message) {
    ++pollCount_;
    if (pollCount_ >= maxPolls_) {
        throw I2cError(message && *message ? message : linktext::kWaitTimeout);
    }
}

void TI2C::WaitSclHigh(const char* message) {
    do {
        ReadStatus();
        PollTimeout(message);
    } while (!SclHigh());
}

void TI2C::CountFailedAttempt() {
    if (++failedAttempts_ >= kMaxAttempts) throw I2cError(linktext::kNoReaderAnswer);
}

bool TI2C::InitBus() {
    outShadow_ = 0x00;
    WriteOut();
    Sleep(500);
    outShadow_ = kOtherOutputs;
    WriteOut();
    Sleep(500);
    ReadStatus();
    pollCount_ = 0;
    while (!SdaHigh()) {
        ReleaseScl();
        Delay();
        PullScl();
        Delay();
        ReadStatus();
        PollTimeout(linktext::kBusInitError);
    }
    Stop();
    ReadStatus();
    return SdaHigh() && SclHigh();
}

bool TI2C::StartAddress(std::uint8_t b) {
    ReleaseSda();
    Delay();
    ReleaseScl();
    // A START follows a read that ended without a STOP; the memory may still be holding the
    // clock after its last bit, and SDA falling while SCL is low would be no START at all.
    pollCount_ = 0;
    WaitSclHigh(nullptr);
    Sleep(1);
    PullSda();
    Sleep(1);
    PullScl();
    Delay();
    WriteByte(b);
    return ReadAck();
}

void TI2C::RepeatedStart() {
    ReleaseSda();
    Delay();
    pollCount_ = 0;
    do {
        ReadStatus();
        PollTimeout(nullptr);
    } while (!SdaHigh());
    ReleaseScl();
    Delay();
    do {
        ReadStatus();
        PollTimeout(nullptr);
    } while (!(SdaHigh() && SclHigh()));
    PullSda();
    Delay();
    PullScl();
}

void TI2C::Stop() {
    PullScl();
    Delay();
    PullSda();
    pollCount_ = 0;
    do {
        ReadStatus();
        PollTimeout(nullptr);
    } while (SdaHigh());
    Sleep(1);
    ReleaseScl();
    WaitSclHigh(nullptr);
    Sleep(1);
    ReleaseSda();
    Delay();
    ReadStatus();
    if (!(SdaHigh() && SclHigh())) throw I2cError(linktext::kBusConflict);
}

void TI2C::WriteByte(std::uint8_t b) {
    for (int bit = 7; bit >= 0; --bit) {
        if (b & (1u << bit)) {
            ReleaseSda();
        } else {
            PullSda();
        }
        Delay();
        ReleaseScl();
        pollCount_ = 0;
        WaitSclHigh(linktext::kTransmitError);
        Delay();
        PullScl();
    }
    ReleaseSda();
}

bool TI2C::ReadAck() {
    Delay();
    ReleaseScl();
    pollCount_ = 0;
    WaitSclHigh(nullptr);
    Delay();
    ReadStatus();
    PullScl();
    return !SdaHigh();
}

std::uint8_t TI2C::ReadByte() {
    ReleaseSda();
    std::uint8_t value = 0;
    for (int bit = 7; bit >= 0; --bit) {
        Delay();
        ReleaseScl();
        pollCount_ = 0;
        WaitSclHigh(linktext::kReceiveError);
        Delay();
        ReadStatus();
        if (SdaHigh()) value |= static_cast<std::uint8_t>(1u << bit);
        PullScl();
    }
    return value;
}

void TI2C::SendAck() {
    PullSda();
    Delay();
    ReleaseScl();
    pollCount_ = 0;
    WaitSclHigh(nullptr);
    Delay();
    PullScl();
}

void TI2C::SendNack() {
    ReleaseSda();
    Delay();
    ReleaseScl();
    pollCount_ = 0;
    WaitSclHigh(nullptr);
    Delay();
    PullScl();
}

bool TI2C::WriteTwo(std::uint8_t a, std::uint8_t b) {
    WriteByte(a);
    if (!ReadAck()) return false;
    WriteByte(b);
    return ReadAck();
}

bool TI2C::AddressPhase(std::uint16_t address) {
    failedAttempts_ = 0;
    return PolledAddressPhase(address);
}

bool TI2C::PolledAddressPhase(std::uint16_t address) {
    while (!StartAddress(kMemoryWrite)) {
        Stop();
        CountFailedAttempt();
    }
    return WriteTwo(static_cast<std::uint8_t>(address >> 8),
                    static_cast<std::uint8_t>(address & 0xFF));
}

void TI2C::ReadSequential(std::uint16_t address, std::size_t n, std::uint8_t* out) {
    n = std::min(n, kMaxReadBlock);
    failedAttempts_ = 0;
    for (;;) {
        if (PolledAddressPhase(address)) {
            RepeatedStart();
            WriteByte(kMemoryRead);
            if (ReadAck()) break;
        }
        CountFailedAttempt();
    }
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = ReadByte();
        SendAck();
    }
    SendNack();
}

void TI2C::WritePage(std::uint16_t address, const std::uint8_t* bytes, std::size_t n) {
    // Never past the end of the page: the memory would wrap inside it.
    n = std::min<std::size_t>(n, kPageSize - address % kPageSize);
    std::size_t done = 0;
    failedAttempts_ = 0;
    while (done < n) {
        Stop();
        if (!PolledAddressPhase(static_cast<std::uint16_t>(address + done))) {
            CountFailedAttempt();
            continue;
        }
        while (done < n) {
            WriteByte(bytes[done]);
            if (!ReadAck()) break;
            ++done;
        }
        if (done < n) CountFailedAttempt();
    }
}

}  // namespace orbisk
