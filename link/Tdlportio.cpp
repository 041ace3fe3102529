#include "link/Tdlportio.h"

#include <cstring>

#include "app/Locations.h"

#ifdef _WIN32
#include <windows.h>

#include "link/LinkTexts.h"
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <vector>

#include "link/PortFailure.h"
#if defined(__linux__)
#include <linux/parport.h>
#include <linux/ppdev.h>
#endif
#if defined(__linux__) && (defined(__i386__) || defined(__x86_64__)) && __has_include(<sys/io.h>)
#include <sys/io.h>
#define ORBISK_HAVE_RAW_PORT_IO 1
#endif
#endif

namespace orbisk {

#ifdef _WIN32

namespace {

constexpr char kLibraryName[] = "DLPortIO.dll";
// A 64-bit process loads only a 64-bit library: a 64-bit build of the library may sit beside a
// 32-bit DLPortIO.dll under this name.
constexpr char kLibrary64Name[] = "DLPortIO64.dll";
constexpr char kServiceName[] = "DLPortIO";
constexpr char kDisplayName[] = "DriverLINX Port I/O Driver";
constexpr char kLoadOrderGroup[] = "SST miniport drivers";
constexpr char kDriverExtension[] = ".SYS";

// Every entry point of the library must be there; only the byte read and write are used.
constexpr const char* kEntryPoints[12] = {
    "DlPortReadPortUchar",        "DlPortReadPortUshort",        "DlPortReadPortUlong",
    "DlPortWritePortUchar",       "DlPortWritePortUshort",       "DlPortWritePortUlong",
    "DlPortReadPortBufferUchar",  "DlPortReadPortBufferUshort",  "DlPortReadPortBufferUlong",
    "DlPortWritePortBufferUchar", "DlPortWritePortBufferUshort", "DlPortWritePortBufferUlong"};
constexpr int kReadUchar = 0;
constexpr int kWriteUchar = 3;

using ReadUcharFn = UCHAR(__stdcall*)(ULONG);
using WriteUcharFn = VOID(__stdcall*)(ULONG, UCHAR);

constexpr DWORD kScmAccess = 0x17;          // connect, create service, enumerate, lock status
constexpr DWORD kScmAccessNoCreate = 0x15;  // the same without create service
constexpr DWORD kQueryStatus = 0x4;
constexpr DWORD kCreateAccess = 0x10034;  // delete, start, stop, query status
constexpr DWORD kStartAccess = 0x10;
constexpr DWORD kStopAccess = 0x24;  // query status and stop
constexpr DWORD kDeleteAccess = 0x10000;
constexpr DWORD kKernelDriver = 1;
constexpr DWORD kDemandStart = 3;
constexpr DWORD kNormalErrorControl = 1;
constexpr DWORD kStateStopped = 1;
constexpr DWORD kStateRunning = 4;
constexpr DWORD kControlStop = 1;

std::string ErrorWithCode(const char* prefix, long code) {
    return std::string(prefix) + "Error #" + std::to_string(code);
}

std::string SystemDriversFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT n = GetSystemDirectoryW(buffer, MAX_PATH);
    return PathToUtf8(std::wstring(buffer, n > MAX_PATH ? 0 : n)) + "\\DRIVERS";
}

}  // namespace

TDLPortIO::TDLPortIO() : driverPath_(SystemDriversFolder()) {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    runningWinNT_ = GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
#pragma GCC diagnostic pop
}

TDLPortIO::~TDLPortIO() {
    CloseDriver();
}

std::string TDLPortIO::ExecutableFolder() {
    return PathToUtf8(ExecutablePath().parent_path());
}

bool TDLPortIO::ConnectSCM() {
    SC_HANDLE scm = OpenSCManagerA(nullptr, nullptr, kScmAccess);
    if (!scm && GetLastError() == ERROR_ACCESS_DENIED) {
        scm = OpenSCManagerA(nullptr, nullptr, kScmAccessNoCreate);
    }
    if (!scm) {
        lastError_ = ErrorWithCode("ConnectSCM: ", static_cast<long>(GetLastError()));
        return false;
    }
    scm_ = scm;
    return true;
}

bool TDLPortIO::DisconnectSCM() {
    if (scm_) {
        CloseServiceHandle(static_cast<SC_HANDLE>(scm_));
        scm_ = nullptr;
    }
    return true;
}

