#pragma once
// What every command of orbisk-cli gets from the common options.
#include <string>
#include <vector>

#include "base/Clock.h"
#include "base/Prompter.h"

namespace orbisk::cli {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// The exit status once standard output has been flushed: a command that could not write all its
// output there has failed (told once on standard error) whatever it returned.
int FinishStandardOutput(int exitCode);

// Answers every question with the --yes switch (a question asked a third time in a row gets No,
// so a repeated check cannot loop for ever), prints every message and question to standard
// error (one line each, line breaks inside a text written as "\n") and keeps them in order.
class CliPrompter final : public Prompter {
public:
    explicit CliPrompter(bool yes) : yes_(yes) {}
    void Message(const std::string& text, MessageIcon icon, const std::string& caption) override;
    bool Ask(const std::string& text, QuestionButtons buttons, MessageIcon icon,
             const std::string& caption) override;
    void Pause(int milliseconds) override;
    const std::vector<std::string>& Messages() const { return messages_; }

private:
    void Emit(const std::string& text);
    bool yes_;
    std::vector<std::string> messages_;
};

struct CliContext {
    std::string configPath;  // the INI file to use
    bool yes = false;
    bool correctionSwitch = false;  // --correction given
    CliPrompter* prompter = nullptr;
    const Clock* clock = nullptr;
};

}  // namespace orbisk::cli
