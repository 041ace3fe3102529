#include "link/SerialPorts.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#ifndef _WIN32
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace orbisk {

namespace {

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

#ifndef _WIN32
// Devices of the folder whose names start with the prefix and go on with digits, in number
// order.
std::vector<std::string> NumberedDevices(const std::string& folder, const std::string& prefix) {
    std::vector<std::pair<long, std::string>> found;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.rfind(prefix, 0) != 0 || name.size() == prefix.size()) continue;
            const std::string digits = name.substr(prefix.size());
            if (!std::all_of(digits.begin(), digits.end(),
                             [](unsigned char c) { return std::isdigit(c); }))
                continue;
            found.emplace_back(std::strtol(digits.c_str(), nullptr, 10), folder + "/" + name);
        }
        closedir(dir);
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> paths;
    for (auto& [number, path] : found) paths.push_back(std::move(path));
    return paths;
}

bool HasDeviceBehind(const std::string& ttyClassFolder, const std::string& ttyName) {
    struct stat info {};
    return stat((ttyClassFolder + "/" + ttyName + "/device/driver").c_str(), &info) == 0;
}
#endif

}  // namespace

bool IsDevicePath(const std::string& port) {
    return port.rfind("/", 0) == 0 || port.rfind("\\\\.\\", 0) == 0;
}

bool IsSerialPortName(const std::string& port) {
    return Upper(port).find("COM") != std::string::npos || IsDevicePath(port);
}

std::optional<int> ComNumber(const std::string& port) {
    const std::string upper = Upper(port);
    if (upper.size() < 4 || upper.rfind("COM", 0) != 0) return std::nullopt;
    const std::string digits = upper.substr(3);
    if (digits.size() > 6 ||
        !std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); }))
        return std::nullopt;
    const int n = std::atoi(digits.c_str());
    if (n < 1) return std::nullopt;
    return n;
}

std::vector<std::string> SerialDeviceList() {
    std::vector<std::string> list;
    if (const char* configured = std::getenv("ORBISK_SERIAL_PORTS")) {
        std::string text = configured;
        std::size_t start = 0;
        while (start <= text.size()) {
            const auto end = text.find(':', start);
            const std::string item =
                text.substr(start, end == std::string::npos ? std::string::npos : end - start);
            if (!item.empty()) list.push_back(item);
            if (end == std::string::npos) break;
            start = end + 1;
        }
        return list;
    }
    return SerialDevicesIn("/dev", "/sys/class/tty");
}

std::vector<std::string> SerialDevicesIn(const std::string& deviceFolder,
                                         const std::string& ttyClassFolder) {
    std::vector<std::string> list;
#ifndef _WIN32
    for (const char* prefix : {"ttyACM", "ttyUSB"}) {
        for (auto& path : NumberedDevices(deviceFolder, prefix)) list.push_back(std::move(path));
    }
    // Every machine has its ttyS0..ttyS31 nodes; only those with a driver behind are ports.
    for (auto& path : NumberedDevices(deviceFolder, "ttyS")) {
        const std::string name = path.substr(deviceFolder.size() + 1);
        if (HasDeviceBehind(ttyClassFolder, name)) list.push_back(std::move(path));
    }
#else
    (void)deviceFolder;
    (void)ttyClassFolder;
#endif
    return list;
}

std::string SerialDevicePath(const std::string& port) {
    if (IsDevicePath(port)) return port;
    const auto number = ComNumber(port);
    if (!number) return {};
#ifdef _WIN32
    return "\\\\.\\" + Upper(port);
#else
    const auto list = SerialDeviceList();
    if (*number > static_cast<int>(list.size())) return {};
    return list[static_cast<std::size_t>(*number - 1)];
#endif
}

}  // namespace orbisk
