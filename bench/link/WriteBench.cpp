// What a write to the reader costs, and what its read-back adds, as a person waits for them: the
// three regions over the adapter emulated at the line's real speed (115200 baud, 8E1, on a
// pseudo-terminal) and over the bit-level memory with the calibrated bus delay and the bus's
// real settling waits; the fixed pauses of the procedures are really waited. Medians of 3 runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

#include "app/Config.h"
#include "edit/WriteBack.h"
#include "link/I2cu.h"
#include "link/PosixSerialLine.h"
#include "link/ReaderLink.h"
#include "link/sim/AdapterEmulator.h"
#include "link/sim/I2cMemoryModel.h"
#include "link/sim/PtyAdapterServer.h"

namespace {

using namespace orbisk;

class WaitingPrompter final : public Prompter {
public:
    void Message(const std::string& text, MessageIcon, const std::string&) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    }
    bool Ask(const std::string&, QuestionButtons, MessageIcon, const std::string&) override {
        return true;
    }
    void Pause(int milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
};

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Region {
    const char* name;
    WriteRegion region;
};
constexpr Region kRegions[] = {{"settings (240 bytes)", kSettingsRegion},
                               {"identification (1,536 bytes)", kIdentificationRegion},
                               {"long-term (4,080 bytes)", kLongTermRegion}};

void Measure(const char* link, ReaderLink& reader, const std::string& port) {
    std::vector<std::uint8_t> data(0x10000);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 13);
    for (const Region& r : kRegions) {
        std::vector<double> write, verify;
        for (int run = 0; run < 3; ++run) {
            reader.ConnectAt(port);
            const std::uint8_t* bytes = data.data() + r.region.address;
            const double t0 = Now();
            if (!reader.WriteToReader(r.region.address, r.region.count, bytes)) return;
            const double t1 = Now();
            if (!reader.VerifyWrite(r.region.address, r.region.count, bytes)) return;
            write.push_back(t1 - t0);
            verify.push_back(Now() - t1);
        }
        std::printf("%s, %s: write %.2f s, read-back %.2f s (+%.0f %%)\n", link, r.name,
                    Median(write), Median(verify), Median(verify) / Median(write) * 100);
    }
}

}  // namespace

int main() {
    const auto ini = std::filesystem::temp_directory_path() / "orbisk-write-bench.ini";
    Config config(ini, std::filesystem::temp_directory_path());
    WaitingPrompter prompter;
    {
        AdapterEmulator emulator;
        PtyAdapterServer server(emulator);
        if (!server.Open()) return 1;
        server.SetBytesPerSecond(115200 / 11);  // a start, a parity and a stop bit a byte
        server.Start();
        ReaderLink link(prompter, config, std::make_unique<PosixSerialLine>());
        Measure("adapter at 115200 baud", link, server.DevicePath());
        server.Stop();
    }
    {
        auto model = std::make_shared<I2cMemoryModel>();
        ReaderLink::Options options;
        options.portAccess = [model] {
            return std::make_unique<SimulatedParallelPort>(model, 0x378);
        };
        ReaderLink link(prompter, config, std::make_unique<PosixSerialLine>(), options);
        Measure("parallel port, calibrated delay", link, "0x378");
    }
    std::filesystem::remove(ini);
    return 0;
}
