#include "desktop/qt/MainuReader.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QStatusBar>
#include <algorithm>
#include <array>

#include "base/qt/QtPrompter.h"
#include "base/qt/QtText.h"
#include "desktop/qt/Datau.h"
#include "link/qt/DesktopSerialLine.h"
#include "link/qt/Selectpsi.h"

namespace orbisk {

// The link's side of the window: panel 0 and the progress bar show what the link reports, the
// window processes its events between blocks, and questions, messages and pauses go to the
// window's prompter. A closing window skips the remaining pauses (nobody reads the texts any
// more) and tells the link to stop.
class MainReader::StatusBarPrompter final : public ForwardingPrompter {
public:
    StatusBarPrompter(MainReader& owner, Prompter& inner)
        : ForwardingPrompter(inner),
          owner_(owner),
          innerIsWindow_(dynamic_cast<QtPrompter*>(&inner)) {}

    void Status(int panel, const std::string& text) override {
        if (panel == 0 && owner_.statusPanel_) {
            owner_.statusPanel_->setText(Q(text));
            owner_.statusPanel_->setToolTip(QString());
        }
        if (!innerIsWindow_ || panel != 0) Inner().Status(panel, text);
    }
    void Progress(int position, int max) override {
        if (QProgressBar* bar = owner_.progress_) {
            // A maximum of zero would turn the bar into a busy indicator; resetting the position
            // keeps the last range.
            if (max > 0) bar->setMaximum(max);
            bar->setValue(std::min(position, bar->maximum()));
        }
        if (!innerIsWindow_) Inner().Progress(position, max);
    }
    void ProcessMessages() override {
        QCoreApplication::processEvents();
        if (!innerIsWindow_) Inner().ProcessMessages();
    }
    void Pause(int milliseconds) override {
        if (!owner_.closing_) Inner().Pause(milliseconds);
    }
    bool ShuttingDown() const override { return owner_.closing_ || Inner().ShuttingDown(); }

private:
    MainReader& owner_;
    bool innerIsWindow_;
};

// A TfSelectPSI for each question, none once the window is closing.
class MainReader::WindowDialog final : public ConnectionDialog {
public:
    explicit WindowDialog(MainReader& owner) : owner_(owner) {}
    std::optional<ConnectionChoice> Choose() override {
        if (owner_.closing_) return std::nullopt;
        if (owner_.dialogOverride_) return owner_.dialogOverride_->Choose();
        SelectPsiConnection dialog(owner_.parts_.window, owner_.parts_.helpFile);
        return dialog.Choose();
    }

private:
    MainReader& owner_;
};

MainReader::MainReader(Prompter& prompter, Config& config, WindowParts parts)
    : prompter_(prompter),
      config_(config),
      parts_(std::move(parts)),
      statusPanel_(parts_.statusPanel),
      progress_(parts_.progress),
      linkPrompter_(std::make_unique<StatusBarPrompter>(*this, prompter)),
      dialog_(std::make_unique<WindowDialog>(*this)) {
    MakeLink();
}

MainReader::~MainReader() = default;

Prompter& MainReader::LinkPrompter() {
    return *linkPrompter_;
}

bool MainReader::MakeLink(ReaderLink::Options options) {
    if (busy_) return false;
    link_.reset();  // the old link closes its port first
    link_ = std::make_unique<ReaderLink>(*linkPrompter_, config_, MakeDesktopSerialLine(),
                                         std::move(options));
    link_->SetConnectionDialog(dialog_.get());
    QPointer<TDataModule1> commands = parts_.commands;
    link_->SetLoadCommandEnabler([commands](bool on) {
        if (commands) commands->GetFromCopyr->setEnabled(on);
    });
    return true;
}

bool MainReader::Run(const std::function<bool(ReaderLink&)>& work) {
    if (busy_ || closing_ || !link_) return false;
    // The commands that would start another transfer or change the image under it, with the
    // states they had.
    std::array<QPointer<QAction>, 4> held{};
    std::array<bool, 4> wasEnabled{};
    if (TDataModule1* c = parts_.commands) {
        held = {c->GetFromCopyr, c->GetFromFile, c->SaveData, c->OpenPrev};
    }
    for (std::size_t i = 0; i < held.size(); ++i) {
        if (!held[i]) continue;
        wasEnabled[i] = held[i]->isEnabled();
        held[i]->setEnabled(false);
    }
    busy_ = true;
    // A tip shown from the button that started the transfer would keep the panels hidden.
    if (auto* main = qobject_cast<QMainWindow*>(parts_.window)) main->statusBar()->clearMessage();
    struct Finish {
        MainReader& self;
        std::array<QPointer<QAction>, 4>& held;
        std::array<bool, 4>& wasEnabled;
        ~Finish() {
            self.busy_ = false;
            for (std::size_t i = 0; i < held.size(); ++i) {
                if (held[i]) held[i]->setEnabled(wasEnabled[i]);
            }
            if (self.closing_) self.link_.reset();
        }
    } finish{*this, held, wasEnabled};
    return work(*link_);
}

bool MainReader::Load(RecorderImage& image) {
    const bool loaded = Run([&image](ReaderLink& link) { return link.LoadFromReader(image); });
    return loaded && !closing_;
}

void MainReader::WindowClosing() {
    closing_ = true;
    if (!busy_) link_.reset();
}

}  // namespace orbisk
