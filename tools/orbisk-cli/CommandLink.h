#pragma once
// The reader link of the commands that talk to the reader (read, write): the port given on the
// command line, or the bit-level memory simulated behind a parallel port and filled from a data
// file; standard error for the messages.
#include <memory>
#include <string>
#include <vector>

#include "CliContext.h"
#include "app/Config.h"
#include "base/FileReplace.h"
#include "link/ReaderLink.h"
#include "link/sim/I2cMemoryModel.h"

namespace orbisk::cli {

// Status texts and progress belong to the desktop program's status bar; standard error carries
// the messages alone, one a line, as the command line promises. The status texts that close a
// search or a transfer (those after its last "searching" or "loading" notice) are kept, though:
// they are the only words for why no reader was found, which the window leaves in its status bar.
class CommandPrompter final : public ForwardingPrompter {
public:
    using ForwardingPrompter::ForwardingPrompter;
    void Message(const std::string& text, MessageIcon icon, const std::string& caption) override;
    void Status(int panel, const std::string& text) override;
    void Progress(int, int) override {}
    void ProcessMessages() override {}
    bool ShuttingDown() const override { return false; }

    // Shows the closing status texts as messages, but none that was just shown as one.
    void TellWhy();
    // Tells why first whenever `message` is shown.
    void TellWhyBefore(std::string message) { tellWhyBefore_ = std::move(message); }

private:
    std::vector<std::string> closing_;
    std::string lastMessage_;
    std::string tellWhyBefore_;
};

struct LinkArguments {
    std::string port;
    std::string simulate;  // MEMORY.bbd behind a simulated parallel port
    std::string trace;
};

// Takes --port, --simulate or --trace at args[i] (moving i past its value); false for any other.
bool TakeLinkArgument(const std::vector<std::string>& args, std::size_t& i, LinkArguments& a);

class CommandLink {
public:
    explicit CommandLink(CliContext& ctx);
    ~CommandLink();

    // Checks the arguments of `command` and makes the link: kExitDone, or the exit status of the
    // problem after its usage text or message. A command that changes the simulated memory holds
    // its file's update lock from reading it to storing it back, so that two of them on one file
    // take turns and neither loses the other's change.
    int Open(const std::string& command, const LinkArguments& arguments,
             bool changesMemory = false);

    ReaderLink& Link() { return *link_; }
    CommandPrompter& Prompter() { return prompter_; }
    // The simulated memory, when there is one.
    I2cMemoryModel* Simulation() { return model_.get(); }
    // Saves the bus trace asked for; false (told) when it cannot be written.
    bool SaveTrace();
    // Stores the simulated memory back into its file, with whatever followed the first 64 KB
    // there; false (told) when it cannot be written.
    bool StoreSimulation();

private:
    CliContext& ctx_;
    CommandPrompter prompter_;
    LinkArguments arguments_;
    std::unique_ptr<Config> config_;
    std::unique_ptr<FileUpdateLock> memoryLock_;
    std::string memoryTail_;  // the memory file's bytes after the image
    std::shared_ptr<I2cMemoryModel> model_;
    std::unique_ptr<ReaderLink> link_;
};

}  // namespace orbisk::cli
