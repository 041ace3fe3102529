#include "link/ReaderLink.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "link/LinkTexts.h"
#include "link/SerialPorts.h"
#include "link/Tdlportio.h"

namespace orbisk {

namespace {

constexpr int kDefaultLptBase = 888;  // 0x378
constexpr std::uint16_t kSecondLptBase = 0x278;
constexpr std::uint16_t kThirdLptBase = 0x3BC;
constexpr std::size_t kReadBlock = TI2C::kMaxReadBlock;
constexpr std::size_t kPage = TI2C::kPageSize;
constexpr std::size_t kImageBytes = 0x10000;

// Upper-case hexadecimal with at least two digits, as the status texts show a base address.
std::string Hex(std::uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof(text), "%02X", static_cast<unsigned>(value));
    return text;
}

// A base address typed or remembered: decimal, or hexadecimal with "0x" (or "$"); anything else,
// and a number that is no I/O port address, is nothing.
std::optional<std::uint16_t> ParseBase(const IniFile& ini) {
    const int value = ini.ReadInteger(config::kConfigSection, config::kReaderPortKey, -1);
    if (value < 0 || value > 0xFFFF) return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

}  // namespace

std::optional<std::uint16_t> ParseBaseAddress(const std::string& text) {
    std::string digits = text;
    int radix = 10;
    if (digits.rfind("0x", 0) == 0 || digits.rfind("0X", 0) == 0) {
        digits = digits.substr(2);
        radix = 16;
    } else if (digits.rfind("$", 0) == 0) {
        digits = digits.substr(1);
        radix = 16;
    }
    if (digits.empty() || digits.size() > 6) return std::nullopt;
    std::size_t used = 0;
    long value = 0;
    try {
        value = std::stol(digits, &used, radix);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (used != digits.size() || value < 0 || value > 0xFFFF) return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

namespace {

// A progress position within the bar's range.
int ProgressPosition(std::size_t done, std::size_t count) {
    return static_cast<int>(std::min(done, count > 0 ? count - 1 : 0));
}

int ProgressMax(std::size_t count) {
    return static_cast<int>(count > 0 ? count - 1 : 0);
}

// Retries of one byte over the adapter end after about a second of trying.
class ByteRetryBudget {
public:
    bool Exhausted() {
        ++attempts_;
        return attempts_ >= 2 &&
               std::chrono::steady_clock::now() - start_ >= std::chrono::seconds(1);
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    int attempts_ = 0;
};

}  // namespace

std::string DefaultPortFor(LinkType type) {
    return type == LinkType::UsbAdapter ? linktext::kDialogDefaultUsbPort
                                        : linktext::kDialogDefaultLptPort;
}

// The slowest honest links, per byte moved. Reading, the parallel port: 18 bus delays of about
// 10 us and 37 port accesses a byte; a whole image took 17.1 s through the bit-level memory with
// the calibrated delay and the bus's own sleeps, to which a real port adds about a microsecond
// per access (the adapter at 115200 baud took 7.7 s against its paced emulator). Writing, the
// adapter: an address and a byte command for every byte, eleven bytes on the wire (1 ms) and
// two round trips through the USB serial driver. Beside the bytes, every transfer has its fixed
// pauses and the bus its settling time.
constexpr std::chrono::microseconds kHonestReadPerByte{300};
constexpr std::chrono::microseconds kHonestWritePerByte{5000};
constexpr std::chrono::milliseconds kHonestFixedTime{2000};
constexpr int kTransferTimeMargin = 10;

std::chrono::milliseconds ReaderLink::TransferTimeLimit(std::size_t count,
                                                        TransferDirection direction) {
    const auto perByte =
        direction == TransferDirection::Read ? kHonestReadPerByte : kHonestWritePerByte;
    const auto honest = kHonestFixedTime + perByte * static_cast<std::int64_t>(count);
    return std::chrono::duration_cast<std::chrono::milliseconds>(honest * kTransferTimeMargin);
}

std::chrono::steady_clock::time_point ReaderLink::TransferDeadline(
    std::size_t count, TransferDirection direction) const {
    return std::chrono::steady_clock::now() +
           options_.transferTimeLimit.value_or(TransferTimeLimit(count, direction));
}

ReaderLink::ReaderLink(Prompter& prompter, Config& config, std::unique_ptr<SerialLine> serialLine,
                       Options options)
    : prompter_(prompter),
      config_(config),
      cdc_(std::move(serialLine)),
      options_(std::move(options)) {}

ReaderLink::~ReaderLink() = default;

void ReaderLink::SetLoadEnabled(bool enabled) {
    if (enableLoad_) enableLoad_(enabled);
}

void ReaderLink::EnsureI2c() {
    if (i2c_) return;
    std::unique_ptr<PortAccess> port =
        options_.portAccess ? options_.portAccess() : std::make_unique<TDLPortIO>();
    i2c_ =
        std::make_unique<TI2C>(prompter_, std::move(port), options_.delayCount, options_.busSleep);
}

// ---------------------------------------------------------------------------------------------
// Discovery

void ReaderLink::ConnectReader() {
    const std::string saved = config_.ReaderPort();
    lptConnected_ = usbConnected_ = false;
    if (IsSerialPortName(saved)) {
        SearchUsbReader();
    } else {
        SearchLptReader();
    }
    // A closing program asks nothing more.
    if (lptConnected_ || usbConnected_ || !dialog_ || prompter_.ShuttingDown()) return;
    const auto choice = dialog_->Choose();
    if (!choice) return;
    cdc_.SetPortName(choice->port);
    config_.SetReaderPort(choice->port);
    if (choice->type == LinkType::UsbAdapter) {
        SearchUsbReader();
    } else {
        SearchLptReader();
    }
}

ReaderLink::UsbPassResult ReaderLink::UsbPass(const std::string& port, bool remember) {
    const std::string adapterName = linktext::kAdapterName;
    const std::string searching =
        linktext::kSearchAdapterPrefix + adapterName + linktext::kSearchAdapterMiddle + port;
    prompter_.Status(0, searching);
    prompter_.ProcessMessages();
    if (prompter_.ShuttingDown()) return UsbPassResult::Abandoned;
    prompter_.Pause(400);
    cdc_.SetPortName(port);
    if (!cdc_.Open()) {
        // A port that is there but refused says why; one that is not there passes in silence.
        if (PortRefused(cdc_.OpenFailure())) {
            prompter_.Status(0, cdc_.ErrorText());
            prompter_.ProcessMessages();
            prompter_.Pause(1000);
            if (portRefusal_.empty()) portRefusal_ = cdc_.ErrorText();
        }
        return UsbPassResult::NotOpened;
    }
    if (!cdc_.Identify()) {
        prompter_.Status(0, linktext::kNotAdapterPrefix + port + linktext::kNotAdapterMiddle +
                                adapterName + linktext::kNotAdapterSuffix);
        prompter_.ProcessMessages();
        prompter_.Pause(1000);
        return UsbPassResult::NotAdapter;
    }
    prompter_.Status(0, searching + linktext::kAdapterFoundSuffix);
    prompter_.ProcessMessages();
    prompter_.Pause(1000);
    if (remember) config_.SetReaderPort(port);
    for (;;) {
        if (cdc_.CheckReader()) {
            usbConnected_ = true;
            return UsbPassResult::Found;
        }
        // No question box once the window is gone: the answer could only be No.
        if (prompter_.ShuttingDown() ||
            !prompter_.Ask(linktext::kNoReaderOnAdapter, QuestionButtons::YesNo)) {
            cdc_.Close();
            return UsbPassResult::Refused;
        }
    }
}

void ReaderLink::FinishUsbSearch(const std::string& port) {
    if (usbConnected_) {
        prompter_.Status(0, linktext::kReaderFoundPrefix + port);
        prompter_.ProcessMessages();
        prompter_.Pause(1000);
    } else {
        prompter_.Status(0, linktext::kReaderNotFound);
        // The status text of the refused pass has gone by; the reason is what the person must
        // act on, so it stays on the screen until read.
        if (!portRefusal_.empty() && !prompter_.ShuttingDown()) {
            prompter_.Message(portRefusal_, MessageIcon::Warning);
        }
    }
    portRefusal_.clear();
}

void ReaderLink::SearchUsbReader() {
    std::string port = config_.Ini().ReadString(config::kConfigSection, config::kReaderPortKey,
                                                linktext::kDialogDefaultUsbPort);
    const int maxCom = config_.MaxComForSearch();
    usbConnected_ = false;
    for (int pass = 0; pass <= maxCom && !prompter_.ShuttingDown(); ++pass) {
        if (pass >= 1) port = "COM" + std::to_string(pass);
        try {
            const UsbPassResult result = UsbPass(port, true);
            if (result == UsbPassResult::Found || result == UsbPassResult::Refused ||
                result == UsbPassResult::Abandoned) {
                break;
            }
        } catch (const std::exception&) {
            // A port that misbehaves is passed over like one that is not there.
        }
    }
    FinishUsbSearch(port);
}

bool ReaderLink::LptCandidate(std::uint16_t base, bool remember) {
    const std::string hex = Hex(base);
    try {
        i2c_->SetPortBase(base);
        prompter_.Status(0, linktext::kLptSearchPrefix + hex + linktext::kLptSearchSuffix);
        prompter_.ProcessMessages();
        if (prompter_.ShuttingDown()) return false;  // the search loop stops as well
        prompter_.Pause(1000);
        if (!i2c_->InitBus()) {
            prompter_.Status(0, linktext::kLptInitFailedPrefix + hex + ".");
            prompter_.ProcessMessages();
            prompter_.Pause(1000);
            return false;
        }
        if (i2c_->StartAddress(TI2C::kMemoryWrite)) {
            // No STOP: the transfer that follows begins with InitBus.
            lptConnected_ = true;
            if (remember) config_.SetReaderPort(std::to_string(base));
            return true;
        }
        prompter_.Status(0, linktext::kLptNoAnswerPrefix + hex + linktext::kLptNoAnswerSuffix);
        prompter_.ProcessMessages();
        prompter_.Pause(1000);
    } catch (const I2cError&) {
        // A candidate whose bus times out or conflicts is simply not the reader's.
    }
    return false;
}

void ReaderLink::FinishLptSearch(std::optional<std::uint16_t> found) {
    if (found) {
        prompter_.Status(0, linktext::kReaderFoundPrefix + std::string("0x") + Hex(*found) + ".");
        prompter_.ProcessMessages();
        prompter_.Pause(1000);
    } else {
        prompter_.Status(0, linktext::kReaderNotFound);
    }
}

void ReaderLink::SearchLptReader() {
    const std::uint16_t candidates[] = {ParseBase(config_.Ini()).value_or(kDefaultLptBase),
                                        kSecondLptBase, kThirdLptBase};
    lptConnected_ = false;
    std::optional<std::uint16_t> found;
    // A closing program neither opens the port driver (whose failure is a message box) nor
    // walks the candidates.
    if (!prompter_.ShuttingDown()) EnsureI2c();
    for (const std::uint16_t base : candidates) {
        if (prompter_.ShuttingDown()) break;
        if (LptCandidate(base, true)) {
            found = base;
            break;
        }
    }
    FinishLptSearch(found);
}

void ReaderLink::ConnectAt(const std::string& port) {
    lptConnected_ = usbConnected_ = false;
    if (IsSerialPortName(port)) {
        try {
            UsbPass(port, false);
        } catch (const std::exception&) {
        }
        FinishUsbSearch(port);
        return;
    }
    const auto base = ParseBaseAddress(port);
    EnsureI2c();
    std::optional<std::uint16_t> found;
    if (base && LptCandidate(*base, false)) found = base;
    FinishLptSearch(found);
}

// ---------------------------------------------------------------------------------------------
// Transfers

bool ReaderLink::ReadFailed(const std::string& message) {
    if (usbConnected_) cdc_.Close();
    prompter_.Message(message, MessageIcon::Error,
                      usbConnected_ ? linktext::kCaptionLoadUsb : linktext::kCaptionLoadLpt);
    prompter_.Progress(0, 0);
    SetLoadEnabled(true);
    prompter_.Status(0, message);
    return false;
}

bool ReaderLink::ReadFromReader(std::uint32_t address, std::size_t count, std::uint8_t* buffer) {
    if (!lptConnected_ && !usbConnected_) return false;
    count = std::min(count, kImageBytes);
    const auto deadline = TransferDeadline(count, TransferDirection::Read);
    SetLoadEnabled(false);
    prompter_.Status(0, linktext::kLoading);
    prompter_.ProcessMessages();
    prompter_.Pause(500);
    std::size_t done = 0;
    if (lptConnected_) {
        try {
            if (!i2c_->InitBus()) return ReadFailed(linktext::kBusInitError);
            prompter_.Progress(0, ProgressMax(count));
            prompter_.Pause(500);
            while (done < count) {
                const std::size_t n = std::min(kReadBlock, count - done);
                i2c_->ReadSequential(static_cast<std::uint16_t>(address + done), n, buffer + done);
                done += n;
                prompter_.Progress(ProgressPosition(done, count), ProgressMax(count));
                prompter_.ProcessMessages();
                if (prompter_.ShuttingDown()) return false;
                if (done < count && std::chrono::steady_clock::now() > deadline) {
                    return ReadFailed(linktext::kNoReaderAnswer);
                }
            }
        } catch (const I2cError& error) {
            return ReadFailed(error.what());
        }
    } else {
        if (!cdc_.SetBlockSize() || !cdc_.SetAddress(address)) {
            return ReadFailed(linktext::kAdapterError);
        }
        prompter_.Progress(0, ProgressMax(count));
        prompter_.Pause(500);
        while (done < count) {
            // Never more than the rest of the range: a block that comes short moves the rest.
            const std::size_t n = cdc_.ReadBlock(buffer + done, count - done);
            if (n == 0) return ReadFailed(linktext::kLinkBroken);
            done += n;
            prompter_.Progress(ProgressPosition(done, count), ProgressMax(count));
            prompter_.ProcessMessages();
            if (prompter_.ShuttingDown()) {
                cdc_.Close();
                return false;
            }
            if (done < count && std::chrono::steady_clock::now() > deadline) {
                return ReadFailed(linktext::kNoReaderAnswer);
            }
        }
        cdc_.Close();
    }
    prompter_.Progress(0, ProgressMax(count));
    SetLoadEnabled(true);
    prompter_.Status(0, linktext::kLoaded);
    return true;
}

bool ReaderLink::WriteFailed(const std::string& message) {
    if (usbConnected_) cdc_.Close();
    prompter_.Message(message, MessageIcon::Error, linktext::kCaptionWrite);
    prompter_.Progress(0, 0);
    SetLoadEnabled(true);
    prompter_.Status(0, linktext::kNotWritten);
    return false;
}

bool ReaderLink::WriteToReader(std::uint32_t address, std::size_t count, const std::uint8_t* data) {
    if (!lptConnected_ && !usbConnected_) return false;
    count = std::min(count, kImageBytes);
    const auto deadline = TransferDeadline(count, TransferDirection::Write);
    SetLoadEnabled(false);
    prompter_.Status(0, linktext::kWriting);
    prompter_.ProcessMessages();
    prompter_.Pause(500);
    std::size_t done = 0;
    if (lptConnected_) {
        try {
            if (!i2c_->InitBus()) return WriteFailed(linktext::kBusInitError);
            prompter_.Progress(0, ProgressMax(count));
            prompter_.ProcessMessages();
            prompter_.Pause(500);
            while (done < count) {
                const auto pageAddress = static_cast<std::uint16_t>(address + done);
                const std::size_t n = std::min(kPage - pageAddress % kPage, count - done);
                i2c_->WritePage(pageAddress, data + done, n);
                done += n;
                prompter_.Progress(ProgressPosition(done, count), ProgressMax(count));
                prompter_.ProcessMessages();
                if (done < count && std::chrono::steady_clock::now() > deadline) {
                    return WriteFailed(linktext::kNoReaderAnswer);
                }
            }
            i2c_->Stop();
        } catch (const I2cError& error) {
            return WriteFailed(error.what());
        }
    } else {
        if (!cdc_.SetBlockSize()) return WriteFailed(linktext::kBlockSizeWriteError);
        if (!cdc_.SetAddress(address)) return WriteFailed(linktext::kAddressWriteError);
        prompter_.Progress(0, ProgressMax(count));
        prompter_.ProcessMessages();
        prompter_.Pause(500);
        for (std::size_t i = 0; i < count; ++i) {
            ByteRetryBudget budget;
            for (;;) {
                if (cdc_.SetAddress(static_cast<std::uint32_t>(address + i))) {
                    const bool written = cdc_.WriteMemByte(data[i]);
                    prompter_.Progress(ProgressPosition(written ? i + 1 : i, count),
                                       ProgressMax(count));
                    prompter_.ProcessMessages();
                    if (written) break;
                }
                if (budget.Exhausted()) return WriteFailed(linktext::kNoReaderAnswer);
            }
            if (i + 1 < count && std::chrono::steady_clock::now() > deadline) {
                return WriteFailed(linktext::kNoReaderAnswer);
            }
        }
        cdc_.Close();
    }
    prompter_.Progress(0, ProgressMax(count));
    SetLoadEnabled(true);
    prompter_.Status(0, linktext::kWritten);
    return true;
}

bool ReaderLink::VerifyWrite(std::uint32_t address, std::size_t count, const std::uint8_t* data) {
    if (!lptConnected_ && !usbConnected_) return false;
    count = std::min(count, kImageBytes);
    // The write closed the adapter's port; the reading opens it again.
    if (usbConnected_ && !cdc_.IsOpen() && !cdc_.Open())
        return WriteFailed(linktext::kAdapterError);
    std::vector<std::uint8_t> written(count);
    if (!ReadFromReader(address, count, written.data())) {
        prompter_.Status(0, linktext::kNotWritten);
        return false;
    }
    if (!std::equal(written.begin(), written.end(), data)) {
        return WriteFailed(linktext::kWriteMismatch);
    }
    prompter_.Status(0, linktext::kWritten);
    return true;
}

void ReaderLink::Release() {
    if (usbConnected_ && cdc_.IsOpen()) cdc_.Close();
}

bool ReaderLink::LoadFromReader(RecorderImage& image) {
    ConnectReader();
    prompter_.Pause(500);
    if (!lptConnected_ && !usbConnected_) return false;
    if (prompter_.ShuttingDown()) {
        if (usbConnected_) cdc_.Close();
        return false;
    }
    if (!ReadFromReader(0x0000, RecorderImage::Size(), image.Data())) return false;
    if (!image.ChecksumOk() &&
        !prompter_.Ask(linktext::kReaderChecksumQuestion, QuestionButtons::YesNo)) {
        return false;
    }
    return true;
}

}  // namespace orbisk
