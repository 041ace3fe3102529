#include "CommandLink.h"

#include <fstream>
#include <iostream>
#include <iterator>

#include "Usage.h"

#include "app/Locations.h"
#include "image/DataFile.h"
#include "link/LinkTexts.h"
#include "link/SerialPorts.h"
#ifdef _WIN32
#include "link/Win32SerialLine.h"
#else
#include "link/PosixSerialLine.h"
#endif

namespace orbisk::cli {

namespace {

bool IsProgressNotice(const std::string& text) {
    return text.starts_with(linktext::kSearchAdapterPrefix) ||
           text.starts_with(linktext::kLptSearchPrefix) || text == linktext::kLoading ||
           text == linktext::kWriting;
}

}  // namespace

void CommandPrompter::Message(const std::string& text, MessageIcon icon,
                              const std::string& caption) {
    if (!tellWhyBefore_.empty() && text == tellWhyBefore_) TellWhy();
    lastMessage_ = text;
    ForwardingPrompter::Message(text, icon, caption);
}

void CommandPrompter::Status(int panel, const std::string& text) {
    if (panel != 0) return;
    if (IsProgressNotice(text)) {
        closing_.clear();
    } else {
        closing_.push_back(text);
    }
}

void CommandPrompter::TellWhy() {
    for (const std::string& text : closing_) {
        if (text != lastMessage_) Message(text, MessageIcon::Warning, {});
    }
    closing_.clear();
}

bool TakeLinkArgument(const std::vector<std::string>& args, std::size_t& i, LinkArguments& a) {
    if (i + 1 >= args.size()) return false;
    std::string* target = args[i] == "--port"       ? &a.port
                          : args[i] == "--simulate" ? &a.simulate
                          : args[i] == "--trace"    ? &a.trace
                                                    : nullptr;
    if (!target) return false;
    *target = args[++i];
    return true;
}

CommandLink::CommandLink(CliContext& ctx) : ctx_(ctx), prompter_(*ctx.prompter) {}

CommandLink::~CommandLink() = default;

int CommandLink::Open(const std::string& command, const LinkArguments& a, bool changesMemory) {
    arguments_ = a;
    const std::string& port = a.port;
    const bool serial = IsSerialPortName(port);
    if (!serial && !ParseBaseAddress(port)) {
        return Usage(command + ": " + port +
                     " is no port: a serial port (COMn or a device path) or a parallel port's "
                     "base address up to 0xFFFF (888, 0x378)");
    }
    if (!a.simulate.empty() && serial) {
        return Usage(command +
                     ": --simulate is for a parallel port; for the adapter run orbisk-sim");
    }
    if (!a.trace.empty() && a.simulate.empty()) {
        return Usage(command + ": --trace needs the simulated parallel port (--simulate DATA.bbd)");
    }

    config_ = std::make_unique<Config>(Utf8ToPath(ctx_.configPath), std::filesystem::path());
    ReaderLink::Options options;
    if (!a.simulate.empty()) {
        const auto memoryFile = Utf8ToPath(a.simulate);
        if (changesMemory) {
            memoryLock_ = std::make_unique<FileUpdateLock>(memoryFile, std::chrono::minutes(1));
            if (!memoryLock_->Held()) {
                std::cerr << "orbisk-cli: " << a.simulate
                          << " is being changed by another program and stays as it is\n";
                return kExitFailed;
            }
        }
        RecorderImage source;
        if (!ReadDataFile(memoryFile, source, prompter_)) return kExitFailed;
        if (changesMemory) {
            std::ifstream in(memoryFile, std::ios::binary);
            in.seekg(static_cast<std::streamoff>(RecorderImage::Size()));
            memoryTail_.assign(std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>());
        }
        model_ = std::make_shared<I2cMemoryModel>();
        std::copy(source.Data(), source.Data() + RecorderImage::Size(), model_->Memory().begin());
        if (!a.trace.empty()) model_->StartTrace();
        // The simulated port sits at the address asked for; a wrong one finds nothing there.
        const std::uint16_t base = *ParseBaseAddress(port);
        auto model = model_;
        options.portAccess = [model, base] {
            return std::make_unique<SimulatedParallelPort>(model, base);
        };
        // A simulated bus needs no bit timing and no settling or hold times.
        options.delayCount = 0;
        options.busSleep = TI2C::NoSleep;
    }
#ifdef _WIN32
    std::unique_ptr<SerialLine> line = std::make_unique<Win32SerialLine>();
#else
    std::unique_ptr<SerialLine> line = std::make_unique<PosixSerialLine>();
#endif
    link_ = std::make_unique<ReaderLink>(prompter_, *config_, std::move(line), options);
    return kExitDone;
}

bool CommandLink::StoreSimulation() {
    RecorderImage memory;
    std::copy(model_->Memory().begin(), model_->Memory().end(), memory.Data());
    const std::string error = WriteDataFile(Utf8ToPath(arguments_.simulate), memory, memoryTail_);
    if (!error.empty()) prompter_.Message(error, MessageIcon::Error, {});
    return error.empty();
}

bool CommandLink::SaveTrace() {
    if (!model_ || arguments_.trace.empty() || model_->SaveTrace(Utf8ToPath(arguments_.trace)))
        return true;
    std::cerr << "orbisk-cli: cannot write " << arguments_.trace << '\n';
    return false;
}

}  // namespace orbisk::cli
