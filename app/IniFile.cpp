#include "app/IniFile.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <system_error>

#include "base/FileReplace.h"
#include "base/TextCodec.h"

namespace orbisk {
namespace fs = std::filesystem;

namespace {

// Everything below works on the bytes of the file (Windows-1251); names given through the
// interface are converted first, so that matching is done on exactly what the file holds.

constexpr std::array<unsigned char, 256> MakeFoldTable() {
    std::array<unsigned char, 256> table{};
    for (int i = 0; i < 256; ++i) table[i] = static_cast<unsigned char>(i);
    for (int c = 'A'; c <= 'Z'; ++c) table[c] = static_cast<unsigned char>(c + 0x20);
    // А..Я -> а..я
    for (int c = 0xC0; c <= 0xDF; ++c) table[c] = static_cast<unsigned char>(c + 0x20);
    // The other Cyrillic capitals of the code page, each followed by its small letter:
    // Ђ ђ, Ѓ ѓ, Љ љ, Њ њ, Ќ ќ, Ћ ћ, Џ џ, Ў ў, Ј ј, Ґ ґ, Ё ё, Є є, Ї ї, І і, Ѕ ѕ.
    constexpr unsigned char kPairs[] = {0x80, 0x90, 0x81, 0x83, 0x8A, 0x9A, 0x8C, 0x9C, 0x8D, 0x9D,
                                        0x8E, 0x9E, 0x8F, 0x9F, 0xA1, 0xA2, 0xA3, 0xBC, 0xA5, 0xB4,
                                        0xA8, 0xB8, 0xAA, 0xBA, 0xAF, 0xBF, 0xB2, 0xB3, 0xBD, 0xBE};
    for (std::size_t i = 0; i < std::size(kPairs); i += 2) table[kPairs[i]] = kPairs[i + 1];
    return table;
}

constexpr std::array<unsigned char, 256> kFold = MakeFoldTable();

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool FoldedEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (kFold[static_cast<unsigned char>(a[i])] != kFold[static_cast<unsigned char>(b[i])]) {
            return false;
        }
    }
    return true;
}

// A name or value as it will be stored: code page 1251, no line breaks, no surrounding blanks.
std::string ToFileText(std::string_view utf8) {
    std::string text = Utf8ToCp1251(utf8);
    for (char& c : text) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return std::string(Trim(text));
}

enum class LineKind { Other, Section, Key };

struct Line {
    std::string raw;
    LineKind kind = LineKind::Other;
    std::string name;   // section or key name, trimmed
    std::string value;  // key value, trimmed
};

Line ParseLine(std::string raw) {
    Line line;
    const std::string_view text = Trim(raw);
    if (!text.empty() && text.front() == '[') {
        // The last bracket closes the name, so that a name containing "]" reads back whole.
        const auto close = text.rfind(']');
        if (close != std::string_view::npos && close > 0) {
            line.kind = LineKind::Section;
            line.name = std::string(Trim(text.substr(1, close - 1)));
        }
    } else if (!text.empty() && text.front() != ';') {
        const auto equals = text.find('=');
        if (equals != std::string_view::npos) {
            line.kind = LineKind::Key;
            line.name = std::string(Trim(text.substr(0, equals)));
            line.value = std::string(Trim(text.substr(equals + 1)));
            if (line.name.empty()) line.kind = LineKind::Other;
        }
    }
    line.raw = std::move(raw);
    return line;
}

struct Document {
    std::vector<Line> lines;

    // Index of the header of the first section of that name, or npos.
    std::size_t FindSection(std::string_view name) const {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].kind == LineKind::Section && FoldedEqual(lines[i].name, name)) return i;
        }
        return npos;
    }

    // One past the last line of the section whose header is at `header`.
    std::size_t SectionEnd(std::size_t header) const {
        std::size_t i = header + 1;
        while (i < lines.size() && lines[i].kind != LineKind::Section) ++i;
        return i;
    }

    const Line* FindKey(std::string_view section, std::string_view key) const {
        const std::size_t header = FindSection(section);
        if (header == npos) return nullptr;
        const std::size_t end = SectionEnd(header);
        for (std::size_t i = header + 1; i < end; ++i) {
            if (lines[i].kind == LineKind::Key && FoldedEqual(lines[i].name, key)) {
                return &lines[i];
            }
        }
        return nullptr;
    }

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
};

