#pragma once
// The program's own settings in its configuration file: the names of their sections and keys,
// their defaults and ranges, all in one table, and typed access to each of them. Every other
// section of the file is a specialist of the register, named by the family name.
#include <array>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "app/IniFile.h"
#include "app/Locations.h"

namespace orbisk {

namespace config {

inline constexpr std::string_view kViewSection = "_Вид_";
inline constexpr std::string_view kConfigSection = "_Конфигурация_";

inline constexpr std::string_view kLeftKey = "Слева";
inline constexpr std::string_view kTopKey = "Сверху";
inline constexpr std::string_view kWidthKey = "Ширина";
inline constexpr std::string_view kHeightKey = "Высота";
inline constexpr std::string_view kMaximizedKey = "Развернуто";
inline constexpr std::string_view kCycleFilterKey = "Циклы";
inline constexpr std::string_view kDistributionStepKey = "Шаг";
inline constexpr std::string_view kDataCorrectionKey = "КоррекцияДанных";
inline constexpr std::string_view kOpenFolderKey = "Папка_ОТКР";
inline constexpr std::string_view kSaveFolderKey = "Папка_СОХР";
inline constexpr std::string_view kReaderPortKey = "Порт_ПСИ";
inline constexpr std::string_view kMaxComKey = "Макс_СОМ";

enum class ValueKind { Integer, Boolean, Text };

// One key of the program's own sections. Integers outside [minimum, maximum] read as the default;
// a text whose default is the data folder takes it from the folder the Config was given.
struct Setting {
    std::string_view section;
    std::string_view key;
    ValueKind kind;
    int defaultNumber = 0;
    int minimum = std::numeric_limits<int>::min();
    int maximum = std::numeric_limits<int>::max();
    bool defaultIsDataFolder = false;
};

inline constexpr int kIntMin = std::numeric_limits<int>::min();
inline constexpr int kIntMax = std::numeric_limits<int>::max();

inline constexpr Setting kLeft{kViewSection, kLeftKey, ValueKind::Integer, 0, kIntMin, kIntMax};
inline constexpr Setting kTop{kViewSection, kTopKey, ValueKind::Integer, 0, kIntMin, kIntMax};
// The main window's inside size as it was left (0: never saved, the design size is used) and
// whether it was maximized.
inline constexpr Setting kWidth{kViewSection, kWidthKey, ValueKind::Integer, 0, 0, 100000};
inline constexpr Setting kHeight{kViewSection, kHeightKey, ValueKind::Integer, 0, 0, 100000};
inline constexpr Setting kMaximized{kViewSection, kMaximizedKey, ValueKind::Boolean, 0, 0, 1};
// Index of the work-cycle list filter; 3 lists all cycles.
inline constexpr Setting kCycleFilter{kViewSection, kCycleFilterKey, ValueKind::Integer, 3, 0, 3};
// Index of the load-distribution step: 0 = 1 %, 1 = 10 %, 2 = 25 %.
inline constexpr Setting kDistributionStep{
    kViewSection, kDistributionStepKey, ValueKind::Integer, 1, 0, 2};
inline constexpr Setting kDataCorrection{
    kConfigSection, kDataCorrectionKey, ValueKind::Boolean, 0, 0, 1};
inline constexpr Setting kOpenFolder{
    kConfigSection, kOpenFolderKey, ValueKind::Text, 0, kIntMin, kIntMax, true};
inline constexpr Setting kSaveFolder{
    kConfigSection, kSaveFolderKey, ValueKind::Text, 0, kIntMin, kIntMax, true};
// A COM port name, or the parallel port's base address as a number.
inline constexpr Setting kReaderPort{kConfigSection, kReaderPortKey, ValueKind::Text};
// Highest COM port number searched; 0 (or missing) stands for kMaxComWhenUnset.
inline constexpr Setting kMaxCom{kConfigSection, kMaxComKey, ValueKind::Integer, 0,
                                 kIntMin,        kIntMax};
inline constexpr int kMaxComWhenUnset = 32;

inline constexpr std::array<const Setting*, 12> kAllSettings = {&kLeft,
                                                                &kTop,
                                                                &kWidth,
                                                                &kHeight,
                                                                &kMaximized,
                                                                &kCycleFilter,
                                                                &kDistributionStep,
                                                                &kDataCorrection,
                                                                &kOpenFolder,
                                                                &kSaveFolder,
                                                                &kReaderPort,
                                                                &kMaxCom};

}  // namespace config

class Config {
public:
    // `dataFolder` is the default of the remembered data folders.
    Config(std::filesystem::path iniPath, std::filesystem::path dataFolder);
    explicit Config(const ProgramLocations& locations);

