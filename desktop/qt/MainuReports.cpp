// The report command of the main window: the core asks its question through an input dialog,
// builds the document with the specialist from the register dialog and writes the page into the
// private temporary folder; the window hands the page to the system's browser and says so when
// nothing opens it.
#include "base/qt/QtHelp.h"
#include "base/qt/QtText.h"
#include "desktop/qt/Mainu.h"
#include "image/Session.h"
#include "reports/BuildReport.h"
#include "reports/ReportTexts.h"
#include "reports/qt/QtReportQuestions.h"
#include "reports/qt/Specu.h"

namespace orbisk {

void TfMain::ReportExecute(int kind) {
    QtReportQuestions questions(this);
    DialogSpecialist specialist(this, config_, HelpFile());
    ReportEnvironment environment{*prompter_, questions, specialist,
                                  std::string(report::kApplicationTitle)};
    if (reportFolder_) environment.reportFolder = reportFolder_;
    const auto page = BuildReport(kind, session_->Model(), environment);
    if (!page) return;
    const QString path = Q(PathToUtf8(*page));
    if (pageOpener_) {
        pageOpener_(path);
    } else {
        OpenWithSystem(path, NotOpenedTeller(path));
    }
}

}  // namespace orbisk
