#pragma once
// Where the configuration file and the default data folder live. The program keeps both beside
// its executable, which is what its users and their installation habits expect; a copy installed
// into a folder the user cannot write to keeps them in the user's own folders instead, so that
// settings and the specialists register still persist.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orbisk {

// The default folder of data files, below the folder chosen for them.
inline constexpr std::string_view kDataFolderName = "Данные";

struct ProgramLocations {
    std::filesystem::path iniPath;
    std::filesystem::path dataFolder;
    std::filesystem::path programFolder;
    // The help document the command "Справка" and F1 open; see LocateHelpFile.
    std::filesystem::path helpFile;
};

// The value of an environment variable, UTF-8; nullopt when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(std::string_view name)>;
// Whether the program may create and replace files in the folder.
using WritableFolderCheck = std::function<bool(const std::filesystem::path& folder)>;

struct LocationServices {
    EnvironmentLookup environment;
    WritableFolderCheck isWritableFolder;
};

// The process environment and the file system's own answer.
std::optional<std::string> SystemEnvironment(std::string_view name);
bool IsWritableFolder(const std::filesystem::path& folder);

// Beside the executable: its path with the extension ".ini", and the folder "Данные" next to it.
// When the executable's folder is not writable: "<config>/<baseName>/<baseName>.ini", where
// <config> is $XDG_CONFIG_HOME or ~/.config (Windows: %APPDATA%), and "Данные" in the user's
// documents folder ($XDG_DOCUMENTS_DIR or ~/Documents; Windows: %USERPROFILE%\Documents). The
// folder of that INI file is created, since the file itself is created by its first write.
// Should no user folder be known at all, the files stay beside the executable.
ProgramLocations LocateProgramFiles(const std::filesystem::path& executable,
                                    std::string_view baseName = "orbisk");
ProgramLocations LocateProgramFiles(const std::filesystem::path& executable,
                                    std::string_view baseName, const LocationServices& services);

// The help document beside the executable, where the build tree and a copy installed into one
// folder keep it. A system package may not put documents beside programs (/usr/bin), so next
// come "../share/<baseName>/" and "../share/doc/<baseName>/" from the executable's folder. When
// none of them holds the file, the path beside the executable, which then fails to open as a
// missing document does.
std::filesystem::path LocateHelpFile(const std::filesystem::path& programFolder,
                                     std::string_view baseName = "orbisk");

// The running program's own file; empty when the system does not tell.
std::filesystem::path ExecutablePath();

// Paths and the UTF-8 texts of the configuration file, independent of the platform's own
// narrow encoding.
std::string PathToUtf8(const std::filesystem::path& path);
std::filesystem::path Utf8ToPath(std::string_view utf8);

}  // namespace orbisk
