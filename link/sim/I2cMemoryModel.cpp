#include "link/sim/I2cMemoryModel.h"

#include <fstream>

namespace orbisk {

namespace {
constexpr std::uint8_t kSdaDrive = 0x10;
constexpr std::uint8_t kSclDrive = 0x20;
constexpr std::uint8_t kSupplyBits = 0x0F;
constexpr std::uint8_t kSdaSense = 0x40;
constexpr std::uint8_t kSclSenseInverted = 0x80;
// nError, Select and the reserved bits read high on an idle port.
constexpr std::uint8_t kOtherStatusBits = 0x1F;
}  // namespace

I2cMemoryModel::I2cMemoryModel() = default;

void I2cMemoryModel::WriteData(std::uint8_t value) {
    ++dataWrites_;
    const bool powered = (value & kSupplyBits) != 0;
    if (powered_ && !powered) {
        // Power gone: the bus state and a page not yet committed are lost; a write cycle under
        // way is long over when the power comes back (the master keeps it off for 500 ms).
        ForgetTransaction();
        busyAttempts_ = 0;
    }
    powered_ = powered;
    masterSdaLow_ = value & kSdaDrive;
    masterSclLow_ = value & kSclDrive;
    Settle();
}

std::uint8_t I2cMemoryModel::ReadStatus() {
    ++statusReads_;
    const std::uint8_t status = static_cast<std::uint8_t>(
        kOtherStatusBits | (sda_ ? kSdaSense : 0) | (scl_ ? 0 : kSclSenseInverted));
    if (stretchLeft_ > 0 && --stretchLeft_ == 0) {
        slaveSclLow_ = false;
        Settle();
    }
    return status;
}

void I2cMemoryModel::SetPresent(bool present) {
    present_ = present;
    ForgetTransaction();
    Settle();
}

void I2cMemoryModel::ForgetTransaction() {
    phase_ = Phase::Idle;
    inAck_ = false;
    bits_ = 0;
    slaveSdaLow_ = slaveSclLow_ = false;
    stretchLeft_ = 0;
    pending_.clear();
}

void I2cMemoryModel::StartTrace() {
    trace_.clear();
    tracing_ = true;
    Record();
}

bool I2cMemoryModel::SaveTrace(const std::filesystem::path& path) const {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(trace_.data()),
              static_cast<std::streamsize>(trace_.size()));
    return static_cast<bool>(out);
}

void I2cMemoryModel::Record() {
    if (tracing_) trace_.push_back(static_cast<std::uint8_t>((scl_ ? 1 : 0) | (sda_ ? 2 : 0)));
}

// Brings the line levels up to date with every drive and reacts to each edge in turn: a clock
// edge first (the memory may then change its own SDA drive while SCL is low), then a data edge,
// which with SCL high is a START or a STOP.
void I2cMemoryModel::Settle() {
    for (int step = 0; step < 8; ++step) {
        const bool scl = !(masterSclLow_ || slaveSclLow_ || stuckScl_);
        const bool sda = !(masterSdaLow_ || slaveSdaLow_ || stuckSda_ || holdSdaLow_);
        if (scl != scl_) {
            scl_ = scl;
            Record();
            if (present_ && powered_) scl ? OnSclRise() : OnSclFall();
            continue;
        }
        if (sda != sda_) {
            sda_ = sda;
            Record();
            if (present_ && powered_ && scl_) sda ? OnStop() : OnStart();
            continue;
        }
        return;
    }
}

void I2cMemoryModel::OnStart() {
    ++startsSeen_;
    pending_.clear();  // a START before the STOP abandons a page being written
    phase_ = Phase::Device;
    bits_ = 0;
    inAck_ = false;
    shift_ = 0;
    slaveSdaLow_ = false;
}

void I2cMemoryModel::OnStop() {
    if (!pending_.empty()) {
        if (!writeProtected_) {
            for (const auto& [address, value] : pending_) memory_[address] = value;
        }
        commits_.emplace_back(pendingStart_, pending_.size());
        ++pagesCommitted_;
        pending_.clear();
        busyAttempts_ = writeCycleAttempts_;
    }
    phase_ = Phase::Idle;
    slaveSdaLow_ = false;
}

// Bits are counted on rising clock edges, where the receiver samples; the transmitter changes
// SDA after falling edges. The ninth clock of every byte is the acknowledge slot.
void I2cMemoryModel::OnSclRise() {
    if (phase_ == Phase::Idle || phase_ == Phase::Ignore) return;
    if (inAck_) {
        ackClocked_ = true;
        if (phase_ == Phase::ReadData) masterAcked_ = !sda_;
        return;
    }
    if (bits_ >= 8) return;
    ++bits_;
    if (phase_ != Phase::ReadData)
        shift_ = static_cast<std::uint8_t>((shift_ << 1) | (sda_ ? 1 : 0));
}

