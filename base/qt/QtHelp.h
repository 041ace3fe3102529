#pragma once
// Files handed to the system to open: the help document (the "Справка" command, F1 in the
// dialogs) and the written report pages. When nothing opens one, the person is told so with the
// file's full path, to open it by hand.
#include <QObject>
#include <QString>
#include <functional>

class QKeyEvent;
class QUrl;
class QWidget;

namespace orbisk {

// Hands `file` to the system's handler. `notOpened` runs when nothing opened it: no handler
// took it, or (with a SystemFileOpener installed) the opener it started failed, which is known
// only once the opener has ended.
void OpenWithSystem(const QString& file, std::function<void()> notOpened);

// The message about a file nothing opened, over `parent`.
void TellNotOpened(QWidget* parent, const QString& file);

// The help document opened over `parent`, which is told when nothing opens it.
void OpenHelpDocument(QWidget* parent, const QString& file);

// F1 in a dialog that knows the help document: opens it and takes the key.
bool HelpKeyPressed(QWidget* dialog, QKeyEvent* event, const QString& file);

// The handler of local files on desktops whose own opener says nothing of its failures: starts
// `program` (xdg-open) with the file and watches how it ends. Installed with
// QDesktopServices::setUrlHandler("file", opener, "Open").
class SystemFileOpener final : public QObject {
    Q_OBJECT
public:
    explicit SystemFileOpener(QString program, QObject* parent = nullptr)
        : QObject(parent), program_(std::move(program)) {}

public Q_SLOTS:
    void Open(const QUrl& url);

private:
    QString program_;
};

// Installs a SystemFileOpener for xdg-open where the system has it (Linux desktops).
void InstallSystemFileOpener(QObject* owner);

}  // namespace orbisk
