#pragma once
// Why a port could not be opened, told in words that say what to do. The serial lines and the
// parallel-port access all sort their failures here, so the person reads the same advice
// whichever of them met the failure.
#include <string>

namespace orbisk {

enum class PortFailure {
    None,
    PermissionDenied,  // the device is there, this user may not open it
    Busy,              // the device is there, another program holds it
    Missing,           // no such device
    Other,
};

// The kind of failure for the system's error number of an open (errno).
PortFailure ClassifyOpenError(int error);

// A port that is there but refused to this program: the search shows and tells why, while a
// missing port is passed over in silence.
inline bool PortRefused(PortFailure kind) {
    return kind == PortFailure::PermissionDenied || kind == PortFailure::Busy;
}

// The reason shown for a serial port (`device`: the device path, or the port's name when no
// device answers to it) and for a parallel port's ppdev device; `wording` is the system's text
// of the failure.
std::string SerialOpenFailureText(PortFailure kind, const std::string& device,
                                  const std::string& wording);
// The same for a serial port on Windows (`port`: its name, "COM3"), where nobody may be refused
// a port for want of rights, and one in use is closed in the program holding it.
std::string WindowsSerialOpenFailureText(PortFailure kind, const std::string& port,
                                         const std::string& wording);
std::string ParallelOpenFailureText(PortFailure kind, const std::string& device,
                                    const std::string& wording);

}  // namespace orbisk
