#ifdef _WIN32
#include "link/Win32SerialLine.h"

#include <windows.h>

#include "app/Locations.h"
#include "link/SerialPorts.h"

namespace orbisk {

namespace {

HANDLE Handle(void* handle) {
    return static_cast<HANDLE>(handle);
}

// The system's own wording of an error, in the language of the system, as UTF-8.
std::string SystemWording(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = n && buffer ? std::wstring(buffer, n) : std::wstring();
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' ||
                             text.back() == L'.')) {
        text.pop_back();
    }
    if (text.empty()) return "ошибка " + std::to_string(error);
    return PathToUtf8(std::filesystem::path(text));
}

PortFailure ClassifyWindowsOpenError(DWORD error) {
    switch (error) {
        case ERROR_SUCCESS:
            return PortFailure::None;
        // A port opened by another program without sharing refuses everyone else with access
        // denied (a sharing violation where the port is an ordinary file, busy where Wine
        // finds the device held exclusively by a program of its host).
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_BUSY:
            return PortFailure::Busy;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_BAD_UNIT:
        case ERROR_DEV_NOT_EXIST:
            return PortFailure::Missing;
        default:
            return PortFailure::Other;
    }
}

}  // namespace

Win32SerialLine::~Win32SerialLine() {
    Close();
}

bool Win32SerialLine::Fail(unsigned long error) {
    error_ = error;
    openFailureText_.clear();
    return false;
}

bool Win32SerialLine::FailOpen(unsigned long error, const std::string& port) {
    error_ = error;
    openFailure_ = ClassifyWindowsOpenError(error);
    openFailureText_ = WindowsSerialOpenFailureText(openFailure_, port, SystemWording(error));
    return false;
}

std::string Win32SerialLine::LastErrorText() const {
    if (!openFailureText_.empty()) return openFailureText_;
    return error_ ? SystemWording(error_) : std::string();
}

bool Win32SerialLine::Open(const std::string& portName, const SerialSettings& settings) {
    if (handle_) Close();
    const std::string device = SerialDevicePath(portName);
    if (device.empty()) return FailOpen(ERROR_FILE_NOT_FOUND, portName);
    const HANDLE handle = CreateFileW(Utf8ToPath(device).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return FailOpen(GetLastError(), portName);
    const auto abandon = [&] {
        const DWORD error = GetLastError();
        CloseHandle(handle);
        return FailOpen(error ? error : ERROR_GEN_FAILURE, portName);
    };

    // Only the line settings the reader needs change; the rest stays as the port had it.
    DCB dcb{};
    dcb.DCBlength = sizeof(dcb);
    if (!GetCommState(handle, &dcb)) return abandon();
    dcb.BaudRate = static_cast<DWORD>(settings.baudRate);
    dcb.ByteSize = static_cast<BYTE>(settings.dataBits);
    dcb.fParity = settings.parityCheck && settings.parity != Parity::None;
    dcb.Parity = settings.parity == Parity::Even  ? EVENPARITY
                 : settings.parity == Parity::Odd ? ODDPARITY
                                                  : NOPARITY;
    dcb.StopBits = settings.stopBits == 2 ? TWOSTOPBITS : ONESTOPBIT;
    if (!SetCommState(handle, &dcb)) {
        // A port that cannot take parity (a pseudo-terminal behind Wine's COM port, once its
        // first opening set it) is still used as long as it runs at the speed asked for.
        const DWORD error = GetLastError();
        DCB now{};
        now.DCBlength = sizeof(now);
        if (!GetCommState(handle, &now) || now.BaudRate != dcb.BaudRate ||
            now.ByteSize != dcb.ByteSize) {
            SetLastError(error);
            return abandon();
        }
    }

    // One wait for a whole read or write. The interval and per-byte parts are cleared as well:
    // left over from another program they would end a read at the first pause or stretch it.
    COMMTIMEOUTS timeouts{};
    if (!GetCommTimeouts(handle, &timeouts)) return abandon();
    timeouts.ReadIntervalTimeout = 0;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = static_cast<DWORD>(settings.readTimeoutMs);
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = static_cast<DWORD>(settings.writeTimeoutMs);
    if (!SetCommTimeouts(handle, &timeouts)) return abandon();

    handle_ = handle;
    error_ = 0;
    openFailure_ = PortFailure::None;
    openFailureText_.clear();
    return true;
}

bool Win32SerialLine::Purge() {
    if (!handle_) return Fail(ERROR_INVALID_HANDLE);
    if (!PurgeComm(Handle(handle_), PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR))
        return Fail(GetLastError());
    return true;
}

bool Win32SerialLine::Close() {
    if (!handle_) return true;
    PurgeComm(Handle(handle_), PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    const HANDLE handle = Handle(handle_);
    handle_ = nullptr;
    if (!CloseHandle(handle)) return Fail(GetLastError());
    return true;
}

bool Win32SerialLine::SendPriority(std::uint8_t byte) {
    if (!handle_) return Fail(ERROR_INVALID_HANDLE);
    if (!TransmitCommChar(Handle(handle_), static_cast<char>(byte))) return Fail(GetLastError());
    return true;
}

long Win32SerialLine::Write(const std::uint8_t* data, std::size_t n) {
    if (!handle_) return Fail(ERROR_INVALID_HANDLE), -1;
    DWORD written = 0;
    if (!WriteFile(Handle(handle_), data, static_cast<DWORD>(n), &written, nullptr)) {
        return Fail(GetLastError()), -1;
    }
    if (written < n) error_ = ERROR_TIMEOUT;
    return static_cast<long>(written);
}

long Win32SerialLine::Read(std::uint8_t* data, std::size_t n) {
    if (!handle_) return Fail(ERROR_INVALID_HANDLE), -1;
    DWORD got = 0;
    if (!ReadFile(Handle(handle_), data, static_cast<DWORD>(n), &got, nullptr)) {
        // A pulled adapter ends the read with what came.
        error_ = GetLastError();
        return static_cast<long>(got);
    }
    if (got < n) error_ = ERROR_TIMEOUT;
    return static_cast<long>(got);
}

}  // namespace orbisk
#endif
