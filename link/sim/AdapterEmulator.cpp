#include "link/sim/AdapterEmulator.h"

#include <algorithm>

#include "base/TextCodec.h"
#include "link/LinkTexts.h"

namespace orbisk {

namespace {
constexpr char kQY[] = "QY";
constexpr char kQN[] = "QN";
constexpr char kOtherDevice[] = "USB-Serial Controller D";

// Bytes that follow the command letter.
std::size_t ArgumentCount(std::uint8_t letter) {
    switch (letter) {
        case 'Z':
            return 1;
        case 'A':
            return 4;
        case 'W':
            return 1;
        default:
            return 0;
    }
}
}  // namespace

AdapterEmulator::AdapterEmulator() = default;

AdapterEmulator::AdapterEmulator(const std::vector<std::uint8_t>& memory) {
    std::copy_n(memory.begin(), std::min(memory.size(), kMemorySize), memory_.begin());
}

long AdapterEmulator::Commands(char letter) const {
    const auto index = static_cast<unsigned char>(letter);
    return index < commands_.size() ? commands_[index] : 0;
}

std::string AdapterEmulator::Feed(const std::uint8_t* data, std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t byte = data[i];
        if (command_.empty()) {
            if (byte != 'C' && byte != 'D' && byte != 'Z' && byte != 'A' && byte != 'R' &&
                byte != 'W')
                continue;  // the adapter ignores anything that is no command
            commandLength_ = 1 + ArgumentCount(byte);
        }
        command_.push_back(byte);
        if (command_.size() == commandLength_) {
            out += Execute();
            command_.clear();
        }
    }
    return out;
}

std::string AdapterEmulator::Shorten(std::string reply) {
    if (faults_.shortReplies == 0 || reply.empty()) return reply;
    if (faults_.shortReplies > 0) --faults_.shortReplies;
    return reply.substr(0, std::max<std::size_t>(1, reply.size() / 2));
}

std::string AdapterEmulator::Execute() {
    const std::uint8_t letter = command_[0];
    ++commands_[letter];
    if (faults_.silent || unplugged_) return {};
    switch (letter) {
        case 'C':
            return Shorten(faults_.wrongIdentity ? std::string(kOtherDevice)
                                                 : Utf8ToCp1251(linktext::kAdapterName));
        case 'D':
            return Shorten(faults_.noReader ? kQN : kQY);
        case 'Z':
            blockSize_ = command_[1];
            return Shorten(kQY);
        case 'A':
            if (faults_.refusedAddresses != 0) {
                if (faults_.refusedAddresses > 0) --faults_.refusedAddresses;
                return Shorten(kQN);
            }
            address_ =
                static_cast<std::uint32_t>(command_[1] | (command_[2] << 8) | (command_[3] << 16) |
                                           (static_cast<std::uint32_t>(command_[4]) << 24));
            return Shorten(kQY);
        case 'R': {
            if (faults_.noReader) return {};
            std::string block(static_cast<std::size_t>(blockSize_), '\0');
            for (std::size_t i = 0; i < block.size(); ++i) {
                block[i] = static_cast<char>(memory_[(address_ + i) % kMemorySize]);
            }
            if (faults_.trickleBytes > 0 &&
                block.size() > static_cast<std::size_t>(faults_.trickleBytes)) {
                block.resize(static_cast<std::size_t>(faults_.trickleBytes));
            }
            block = Shorten(std::move(block));
            // The adapter moves on by what it actually sent.
            address_ = static_cast<std::uint32_t>((address_ + block.size()) % kMemorySize);
            ++blocksSent_;
            if (faults_.unplugAfterBlocks >= 0 && blocksSent_ >= faults_.unplugAfterBlocks) {
                unplugged_ = true;
            }
            return block;
        }
        case 'W':
            if (faults_.noReader) return Shorten(kQN);
            if (faults_.refusedWrites != 0) {
                if (faults_.refusedWrites > 0) --faults_.refusedWrites;
                return Shorten(kQN);
            }
            if (faults_.unplugAfterWrites >= 0 && Commands('W') > faults_.unplugAfterWrites) {
                unplugged_ = true;
                return {};
            }
            if (!faults_.droppedWrites) memory_[address_ % kMemorySize] = command_[1];
            ++bytesWritten_;
            return Shorten(kQY);
        default:
            return {};
    }
}

}  // namespace orbisk
