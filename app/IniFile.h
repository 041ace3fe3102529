#pragma once
// The program's configuration file, with the behaviour of a Windows private profile file: names
// of sections and keys match without regard to case (Cyrillic included), sections keep their
// order, a write changes the one line it concerns, and the file is read anew by every call and
// rewritten by every write, so that several windows and the file's own editor never see stale
// values. The file is Windows-1251 on disk; this interface speaks UTF-8.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orbisk {

class IniFile {
public:
    explicit IniFile(std::filesystem::path path);

    const std::filesystem::path& Path() const { return path_; }

    // The value of the key, trimmed of blanks, with one pair of enclosing quotes (double or
    // single) removed; `defaultValue` when the section or the key is missing. An existing key
    // with an empty value reads as the empty text.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;

    // Decimal, or hexadecimal written "$1F" or "0x1F", with an optional sign; anything else,
    // and a decimal number outside the range of int, gives `defaultValue`. Hexadecimal values
    // up to 32 bits wrap into int as the platform's own conversion does ("$FFFFFFFF" is -1).
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;

    // An integer: 0 is false, any other number true; a value that is no number gives the default.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

    // Each write reads the file, changes it and replaces it whole through a temporary file in
    // the same folder. An existing key keeps its line; a new key goes after the last key of its
    // section; a new section goes to the end of the file. Returns false, leaving the file as it
    // was, when the file cannot be read or written or the section or key name is empty or
    // cannot be stored (a key containing "="). Line breaks inside names and values become
    // blanks, so that a value can never add lines of its own to the file. The whole write holds
    // the file's update lock (FileUpdateLock), so that programs writing the file at the same
    // time never undo each other's changes; a write that cannot have it fails.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    bool WriteInteger(std::string_view section, std::string_view key, int value);
    bool WriteBool(std::string_view section, std::string_view key, bool value);  // "1" / "0"

    // Removes every section of that name with all its lines. True also when there is no such
    // section (nothing is written then); false when the file cannot be read or replaced.
    bool EraseSection(std::string_view section);

    // Names of the sections in file order; a name that occurs twice is listed once.
    std::vector<std::string> ReadSections() const;
    // Names of the keys of the section in file order, as spelled in the file.
    std::vector<std::string> ReadSectionKeys(std::string_view section) const;
    // True when the file has a header of that section, even with no keys under it.
    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;

private:
    std::filesystem::path path_;
};

// Comparison of section and key names as the file makes it: blanks around the names ignored,
// letters compared without regard to case (Latin and Cyrillic letters of Windows-1251).
bool IniNamesEqual(std::string_view a, std::string_view b);

}  // namespace orbisk
