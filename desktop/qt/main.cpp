// Start-up of the desktop program: one instance per user, the program's folder as the current
// directory, the main window with its command holder and the histogram window.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <exception>

#include "app/Locations.h"
#include "app/ProgramIdentity.h"
#include "base/qt/QtHelp.h"
#include "base/qt/QtHintTiming.h"
#include "base/qt/QtText.h"
#include "desktop/qt/Mainu.h"
#include "desktop/qt/QtApplicationSetUp.h"
#include "desktop/qt/QtSingleInstance.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    orbisk::SetUpApplication(app, ORBISK_VERSION, ORBISK_COMPANY);
    orbisk::InstallHintTiming(app);
    orbisk::InstallSystemFileOpener(&app);

    const QString exe = QCoreApplication::applicationFilePath();
    QDir::setCurrent(QFileInfo(exe).absolutePath());

    const QStringList args = QCoreApplication::arguments();
    QString file;
    if (args.size() > 1) file = QFileInfo(args.at(1)).absoluteFilePath();

    const QString instance = orbisk::InstanceName();
    if (orbisk::HandOverToRunningInstance(instance, file)) return 0;

    try {
        const orbisk::ProgramLocations locations =
            orbisk::LocateProgramFiles(orbisk::Utf8ToPath(orbisk::S(exe)));
        orbisk::TfMain fMain(locations);
        orbisk::SingleInstanceServer server(&fMain);
        server.Listen(instance);
        QObject::connect(&server, &orbisk::SingleInstanceServer::Activate, &fMain,
                         &orbisk::TfMain::ActivateWithFile);
        if (!file.isEmpty()) fMain.SetCommandLineFile(file);
        fMain.show();
        return QApplication::exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, orbisk::Q(orbisk::ui::kAppTitle),
                              QString::fromUtf8(e.what()));
        return 1;
    }
}