bool I2cMemoryModel::TakeAck(bool dataByte) {
    if (withheldAcks_ > 0) {
        --withheldAcks_;
        return false;
    }
    if (dataByte && withheldDataAcks_ > 0) {
        --withheldDataAcks_;
        return false;
    }
    return true;
}

void I2cMemoryModel::DriveReadBit() {
    slaveSdaLow_ = !((memory_[pointer_] >> (7 - bits_)) & 1);
}

void I2cMemoryModel::OnSclFall() {
    if (phase_ == Phase::Idle || phase_ == Phase::Ignore) return;
    if (stretchReads_ > 0) {
        slaveSclLow_ = true;
        stretchLeft_ = stretchReads_;
    }
    if (phase_ == Phase::ReadData) {
        if (!inAck_) {
            if (bits_ < 8) {
                DriveReadBit();
            } else {
                slaveSdaLow_ = false;  // the master's acknowledge slot
                inAck_ = true;
                ackClocked_ = false;
            }
            return;
        }
        if (!ackClocked_) return;
        ++bytesSent_;
        pointer_ = static_cast<std::uint16_t>(pointer_ + 1);
        inAck_ = false;
        bits_ = 0;
        if (disconnectAfter_ >= 0 && bytesSent_ >= disconnectAfter_) {
            SetPresent(false);
            return;
        }
        if (masterAcked_) {
            DriveReadBit();
        } else {
            phase_ = Phase::Ignore;
            slaveSdaLow_ = false;
        }
        return;
    }

    // Receiving: a byte from the master, then our acknowledge slot.
    if (!inAck_) {
        if (bits_ < 8) return;
        inAck_ = true;
        ackClocked_ = false;
        bool ack = false;
        afterAck_ = Phase::Ignore;
        switch (phase_) {
            case Phase::Device:
                if ((shift_ & 0xFE) != kDeviceAddress) break;
                if (busyAttempts_ > 0) {
                    --busyAttempts_;
                    ++addressesRefused_;
                    break;
                }
                if (!TakeAck(false)) {
                    ++addressesRefused_;
                    break;
                }
                ack = true;
                afterAck_ = (shift_ & 1) ? Phase::ReadData : Phase::AddressHigh;
                break;
            case Phase::AddressHigh:
                if (!TakeAck(false)) break;
                ack = true;
                pointer_ = static_cast<std::uint16_t>((shift_ << 8) | (pointer_ & 0xFF));
                afterAck_ = Phase::AddressLow;
                break;
            case Phase::AddressLow:
                if (!TakeAck(false)) break;
                ack = true;
                pointer_ = static_cast<std::uint16_t>((pointer_ & 0xFF00) | shift_);
                pendingStart_ = pointer_;
                afterAck_ = Phase::WriteData;
                break;
            case Phase::WriteData:
                if (!TakeAck(true)) break;
                ack = true;
                if (pending_.empty()) pendingStart_ = pointer_;
                pending_.emplace_back(pointer_, shift_);
                // The address counter rolls over inside the page.
                pointer_ = static_cast<std::uint16_t>((pointer_ & ~(kPageSize - 1)) |
                                                      ((pointer_ + 1) & (kPageSize - 1)));
                afterAck_ = Phase::WriteData;
                break;
            default:
                break;
        }
        slaveSdaLow_ = ack;
        return;
    }
    if (!ackClocked_) return;
    // End of our acknowledge slot.
    slaveSdaLow_ = false;
    inAck_ = false;
    bits_ = 0;
    shift_ = 0;
    phase_ = afterAck_;
    if (phase_ == Phase::ReadData) DriveReadBit();
}

SimulatedParallelPort::SimulatedParallelPort(std::shared_ptr<I2cMemoryModel> model,
                                             std::uint16_t base)
    : model_(std::move(model)), base_(base) {}

void SimulatedParallelPort::OpenDriver() {
    if (active_) return;
    if (!failReason_.empty()) {
        lastError_ = failReason_;
        return;
    }
    active_ = true;
}

std::uint8_t SimulatedParallelPort::GetPortByte(std::uint16_t port) {
    portsRead_.insert(port);
    if (!active_ || port != base_ + 1) return 0xFF;
    return model_->ReadStatus();
}

void SimulatedParallelPort::SetPortByte(std::uint16_t port, std::uint8_t value) {
    portsWritten_.insert(port);
    if (active_ && port == base_) model_->WriteData(value);
}

}  // namespace orbisk
