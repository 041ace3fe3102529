#pragma once
// The USB adapter with a reader plugged in, as seen from its serial line: it answers the
// commands C, D, Z, A, R and W from a 64 KB memory, byte for byte as the adapter does, and can be
// told to misbehave the ways real adapters and readers do. Pure protocol: bytes in, reply out;
// PtyAdapterServer puts it on a pseudo-terminal.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orbisk {

struct AdapterFaults {
    bool noReader = false;        // D answers "QN", R gets no answer, W is refused
    bool wrongIdentity = false;   // C answers with another device's name
    int shortReplies = 0;         // this many replies come cut short (negative: all of them)
    bool silent = false;          // nothing is answered at all
    long unplugAfterBlocks = -1;  // after this many R blocks the adapter is gone (silent)
    int refusedWrites = 0;        // this many W commands are answered "QN" (negative: all)
    int refusedAddresses = 0;     // this many A commands are answered "QN" (negative: all)
    bool droppedWrites = false;   // W is answered "QY" but the byte is not kept (write-protected)
    long unplugAfterWrites = -1;  // after this many W commands the adapter is gone (silent)
    int trickleBytes = 0;         // R answers carry only this many bytes (0: the whole block)
};

class AdapterEmulator {
public:
    static constexpr std::size_t kMemorySize = 0x10000;

    AdapterEmulator();
    explicit AdapterEmulator(const std::vector<std::uint8_t>& memory);

    AdapterFaults& Faults() { return faults_; }
    std::array<std::uint8_t, kMemorySize>& Memory() { return memory_; }
    const std::array<std::uint8_t, kMemorySize>& Memory() const { return memory_; }

    // Takes bytes received from the line; returns the bytes to send back.
    std::string Feed(const std::uint8_t* data, std::size_t n);

    std::uint32_t Address() const { return address_; }
    int BlockSize() const { return blockSize_; }
    long BlocksSent() const { return blocksSent_; }
    long BytesWritten() const { return bytesWritten_; }
    long Commands(char letter) const;
    bool Unplugged() const { return unplugged_; }

private:
    std::string Execute();
    std::string Shorten(std::string reply);

    std::array<std::uint8_t, kMemorySize> memory_{};
    AdapterFaults faults_;
    std::vector<std::uint8_t> command_;  // the command being received
    std::size_t commandLength_ = 0;
    std::uint32_t address_ = 0;
    int blockSize_ = 64;
    long blocksSent_ = 0;
    long bytesWritten_ = 0;
    bool unplugged_ = false;
    std::array<long, 128> commands_{};
};

}  // namespace orbisk
