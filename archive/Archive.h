#pragma once
// The archive of checks: an index of the data files by crane, never the source of truth. It can
// always be rebuilt from the files; whatever goes wrong with it, reading, saving and reporting go
// on without it.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/Check.h"

namespace orbisk {

enum class AddOutcome {
    Added,
    AlreadyPresent,  // the same bytes are in already (the path is renewed if its file is gone)
    Refused,         // an image reduced to a period
    Failed,          // see LastError
};

struct CraneSummary {
    Check last;  // the latest check by reading time
    long long checks = 0;
};

class CheckArchive {
public:
    virtual ~CheckArchive() = default;

    // One transaction: a check is in whole or not at all.
    virtual AddOutcome Add(const Check& check) = 0;
    // Every check of the crane, newest first (same reading time: in a fixed order). Nothing on a
    // failure.
    virtual std::optional<std::vector<Check>> History(const std::string& craneKey) = 0;
    // Every crane with its latest check, in the order of their keys.
    virtual std::optional<std::vector<CraneSummary>> List() = 0;

    // The message for the last failure, ready for the user.
    const std::string& LastError() const { return lastError_; }

protected:
    std::string lastError_;
};

enum class OpenStatus {
    Opened,
    Damaged,      // a SQLite file that is not this program's archive or is broken
    Unreachable,  // the server or the file could not be reached
};

struct OpenedArchive {
    std::unique_ptr<CheckArchive> archive;  // set when Opened
    OpenStatus status = OpenStatus::Unreachable;
    std::string message;  // the one message for the user otherwise
};

// A "postgresql://" (or "postgres://") address opens the server's archive; anything else is the
// path of a SQLite file, made with its schema on first use.
OpenedArchive OpenArchive(const std::string& location);

bool IsServerAddress(const std::string& location);

// Moves a damaged SQLite archive aside (to the same name with ".damaged" added) so that the next
// OpenArchive makes a new one. An empty text on success, else the reason.
std::string SetDamagedArchiveAside(const std::filesystem::path& file);

// The archive a program uses: the INI's [Архив] Сервер= when given, else "archive.sqlite" in
// the data folder.
inline constexpr char kArchiveSection[] = "Архив";
inline constexpr char kArchiveServerKey[] = "Сервер";
inline constexpr char kArchiveFileName[] = "archive.sqlite";
std::string ArchiveLocation(const std::filesystem::path& iniFile,
                            const std::filesystem::path& dataFolder);

// The crane's latest check read before the given one whose file is still there (the checks
// newest first); nothing when there is none.
std::optional<Check> PreviousCheck(const std::vector<Check>& newestFirst, const Check& current);

}  // namespace orbisk