bool TDLPortIO::DriverInstall() {
    drvPrevInst_ = false;
    const auto scm = static_cast<SC_HANDLE>(scm_);
    if (SC_HANDLE existing = OpenServiceA(scm, kServiceName, kQueryStatus)) {
        drvPrevInst_ = true;
        CloseServiceHandle(existing);
        return true;
    }
    // The driver's path in UTF-16: the program's folder may have a name of any language.
    const std::wstring driverFile =
        Utf8ToPath(driverPath_ + "\\" + kServiceName + kDriverExtension).wstring();
    const auto wide = [](const char* text) { return Utf8ToPath(text).wstring(); };
    SC_HANDLE created =
        CreateServiceW(scm, wide(kServiceName).c_str(), wide(kDisplayName).c_str(), kCreateAccess,
                       kKernelDriver, kDemandStart, kNormalErrorControl, driverFile.c_str(),
                       wide(kLoadOrderGroup).c_str(), nullptr, nullptr, nullptr, nullptr);
    if (!created) {
        lastError_ = ErrorWithCode("DriverInstall: ", static_cast<long>(GetLastError()));
        return false;
    }
    CloseServiceHandle(created);
    return true;
}

bool TDLPortIO::DriverStart() {
    drvPrevStart_ = false;
    const auto scm = static_cast<SC_HANDLE>(scm_);
    SC_HANDLE service = OpenServiceA(scm, kServiceName, kQueryStatus);
    if (!service) {
        lastError_ = ErrorWithCode("DriverStart: ", static_cast<long>(GetLastError()));
        return false;
    }
    SERVICE_STATUS status{};
    const BOOL queried = QueryServiceStatus(service, &status);
    const DWORD queryError = GetLastError();
    CloseServiceHandle(service);
    if (!queried) {
        lastError_ = ErrorWithCode("DriverStart: ", static_cast<long>(queryError));
        return false;
    }
    if (status.dwCurrentState == kStateRunning) {
        drvPrevStart_ = true;
        return true;
    }
    if (status.dwCurrentState != kStateStopped) {
        lastError_ = ErrorWithCode("DriverStart: ", -1);
        return false;
    }
    service = OpenServiceA(scm, kServiceName, kStartAccess);
    if (!service) {
        lastError_ = ErrorWithCode("DriverStart: ", static_cast<long>(GetLastError()));
        return false;
    }
    const BOOL started = StartServiceA(service, 0, nullptr);
    const DWORD startError = GetLastError();
    CloseServiceHandle(service);
    if (!started) {
        lastError_ = ErrorWithCode("DriverStart: ", static_cast<long>(startError));
        return false;
    }
    return true;
}

bool TDLPortIO::DriverStop() {
    if (drvPrevStart_) return true;
    SC_HANDLE service = OpenServiceA(static_cast<SC_HANDLE>(scm_), kServiceName, kStopAccess);
    if (!service) {
        lastError_ = ErrorWithCode("DriverStop: ", static_cast<long>(GetLastError()));
        return false;
    }
    SERVICE_STATUS status{};
    const BOOL stopped = ControlService(service, kControlStop, &status);
    const DWORD stopError = GetLastError();
    CloseServiceHandle(service);
    if (!stopped) {
        lastError_ = ErrorWithCode("DriverStop: ", static_cast<long>(stopError));
        return false;
    }
    return true;
}

bool TDLPortIO::DriverRemove() {
    if (drvPrevInst_) return true;
    SC_HANDLE service = OpenServiceA(static_cast<SC_HANDLE>(scm_), kServiceName, kDeleteAccess);
    if (!service) {
        lastError_ = ErrorWithCode("DriverRemove: ", static_cast<long>(GetLastError()));
        return false;
    }
    const BOOL deleted = DeleteService(service);
    const DWORD deleteError = GetLastError();
    CloseServiceHandle(service);
    if (!deleted) {
        lastError_ = ErrorWithCode("DriverRemove: ", static_cast<long>(deleteError));
        return false;
    }
    return true;
}

void TDLPortIO::FreeLibraryIfLoaded() {
    if (library_) {
        FreeLibrary(static_cast<HMODULE>(library_));
        library_ = nullptr;
    }
    for (auto& entry : entryPoints_) entry = nullptr;
}