    IniFile& Ini() { return ini_; }
    const IniFile& Ini() const { return ini_; }
    const std::filesystem::path& DataFolder() const { return dataFolder_; }

    // Typed access through the table; the setters return false when the file cannot be written.
    int ReadIntegerSetting(const config::Setting& setting) const;
    bool ReadBoolSetting(const config::Setting& setting) const;
    std::string ReadTextSetting(const config::Setting& setting) const;
    bool WriteIntegerSetting(const config::Setting& setting, int value);
    bool WriteBoolSetting(const config::Setting& setting, bool value);
    bool WriteTextSetting(const config::Setting& setting, std::string_view value);

    int WindowLeft() const { return ReadIntegerSetting(config::kLeft); }
    bool SetWindowLeft(int value) { return WriteIntegerSetting(config::kLeft, value); }
    int WindowTop() const { return ReadIntegerSetting(config::kTop); }
    bool SetWindowTop(int value) { return WriteIntegerSetting(config::kTop, value); }
    int WindowWidth() const { return ReadIntegerSetting(config::kWidth); }
    bool SetWindowWidth(int value) { return WriteIntegerSetting(config::kWidth, value); }
    int WindowHeight() const { return ReadIntegerSetting(config::kHeight); }
    bool SetWindowHeight(int value) { return WriteIntegerSetting(config::kHeight, value); }
    bool WindowMaximized() const { return ReadBoolSetting(config::kMaximized); }
    bool SetWindowMaximized(bool on) { return WriteBoolSetting(config::kMaximized, on); }

    int CycleFilter() const { return ReadIntegerSetting(config::kCycleFilter); }
    bool SetCycleFilter(int index) { return WriteIntegerSetting(config::kCycleFilter, index); }
    int DistributionStep() const { return ReadIntegerSetting(config::kDistributionStep); }
    bool SetDistributionStep(int index) {
        return WriteIntegerSetting(config::kDistributionStep, index);
    }

    bool DataCorrection() const { return ReadBoolSetting(config::kDataCorrection); }
    bool SetDataCorrection(bool on) { return WriteBoolSetting(config::kDataCorrection, on); }

    // Folders as UTF-8 texts, the way they are stored.
    std::string OpenFolder() const { return ReadTextSetting(config::kOpenFolder); }
    bool SetOpenFolder(std::string_view folder) {
        return WriteTextSetting(config::kOpenFolder, folder);
    }
    std::string SaveFolder() const { return ReadTextSetting(config::kSaveFolder); }
    bool SetSaveFolder(std::string_view folder) {
        return WriteTextSetting(config::kSaveFolder, folder);
    }

    // The folder a file dialog opens in (UTF-8): `remembered` while it exists; otherwise the
    // default data folder, created if missing (a new installation has none yet, and a dialog
    // asked for a missing folder opens elsewhere with the folder's name typed as a file name);
    // should that fail too, its nearest existing parent.
    std::string DialogFolder(std::string_view remembered) const;

    std::string ReaderPort() const { return ReadTextSetting(config::kReaderPort); }
    bool SetReaderPort(std::string_view port) {
        return WriteTextSetting(config::kReaderPort, port);
    }

    // The stored value as it is (0 when missing).
    int MaxCom() const { return ReadIntegerSetting(config::kMaxCom); }
    bool SetMaxCom(int value) { return WriteIntegerSetting(config::kMaxCom, value); }
    // The number the COM port search uses: a missing or zero value means kMaxComWhenUnset, which
    // is then stored so that the user finds the key in the file to change it.
    int MaxComForSearch();

    // Sections of the file that are not the program's own, in file order.
    std::vector<std::string> SpecialistFamilies() const;

    // "_Вид_" or "_Конфигурация_", in any letter case.
    static bool IsProgramSection(std::string_view name);

private:
    IniFile ini_;
    std::filesystem::path dataFolder_;
};

}  // namespace orbisk
