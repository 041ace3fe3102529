// orbisk-sim: the reader behind its USB adapter, on a pseudo-terminal, for trying the program
// and the command line without hardware. `orbisk-sim --help` lists its options and faults.
//
// The parallel-port reader is simulated in-process instead: `orbisk-cli read --port 0x378
// --simulate DATA.bbd -o OUT.bbd [--trace FILE]`.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "link/sim/AdapterEmulator.h"
#include "link/sim/PtyAdapterServer.h"

namespace {

volatile std::sig_atomic_t interrupted = 0;

void OnSignal(int) {
    interrupted = 1;
}

struct Settings {
    std::string saveFile;
    bool paced = false;
    double exitAfter = -1;
    orbisk::AdapterFaults faults;
};

bool ToLong(const std::string& text, long& out) {
    char* end = nullptr;
    out = std::strtol(text.c_str(), &end, 10);
    return !text.empty() && *end == '\0';
}

bool ToInt(const std::string& text, int& out) {
    long n = 0;
    if (!ToLong(text, n)) return false;
    out = static_cast<int>(n);
    return true;
}

// One table for what the switches do and for what the help says about them.
struct Switch {
    const char* name;
    const char* argument;  // nullptr: a switch without a value
    const char* help;
    std::function<bool(Settings&, const std::string&)> apply;
};

const std::vector<Switch>& Options() {
    static const std::vector<Switch> options = {
        {"--save", "FILE", "on exit, write the memory (with every byte written to it) to FILE",
         [](Settings& s, const std::string& v) { return !(s.saveFile = v).empty(); }},
        {"--paced", nullptr, "send replies at the line's real speed (115200 baud, 8E1)",
         [](Settings& s, const std::string&) { return s.paced = true; }},
        {"--exit-after", "SEC", "stop by itself after SEC seconds",
         [](Settings& s, const std::string& v) {
             char* end = nullptr;
             s.exitAfter = std::strtod(v.c_str(), &end);
             return !v.empty() && *end == '\0' && s.exitAfter >= 0;
         }},
    };
    return options;
}

const std::vector<Switch>& Faults() {
    static const std::vector<Switch> faults = {
        {"--no-reader", nullptr,
         "no reader is plugged into the adapter: D answers \"QN\", R gets no answer, W is "
         "refused",
         [](Settings& s, const std::string&) { return s.faults.noReader = true; }},
        {"--wrong-identity", nullptr, "answer the identify command (C) as another device",
         [](Settings& s, const std::string&) { return s.faults.wrongIdentity = true; }},
        {"--silent", nullptr, "answer nothing at all",
         [](Settings& s, const std::string&) { return s.faults.silent = true; }},
        {"--short-replies", "N", "cut the next N replies to half their length (-1: every reply)",
         [](Settings& s, const std::string& v) { return ToInt(v, s.faults.shortReplies); }},
        {"--unplug-after", "N",
         "go silent after N blocks have been read, as a reader pulled off the adapter",
         [](Settings& s, const std::string& v) { return ToLong(v, s.faults.unplugAfterBlocks); }},
        {"--refuse-writes", "N", "answer the next N byte writes (W) with \"QN\" (-1: all)",
         [](Settings& s, const std::string& v) { return ToInt(v, s.faults.refusedWrites); }},
        {"--refuse-addresses", "N", "answer the next N address commands (A) with \"QN\" (-1: all)",
         [](Settings& s, const std::string& v) { return ToInt(v, s.faults.refusedAddresses); }},
        {"--drop-writes", nullptr,
         "acknowledge every byte write (W) but keep the old byte, as a write-protected reader",
         [](Settings& s, const std::string&) { return s.faults.droppedWrites = true; }},
        {"--unplug-after-writes", "N",
         "go silent after N byte writes, as a reader pulled off "
         "the adapter in the middle of a write",
         [](Settings& s, const std::string& v) { return ToLong(v, s.faults.unplugAfterWrites); }},
        {"--trickle", "N",
         "answer every block read (R) with its first N bytes only, so that each block waits "
         "out the program's read time-out (with N = 1 a whole image would take about nine hours)",
         [](Settings& s, const std::string& v) {
             return ToInt(v, s.faults.trickleBytes) && s.faults.trickleBytes > 0;
         }},
    };
    return faults;
}

constexpr char kUsageLine[] = "usage: orbisk-sim DATA.bbd [options] [faults]";
constexpr std::size_t kHelpColumn = 24;
constexpr std::size_t kLineWidth = 79;

// A switch and its explanation, the explanation wrapped at word boundaries in its own column.
std::string SwitchLine(const std::string& names, const std::string& help) {
    std::string text = "  " + names;
    std::string line = text.size() < kHelpColumn
                           ? text + std::string(kHelpColumn - text.size(), ' ')
                           : text + "\n" + std::string(kHelpColumn, ' ');
    std::string out;
    std::istringstream words(help);
    bool first = true;
    for (std::string word; words >> word; first = false) {
        if (!first && line.size() + 1 + word.size() > kLineWidth) {
            out += line + "\n";
            line = std::string(kHelpColumn, ' ') + word;
        } else {
            line += (first ? "" : " ") + word;
        }
    }
    return out + line + "\n";
}

std::string SwitchLine(const Switch& option) {
    std::string names = option.name;
    if (option.argument) names += std::string(" ") + option.argument;
    return SwitchLine(names, option.help);
}

std::string UsageText() {
    std::ostringstream out;
    out << kUsageLine
        << "\n"
           "\n"
           "Serves the USB adapter with a reader holding DATA.bbd (65,536 bytes) on a\n"
           "pseudo-terminal. The first line of standard output is the device path: give it as\n"
           "the port (\"Порт_ПСИ\", the connection dialog, orbisk-cli read --port PATH), or list\n"
           "it in ORBISK_SERIAL_PORTS to make it COM1. Runs until interrupted (Ctrl+C, SIGTERM)\n"
           "or until --exit-after runs out.\n"
           "\n"
           "Options:\n";
    for (const Switch& option : Options()) out << SwitchLine(option);
    out << SwitchLine("-h, --help", "print this help and exit")
        << "\n"
           "Faults of the adapter or the reader:\n";
    for (const Switch& fault : Faults()) out << SwitchLine(fault);
    out << "\n"
           "The parallel-port reader is simulated in-process instead:\n"
           "  orbisk-cli read --port 0x378 --simulate DATA.bbd -o OUT.bbd [--trace FILE]\n";
    return out.str();
}

int Usage(const std::string& problem) {
    std::cerr << "orbisk-sim: " << problem << "\n" << kUsageLine << " (--help lists them)\n";
    return 2;
}

const Switch* FindSwitch(const std::string& name) {
    for (const auto* table : {&Options(), &Faults()}) {
        for (const Switch& s : *table) {
            if (name == s.name) return &s;
        }
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace orbisk;
    std::string dataFile;
    Settings settings;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << UsageText();
            std::cout.flush();
            return std::cout ? 0 : 1;
        }
        if (const Switch* option = FindSwitch(arg)) {
            std::string value;
            if (option->argument) {
                if (i + 1 >= argc) return Usage(arg + " needs " + option->argument);
                value = argv[++i];
            }
            if (!option->apply(settings, value)) {
                return Usage(arg + ": not a valid " + option->argument + ": " + value);
            }
        } else if (!arg.empty() && arg[0] != '-' && dataFile.empty()) {
            dataFile = arg;
        } else {
            return Usage("unexpected argument: " + arg);
        }
    }
    if (dataFile.empty()) return Usage("no data file");
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
    emulator.Faults() = settings.faults;
    PtyAdapterServer server(emulator);
    if (!server.Open()) {
        std::cerr << "orbisk-sim: pseudo-terminal: " << server.Error() << "\n";
        return 1;
    }
    // 115200 baud with a start, a parity and a stop bit: 11 bits a byte.
    if (settings.paced) server.SetBytesPerSecond(115200 / 11);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::cout << server.DevicePath() << std::endl;

    const auto started = std::chrono::steady_clock::now();
    server.Serve([&] {
        if (interrupted) return true;
        return settings.exitAfter >= 0 &&
               std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count() >=
                   settings.exitAfter;
    });

    std::cerr << "orbisk-sim: " << emulator.BlocksSent() << " blocks read, "
              << emulator.BytesWritten() << " bytes written\n";
    if (!settings.saveFile.empty()) {
        std::ofstream out(settings.saveFile, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(emulator.Memory().data()),
                  static_cast<std::streamsize>(emulator.Memory().size()));
        if (!out) {
            std::cerr << "orbisk-sim: cannot write " << settings.saveFile << "\n";
            return 1;
        }
    }
    return 0;
}