void TDLPortIO::OpenDriver() {
    if (activeHW_) return;
    if (runningWinNT_) {
        if (!ConnectSCM()) {
            lastError_ += Advice();
            return;
        }
        if (!DriverInstall()) {
            DisconnectSCM();
            lastError_ += Advice();
            return;
        }
        if (!DriverStart()) {
            const std::string reason = lastError_;
            DriverRemove();
            DisconnectSCM();
            lastError_ = reason + Advice();
            return;
        }
    }
    DWORD loadError = 0;
    for (const char* name : {kLibraryName, kLibrary64Name}) {
        const std::string libraryName =
            dllPath_.empty() ? std::string(name) : dllPath_ + "\\" + name;
        library_ = LoadLibraryW(Utf8ToPath(libraryName).c_str());
        if (library_) break;
        // The first library's reason counts, unless it was merely missing.
        if (!loadError || loadError == ERROR_MOD_NOT_FOUND) loadError = GetLastError();
    }
    std::string reason;
    if (!library_) {
        reason = ErrorWithCode("LoadLibrary: ", static_cast<long>(loadError));
    } else {
        for (int i = 0; i < 12; ++i) {
            entryPoints_[i] = reinterpret_cast<void*>(
                GetProcAddress(static_cast<HMODULE>(library_), kEntryPoints[i]));
            if (!entryPoints_[i] && reason.empty()) {
                reason = std::string("GetProcAddress: ") + kEntryPoints[i];
            }
        }
        activeHW_ = reason.empty();
    }
    if (!activeHW_) {
        if (runningWinNT_) {
            DriverStop();
            DriverRemove();
            DisconnectSCM();
        }
        FreeLibraryIfLoaded();
        // The person is told why the library failed, not what the clean-up met afterwards.
        lastError_ = reason + Advice();
    }
}

std::string TDLPortIO::Advice() const {
    return std::string("\n") + linktext::kPortLibraryAdvicePrefix + ExecutableFolder() +
           linktext::kPortLibraryAdviceMiddle;
}

void TDLPortIO::CloseDriver() {
    if (!activeHW_) return;
    if (runningWinNT_) {
        if (!DriverStop()) return;
        if (!DriverRemove()) return;
        DisconnectSCM();
    }
    if (library_ && !FreeLibrary(static_cast<HMODULE>(library_))) return;
    library_ = nullptr;
    for (auto& entry : entryPoints_) entry = nullptr;
    activeHW_ = false;
}

std::uint8_t TDLPortIO::GetPortByte(std::uint16_t port) {
    if (!activeHW_) return 0xFF;
    return reinterpret_cast<ReadUcharFn>(entryPoints_[kReadUchar])(port);
}

void TDLPortIO::SetPortByte(std::uint16_t port, std::uint8_t value) {
    if (!activeHW_) return;
    reinterpret_cast<WriteUcharFn>(entryPoints_[kWriteUchar])(port, value);
}

#else  // POSIX

namespace {

std::vector<std::string> ListEntries(const std::string& folder, const std::string& prefix) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.rfind(prefix, 0) == 0 && name.size() > prefix.size()) names.push_back(name);
        }
        closedir(dir);
    }
    // parport2 before parport10
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    return names;
}

std::string AccessAdvice(const std::string& device, int error) {
    return ParallelOpenFailureText(ClassifyOpenError(error), device, std::strerror(error));
}

}  // namespace

TDLPortIO::TDLPortIO() = default;

TDLPortIO::~TDLPortIO() {
    CloseDriver();
}

std::string TDLPortIO::ExecutableFolder() {
    const auto self = ExecutablePath();
    return self.empty() ? std::string(".") : PathToUtf8(self.parent_path());
}

void TDLPortIO::SetDeviceFolders(std::string parportListFolder, std::string deviceFolder) {
    parportListFolder_ = std::move(parportListFolder);
    deviceFolder_ = std::move(deviceFolder);
}

std::string TDLPortIO::DeviceForBase(std::uint16_t base) const {
    for (const auto& name : ListEntries(parportListFolder_, "parport")) {
        std::ifstream in(parportListFolder_ + "/" + name + "/base-addr");
        unsigned long value = 0;
        if (in >> value && value == base) return deviceFolder_ + "/" + name;
    }
    return {};
}

