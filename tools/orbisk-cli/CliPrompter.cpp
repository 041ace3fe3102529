#include <iostream>

#include "CliContext.h"

namespace orbisk::cli {

void CliPrompter::Emit(const std::string& text) {
    messages_.push_back(text);
    // One line per message, so that scripts can count and match them.
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            line += "\\n";
        } else if (c != '\r') {
            line += c;
        }
    }
    std::cerr << line << '\n';
}

void CliPrompter::Message(const std::string& text, MessageIcon, const std::string&) {
    Emit(text);
}

// --yes stands for a person who agrees, not for one who agrees forever: a question that comes
// back a third time in a row (a check repeated until it succeeds) is answered No, so that the
// command ends.
bool CliPrompter::Ask(const std::string& text, QuestionButtons, MessageIcon, const std::string&) {
    constexpr std::size_t kYesInARow = 2;
    const std::size_t n = messages_.size();
    bool repeated = n >= kYesInARow;
    for (std::size_t i = 1; repeated && i <= kYesInARow; ++i) repeated = messages_[n - i] == text;
    Emit(text);
    return yes_ && !repeated;
}

void CliPrompter::Pause(int) {}

}  // namespace orbisk::cli