enum class LoadResult { Loaded, Missing, Failed };

LoadResult Load(const fs::path& path, Document& document) {
    std::error_code error;
    const auto status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) return LoadResult::Missing;
    if (error || !fs::is_regular_file(status)) return LoadResult::Failed;

    std::ifstream in(path, std::ios::binary);
    if (!in) return LoadResult::Failed;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return LoadResult::Failed;

    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        const std::size_t next = end == std::string::npos ? bytes.size() : end + 1;
        if (end == std::string::npos) end = bytes.size();
        std::size_t lineEnd = end;
        if (lineEnd > start && bytes[lineEnd - 1] == '\r') --lineEnd;
        document.lines.push_back(ParseLine(bytes.substr(start, lineEnd - start)));
        start = next;
    }
    return LoadResult::Loaded;
}

// A file, or nothing yet: a place a write can go. Anything else fails before the update lock is
// taken, so that no lock file is left beside it.
bool MayHoldText(const fs::path& path) {
    std::error_code error;
    const auto type = fs::status(path, error).type();
    return type == fs::file_type::not_found || type == fs::file_type::regular;
}

Document LoadForReading(const fs::path& path) {
    Document document;
    if (Load(path, document) == LoadResult::Failed) document.lines.clear();
    return document;
}

bool Save(const fs::path& path, const Document& document) {
    std::string bytes;
    for (const Line& line : document.lines) {
        bytes += line.raw;
        bytes += "\r\n";
    }
    return ReplaceFileContents(path, bytes) == ReplaceResult::Replaced;
}

std::optional<int> ParseInteger(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return std::nullopt;

    std::uint64_t magnitude = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;

    std::int64_t value = 0;
    if (base == 16) {
        if (magnitude > 0xFFFFFFFFu) return std::nullopt;
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
    } else {
        if (magnitude > static_cast<std::uint64_t>(std::numeric_limits<int>::max()) + 1) {
            return std::nullopt;
        }
        value = static_cast<std::int64_t>(magnitude);
    }
    if (negative) value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

}  // namespace

IniFile::IniFile(fs::path path) : path_(std::move(path)) {}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    const std::string sectionName = ToFileText(section);
    const std::string keyName = ToFileText(key);
    if (sectionName.empty() || keyName.empty()) return std::string(defaultValue);

    const Document document = LoadForReading(path_);
    const Line* line = document.FindKey(sectionName, keyName);
    if (line == nullptr) return std::string(defaultValue);

    std::string_view value = line->value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return Cp1251ToUtf8(value);
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
    const std::string text = ReadString(section, key, {});
    return ParseInteger(Trim(text)).value_or(defaultValue);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    const std::string sectionName = ToFileText(section);
    const std::string keyName = ToFileText(key);
    if (sectionName.empty() || keyName.empty() || keyName.find('=') != std::string::npos ||
        keyName.front() == ';' || keyName.front() == '[') {
        return false;
    }
    const std::string valueText = ToFileText(value);

    if (!MayHoldText(path_)) return false;
    const FileUpdateLock lock(path_);
    if (!lock.Held()) return false;
    Document document;
    if (Load(path_, document) == LoadResult::Failed) return false;

    const std::size_t header = document.FindSection(sectionName);
    if (header == Document::npos) {
        if (!document.lines.empty() && !Trim(document.lines.back().raw).empty()) {
            document.lines.push_back(ParseLine({}));
        }
        document.lines.push_back(ParseLine("[" + sectionName + "]"));
        document.lines.push_back(ParseLine(keyName + "=" + valueText));
        return Save(path_, document);
    }

    const std::size_t end = document.SectionEnd(header);
    std::size_t insertAt = header + 1;
    for (std::size_t i = header + 1; i < end; ++i) {
        Line& line = document.lines[i];
        if (line.kind != LineKind::Key) continue;
        if (FoldedEqual(line.name, keyName)) {
            // The key keeps its spelling in the file; only its value changes.
            line = ParseLine(line.name + "=" + valueText);
            return Save(path_, document);
        }
        insertAt = i + 1;
    }
    document.lines.insert(document.lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                          ParseLine(keyName + "=" + valueText));
    return Save(path_, document);
}

