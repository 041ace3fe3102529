#pragma once
// The sample data file opened as the desktop program opens it.
#include <string>

#include "base/Clock.h"
#include "base/DateTime.h"
#include "image/Session.h"
#include "support/ReportFixtures.h"

namespace orbisk::test {

inline std::string SamplePath() {
    return std::string(ORBISK_SOURCE_DIR) + "/samples/current.bbd";
}

// The clock the command-line runs of these tests are given with --now.
inline constexpr char kSampleNow[] = "18.03.2025 12:00";

struct SampleSession {
    RecordingPrompter prompter;
    FixedClock clock{EncodeDateTime(2025, 3, 18, 12, 0)};
    Session session{prompter, clock};
    bool opened = session.OpenDataFile(SamplePath()) == OpenResult::Opened;
};

}  // namespace orbisk::test
