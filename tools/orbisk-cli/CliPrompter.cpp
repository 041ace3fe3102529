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

void CliPrompter::Message(const std::string& text, MessageIcon, const std::string&) { Emit(text); }

bool CliPrompter::Ask(const std::string& text, QuestionButtons, MessageIcon, const std::string&) {
    Emit(text);
    return yes_;
}

void CliPrompter::Pause(int) {}

}  // namespace orbisk::cli