bool IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    return WriteString(section, key, std::to_string(value));
}

bool IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    return WriteString(section, key, value ? "1" : "0");
}

bool IniFile::EraseSection(std::string_view section) {
    const std::string sectionName = ToFileText(section);
    if (sectionName.empty()) return true;

    std::error_code error;
    if (fs::status(path_, error).type() == fs::file_type::not_found) return true;
    if (!MayHoldText(path_)) return false;
    const FileUpdateLock lock(path_);
    if (!lock.Held()) return false;
    Document document;
    const LoadResult loaded = Load(path_, document);
    if (loaded == LoadResult::Failed) return false;

    bool erased = false;
    for (std::size_t header = document.FindSection(sectionName); header != Document::npos;
         header = document.FindSection(sectionName)) {
        document.lines.erase(
            document.lines.begin() + static_cast<std::ptrdiff_t>(header),
            document.lines.begin() + static_cast<std::ptrdiff_t>(document.SectionEnd(header)));
        erased = true;
    }
    return erased ? Save(path_, document) : true;
}

std::vector<std::string> IniFile::ReadSections() const {
    const Document document = LoadForReading(path_);
    std::vector<std::string> names;
    std::vector<const std::string*> seen;
    for (const Line& line : document.lines) {
        if (line.kind != LineKind::Section || line.name.empty()) continue;
        bool duplicate = false;
        for (const std::string* name : seen) duplicate = duplicate || FoldedEqual(*name, line.name);
        if (duplicate) continue;
        seen.push_back(&line.name);
        names.push_back(Cp1251ToUtf8(line.name));
    }
    return names;
}

std::vector<std::string> IniFile::ReadSectionKeys(std::string_view section) const {
    const std::string sectionName = ToFileText(section);
    std::vector<std::string> keys;
    if (sectionName.empty()) return keys;

    const Document document = LoadForReading(path_);
    const std::size_t header = document.FindSection(sectionName);
    if (header == Document::npos) return keys;
    const std::size_t end = document.SectionEnd(header);
    std::vector<const std::string*> seen;
    for (std::size_t i = header + 1; i < end; ++i) {
        const Line& line = document.lines[i];
        if (line.kind != LineKind::Key) continue;
        bool duplicate = false;
        for (const std::string* name : seen) duplicate = duplicate || FoldedEqual(*name, line.name);
        if (duplicate) continue;
        seen.push_back(&line.name);
        keys.push_back(Cp1251ToUtf8(line.name));
    }
    return keys;
}

bool IniFile::SectionExists(std::string_view section) const {
    const std::string sectionName = ToFileText(section);
    if (sectionName.empty()) return false;
    return LoadForReading(path_).FindSection(sectionName) != Document::npos;
}

bool IniFile::ValueExists(std::string_view section, std::string_view key) const {
    const std::string sectionName = ToFileText(section);
    const std::string keyName = ToFileText(key);
    if (sectionName.empty() || keyName.empty()) return false;
    return LoadForReading(path_).FindKey(sectionName, keyName) != nullptr;
}

bool IniNamesEqual(std::string_view a, std::string_view b) {
    return FoldedEqual(ToFileText(a), ToFileText(b));
}

}  // namespace orbisk
