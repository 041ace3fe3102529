#pragma once
// What the reader-link tests share: a prompter that records everything and skips pauses, a
// configuration file of the test's own, images with known contents, a scripted connection
// dialog, and the emulated adapter on a pseudo-terminal.
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Config.h"
#include "base/Prompter.h"
#include "image/RecorderImage.h"
#include "link/PortFailure.h"
#include "link/PosixSerialLine.h"
#include "link/ReaderLink.h"
#include "link/sim/AdapterEmulator.h"
#include "link/sim/I2cMemoryModel.h"
#include "link/sim/PtyAdapterServer.h"
#include "support/RecordingPrompter.h"

namespace orbisk::test {

// A configuration file in a folder of the test's own, removed afterwards.
class TempConfig {
public:
    TempConfig() {
        static int counter = 0;
        folder_ = std::filesystem::temp_directory_path() /
                  ("orbisk-link-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        std::filesystem::create_directories(folder_);
        config_ = std::make_unique<Config>(folder_ / "orbisk.ini", folder_ / "Данные");
    }
    ~TempConfig() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    Config& Get() { return *config_; }
    const std::filesystem::path& Folder() const { return folder_; }

private:
    std::filesystem::path folder_;
    std::unique_ptr<Config> config_;
};

// 64 KB of pseudo-random bytes whose image checksum holds.
inline std::vector<std::uint8_t> TestImageBytes(unsigned seed = 1) {
    std::vector<std::uint8_t> bytes(kImageSize);
    std::mt19937 random(seed);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    std::uint8_t x = 0;
    for (std::size_t i = 2; i < bytes.size(); i += 2) x ^= bytes[i];
    bytes[0] = x;
    return bytes;
}

class ScriptedDialog final : public ConnectionDialog {
public:
    std::optional<ConnectionChoice> Choose() override {
        ++shown;
        if (onChoose) onChoose();
        if (choices.empty()) return std::nullopt;
        auto choice = choices.front();
        choices.pop_front();
        return choice;
    }
    std::deque<std::optional<ConnectionChoice>> choices;
    int shown = 0;
    std::function<void()> onChoose;
};

// The emulated adapter on a pseudo-terminal, served on a thread while the test runs.
class EmulatedAdapter {
public:
    explicit EmulatedAdapter(const std::vector<std::uint8_t>& memory = TestImageBytes())
        : emulator_(memory), server_(emulator_) {
        if (!server_.Open()) throw std::runtime_error("pseudo-terminal: " + server_.Error());
        server_.Start();
    }
    ~EmulatedAdapter() { server_.Stop(); }
    const std::string& Path() const { return server_.DevicePath(); }
    void With(const std::function<void(AdapterEmulator&)>& action) { server_.WithEmulator(action); }
    AdapterFaults& Faults() { return emulator_.Faults(); }  // before the program talks to it
    AdapterEmulator& Emulator() { return emulator_; }       // after it is done

private:
    AdapterEmulator emulator_;
    PtyAdapterServer server_;
};

// Serial ports of the test machine: COM1, COM2, ... are the given devices.
class SerialPortList {
public:
    explicit SerialPortList(const std::vector<std::string>& devices) {
        std::string list;
        for (const auto& d : devices) list += (list.empty() ? "" : ":") + d;
        const char* old = std::getenv("ORBISK_SERIAL_PORTS");
        if (old) old_ = old;
        ::setenv("ORBISK_SERIAL_PORTS", list.c_str(), 1);
    }
    ~SerialPortList() {
        if (old_) {
            ::setenv("ORBISK_SERIAL_PORTS", old_->c_str(), 1);
        } else {
            ::unsetenv("ORBISK_SERIAL_PORTS");
        }
    }

private:
    std::optional<std::string> old_;
};

// Runs `work` in a child process of an ordinary user and returns what it returned. A test run
// by the administrator, whom file modes and exclusive terminals do not stop, lets the child
// become nobody (65534) first.
inline std::string AsOrdinaryUser(const std::function<std::string()>& work) {
    int channel[2];
    if (::pipe(channel) != 0) throw std::runtime_error("pipe");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        const bool dropped = ::geteuid() != 0 || (::setgroups(0, nullptr) == 0 &&
                                                  ::setgid(65534) == 0 && ::setuid(65534) == 0);
        const std::string result = dropped ? work() : "the child could not become nobody";
        const ssize_t written = ::write(channel[1], result.data(), result.size());
        ::_exit(written == static_cast<ssize_t>(result.size()) ? 0 : 1);
    }
    ::close(channel[1]);
    std::string result;
    char buffer[4096];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof(buffer))) > 0;) result.append(buffer, n);
    ::close(channel[0]);
    ::waitpid(child, nullptr, 0);
    return result;
}

// What a serial line says on opening `device`: "opened", or the kind of failure and its reason.
inline std::string OpenOutcome(SerialLine& line, const std::string& device) {
    if (line.Open(device, SerialSettings{})) return "opened";
    return std::to_string(static_cast<int>(line.OpenFailure())) + " " + line.LastErrorText();
}

// The outcome of a port refused for want of permission or because another program holds it.
inline std::string Refused(PortFailure kind, const std::string& device) {
    const int error = kind == PortFailure::Busy ? EBUSY : EACCES;
    return std::to_string(static_cast<int>(kind)) + " " +
           SerialOpenFailureText(kind, device, std::strerror(error));
}

// A link whose parallel port at `base` carries the simulated memory, with no bus delay and no
// bus sleeps.
inline ReaderLink::Options SimulatedLpt(std::shared_ptr<I2cMemoryModel> model,
                                        std::uint16_t base = 0x378,
                                        SimulatedParallelPort** port = nullptr) {
    ReaderLink::Options options;
    options.delayCount = 0;
    options.busSleep = TI2C::NoSleep;
    options.portAccess = [model, base, port]() {
        auto p = std::make_unique<SimulatedParallelPort>(model, base);
        if (port) *port = p.get();
        return p;
    };
    return options;
}

inline std::shared_ptr<I2cMemoryModel> ModelWith(const std::vector<std::uint8_t>& bytes) {
    auto model = std::make_shared<I2cMemoryModel>();
    std::copy(bytes.begin(), bytes.end(), model->Memory().begin());
    return model;
}

}  // namespace orbisk::test
