#pragma once
// A check: one image as it was read from a crane's recorder, known by the SHA-256 of its bytes,
// with the crane it belongs to and the long-term figures the pages show for it.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/Clock.h"
#include "image/Controls.h"
#include "image/DisplayModel.h"
#include "image/RecorderImage.h"

namespace orbisk {

// The long-term figures of one load group (0 the crane, 1..3 the winches).
struct GroupFigures {
    long long cycles = 0;
    double liftedMass = 0;
    long long limiterTrips = 0;
    long long operatingMinutes = 0;
    double characteristic = 0;
    double kp = 0;
    int loadClass = 1;
    int useClass = 0;
    int group = 1;
    double days = 0;
};

struct Check {
    std::string sha256;  // 64 hexadecimal digits
    std::string path;    // UTF-8, absolute
    std::string craneKey;
    std::string craneType;       // eMarka
    std::string craneNumber;     // eNumber
    std::string owner;           // eOwner
    std::string recorderType;    // eRegType
    std::string recorderNumber;  // eRegNum
    double readingTime = 0;      // date-time value of the reading
    bool readingTimeValid = true;
    double installDay = 0;
    std::string passportGroup;  // eGroup as it stands
    int serviceLife = 0;        // eSrok, years
    std::array<GroupFigures, kGroups> groups;
    // An image reduced to the period since a previous check: never a check of its own.
    bool periodImage = false;
};

// Trims blanks and folds the case of Latin and Cyrillic letters (UTF-8).
std::string FoldForIdentity(std::string_view text);

// The crane a check belongs to: its type and factory number; without a factory number, the
// recorder's type and number.
std::string CraneKey(std::string_view craneType, std::string_view craneNumber,
                     std::string_view recorderType, std::string_view recorderNumber);

// The check of an image already decoded into the model (identification and statistics), keyed
// by the bytes it was read from.
Check DescribeCheck(const std::uint8_t* fileBytes, const DisplayModel& model,
                    const RecorderImage& image);

enum class CheckFileStatus { Read, NotDataFile, Unreadable };

struct CheckFile {
    CheckFileStatus status = CheckFileStatus::Unreadable;
    Check check;
};

// Reads a data file and decodes it as the program shows it, without a word to the user (an
// invalid reading time takes the clock's date, as on the pages). A file that is not a data file
// (other extension, shorter than an image) is told apart from one that cannot be read.
CheckFile ReadCheckFile(const std::filesystem::path& path, const Clock& clock);

}  // namespace orbisk
