#pragma once
// Serial port names. "COMn" is the n-th serial port of the machine; a device path typed as the
// port is used as it stands and counts as a serial port.
//
// On Linux the ports are numbered USB serial devices first (/dev/ttyACM*, /dev/ttyUSB*, in
// number order), then the on-board ports (/dev/ttyS* that have a device behind them). The
// environment variable ORBISK_SERIAL_PORTS replaces that list: device paths separated by ':'
// ("/dev/pts/3:/dev/ttyUSB0" makes COM1 /dev/pts/3 and COM2 /dev/ttyUSB0) — for test rigs and
// machines whose adapters appear under other names.
// On Windows "COMn" is opened as "\\.\COMn".
#include <optional>
#include <string>
#include <vector>

namespace orbisk {

// True for a port name the adapter search owns: one that contains "COM" in any case, or a
// device path.
bool IsSerialPortName(const std::string& port);

// True for a device path ("/dev/..." or "\\.\...").
bool IsDevicePath(const std::string& port);

// The number n of a "COMn" name (any case), or nothing.
std::optional<int> ComNumber(const std::string& port);

// The machine's serial devices in COM order (see above).
std::vector<std::string> SerialDeviceList();

// The same order for a device folder and its tty class folder of sysfs (on Linux "/dev" and
// "/sys/class/tty"); empty on Windows.
std::vector<std::string> SerialDevicesIn(const std::string& deviceFolder,
                                         const std::string& ttyClassFolder);

// The device to open for a port name; empty when the name names no port of this machine.
std::string SerialDevicePath(const std::string& port);

}  // namespace orbisk
