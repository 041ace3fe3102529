#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QTemporaryDir>

#include <cstdio>

#include "desktop/qt/QtApplicationSetUp.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen screen is 800 × 600 unless told otherwise; the windows are made for a laptop's
    // 1366 × 768 at the least, and a first start fits the main window to the screen.
    QTemporaryDir screens;
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen" && screens.isValid()) {
        QFile config(screens.filePath("screens.json"));
        if (config.open(QIODevice::WriteOnly)) {
            config.write(R"({"synchronousWindowSystemEvents": false, "windowFrameMargins": true,
                "screens": [{"name": "offscreen", "x": 0, "y": 0, "width": 1366, "height": 768,
                             "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
            config.close();
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toUtf8());
        }
    }
    QApplication app(argc, argv);
    // The windows as the program shows them: the toolkit's texts in Russian among other things.
    if (!orbisk::SetUpApplication(app, "1.0.0", QString())) {
        std::fprintf(stderr, "The toolkit's Russian translations are missing (%s)\n",
                     ORBISK_QT_TRANSLATION);
        return 1;
    }
    // The tests measure texts against their controls: with the font the set-up installs, not
    // whatever a machine happens to have.
    if (!QFontDatabase::families().contains(QStringLiteral(ORBISK_FONT_FAMILY))) {
        std::fprintf(stderr, "The font \"%s\" (%s) is not available to Qt\n", ORBISK_FONT_FAMILY,
                     ORBISK_FONT_FILE);
        return 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
