#include "base/qt/QtHelp.h"

#include <QDesktopServices>
#include <QDir>
#include <QKeyEvent>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QWidget>
#include <memory>

#include "base/qt/QtCaptions.h"
#include "base/qt/QtPrompter.h"
#include "base/qt/QtText.h"

namespace orbisk {

namespace {

// The failure handler of the file being handed over: the URL handler runs inside openUrl, and
// takes it from here to watch its opener.
std::function<void()>& PendingFailure() {
    static std::function<void()> pending;
    return pending;
}

}  // namespace

void OpenWithSystem(const QString& file, std::function<void()> notOpened) {
    PendingFailure() = std::move(notOpened);
    const bool handed = QDesktopServices::openUrl(QUrl::fromLocalFile(file));
    const std::function<void()> failed = std::move(PendingFailure());
    PendingFailure() = nullptr;
    if (!handed && failed) failed();
}

void TellNotOpened(QWidget* parent, const QString& file) {
    QtPrompter(parent).Message(ui::NotOpenedText(S(QDir::toNativeSeparators(file))),
                               MessageIcon::Warning, {});
}

void OpenHelpDocument(QWidget* parent, const QString& file) {
    QPointer<QWidget> over(parent);
    OpenWithSystem(file, [over, file] { TellNotOpened(over, file); });
}

bool HelpKeyPressed(QWidget* dialog, QKeyEvent* event, const QString& file) {
    if (event->key() != Qt::Key_F1 || file.isEmpty()) return false;
    OpenHelpDocument(dialog, file);
    event->accept();
    return true;
}

void SystemFileOpener::Open(const QUrl& url) {
    std::function<void()> failed = std::move(PendingFailure());
    PendingFailure() = nullptr;
    auto* opener = new QProcess(this);
    // The first of the two signals that end the opener tells; the other finds nothing to do.
    auto once = std::make_shared<std::function<void()>>(std::move(failed));
    const auto fail = [once] {
        if (*once) (*once)();
        *once = nullptr;
    };
    connect(opener, &QProcess::errorOccurred, this, [opener, fail](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        fail();
        opener->deleteLater();
    });
    connect(opener, &QProcess::finished, this,
            [opener, fail](int code, QProcess::ExitStatus status) {
                if (status != QProcess::NormalExit || code != 0) fail();
                opener->deleteLater();
            });
    opener->start(program_, {url.isLocalFile() ? url.toLocalFile() : url.toString()});
}

void InstallSystemFileOpener(QObject* owner) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QString program = QStandardPaths::findExecutable("xdg-open");
    if (program.isEmpty()) return;
    QDesktopServices::setUrlHandler("file", new SystemFileOpener(program, owner), "Open");
#else
    (void)owner;
#endif
}

}  // namespace orbisk
