// orbisk-sim: the reader behind its USB adapter, on a pseudo-terminal, for trying the program
// and the command line without hardware.
//
//   orbisk-sim DATA.bbd [options]
//
// Prints the device path of the pseudo-terminal on the first line of standard output, then
// answers the adapter's commands from the data file's 65,536 bytes until it is interrupted
// (Ctrl+C, SIGTERM) or --exit-after runs out. Give the printed path as the port ("Порт_ПСИ", the
// connection dialog, `orbisk-cli read --port PATH`), or list it in ORBISK_SERIAL_PORTS to make it
// COM1.
//
// Options:
//   --save FILE          on exit, write the memory (with every byte written to it) to FILE
//   --paced              send replies at the line's real speed (115200 baud, 8E1)
//   --no-reader          the adapter has no reader plugged in
//   --wrong-identity     answer the identify command as another device
//   --short-replies N    cut the next N replies short (-1: all)
//   --silent             answer nothing
//   --unplug-after N     go silent after N blocks have been read
//   --refuse-writes N    refuse the next N byte writes (-1: all)
//   --refuse-addresses N refuse the next N address commands (-1: all)
//   --exit-after SEC     stop by itself after SEC seconds
//
// The parallel-port reader is simulated in-process instead: `orbisk-cli read --port 0x378
// --simulate DATA.bbd -o OUT.bbd [--trace FILE]`.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "link/sim/AdapterEmulator.h"
#include "link/sim/PtyAdapterServer.h"

namespace {

volatile std::sig_atomic_t interrupted = 0;

void OnSignal(int) {
    interrupted = 1;
}

int Usage() {
    std::cerr << "usage: orbisk-sim DATA.bbd [--save FILE] [--paced] [--no-reader] "
                 "[--wrong-identity] [--short-replies N] [--silent] [--unplug-after N] "
                 "[--refuse-writes N] [--refuse-addresses N] [--exit-after SEC]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace orbisk;
    std::string dataFile, saveFile;
    bool paced = false;
    double exitAfter = -1;
    AdapterFaults faults;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto number = [&](long& out) {
            if (i + 1 >= argc) return false;
            char* end = nullptr;
            out = std::strtol(argv[++i], &end, 10);
            return end && *end == '\0';
        };
        long n = 0;
        if (arg == "--save" && i + 1 < argc) {
            saveFile = argv[++i];
        } else if (arg == "--paced") {
            paced = true;
        } else if (arg == "--no-reader") {
            faults.noReader = true;
        } else if (arg == "--wrong-identity") {
            faults.wrongIdentity = true;
        } else if (arg == "--silent") {
            faults.silent = true;
        } else if (arg == "--short-replies" && number(n)) {
            faults.shortReplies = static_cast<int>(n);
        } else if (arg == "--unplug-after" && number(n)) {
            faults.unplugAfterBlocks = n;
        } else if (arg == "--refuse-writes" && number(n)) {
            faults.refusedWrites = static_cast<int>(n);
        } else if (arg == "--refuse-addresses" && number(n)) {
            faults.refusedAddresses = static_cast<int>(n);
        } else if (arg == "--exit-after" && i + 1 < argc) {
            exitAfter = std::atof(argv[++i]);
        } else if (!arg.empty() && arg[0] != '-' && dataFile.empty()) {
            dataFile = arg;
        } else {
            return Usage();
        }
    }
    if (dataFile.empty()) return Usage();
    std::ifstream in(dataFile, std::ios::binary);
    if (!in) {
        std::cerr << "orbisk-sim: cannot open " << dataFile << "\n";
        return 1;
    }
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    if (bytes.size() < AdapterEmulator::kMemorySize) {
        std::cerr << "orbisk-sim: " << dataFile << " has " << bytes.size()
                  << " bytes, 65536 expected\n";
        return 1;
    }
    AdapterEmulator emulator(bytes);
    emulator.Faults() = faults;
    PtyAdapterServer server(emulator);
    if (!server.Open()) {
        std::cerr << "orbisk-sim: pseudo-terminal: " << server.Error() << "\n";
        return 1;
    }
    // 115200 baud with a start, a parity and a stop bit: 11 bits a byte.
    if (paced) server.SetBytesPerSecond(115200 / 11);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::cout << server.DevicePath() << std::endl;

    const auto started = std::chrono::steady_clock::now();
    server.Serve([&] {
        if (interrupted) return true;
        return exitAfter >= 0 &&
               std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count() >=
                   exitAfter;
    });

    std::cerr << "orbisk-sim: " << emulator.BlocksSent() << " blocks read, "
              << emulator.BytesWritten() << " bytes written\n";
    if (!saveFile.empty()) {
        std::ofstream out(saveFile, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(emulator.Memory().data()),
                  static_cast<std::streamsize>(emulator.Memory().size()));
        if (!out) {
            std::cerr << "orbisk-sim: cannot write " << saveFile << "\n";
            return 1;
        }
    }
    return 0;
}
