#include "app/Config.h"

#include <system_error>

namespace orbisk {

Config::Config(std::filesystem::path iniPath, std::filesystem::path dataFolder)
    : ini_(std::move(iniPath)), dataFolder_(std::move(dataFolder)) {}

Config::Config(const ProgramLocations& locations)
    : Config(locations.iniPath, locations.dataFolder) {}

int Config::ReadIntegerSetting(const config::Setting& setting) const {
    const int value = ini_.ReadInteger(setting.section, setting.key, setting.defaultNumber);
    if (value < setting.minimum || value > setting.maximum) return setting.defaultNumber;
    return value;
}

bool Config::ReadBoolSetting(const config::Setting& setting) const {
    return ini_.ReadBool(setting.section, setting.key, setting.defaultNumber != 0);
}

std::string Config::ReadTextSetting(const config::Setting& setting) const {
    const std::string defaultText = setting.defaultIsDataFolder ? PathToUtf8(dataFolder_) : "";
    return ini_.ReadString(setting.section, setting.key, defaultText);
}

bool Config::WriteIntegerSetting(const config::Setting& setting, int value) {
    return ini_.WriteInteger(setting.section, setting.key, value);
}

bool Config::WriteBoolSetting(const config::Setting& setting, bool value) {
    return ini_.WriteBool(setting.section, setting.key, value);
}

bool Config::WriteTextSetting(const config::Setting& setting, std::string_view value) {
    return ini_.WriteString(setting.section, setting.key, value);
}

std::string Config::DialogFolder(std::string_view remembered) const {
    namespace fs = std::filesystem;
    std::error_code error;
    if (!remembered.empty() && fs::is_directory(Utf8ToPath(remembered), error)) {
        return std::string(remembered);
    }
    fs::create_directories(dataFolder_, error);
    fs::path folder = dataFolder_;
    while (!fs::is_directory(folder, error) && folder.has_relative_path()) {
        folder = folder.parent_path();
    }
    return PathToUtf8(folder);
}

int Config::MaxComForSearch() {
    const int stored = MaxCom();
    if (stored != 0) return stored;
    SetMaxCom(config::kMaxComWhenUnset);
    return config::kMaxComWhenUnset;
}

std::vector<std::string> Config::SpecialistFamilies() const {
    std::vector<std::string> families;
    for (std::string& name : ini_.ReadSections()) {
        // Sections that merely begin with a program section's name are kept out as well, so
        // that a stray copy of one is never offered as a person.
        const bool program = IsProgramSection(name) || name.starts_with(config::kViewSection) ||
                             name.starts_with(config::kConfigSection);
        if (!program) families.push_back(std::move(name));
    }
    return families;
}

bool Config::IsProgramSection(std::string_view name) {
    return IniNamesEqual(name, config::kViewSection) || IniNamesEqual(name, config::kConfigSection);
}

}  // namespace orbisk
