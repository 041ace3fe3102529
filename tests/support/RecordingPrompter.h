#pragma once
// A scripted Prompter for tests: records every message and question in order and answers the
// questions from a script (then with a default answer).
#include <deque>
#include <string>
#include <vector>

#include "app/Prompter.h"

namespace orbisk::testing {

class RecordingPrompter : public Prompter {
public:
    explicit RecordingPrompter(bool defaultAnswer = true) : defaultAnswer_(defaultAnswer) {}

    void Message(const std::string& text, MessageIcon icon, const std::string& caption) override {
        texts.push_back(text);
        icons.push_back(icon);
        captions.push_back(caption);
    }
    bool Ask(const std::string& text, QuestionButtons buttons, MessageIcon icon,
             const std::string& caption) override {
        texts.push_back(text);
        icons.push_back(icon);
        captions.push_back(caption);
        questionButtons.push_back(buttons);
        if (answers.empty()) return defaultAnswer_;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    void Status(int panel, const std::string& text) override {
        statuses.push_back(std::to_string(panel) + ":" + text);
    }
    void Progress(int position, int max) override { progress.push_back({position, max}); }
    void ProcessMessages() override { ++processed; }
    void Pause(int milliseconds) override { pauses.push_back(milliseconds); }
    bool ShuttingDown() const override { return shuttingDown; }

    void Clear() {
        texts.clear();
        icons.clear();
        captions.clear();
        questionButtons.clear();
        statuses.clear();
        progress.clear();
        pauses.clear();
    }

    std::deque<bool> answers;
    std::vector<std::string> texts;
    std::vector<MessageIcon> icons;
    std::vector<std::string> captions;
    std::vector<QuestionButtons> questionButtons;
    std::vector<std::string> statuses;
    std::vector<std::pair<int, int>> progress;
    std::vector<int> pauses;
    int processed = 0;
    bool shuttingDown = false;

private:
    bool defaultAnswer_;
};

}  // namespace orbisk::testing
