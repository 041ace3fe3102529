#pragma once
// Opening an image for a command the way the desktop program does: the file as "Открыть" opens
// it, then, when a previous check is named, the comparison as "Начало отчета" runs it.
#include <optional>
#include <string>

#include "CliContext.h"
#include "image/Session.h"

namespace orbisk::cli {

struct LoadOptions {
    std::string file;
    std::string previous;           // empty: no comparison
    std::optional<int> filter;      // else the INI value
    std::optional<int> step;        // else the INI value
};

// Returns kExitDone when the image is open (and reduced, with a previous check), else
// kExitFailed after the messages. checksumOk tells whether FILE passed the image checksum.
int LoadImageForCommand(Session& session, const LoadOptions& options, CliContext& ctx,
                        bool* checksumOk = nullptr);

// Parses a whole decimal number within [lo, hi].
std::optional<int> ParseIntIn(const std::string& text, int lo, int hi);

}  // namespace orbisk::cli
