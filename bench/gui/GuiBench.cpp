// Timing of what a user waits for in the desktop program, and the pictures of its windows.
//   orbisk-gui-bench [--runs N] [--previous FILE] SAMPLE
//                                              start to a shown filled window; open and refill;
//                                              a double-click on a cycle to its painted chart;
//                                              the comparison with the previous check (FILE,
//                                              or previous.bbd beside SAMPLE)
//   orbisk-gui-bench --screenshots DIR SAMPLE  PNGs of the four pages (and the two editing ones in
//                                              edit mode), the dialogs, the chart, the histogram
#include <QAbstractButton>
#include <QApplication>
#include <QCategoryAxis>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/Locations.h"
#include "base/qt/QtDialogs.h"
#include "base/qt/QtPrompter.h"
#include "base/qt/QtText.h"
#include "desktop/qt/Datau.h"
#include "desktop/qt/HistoryWindow.h"
#include "desktop/qt/Mainu.h"
#include "desktop/qt/QtApplicationSetUp.h"
#include "desktop/qt/QtArchive.h"
#include "edit/qt/Normiru.h"
#include "edit/qt/Regimyu.h"
#include "link/qt/Selectpsi.h"
#include "reports/qt/Specu.h"
#include "views/qt/Gistu.h"
#include "views/qt/Opformu.h"

