#include "link/PortFailure.h"

#include <cerrno>

#include "link/LinkTexts.h"

namespace orbisk {

PortFailure ClassifyOpenError(int error) {
    switch (error) {
        case 0:
            return PortFailure::None;
        case EACCES:
        case EPERM:
            return PortFailure::PermissionDenied;
        // A terminal another program opened exclusively refuses with EBUSY; a lock that is not
        // granted at once says EWOULDBLOCK.
        case EBUSY:
#if defined(EWOULDBLOCK)
        case EWOULDBLOCK:
#endif
            return PortFailure::Busy;
        // ENODEV and ENXIO: a device file without its hardware or driver behind it.
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return PortFailure::Missing;
        default:
            return PortFailure::Other;
    }
}

namespace {

namespace t = linktext;

std::string Bracketed(const std::string& wording) {
    return " (" + wording + ").";
}

std::string GroupAdvice(const std::string& group) {
    return t::kPortGroupAdvicePrefix + group + t::kPortGroupAdviceCommand + group +
           t::kPortGroupAdviceSuffix;
}

// The words both kinds of port share; `busyText` is the rest of the busy case.
std::string OpenFailureText(PortFailure kind, const std::string& device, const std::string& wording,
                            const std::string& group, const std::string& busyText) {
    switch (kind) {
        case PortFailure::PermissionDenied:
            return t::kPortNoAccessPrefix + device + Bracketed(wording) + " " + GroupAdvice(group);
        case PortFailure::Busy:
            return t::kPortPrefix + device + busyText;
        case PortFailure::Missing:
        case PortFailure::None:
        case PortFailure::Other:
            break;
    }
    return t::kPortCannotOpenPrefix + device + Bracketed(wording);
}

}  // namespace

std::string SerialOpenFailureText(PortFailure kind, const std::string& device,
                                  const std::string& wording) {
    if (kind == PortFailure::Missing) {
        return t::kPortPrefix + device + t::kPortMissing + Bracketed(wording);
    }
    return OpenFailureText(kind, device, wording, t::kSerialPortGroup,
                           t::kPortBusy + Bracketed(wording) + " " + t::kSerialBusyAdvice);
}

std::string WindowsSerialOpenFailureText(PortFailure kind, const std::string& port,
                                         const std::string& wording) {
    switch (kind) {
        case PortFailure::Busy:
            return t::kPortPrefix + port + t::kPortBusy + Bracketed(wording) + " " +
                   t::kWindowsSerialBusyAdvice;
        case PortFailure::Missing:
            return t::kPortPrefix + port + t::kPortMissing + Bracketed(wording) + " " +
                   t::kWindowsSerialMissingAdvice;
        case PortFailure::PermissionDenied:
        case PortFailure::None:
        case PortFailure::Other:
            break;
    }
    return t::kPortCannotOpenPrefix + port + Bracketed(wording);
}

// A missing ppdev device is told by the port access itself (no devices, load the modules).
std::string ParallelOpenFailureText(PortFailure kind, const std::string& device,
                                    const std::string& wording) {
    return OpenFailureText(kind, device, wording, t::kParallelPortGroup,
                           std::string(t::kPortBusy) + t::kParallelBusyByPrinter +
                               Bracketed(wording) + " " + t::kParallelBusyAdvice);
}

}  // namespace orbisk
