#pragma once
// Everything a core procedure needs from the person in front of the program goes through this
// interface: message boxes, questions, status-bar texts, the progress bar, keeping the window
// alive during long work, fixed pauses and the question whether the program is closing. The
// desktop program implements it with real dialogs, the command-line tool with standard error
// and its --yes switch, and tests with a scripted fake that records every text.
#include <string>

namespace orbisk {

enum class MessageIcon { None, Information, Warning, Error, Question };

enum class QuestionButtons { YesNo, OkNo };

class Prompter {
public:
    virtual ~Prompter() = default;

    // A modal message box; caption empty means the application's title.
    virtual void Message(const std::string& text, MessageIcon icon = MessageIcon::None,
                         const std::string& caption = {}) = 0;

    // A modal confirmation; true for Yes (or OK), false for No.
    virtual bool Ask(const std::string& text, QuestionButtons buttons = QuestionButtons::YesNo,
                     MessageIcon icon = MessageIcon::Question, const std::string& caption = {}) = 0;

    // Text of a status-bar panel (0 to 3).
    virtual void Status(int panel, const std::string& text) { (void)panel, (void)text; }

    // The progress bar of the status bar: position in [0, max].
    virtual void Progress(int position, int max) { (void)position, (void)max; }

    // Lets the window process pending messages between blocks of long work.
    virtual void ProcessMessages() {}

    // A fixed pause of the given length.
    virtual void Pause(int milliseconds) { (void)milliseconds; }

    // True once the user has asked the program to close; long work stops at its next step.
    virtual bool ShuttingDown() const { return false; }
};

// Passes everything on to another prompter; a layer that adds to some of the calls derives from
// it and overrides only those.
class ForwardingPrompter : public Prompter {
public:
    explicit ForwardingPrompter(Prompter& inner) : inner_(inner) {}

    void Message(const std::string& text, MessageIcon icon, const std::string& caption) override {
        inner_.Message(text, icon, caption);
    }
    bool Ask(const std::string& text, QuestionButtons buttons, MessageIcon icon,
             const std::string& caption) override {
        return inner_.Ask(text, buttons, icon, caption);
    }
    void Status(int panel, const std::string& text) override { inner_.Status(panel, text); }
    void Progress(int position, int max) override { inner_.Progress(position, max); }
    void ProcessMessages() override { inner_.ProcessMessages(); }
    void Pause(int milliseconds) override { inner_.Pause(milliseconds); }
    bool ShuttingDown() const override { return inner_.ShuttingDown(); }

protected:
    Prompter& Inner() const { return inner_; }

private:
    Prompter& inner_;
};

}  // namespace orbisk
