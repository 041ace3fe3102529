// The port-I/O library of the Wine tests. The reader at 0x378 is the bit-level memory model; its
// memory is the data file ORBISK_TEST_PORT_IMAGE names (0xFF when none). Every other port reads
// 0xFF. Each call is appended, as one line, to the file ORBISK_TEST_PORT_LOG names, if any, so
// that a test sees which entry points the program used.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "link/sim/I2cMemoryModel.h"

namespace {

constexpr ULONG kBase = 0x378;

std::mutex guard;

orbisk::I2cMemoryModel& Model() {
    static std::unique_ptr<orbisk::I2cMemoryModel> model = [] {
        auto m = std::make_unique<orbisk::I2cMemoryModel>();
        m->Memory().fill(0xFF);
        if (const char* path = std::getenv("ORBISK_TEST_PORT_IMAGE")) {
            std::ifstream in(path, std::ios::binary);
            std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>()};
            for (std::size_t i = 0; i < bytes.size() && i < m->Memory().size(); ++i) {
                m->Memory()[i] = static_cast<std::uint8_t>(bytes[i]);
            }
        }
        return m;
    }();
    return *model;
}

// Only the first call of each entry point is logged: a whole read makes millions of calls.
void Log(const char* entryPoint) {
    static std::vector<std::string> seen;
    for (const auto& name : seen) {
        if (name == entryPoint) return;
    }
    seen.emplace_back(entryPoint);
    if (const char* path = std::getenv("ORBISK_TEST_PORT_LOG")) {
        if (std::FILE* file = std::fopen(path, "ab")) {
            std::fprintf(file, "%s\n", entryPoint);
            std::fclose(file);
        }
    }
}

}  // namespace

extern "C" {

__declspec(dllexport) UCHAR __stdcall DlPortReadPortUchar(ULONG port) {
    std::lock_guard lock(guard);
    Log("DlPortReadPortUchar");
    return port == kBase + 1 ? Model().ReadStatus() : 0xFF;
}

__declspec(dllexport) VOID __stdcall DlPortWritePortUchar(ULONG port, UCHAR value) {
    std::lock_guard lock(guard);
    Log("DlPortWritePortUchar");
    if (port == kBase) Model().WriteData(value);
}

// Present because a port library has them; the program never calls them.
__declspec(dllexport) USHORT __stdcall DlPortReadPortUshort(ULONG) {
    Log("DlPortReadPortUshort");
    return 0xFFFF;
}
__declspec(dllexport) ULONG __stdcall DlPortReadPortUlong(ULONG) {
    Log("DlPortReadPortUlong");
    return 0xFFFFFFFF;
}
__declspec(dllexport) VOID __stdcall DlPortWritePortUshort(ULONG, USHORT) {
    Log("DlPortWritePortUshort");
}
__declspec(dllexport) VOID __stdcall DlPortWritePortUlong(ULONG, ULONG) {
    Log("DlPortWritePortUlong");
}
__declspec(dllexport) VOID __stdcall DlPortReadPortBufferUchar(ULONG, PUCHAR, ULONG) {
    Log("DlPortReadPortBufferUchar");
}
__declspec(dllexport) VOID __stdcall DlPortReadPortBufferUshort(ULONG, PUSHORT, ULONG) {
    Log("DlPortReadPortBufferUshort");
}
__declspec(dllexport) VOID __stdcall DlPortReadPortBufferUlong(ULONG, PULONG, ULONG) {
    Log("DlPortReadPortBufferUlong");
}
__declspec(dllexport) VOID __stdcall DlPortWritePortBufferUchar(ULONG, PUCHAR, ULONG) {
    Log("DlPortWritePortBufferUchar");
}
__declspec(dllexport) VOID __stdcall DlPortWritePortBufferUshort(ULONG, PUSHORT, ULONG) {
    Log("DlPortWritePortBufferUshort");
}
__declspec(dllexport) VOID __stdcall DlPortWritePortBufferUlong(ULONG, PULONG, ULONG) {
    Log("DlPortWritePortBufferUlong");
}

}  // extern "C"
