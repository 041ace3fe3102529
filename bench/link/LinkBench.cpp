// What a person waits for when loading from the reader, without the fixed pauses: a whole 64 KB
// image over the emulated adapter (unpaced, on a pseudo-terminal, through the real terminal
// code) and over the bit-level memory with no bus delay; and the real length of the calibrated
// bus delay. Prints medians of several runs.
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/Config.h"
#include "link/I2cu.h"
#include "link/PosixSerialLine.h"
#include "link/ReaderLink.h"
#include "link/sim/AdapterEmulator.h"
#include "link/sim/I2cMemoryModel.h"
#include "link/sim/PtyAdapterServer.h"

namespace {

using namespace orbisk;

// Skips the fixed pauses: they are the procedure's, not the program's overhead.
class QuietPrompter final : public Prompter {
public:
    void Message(const std::string& text, MessageIcon, const std::string&) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    }
    bool Ask(const std::string&, QuestionButtons, MessageIcon, const std::string&) override {
        return true;
    }
};

double ThreadCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

double WallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::vector<std::uint8_t> Image() {
    std::vector<std::uint8_t> bytes(0x10000);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 31);
    return bytes;
}

}  // namespace

int main() {
    constexpr int kRuns = 7;
    const auto ini = std::filesystem::temp_directory_path() / "orbisk-link-bench.ini";
    Config config(ini, std::filesystem::temp_directory_path());
    QuietPrompter prompter;
    std::vector<std::uint8_t> buffer(0x10000);

    // Over the adapter.
    {
        AdapterEmulator emulator(Image());
        PtyAdapterServer server(emulator);
        if (!server.Open()) {
            std::fprintf(stderr, "pseudo-terminal: %s\n", server.Error().c_str());
            return 1;
        }
        server.Start();
        ReaderLink link(prompter, config, std::make_unique<PosixSerialLine>());
        std::vector<double> wall, cpu;
        for (int run = 0; run < kRuns; ++run) {
            link.ConnectAt(server.DevicePath());
            if (!link.UsbConnected()) return 1;
            const double w0 = WallSeconds(), c0 = ThreadCpuSeconds();
            if (!link.ReadFromReader(0, buffer.size(), buffer.data())) return 1;
            wall.push_back(WallSeconds() - w0);
            cpu.push_back(ThreadCpuSeconds() - c0);
        }
        server.Stop();
        const double w = Median(wall), c = Median(cpu);
        std::printf("adapter, 64 KB over a pseudo-terminal (unpaced emulator, pauses skipped):\n");
        std::printf(
            "  whole image %.1f ms wall; per 64-byte block %.1f us wall, %.1f us CPU of "
            "the reading thread\n",
            w * 1e3, w / 1024 * 1e6, c / 1024 * 1e6);
    }

    // Over the bit-level bus, no delay.
    {
        auto model = std::make_shared<I2cMemoryModel>();
        const auto image = Image();
        std::copy(image.begin(), image.end(), model->Memory().begin());
        ReaderLink::Options options;
        options.delayCount = 0;
        options.busSleep = TI2C::NoSleep;  // the bus's fixed waits are not the program's work
        options.portAccess = [model] {
            return std::make_unique<SimulatedParallelPort>(model, 0x378);
        };
        ReaderLink link(prompter, config, std::make_unique<PosixSerialLine>(), options);
        std::vector<double> wall, cpu, accesses;
        for (int run = 0; run < kRuns; ++run) {
            link.ConnectAt("0x378");
            if (!link.LptConnected()) return 1;
            const long long before = model->StatusReads() + model->DataWrites();
            const double w0 = WallSeconds(), c0 = ThreadCpuSeconds();
            if (!link.ReadFromReader(0, buffer.size(), buffer.data())) return 1;
            wall.push_back(WallSeconds() - w0);
            cpu.push_back(ThreadCpuSeconds() - c0);
            accesses.push_back(
                static_cast<double>(model->StatusReads() + model->DataWrites() - before));
        }
        std::printf("bus, 64 KB against the bit-level memory (zero delay, in-process):\n");
        std::printf(
            "  whole image %.1f ms; %.2f port accesses per byte; %.0f ns CPU per byte "
            "(master and model)\n",
            Median(wall) * 1e3, Median(accesses) / 65536, Median(cpu) / 65536 * 1e9);
    }

    // The bus delay as calibrated on this machine.
    {
        std::vector<double> lengths;
        std::vector<double> counts;
        for (int run = 0; run < kRuns; ++run) {
            const auto count = TI2C::CalibrateDelay();
            TI2C i2c(
                prompter,
                std::make_unique<SimulatedParallelPort>(std::make_shared<I2cMemoryModel>(), 0x378),
                count);
            constexpr int kDelays = 20000;
            const double w0 = WallSeconds();
            for (int i = 0; i < kDelays; ++i) i2c.Delay();
            lengths.push_back((WallSeconds() - w0) / kDelays * 1e6);
            counts.push_back(count);
        }
        std::printf("bus delay: DelayCount %.0f, one Delay %.2f us (median of %d)\n",
                    Median(counts), Median(lengths), kRuns);
    }
    std::filesystem::remove(ini);
    return 0;
}
