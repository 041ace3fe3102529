#pragma once
// The help document: opened as a whole by the system's viewer, from the "Справка" command and
// from F1 in the dialogs. A missing document or viewer fails silently, as a shell open does.
#include <QDesktopServices>
#include <QKeyEvent>
#include <QString>
#include <QUrl>

namespace orbisk {

inline void OpenHelpDocument(const QString& file) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

// F1 in a dialog that knows the help document: opens it and takes the key.
inline bool HelpKeyPressed(QKeyEvent* event, const QString& file) {
    if (event->key() != Qt::Key_F1 || file.isEmpty()) return false;
    OpenHelpDocument(file);
    event->accept();
    return true;
}

}  // namespace orbisk
