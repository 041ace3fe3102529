#pragma once
// The desktop program's side of the archive of checks: every image saved or opened is recorded,
// the previous check of the crane shown is found, and its history is read. The archive is opened
// when first needed; whatever goes wrong with it is told once, and the program works on without
// it: reading, saving and reporting never wait for it.
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "archive/Archive.h"
#include "base/Clock.h"
#include "base/Prompter.h"
#include "image/Session.h"

namespace orbisk {

class DesktopArchive {
public:
    // The archive at `location` (a SQLite file or a server's address); `dataFolder` is where a
    // damaged file is rebuilt from.
    DesktopArchive(std::string location, std::filesystem::path dataFolder, Prompter& prompter,
                   const Clock& clock);
    ~DesktopArchive();

    // The data file the session's image was just saved to or opened from. A period image is
    // never a check.
    void Record(const std::filesystem::path& file, const Session& session);

    // The crane's latest earlier check whose file is there, for the image shown.
    std::optional<std::filesystem::path> PreviousFile(const Session& session);

    // The crane's checks, newest first; nothing without an archive.
    std::optional<std::vector<Check>> History(const Session& session);

private:
    CheckArchive* Archive();
    void Fail(const std::string& message);

    std::string location_;
    std::filesystem::path dataFolder_;
    Prompter& prompter_;
    const Clock& clock_;
    std::unique_ptr<CheckArchive> archive_;
    bool given_up_ = false;
};

}  // namespace orbisk
