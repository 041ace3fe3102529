#pragma once
// The Prompter of the desktop program: modal message boxes with their icons and buttons, the
// status-bar panels and the progress bar of the main window.
#include <QPointer>
#include <QWidget>
#include <array>

#include "base/Prompter.h"

class QLabel;
class QProgressBar;

namespace orbisk {

class QtPrompter final : public Prompter {
public:
    explicit QtPrompter(QWidget* window) : window_(window) {}

    void SetStatusBar(const std::array<QLabel*, 4>& panels, QProgressBar* progress) {
        panels_ = panels;
        progress_ = progress;
    }
    void SetShuttingDown() { shuttingDown_ = true; }

    void Message(const std::string& text, MessageIcon icon, const std::string& caption) override;
    bool Ask(const std::string& text, QuestionButtons buttons, MessageIcon icon,
             const std::string& caption) override;
    void Status(int panel, const std::string& text) override;
    void Progress(int position, int max) override;
    void ProcessMessages() override;
    void Pause(int milliseconds) override;
    bool ShuttingDown() const override { return shuttingDown_; }

private:
    QPointer<QWidget> window_;
    std::array<QLabel*, 4> panels_{};
    QProgressBar* progress_ = nullptr;
    bool shuttingDown_ = false;
};

}  // namespace orbisk
