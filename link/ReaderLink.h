#pragma once
// The reader link as the rest of the program sees it: finding the reader on a parallel port or
// behind the USB adapter, and moving ranges of its memory in either direction, with every status
// text, pause, progress step and message of the procedures. The main window owns one for the
// whole run; it holds the adapter link, the bus master (made at the first parallel-port search)
// and the two connection flags.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/Config.h"
#include "base/Prompter.h"
#include "image/RecorderImage.h"
#include "link/Cdcu.h"
#include "link/I2cu.h"
#include "link/PortAccess.h"
#include "link/SerialLine.h"

namespace orbisk {

enum class LinkType { UsbAdapter, LptPort };

enum class TransferDirection { Read, Write };

// What the person chose in the connection dialog.
struct ConnectionChoice {
    LinkType type = LinkType::UsbAdapter;
    std::string port;  // the text entered, unchecked
};

// The connection dialog, shown modally when the remembered kind of link finds no reader;
// nothing means Cancel.
class ConnectionDialog {
public:
    virtual ~ConnectionDialog() = default;
    virtual std::optional<ConnectionChoice> Choose() = 0;
};

// A parallel port's base address typed as a port: decimal, or hexadecimal after "0x" or "$";
// nothing for any other text or a number beyond the I/O address range.
std::optional<std::uint16_t> ParseBaseAddress(const std::string& text);

// The port the dialog proposes for a link type ("COM1", "0x378").
std::string DefaultPortFor(LinkType type);

class ReaderLink {
public:
    using PortAccessFactory = std::function<std::unique_ptr<PortAccess>()>;

    struct Options {
        // Makes the port access of the bus master; empty: the machine's real one (TDLPortIO).
        PortAccessFactory portAccess;
        // Loop count of the bus delay; empty: calibrated when the bus master is made.
        std::optional<std::int32_t> delayCount;
        // The bus master's fixed sleeps; empty: real ones. A simulated port goes without.
        TI2C::SleepFunction busSleep;
        // The longest one transfer may take; empty: TransferTimeLimit of its size.
        std::optional<std::chrono::milliseconds> transferTimeLimit;
    };

    // How long a transfer of `count` bytes may take before the reader counts as no longer
    // answering: ten times what the slowest honest link needs for it. Every retry on either
    // link is bounded, but a link that answers every time, only slowly (an adapter that sends
    // one byte per block and lets each block run into its time-out) would otherwise hold the
    // program for hours.
    static std::chrono::milliseconds TransferTimeLimit(std::size_t count,
                                                       TransferDirection direction);

    ReaderLink(Prompter& prompter, Config& config, std::unique_ptr<SerialLine> serialLine,
               Options options = {});
    ~ReaderLink();

    void SetConnectionDialog(ConnectionDialog* dialog) { dialog_ = dialog; }
    // Enables and disables the load command ("Загрузить") around transfers.
    void SetLoadCommandEnabler(std::function<void(bool)> enabler) {
        enableLoad_ = std::move(enabler);
    }

    bool LptConnected() const { return lptConnected_; }
    bool UsbConnected() const { return usbConnected_; }
    TCDC& Cdc() { return cdc_; }
    TI2C* I2c() { return i2c_.get(); }

    // Discovery.
    void ConnectReader();
    void SearchUsbReader();
    void SearchLptReader();
    // One given port only (a serial port name or device path, or a parallel base address), with
    // the texts of the search, no dialog, and nothing remembered in the configuration.
    void ConnectAt(const std::string& port);

    // Transfers; the address is the reader's memory address and the image offset.
    bool ReadFromReader(std::uint32_t address, std::size_t count, std::uint8_t* buffer);
    bool WriteToReader(std::uint32_t address, std::size_t count, const std::uint8_t* data);
    // Reads back what a write has just sent and compares it byte for byte: a reader that
    // acknowledges a write but keeps its old bytes must never count as written. A difference
    // shows "Данные в ПСИ не совпадают с записанными!".
    bool VerifyWrite(std::uint32_t address, std::size_t count, const std::uint8_t* data);
    // A write abandoned after the search: the adapter's port, left open for the transfer, closes.
    void Release();
    // Connects, reads the whole image into `image` and asks when its checksum is wrong.
    bool LoadFromReader(RecorderImage& image);

private:
    // Abandoned: the program is closing; no further port is tried and nothing more is asked.
    enum class UsbPassResult { NotOpened, NotAdapter, Found, Refused, Abandoned };
    UsbPassResult UsbPass(const std::string& port, bool remember);
    bool LptCandidate(std::uint16_t base, bool remember);
    void EnsureI2c();
    void FinishUsbSearch(const std::string& port);
    void FinishLptSearch(std::optional<std::uint16_t> found);
    void SetLoadEnabled(bool enabled);
    std::chrono::steady_clock::time_point TransferDeadline(std::size_t count,
                                                           TransferDirection direction) const;
    bool ReadFailed(const std::string& message);
    bool WriteFailed(const std::string& message);

    Prompter& prompter_;
    Config& config_;
    TCDC cdc_;
    std::unique_ptr<TI2C> i2c_;
    Options options_;
    ConnectionDialog* dialog_ = nullptr;
    std::function<void(bool)> enableLoad_;
    bool lptConnected_ = false;
    bool usbConnected_ = false;
    // The reason of the first serial port of this search that was there but refused (no
    // permission, held by another program); told when the search ends without a reader.
    std::string portRefusal_;
};

}  // namespace orbisk
