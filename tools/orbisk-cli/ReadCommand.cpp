#include "ReadCommand.h"

#include <iostream>
#include <memory>

#include "app/AppTexts.h"
#include "app/Config.h"
#include "image/DataFile.h"
#include "image/RecorderImage.h"
#include "link/sim/I2cMemoryModel.h"
#include "link/LinkTexts.h"
#include "link/ReaderLink.h"
#include "link/SerialPorts.h"
#ifndef _WIN32
#include "link/PosixSerialLine.h"
#endif

namespace orbisk::cli {

int Usage(const std::string& problem);

namespace {

// Status texts and progress belong to the desktop program's status bar; standard error carries
// the messages alone, one a line, as the command line promises. The status texts that close a
// search or a transfer (those after its last "searching" or "loading" notice) are kept, though:
// they are the only words for why no reader was found, which the window leaves in its status bar.
class MessagesOnlyPrompter final : public ForwardingPrompter {
public:
    using ForwardingPrompter::ForwardingPrompter;
    void Message(const std::string& text, MessageIcon icon, const std::string& caption) override {
        lastMessage_ = text;
        ForwardingPrompter::Message(text, icon, caption);
    }
    void Status(int panel, const std::string& text) override {
        if (panel != 0) return;
        if (IsProgressNotice(text)) {
            closing_.clear();
        } else {
            closing_.push_back(text);
        }
    }
    void Progress(int, int) override {}
    void ProcessMessages() override {}
    bool ShuttingDown() const override { return false; }

    // Shows the closing status texts as messages, but none that was just shown as one.
    void TellWhy() {
        for (const std::string& text : closing_) {
            if (text != lastMessage_) Message(text, MessageIcon::Warning, {});
        }
        closing_.clear();
    }

private:
    static bool IsProgressNotice(const std::string& text) {
        return text.starts_with(linktext::kSearchAdapterPrefix) ||
               text.starts_with(linktext::kLptSearchPrefix) || text == linktext::kLoading;
    }

    std::vector<std::string> closing_;
    std::string lastMessage_;
};

}  // namespace

int RunReadCommand(const std::vector<std::string>& args, CliContext& ctx) {
    std::string port, output, trace, simulate;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--port" && hasValue) {
            port = args[++i];
        } else if (a == "-o" && hasValue) {
            output = args[++i];
        } else if (a == "--trace" && hasValue) {
            trace = args[++i];
        } else if (a == "--simulate" && hasValue) {
            simulate = args[++i];
        } else {
            return Usage("read: unexpected argument: " + a);
        }
    }
    if (port.empty() || output.empty()) return Usage("read needs --port PORT and -o FILE");
    const bool serial = IsSerialPortName(port);
    if (!serial && !ParseBaseAddress(port)) {
        return Usage("read: " + port +
                     " is no port: a serial port (COMn or a device path) or a parallel port's "
                     "base address up to 0xFFFF (888, 0x378)");
    }
    if (!simulate.empty() && serial) {
        return Usage("read: --simulate is for a parallel port; for the adapter run orbisk-sim");
    }
    if (!trace.empty() && simulate.empty()) {
        return Usage("read: --trace needs the simulated parallel port (--simulate DATA.bbd)");
    }

    MessagesOnlyPrompter prompter(*ctx.prompter);
    Config config(ctx.configPath, std::filesystem::path());
    ReaderLink::Options options;
    std::shared_ptr<I2cMemoryModel> model;
    if (!simulate.empty()) {
        RecorderImage source;
        if (!ReadDataFile(simulate, source, prompter)) return kExitFailed;
        const auto parsed = ParseBaseAddress(port);
        if (!parsed) return Usage("read: a parallel port is given by its base address (0x378)");
        model = std::make_shared<I2cMemoryModel>();
        std::copy(source.Data(), source.Data() + RecorderImage::Size(), model->Memory().begin());
        if (!trace.empty()) model->StartTrace();
        // The simulated port sits at the address asked for; a wrong one finds nothing there.
        const std::uint16_t base = *parsed;
        options.portAccess = [model, base] {
            return std::make_unique<SimulatedParallelPort>(model, base);
        };
        // A simulated bus needs no bit timing and no settling or hold times.
        options.delayCount = 0;
        options.busSleep = TI2C::NoSleep;
    }
#ifdef _WIN32
    std::unique_ptr<SerialLine> line;  // the command line tool has no serial line on Windows
    if (serial) return Usage("read: serial ports are not supported by this build");
#else
    std::unique_ptr<SerialLine> line = std::make_unique<PosixSerialLine>();
#endif
    ReaderLink link(prompter, config, std::move(line), options);

    link.ConnectAt(port);
    auto image = std::make_unique<RecorderImage>();
    bool ok = (link.LptConnected() || link.UsbConnected()) &&
              link.ReadFromReader(0x0000, RecorderImage::Size(), image->Data());
    if (!ok) prompter.TellWhy();
    ok = ok &&
         (image->ChecksumOk() || prompter.Ask(linktext::kReaderChecksumQuestion,
                                              QuestionButtons::YesNo, MessageIcon::Question, {}));
    if (model && !trace.empty() && !model->SaveTrace(trace)) {
        std::cerr << "orbisk-cli: cannot write " << trace << '\n';
        ok = false;
    }
    if (!ok) {
        prompter.Message(ui::kNotSaved, MessageIcon::Warning, {});
        return kExitFailed;
    }
    if (const std::string error = WriteDataFile(output, *image); !error.empty()) {
        prompter.Message(error, MessageIcon::Error, {});
        return kExitFailed;
    }
    return kExitDone;
}

}  // namespace orbisk::cli
