#pragma once
// What the program tells the toolkit before its first window: its name, version and company,
// numbers written with '.', and the toolkit's own texts in Russian. The window tests set up the
// toolkit the same way.
#include <QString>

class QApplication;

namespace orbisk {

// False when the toolkit's Russian translations were not found.
bool SetUpApplication(QApplication& app, const QString& version, const QString& company);

}  // namespace orbisk
