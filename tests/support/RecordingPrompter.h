#pragma once
// The tests' Prompter: records every message, question, status text, progress step and pause in
// order, answers the questions from a script (then with a default answer), and can act when the
// code under test processes window messages or asks.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "base/Prompter.h"

namespace orbisk::test {

struct MessageRecord {
    std::string text;
    MessageIcon icon;
    std::string caption;
};

class RecordingPrompter : public Prompter {
public:
    explicit RecordingPrompter(bool defaultAnswer = true) : defaultAnswer_(defaultAnswer) {}

    void Message(const std::string& text, MessageIcon icon, const std::string& caption) override {
        Record(text, icon, caption);
        messages.push_back({text, icon, caption});
        events.push_back("message:" + text);
        if (onMessage) onMessage();
    }
    bool Ask(const std::string& text, QuestionButtons buttons, MessageIcon icon,
             const std::string& caption) override {
        Record(text, icon, caption);
        questions.push_back(text);
        questionButtons.push_back(buttons);
        events.push_back("ask:" + text);
        if (onAsk) onAsk();
        if (answers.empty()) return defaultAnswer_;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    // Panel 0 is where the reader link reports; the other panels only reach `events`.
    void Status(int panel, const std::string& text) override {
        if (panel == 0) statuses.push_back(text);
        events.push_back("status:" + text);
    }
    void Progress(int position, int max) override { progress.emplace_back(position, max); }
    void ProcessMessages() override {
        ++processed;
        if (onProcessMessages) onProcessMessages();
    }
    void Pause(int milliseconds) override {
        pauses.push_back(milliseconds);
        events.push_back("pause:" + std::to_string(milliseconds));
    }
    bool ShuttingDown() const override { return shuttingDown; }

    std::string LastStatus() const { return statuses.empty() ? std::string() : statuses.back(); }

    void Clear() {
        texts.clear();
        icons.clear();
        captions.clear();
        messages.clear();
        questions.clear();
        questionButtons.clear();
        statuses.clear();
        progress.clear();
        pauses.clear();
        events.clear();
    }

    std::deque<bool> answers;
    std::vector<std::string> texts;  // messages and questions, in order
    std::vector<MessageIcon> icons;
    std::vector<std::string> captions;
    std::vector<MessageRecord> messages;  // messages only
    std::vector<std::string> questions;   // questions only
    std::vector<QuestionButtons> questionButtons;
    std::vector<std::string> statuses;  // panel 0
    std::vector<std::pair<int, int>> progress;
    std::vector<int> pauses;
    std::vector<std::string> events;
    int processed = 0;
    bool shuttingDown = false;
    std::function<void()> onProcessMessages;
    std::function<void()> onAsk;
    std::function<void()> onMessage;

private:
    void Record(const std::string& text, MessageIcon icon, const std::string& caption) {
        texts.push_back(text);
        icons.push_back(icon);
        captions.push_back(caption);
    }
    bool defaultAnswer_;
};

}  // namespace orbisk::test
