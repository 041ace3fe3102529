#pragma once
// The main window's side of the reader link: the window's one ReaderLink, made with the window on
// the machine's serial ports and parallel-port access and released when the window closes; the
// link's texts and progress shown in the window's status bar; the connection dialog; and the
// rule that only one reader operation runs at a time.
//
// Transfers run on the user-interface thread and let the window process its events between
// blocks. While one runs, the commands that would change the image or start another transfer
// ("Загрузить", "Открыть", "Сохранить", "Начало отчета") are off, and closing the window stops a
// read at its next block; the link is released only when nothing uses it any more.
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

#include "app/Config.h"
#include "base/Prompter.h"
#include "image/RecorderImage.h"
#include "link/ReaderLink.h"

class QLabel;
class QProgressBar;
class QWidget;

namespace orbisk {

class TDataModule1;

class MainReader {
public:
    struct WindowParts {
        QWidget* window = nullptr;
        QLabel* statusPanel = nullptr;  // panel 0 of the status bar
        QProgressBar* progress = nullptr;
        TDataModule1* commands = nullptr;
        QString helpFile;  // opened by F1 in the connection dialog
    };

    MainReader(Prompter& prompter, Config& config, WindowParts parts);
    ~MainReader();
    MainReader(const MainReader&) = delete;
    MainReader& operator=(const MainReader&) = delete;

    // Makes the link anew: the default options use the machine's serial ports and its real
    // parallel-port access; tests give a simulated parallel port and no bus delay. Refused while
    // an operation runs.
    bool MakeLink(ReaderLink::Options options = {});
    // The link, nothing after the window has closed.
    ReaderLink* Link() { return link_.get(); }
    // Replaces TfSelectPSI as the connection dialog (tests); nullptr brings it back.
    void SetConnectionDialog(ConnectionDialog* dialog) { dialogOverride_ = dialog; }
    // What the link's procedures talk to: the status bar and progress bar of the window, the
    // window's message boxes and pauses. Writes to the reader pause through it as well.
    Prompter& LinkPrompter();

    // Runs one reader operation with the link: false without running it when another one is
    // still running or the window is closing; otherwise what `work` returns.
    bool Run(const std::function<bool(ReaderLink&)>& work);
    // "Загрузить" and "Сохранить": LoadFromReader into `image`. False: no image to use.
    bool Load(RecorderImage& image);
    bool Busy() const { return busy_; }

    // The main window closes: a read stops at its next block without a message, no connection
    // dialog or pause follows, and the link is released as soon as nothing uses it.
    void WindowClosing();
    bool Closing() const { return closing_; }

private:
    class StatusBarPrompter;
    class WindowDialog;

    Prompter& prompter_;
    Config& config_;
    WindowParts parts_;
    QPointer<QLabel> statusPanel_;
    QPointer<QProgressBar> progress_;
    std::unique_ptr<StatusBarPrompter> linkPrompter_;
    std::unique_ptr<WindowDialog> dialog_;
    ConnectionDialog* dialogOverride_ = nullptr;
    std::unique_ptr<ReaderLink> link_;
    bool busy_ = false;
    bool closing_ = false;
};

}  // namespace orbisk