void TDLPortIO::OpenDriver() {
    if (activeHW_) return;
    lastError_.clear();
    const auto devices = ListEntries(deviceFolder_, "parport");
    int firstError = 0;
    std::string firstDevice;
    for (const auto& name : devices) {
        const std::string path = deviceFolder_ + "/" + name;
        const int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (fd >= 0) {
            close(fd);
            mode_ = Mode::Ppdev;
            activeHW_ = true;
            return;
        }
        if (!firstError) {
            firstError = errno;
            firstDevice = path;
        }
    }
    if (firstError) {
        lastError_ = AccessAdvice(firstDevice, firstError);
        return;
    }
#ifdef ORBISK_HAVE_RAW_PORT_IO
    if (ioperm(0x378, 3, 1) == 0) {
        ioperm(0x378, 3, 0);
        mode_ = Mode::RawIo;
        activeHW_ = true;
        return;
    }
#endif
    lastError_ = "Параллельный порт не найден: нет устройств " + deviceFolder_ +
                 "/parport*. Загрузите модули ядра: sudo modprobe parport_pc ppdev.";
}

void TDLPortIO::ReleaseDevices() {
    for (auto& [base, fd] : devices_) {
        if (fd >= 0) {
#if defined(__linux__)
            ioctl(fd, PPRELEASE);
#endif
            close(fd);
        }
    }
    devices_.clear();
#ifdef ORBISK_HAVE_RAW_PORT_IO
    for (const auto& [base, permitted] : rawPermitted_) {
        if (permitted) ioperm(base, 2, 0);
    }
#endif
    rawPermitted_.clear();
}

void TDLPortIO::CloseDriver() {
    if (!activeHW_) return;
    ReleaseDevices();
    mode_ = Mode::None;
    activeHW_ = false;
}

int TDLPortIO::DeviceDescriptor(std::uint16_t base) {
    if (const auto it = devices_.find(base); it != devices_.end()) return it->second;
    int fd = -1;
    const std::string device = DeviceForBase(base);
    if (!device.empty()) {
        fd = open(device.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0) {
            lastError_ = AccessAdvice(device, errno);
        }
#if defined(__linux__)
        else if (ioctl(fd, PPCLAIM) != 0) {
            lastError_ = AccessAdvice(device, errno);
            close(fd);
            fd = -1;
        }
#endif
    }
    devices_[base] = fd;
    return fd;
}

bool TDLPortIO::RawPermitted(std::uint16_t base) {
#ifdef ORBISK_HAVE_RAW_PORT_IO
    if (const auto it = rawPermitted_.find(base); it != rawPermitted_.end()) return it->second;
    const bool permitted = ioperm(base, 2, 1) == 0;
    rawPermitted_[base] = permitted;
    return permitted;
#else
    (void)base;
    return false;
#endif
}

std::uint8_t TDLPortIO::GetPortByte(std::uint16_t port) {
    if (!activeHW_) return 0xFF;
    // Only status registers are ever read: the port is base + 1.
    const auto base = static_cast<std::uint16_t>(port - 1);
    if (mode_ == Mode::Ppdev) {
#if defined(__linux__)
        const int fd = DeviceDescriptor(base);
        unsigned char value = 0xFF;
        if (fd >= 0 && ioctl(fd, PPRSTATUS, &value) == 0) return value;
#endif
        return 0xFF;
    }
#ifdef ORBISK_HAVE_RAW_PORT_IO
    if (RawPermitted(base)) return inb(port);
#endif
    return 0xFF;
}

void TDLPortIO::SetPortByte(std::uint16_t port, std::uint8_t value) {
    if (!activeHW_) return;
    // Only data registers are ever written: the port is the base address.
    if (mode_ == Mode::Ppdev) {
#if defined(__linux__)
        const int fd = DeviceDescriptor(port);
        unsigned char data = value;
        if (fd >= 0) ioctl(fd, PPWDATA, &data);
#endif
        return;
    }
#ifdef ORBISK_HAVE_RAW_PORT_IO
    if (RawPermitted(port)) outb(value, port);
#endif
}

#endif

}  // namespace orbisk
