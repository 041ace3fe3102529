#include "ReadCommand.h"

#include <memory>

#include "CommandLink.h"
#include "Usage.h"
#include "app/Locations.h"
#include "image/DataFile.h"
#include "image/RecorderImage.h"
#include "link/LinkTexts.h"

namespace orbisk::cli {

int RunReadCommand(const std::vector<std::string>& args, CliContext& ctx) {
    LinkArguments linkArguments;
    std::string output;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (TakeLinkArgument(args, i, linkArguments)) continue;
        if (args[i] == "-o" && i + 1 < args.size()) {
            output = args[++i];
        } else {
            return Usage("read: unexpected argument: " + args[i]);
        }
    }
    if (linkArguments.port.empty() || output.empty()) {
        return Usage("read needs --port PORT and -o FILE");
    }
    CommandLink command(ctx);
    if (const int problem = command.Open("read", linkArguments); problem != kExitDone) {
        return problem;
    }
    ReaderLink& link = command.Link();
    CommandPrompter& prompter = command.Prompter();

    link.ConnectAt(linkArguments.port);
    auto image = std::make_unique<RecorderImage>();
    bool ok = (link.LptConnected() || link.UsbConnected()) &&
              link.ReadFromReader(0x0000, RecorderImage::Size(), image->Data());
    if (!ok) prompter.TellWhy();
    ok = ok &&
         (image->ChecksumOk() || prompter.Ask(linktext::kReaderChecksumQuestion,
                                              QuestionButtons::YesNo, MessageIcon::Question, {}));
    ok = command.SaveTrace() && ok;
    if (!ok) {
        prompter.Message(linktext::kNotSaved, MessageIcon::Warning, {});
        return kExitFailed;
    }
    if (const std::string error = WriteDataFile(Utf8ToPath(output), *image); !error.empty()) {
        prompter.Message(error, MessageIcon::Error, {});
        return kExitFailed;
    }
    return kExitDone;
}

}  // namespace orbisk::cli