namespace {

using orbisk::TfMain;

// Times a double-click on a listed cycle up to the end of the first paint of its chart, then
// closes the chart. The chart is modal: everything happens inside the double-click.
class ChartOpening final : public QObject {
public:
    double Measure(QTreeWidget* list, QTreeWidgetItem* row) {
        painted_ = -1;
        qApp->installEventFilter(this);
        timer_.start();
        Q_EMIT list->itemDoubleClicked(row, 0);
        qApp->removeEventFilter(this);
        return painted_;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint || painting_ || painted_ >= 0) return false;
        auto* viewport = qobject_cast<QWidget*>(watched);
        QWidget* view = viewport ? viewport->parentWidget() : nullptr;
        if (!view || view->objectName() != "ChartOperView") return false;
        painting_ = true;
        QApplication::sendEvent(watched, event);
        painting_ = false;
        painted_ = static_cast<double>(timer_.nsecsElapsed()) / 1e6;
        QTimer::singleShot(0, view->window(), &QWidget::close);
        return true;
    }

private:
    QElapsedTimer timer_;
    bool painting_ = false;
    double painted_ = -1;
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double Ms(const QElapsedTimer& t) {
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

void Settle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

bool Save(QWidget* w, const QString& dir, const char* name) {
    const QString path = QDir(dir).filePath(QString::fromLatin1(name) + ".png");
    const bool ok = w->grab().save(path, "PNG");
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", path.toUtf8().constData());
    return ok;
}

int Screenshots(TfMain& w, const QString& dir, const QString& sample) {
    QDir().mkpath(dir);
    auto* pages = w.findChild<QTabWidget*>("PageControl1");
    const char* names[] = {"main-identification", "main-longterm", "main-operational",
                           "main-settings"};
    bool ok = true;
    for (int i = 0; i < 4; ++i) {
        pages->setCurrentIndex(i);
        Settle();
        // The pictures show the window at rest, not the tip of whatever the pointer is over.
        w.statusBar()->clearMessage();
        Settle();
        ok = Save(&w, dir, names[i]) && ok;
    }
    // Both editing pages in edit mode, and the dialogs of the settings page's lists.
    const std::pair<int, const char*> editing[] = {{0, "chbEditPKR"}, {3, "chbEditLevel"}};
    const char* editNames[] = {"main-identification-edit", "main-settings-edit"};
    for (int e = 0; e < 2; ++e) {
        pages->setCurrentIndex(editing[e].first);
        w.findChild<QAbstractButton*>(editing[e].second)->click();
        Settle();
        w.statusBar()->clearMessage();
        Settle();
        ok = Save(&w, dir, editNames[e]) && ok;
    }
    orbisk::QtPrompter quiet(&w);
    {
        orbisk::TfNormir normir(&w, w.GetSession().Model(), quiet);
        normir.show();
        Settle();
        ok = Save(&normir, dir, "dialog-normir") && ok;
    }
    {
        orbisk::TfRegimy regimy(&w, w.GetSession().Model());
        regimy.show();
        Settle();
        ok = Save(&regimy, dir, "dialog-regimy") && ok;
    }
    for (const char* box : {"chbEditPKR", "chbEditLevel"}) {
        w.findChild<QAbstractButton*>(box)->click();
    }
    {
        orbisk::TfSelectPSI select(&w);
        select.show();
        Settle();
        ok = Save(&select, dir, "dialog-select-psi") && ok;
        orbisk::TfSpec specialists(&w, w.GetConfig());
        specialists.show();
        Settle();
        ok = Save(&specialists, dir, "dialog-specialists") && ok;
    }
    pages->setCurrentIndex(0);

    auto* hist = &w.Gistogram();
    hist->show();
    // The crane and winch 1 together, as an inspector compares them.
    if (auto* leb1 = hist->findChild<QAbstractButton*>("chbLeb1")) leb1->click();
    Settle();
    ok = Save(hist, dir, "histogram") && ok;
    hist->hide();

    auto* last = w.findChild<QTreeWidget*>("lvLast");
    const auto& rows = w.GetSession().Model().cycles;
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        if (!rows[i].hasFrame) continue;
        last->setCurrentItem(last->topLevelItem(i));
        orbisk::TfOper oper(&w, w.GetSession(), last, rows[i].frameOffset);
        oper.show();
        Settle();
        ok = Save(&oper, dir, "cycle-chart") && ok;
        // Zoomed in: the time labels from a minute down, the value marks from twenty seconds.
        oper.TimeAxis()->setRange(0, 60);
        Settle();
        ok = Save(&oper, dir, "cycle-chart-minute") && ok;
        oper.TimeAxis()->setRange(50, 70);
        Settle();
        ok = Save(&oper, dir, "cycle-chart-zoom") && ok;
        break;
    }

    // The crane's history from the archive, with the sample's earlier check beside it.
    const QString previous = QFileInfo(sample).dir().filePath("previous.bbd");
    if (QFileInfo::exists(previous) && previous != sample) {
        w.OpenDataFileCommand(previous);
        w.OpenDataFileCommand(sample);
    }
    if (const auto checks = w.Archive().History(w.GetSession())) {
        orbisk::TfHistory history(*checks, orbisk::SystemClock().Now(), &w);
        history.show();
        Settle();
        ok = Save(&history, dir, "crane-history") && ok;
    }
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    QElapsedTimer start;
    start.start();
    QApplication app(argc, argv);
    // The toolkit as the program sets it up: the pictures show what a person sees.
    orbisk::SetUpApplication(app, "1.0.0", {});
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    QString shots;
    QString previous;
    int runs = 30;
    while (args.size() > 1) {
        if (args.first() == "--screenshots") {
            args.removeFirst();
            shots = args.takeFirst();
        } else if (args.first() == "--previous") {
            args.removeFirst();
            previous = QFileInfo(args.takeFirst()).absoluteFilePath();
        } else if (args.first() == "--runs") {
            args.removeFirst();
            runs = args.takeFirst().toInt();
        } else {
            break;
        }
    }
    if (args.size() != 1) {
        std::fprintf(stderr,
                     "usage: orbisk-gui-bench [--runs N] [--previous FILE] [--screenshots DIR] "
                     "SAMPLE\n");
        return 2;
    }
    const QString sample = QFileInfo(args.first()).absoluteFilePath();
    if (previous.isEmpty()) previous = QFileInfo(sample).dir().filePath("previous.bbd");

    // A private configuration, so that measuring never touches the user's settings.
    QTemporaryDir config;
    orbisk::ProgramLocations locations;
    locations.programFolder = orbisk::Utf8ToPath(orbisk::S(config.path()));
    locations.iniPath = orbisk::Utf8ToPath(orbisk::S(config.filePath("orbisk.ini")));
    locations.dataFolder = orbisk::Utf8ToPath(orbisk::S(config.filePath("data")));

    TfMain w(locations);
    w.SetCommandLineFile(sample);
    w.resize(1100, 760);
    w.show();
    Settle();
    const double startup = Ms(start);
    if (!shots.isEmpty()) return Screenshots(w, shots, sample);

    std::vector<double> open, steps, filters, charts, comparisons;
    auto* last = w.findChild<QTreeWidget*>("lvLast");
    orbisk::DialogHooks::Installed().openDataFile = [&previous](const QString&, const QString&) {
        return previous;
    };
    ChartOpening chart;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        w.OpenDataFileCommand(sample);
        Settle();
        open.push_back(Ms(t));

        t.restart();
        for (const char* name : {"rgStep_0", "rgStep_2", "rgStep_1"}) {
            w.findChild<QAbstractButton*>(name)->click();
        }
        Settle();
        steps.push_back(Ms(t) / 3);

        t.restart();
        for (const char* name : {"rgLast_2", "rgLast_3"}) {
            w.findChild<QAbstractButton*>(name)->click();
        }
        Settle();
        filters.push_back(Ms(t) / 2);

        // The first cycle with a frame in the list as it now stands.
        const auto& rows = w.GetSession().Model().cycles;
        for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
            if (!rows[r].hasFrame) continue;
            QTreeWidgetItem* item = last->topLevelItem(r);
            last->setCurrentItem(item);
            const double ms = chart.Measure(last, item);
            if (ms >= 0) charts.push_back(ms);
            break;
        }
        Settle();

        t.restart();
        w.DataModule().OpenPrev->trigger();
        Settle();
        // A reduced image cannot be saved: only a comparison that took place counts.
        if (!w.DataModule().SaveData->isEnabled()) comparisons.push_back(Ms(t));
        w.OpenDataFileCommand(sample);
        Settle();
    }
    std::printf("start to shown filled window: %.1f ms\n", startup);
    std::printf("open sample and refill every page (%d rows): median %.1f ms over %d runs\n",
                last->topLevelItemCount(), Median(open), runs);
    std::printf("change of distribution step: median %.1f ms\n", Median(steps));
    std::printf("change of cycle filter: median %.1f ms\n", Median(filters));
    std::printf("double-click on a cycle to its painted chart: median %.1f ms over %zu runs\n",
                Median(charts), charts.size());
    std::printf(
        "comparison with the previous check (open, reduce, refill): median %.1f ms over %zu runs\n",
        Median(comparisons), comparisons.size());
    w.close();
    return 0;
}
