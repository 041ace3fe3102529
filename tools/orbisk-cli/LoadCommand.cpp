#include "LoadCommand.h"

#include <charconv>

#include "app/Config.h"
#include "app/Locations.h"
#include "image/DataFile.h"
#include "image/Messages.h"

namespace orbisk::cli {

std::optional<int> ParseIntIn(const std::string& text, int lo, int hi) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto r = std::from_chars(text.data(), end, value);
    if (text.empty() || r.ec != std::errc() || r.ptr != end || value < lo || value > hi) {
        return std::nullopt;
    }
    return value;
}

int LoadImageForCommand(Session& session, const LoadOptions& options, CliContext& ctx,
                        bool* checksumOk) {
    // The view choices and the correction switch as the desktop program reads them at start-up.
    const Config config(Utf8ToPath(ctx.configPath), {});
    auto& choices = session.Model().choices;
    choices.rgLast = options.filter.value_or(config.CycleFilter());
    choices.rgStep = options.step.value_or(config.DistributionStep());
    session.SetDataCorrection(ctx.correctionSwitch || config.DataCorrection());

    Prompter& prompter = *ctx.prompter;
    RecorderImage& image = session.Image();
    if (!ReadDataFile(Utf8ToPath(options.file), image, prompter)) return kExitFailed;
    if (checksumOk) *checksumOk = image.ChecksumOk();
    if (!session.AcceptImage(msg::kBadChecksum)) return kExitFailed;

    if (!options.previous.empty()) {
        const auto previous = Utf8ToPath(options.previous);
        if (!HasDataFileExtension(previous)) {
            prompter.Message(msg::kWrongExtension, MessageIcon::Warning);
            return kExitFailed;
        }
        if (!session.CompareWithPrevious(previous)) return kExitFailed;
    }
    return kExitDone;
}

}  // namespace orbisk::cli
