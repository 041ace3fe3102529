#pragma once
// A reader on the parallel port, simulated bit by bit: a 64 KB I2C serial memory answering at
// 0xA6/0xA7 (16-bit addresses, 64-byte pages, a write cycle after each page) on two wired-AND
// lines, driven through the port's data register and sensed through its status register exactly
// as the real cable wires them. Faults of a real bus can be switched on: no device, clock
// stretching, a write cycle that lasts several polls, SDA or SCL stuck low, withheld
// acknowledges, a reader pulled off mid-transfer. The SDA/SCL levels can be recorded as a logic
// trace, one byte per change (bit 0 SCL, bit 1 SDA).
//
// The reader takes its supply from data register bits 0 to 3: while they are all low the memory
// is unpowered, lets go of the lines and forgets its bus state (the master's bus initialisation
// switches them off and on again).
//
// Used in-process through SimulatedParallelPort, which implements the port access.
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "link/PortAccess.h"

namespace orbisk {

class I2cMemoryModel {
public:
    static constexpr std::size_t kMemorySize = 0x10000;
    static constexpr std::uint8_t kDeviceAddress = 0xA6;  // 0xA7 for reading
    static constexpr std::size_t kPageSize = 64;

    I2cMemoryModel();

    std::array<std::uint8_t, kMemorySize>& Memory() { return memory_; }
    const std::array<std::uint8_t, kMemorySize>& Memory() const { return memory_; }

    // The port's registers as the master sees them.
    void WriteData(std::uint8_t value);
    std::uint8_t ReadStatus();

    // Levels of the lines right now (true = high).
    bool Sda() const { return sda_; }
    bool Scl() const { return scl_; }

    // Faults.
    void SetPresent(bool present);  // false: nothing answers, the lines only have their pull-ups
    void SetStuckSda(bool stuck) { stuckSda_ = stuck, Settle(); }
    void SetStuckScl(bool stuck) { stuckScl_ = stuck, Settle(); }
    void SetHoldSdaLow(bool hold) { holdSdaLow_ = hold, Settle(); }  // a slave stuck mid-byte
    // After each falling clock edge of a transaction the memory holds SCL low for this many
    // reads of the status register.
    void SetClockStretch(int statusReads) { stretchReads_ = statusReads; }
    // Number of addressings refused after a page is committed (the write cycle).
    void SetWriteCycleAttempts(int attempts) { writeCycleAttempts_ = attempts; }
    // The next n acknowledges the memory would give are withheld (a refused byte).
    void WithholdAcks(int n) { withheldAcks_ = n; }
    // Only acknowledges of data bytes being written are withheld (page restarts).
    void WithholdDataAcks(int n) { withheldDataAcks_ = n; }
    // A write-protected memory acknowledges every byte of a page write and keeps its old bytes.
    void SetWriteProtected(bool protect) { writeProtected_ = protect; }
    // The reader is pulled off after it has sent this many bytes (negative: never).
    void DisconnectAfterBytesSent(long long n) { disconnectAfter_ = n; }

    // Logic trace.
    void StartTrace();
    const std::vector<std::uint8_t>& Trace() const { return trace_; }
    bool SaveTrace(const std::filesystem::path& path) const;

    // Statistics.
    long long StatusReads() const { return statusReads_; }
    long long DataWrites() const { return dataWrites_; }
    long long BytesSent() const { return bytesSent_; }
    long long PagesCommitted() const { return pagesCommitted_; }
    long long StartsSeen() const { return startsSeen_; }
    long long AddressesRefused() const { return addressesRefused_; }
    // Count of bytes written into memory per page commit, in order.
    const std::vector<std::pair<std::uint16_t, std::size_t>>& Commits() const { return commits_; }

private:
    enum class Phase { Idle, Device, AddressHigh, AddressLow, WriteData, ReadData, Ignore };

    void Settle();
    // The bus state and a page not yet committed are lost.
    void ForgetTransaction();
    void OnStart();
    void OnStop();
    void OnSclRise();
    void OnSclFall();
    bool TakeAck(bool dataByte);
    void DriveReadBit();
    void Record();

    std::array<std::uint8_t, kMemorySize> memory_{};
    bool present_ = true;
    bool powered_ = true;
    bool masterSdaLow_ = false, masterSclLow_ = false;
    bool slaveSdaLow_ = false, slaveSclLow_ = false;
    bool stuckSda_ = false, stuckScl_ = false, holdSdaLow_ = false;
    bool sda_ = true, scl_ = true;

    Phase phase_ = Phase::Idle;
    Phase afterAck_ = Phase::Idle;
    int bits_ = 0;  // data bits clocked of the current byte
    bool inAck_ = false;
    bool ackClocked_ = false;
    std::uint8_t shift_ = 0;
    bool masterAcked_ = false;
    std::uint16_t pointer_ = 0;
    std::vector<std::pair<std::uint16_t, std::uint8_t>> pending_;
    std::uint16_t pendingStart_ = 0;
    int busyAttempts_ = 0;

    int stretchReads_ = 0;
    int stretchLeft_ = 0;
    int writeCycleAttempts_ = 2;
    int withheldAcks_ = 0;
    int withheldDataAcks_ = 0;
    long long disconnectAfter_ = -1;

    bool writeProtected_ = false;
    bool tracing_ = false;
    std::vector<std::uint8_t> trace_;

    long long statusReads_ = 0, dataWrites_ = 0, bytesSent_ = 0, pagesCommitted_ = 0;
    long long startsSeen_ = 0, addressesRefused_ = 0;
    std::vector<std::pair<std::uint16_t, std::size_t>> commits_;
};

// The port access of a machine whose parallel port at `base` has the simulated reader attached.
// Every other port reads 0xFF (nothing there) and ignores writes, which are remembered.
class SimulatedParallelPort final : public PortAccess {
public:
    SimulatedParallelPort(std::shared_ptr<I2cMemoryModel> model, std::uint16_t base);

    void OpenDriver() override;
    void CloseDriver() override { active_ = false; }
    bool ActiveHW() const override { return active_; }
    const std::string& LastError() const override { return lastError_; }

    std::uint8_t GetPortByte(std::uint16_t port) override;
    void SetPortByte(std::uint16_t port, std::uint8_t value) override;

    // The open fails with this reason (empty: it succeeds).
    void FailOpen(std::string reason) { failReason_ = std::move(reason); }
    const std::set<std::uint16_t>& PortsWritten() const { return portsWritten_; }
    const std::set<std::uint16_t>& PortsRead() const { return portsRead_; }

private:
    std::shared_ptr<I2cMemoryModel> model_;
    std::uint16_t base_;
    bool active_ = false;
    std::string lastError_;
    std::string failReason_;
    std::set<std::uint16_t> portsWritten_;
    std::set<std::uint16_t> portsRead_;
};

}  // namespace orbisk
