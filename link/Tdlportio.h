#pragma once
// Direct access to the parallel port's registers.
//
// Windows: the port-I/O library "DLPortIO.dll" (or a 64-bit build of it named "DLPortIO64.dll")
// and its kernel driver, which is installed and started as a service on demand and taken down
// again on close unless it was there before.
// Linux: the kernel's ppdev interface (/dev/parportN, the one whose base address matches the
// port), or raw port I/O when the process is allowed it and no ppdev device exists.
#include <cstdint>
#include <map>
#include <string>

#include "link/PortAccess.h"

namespace orbisk {

class TDLPortIO final : public PortAccess {
public:
    TDLPortIO();
    ~TDLPortIO() override;
    TDLPortIO(const TDLPortIO&) = delete;
    TDLPortIO& operator=(const TDLPortIO&) = delete;

    void OpenDriver() override;
    void CloseDriver() override;
    bool ActiveHW() const override { return activeHW_; }
    bool HardAccess() const { return hardAccess_; }
    const std::string& LastError() const override { return lastError_; }

    const std::string& DriverPath() const { return driverPath_; }
    void SetDriverPath(const std::string& path) override { driverPath_ = path; }
    const std::string& DLLPath() const { return dllPath_; }
    void SetDLLPath(const std::string& path) { dllPath_ = path; }

    std::uint8_t GetPortByte(std::uint16_t port) override;
    void SetPortByte(std::uint16_t port, std::uint8_t value) override;

    // Folder of the running program (UTF-8), where the driver file ships.
    static std::string ExecutableFolder();

#ifdef _WIN32
    bool RunningWinNT() const {
        return runningWinNT_;
    }
    bool ConnectSCM();
    bool DisconnectSCM();
    bool DriverInstall();
    bool DriverStart();
    bool DriverStop();
    bool DriverRemove();
#else
    // Where the parallel ports are listed and where their devices are; tests point these at a
    // folder of their own.
    void SetDeviceFolders(std::string parportListFolder, std::string deviceFolder);
    // The ppdev device of the port whose base address is `base`, empty when there is none.
    std::string DeviceForBase(std::uint16_t base) const;
#endif

private:
    bool activeHW_ = false;
    bool hardAccess_ = true;
    std::string driverPath_;
    std::string dllPath_;
    std::string lastError_;
#ifdef _WIN32
    bool runningWinNT_ = false;
    void* library_ = nullptr;  // HMODULE
    void* scm_ = nullptr;      // SC_HANDLE
    bool drvPrevInst_ = false;
    bool drvPrevStart_ = false;
    void* entryPoints_[12] = {};
    void FreeLibraryIfLoaded();
    // What to put beside the program, appended to the reason of a failed open.
    std::string Advice() const;
#else
    enum class Mode { None, Ppdev, RawIo };
    Mode mode_ = Mode::None;
    std::string parportListFolder_ = "/proc/sys/dev/parport";
    std::string deviceFolder_ = "/dev";
    std::map<std::uint16_t, int> devices_;  // base address -> claimed ppdev descriptor or -1
    std::map<std::uint16_t, bool> rawPermitted_;
    int DeviceDescriptor(std::uint16_t base);
    bool RawPermitted(std::uint16_t base);
    void ReleaseDevices();
#endif
};

}  // namespace orbisk
