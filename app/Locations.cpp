#include "app/Locations.h"

#include <cstdlib>
#include <system_error>

#include "app/ProgramIdentity.h"

#ifdef _WIN32
#include <windows.h>

#include <cstdio>
#include <random>
#else
#include <unistd.h>
#endif

namespace orbisk {
namespace fs = std::filesystem;

namespace {

// A folder named by the environment counts only when it is an absolute path; a relative one
// would depend on the current directory, which the program changes at start-up.
std::optional<fs::path> AbsoluteFolderFromEnvironment(const LocationServices& services,
                                                      std::string_view name) {
    if (!services.environment) return std::nullopt;
    const std::optional<std::string> value = services.environment(name);
    if (!value || value->empty()) return std::nullopt;
    fs::path folder = Utf8ToPath(*value);
    if (!folder.is_absolute()) return std::nullopt;
    return folder;
}

std::optional<fs::path> UserConfigFolder(const LocationServices& services) {
#ifdef _WIN32
    return AbsoluteFolderFromEnvironment(services, "APPDATA");
#else
    if (auto folder = AbsoluteFolderFromEnvironment(services, "XDG_CONFIG_HOME")) return folder;
    if (auto home = AbsoluteFolderFromEnvironment(services, "HOME")) return *home / ".config";
    return std::nullopt;
#endif
}

std::optional<fs::path> UserDocumentsFolder(const LocationServices& services) {
#ifdef _WIN32
    if (auto profile = AbsoluteFolderFromEnvironment(services, "USERPROFILE")) {
        return *profile / "Documents";
    }
    return std::nullopt;
#else
    if (auto folder = AbsoluteFolderFromEnvironment(services, "XDG_DOCUMENTS_DIR")) return folder;
    if (auto home = AbsoluteFolderFromEnvironment(services, "HOME")) return *home / "Documents";
    return std::nullopt;
#endif
}

}  // namespace

std::optional<std::string> SystemEnvironment(std::string_view name) {
#ifdef _WIN32
    const std::wstring wideName = Utf8ToPath(name).wstring();
    const wchar_t* value = _wgetenv(wideName.c_str());
    if (value == nullptr) return std::nullopt;
    return PathToUtf8(fs::path(value));
#else
    const char* value = std::getenv(std::string(name).c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
#endif
}

fs::path ExecutablePath() {
#ifdef _WIN32
    // Long paths too: the buffer grows until the name fits.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) return fs::path(buffer.substr(0, n));
        buffer.resize(buffer.size() * 2);
    }
#else
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : self;
#endif
}

bool IsWritableFolder(const fs::path& folder) {
    std::error_code error;
    if (!fs::is_directory(folder, error)) return false;
#ifdef _WIN32
    // Folder attributes say nothing about the access rights there; creating a file does.
    std::random_device device;
    for (int attempt = 0; attempt < 8; ++attempt) {
        fs::path probe = folder / (L".orbisk-probe-" + std::to_wstring(device()));
        const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            fs::remove(probe, error);
            return true;
        }
        if (!fs::exists(probe, error)) return false;
    }
    return false;
#else
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
#endif
}

ProgramLocations LocateProgramFiles(const fs::path& executable, std::string_view baseName) {
    return LocateProgramFiles(executable, baseName,
                              LocationServices{SystemEnvironment, IsWritableFolder});
}

ProgramLocations LocateProgramFiles(const fs::path& executable, std::string_view baseName,
                                    const LocationServices& services) {
    std::error_code error;
    fs::path program = fs::absolute(executable, error);
    if (error) program = executable;

    ProgramLocations locations;
    locations.programFolder = program.parent_path();
    locations.iniPath = fs::path(program).replace_extension(".ini");
    locations.dataFolder = locations.programFolder / Utf8ToPath(kDataFolderName);
    locations.helpFile = LocateHelpFile(locations.programFolder, baseName);

    const bool besideExecutable =
        services.isWritableFolder && services.isWritableFolder(locations.programFolder);
    if (besideExecutable) return locations;

    const fs::path name = Utf8ToPath(baseName);
    if (auto config = UserConfigFolder(services)) {
        const fs::path folder = *config / name;
        fs::create_directories(folder, error);
        fs::path file = name;
        file += ".ini";
        locations.iniPath = folder / file;
    }
    if (auto documents = UserDocumentsFolder(services)) {
        locations.dataFolder = *documents / Utf8ToPath(kDataFolderName);
    }
    return locations;
}

fs::path LocateHelpFile(const fs::path& programFolder, std::string_view baseName) {
    const fs::path file = Utf8ToPath(ui::kHelpFileName);
    const fs::path name = Utf8ToPath(baseName);
    const fs::path share = programFolder.parent_path() / "share";
    const fs::path beside = programFolder / file;
    for (const fs::path& candidate : {beside, share / name / file, share / "doc" / name / file}) {
        std::error_code error;
        if (fs::is_regular_file(candidate, error)) return candidate;
    }
    return beside;
}

std::string PathToUtf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

fs::path Utf8ToPath(std::string_view utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace orbisk
