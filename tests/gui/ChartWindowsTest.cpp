#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QImage>
#include <QLegend>
#include <QLineSeries>
#include <QListWidget>
#include <QMessageBox>
#include <QTextDocument>
#include <QTimer>
#include <QValueAxis>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "GuiTestSupport.h"
#include "views/FrameChart.h"
#include "views/qt/Gistu.h"
#include "views/qt/Opformu.h"
#include "views/qt/QtChartHelpers.h"

namespace orbisk::test {
namespace {

class ChartWindows : public MainWindowFixture {};

TEST(ChartAxes, TickStepsAreWholeAndAtMostEight) {
    EXPECT_EQ(ValueTickStep(0), 1);
    EXPECT_EQ(ValueTickStep(1), 1);    // a flat histogram: 0 and 1 only
    EXPECT_EQ(ValueTickStep(3.3), 1);  // three cycles: 0, 1, 2, 3, not 0, 1, 2, 2, 3
    EXPECT_EQ(ValueTickStep(8.8), 2);
    EXPECT_EQ(ValueTickStep(135), 20);
    EXPECT_EQ(ValueTickStep(390), 50);
    EXPECT_EQ(ValueTickStep(1.1e6), 200000);
    EXPECT_EQ(ValueTickStep(std::numeric_limits<double>::infinity()), 1);
}

double LargestY(const std::vector<HistogramPoint>& points) {
    std::uint32_t m = 0;
    for (const auto& p : points) m = std::max(m, p.y);
    return m;
}

TEST_F(ChartWindows, HistogramShowsTheCraneAloneWithPointColoursAndItsLegendRule) {
    TfMain& w = Start(SamplePath("current.bbd"));
    TfGistogram& g = w.Gistogram();
    g.show();
    EXPECT_EQ(g.windowTitle(), "Гистограмма распределения рабочих циклов");
    auto* kran = g.findChild<QCheckBox*>("chbKran");
    auto* leb1 = g.findChild<QCheckBox*>("chbLeb1");
    ASSERT_TRUE(kran && leb1);
    EXPECT_TRUE(kran->isChecked());
    EXPECT_FALSE(leb1->isChecked());
    EXPECT_EQ(kran->text(), "Автокран");
    EXPECT_FALSE(g.Chart()->legend()->isVisible());
    const auto& histogram = w.GetSession().Model().histogram;
    EXPECT_DOUBLE_EQ(g.ValueAxis()->max(), 1.1 * LargestY(histogram[0]));

    // Step 10 %, warning 90, average maximum 115: default colour, then yellow, then red.
    const auto& parts = g.Parts(0);
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[0]->color(), QColor(0, 0, 255));
    EXPECT_EQ(parts[1]->color(), QColor(255, 255, 0));
    EXPECT_EQ(parts[2]->color(), QColor(255, 0, 0));
    EXPECT_EQ(parts[1]->upperSeries()->at(0).x(), 100);
    EXPECT_EQ(parts[2]->upperSeries()->points().last().x(), 130);
    EXPECT_FALSE(g.Parts(1).front()->isVisible());

    QTest::mouseClick(leb1, Qt::LeftButton);
    EXPECT_TRUE(g.Chart()->legend()->isVisible());
    EXPECT_TRUE(g.Parts(1).front()->isVisible());
    EXPECT_DOUBLE_EQ(g.ValueAxis()->max(),
                     1.1 * std::max(LargestY(histogram[0]), LargestY(histogram[1])));
    QTest::mouseClick(kran, Qt::LeftButton);
    EXPECT_FALSE(g.Chart()->legend()->isVisible());
    // The counts are whole: the ticks fall on whole numbers, at most eight of them.
    EXPECT_EQ(g.ValueAxis()->tickType(), QValueAxis::TicksDynamic);
    const double step = g.ValueAxis()->tickInterval();
    EXPECT_GE(step, 1.0);
    EXPECT_EQ(step, std::floor(step));
    EXPECT_LE(g.ValueAxis()->max() / step, 8.0);

    // Another step rebuilds the curves; the next showing returns to the crane alone.
    g.hide();
    Click("rgStep_2");
    EXPECT_EQ(g.Parts(0).back()->upperSeries()->points().last().x(), 150);
    g.show();
    EXPECT_TRUE(kran->isChecked());
    EXPECT_FALSE(leb1->isChecked());
    g.hide();
}

TEST_F(ChartWindows, HistogramSavesItsPicture) {
    TfMain& w = Start(SamplePath("current.bbd"));
    const QString bmp = dir_.filePath("hist.bmp");
    DialogHooks::Installed().savePicture = [&] { return bmp; };
    w.Gistogram().show();
    Click("rgStep_1");
    QTest::mouseClick(w.Gistogram().findChild<QAbstractButton*>("bbSaveImage"), Qt::LeftButton);
    QImage image(bmp);
    EXPECT_FALSE(image.isNull());
    w.Gistogram().hide();
}

class CycleChart : public ChartWindows {
protected:
    // Opens the chart for the first listed cycle whose frame is present.
    std::unique_ptr<TfOper> OpenFirstFramed() {
        TfMain& w = Start(SamplePath("current.bbd"));
        const auto& rows = w.GetSession().Model().cycles;
        for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
            if (!rows[i].hasFrame) continue;
            row_ = i;
            QTreeWidget* last = List("lvLast");
            last->setCurrentItem(last->topLevelItem(i));
            return std::make_unique<TfOper>(&w, w.GetSession(), last, rows[i].frameOffset);
        }
        return nullptr;
    }
    int row_ = -1;
};

TEST_F(CycleChart, ShowsNineCurvesWithTitlesLabelsAndTheTitleLine) {
    auto oper = OpenFirstFramed();
    ASSERT_NE(oper, nullptr);
    oper->show();
    const FrameChart& f = oper->Frame();
    EXPECT_EQ(oper->Curve(0)->name(), "Нагр. Автокран");
    EXPECT_EQ(oper->Curve(8)->name(), "Блокировка");
    auto* crane = static_cast<QLineSeries*>(oper->Curve(0));
    EXPECT_EQ(crane->count(), static_cast<int>(f.labels.size()));
    EXPECT_EQ(crane->at(0).y(), f.values[0][0]);
    EXPECT_EQ(crane->color(), QColor(0, 0, 255));
    // The title reads as the core wrote it, every blank kept.
    QTextDocument shownTitle;
    shownTitle.setHtml(oper->Chart()->title());
    const QString title = shownTitle.toPlainText().replace(QChar(0xA0), ' ');
    EXPECT_EQ(title, QString::fromStdString(f.title));
    EXPECT_TRUE(title.startsWith("Начало цикла: "));
    EXPECT_TRUE(title.contains("   Кадры: " + QString::number(f.start) + "-"));
    ASSERT_GE(f.labels.size(), 3u);
    EXPECT_EQ(f.labels.front(), "НЦ");
    EXPECT_EQ(f.labels[f.labels.size() - 2], "КЦ");

    auto* show = oper->findChild<QListWidget*>("chbShow");
    ASSERT_EQ(show->count(), 9);
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(show->item(k)->checkState() == Qt::Checked, f.defaultChecks[k]) << k;
        EXPECT_EQ(oper->Curve(k)->isVisible(), f.defaultChecks[k]) << k;
    }
    // Checking a relay shows it; the value axis follows the shown curves.
    show->item(4)->setCheckState(Qt::Checked);
    EXPECT_TRUE(oper->Curve(4)->isVisible());
    std::array<bool, kFrameCurves> shown{};
    for (int k = 0; k < 9; ++k) shown[k] = show->item(k)->checkState() == Qt::Checked;
    EXPECT_DOUBLE_EQ(oper->ValueAxis()->max(), FrameValueAxisTop(f, shown));
}

// What the time axis shows under the plot: its labels by their X value, and its title.
struct TimeAxisView {
    std::map<int, QString> labels;
    QStringList unplaced;  // shown texts that stand at no point of the curve
    QString title;
};

// The texts shown in the chart, whichever kind of item draws them.
std::vector<std::pair<QString, QRectF>> ShownTexts(TfOper& oper) {
    std::vector<std::pair<QString, QRectF>> texts;
    for (QGraphicsItem* item : oper.ChartView()->scene()->items()) {
        if (!item->isVisible()) continue;
        if (auto* text = dynamic_cast<QGraphicsTextItem*>(item)) {
            texts.emplace_back(text->toPlainText(), text->sceneBoundingRect());
        } else if (auto* simple = dynamic_cast<QGraphicsSimpleTextItem*>(item)) {
            texts.emplace_back(simple->text(), simple->sceneBoundingRect());
        }
    }
    return texts;
}

TimeAxisView ReadTimeAxis(TfOper& oper) {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    const QRectF plot = oper.Chart()->plotArea();
    TimeAxisView view;
    // Under the plot: first the row of labels, then the axis title centred below them.
    std::vector<std::pair<QString, QRectF>> below;
    double titleTop = plot.bottom() + 200;
    for (auto& [text, box] : ShownTexts(oper)) {
        // The axis's own labels are names of zero-width characters.
        text.remove(QChar(0x200B));
        text.remove(QChar(0x200C));
        if (text.trimmed().isEmpty() || box.top() < plot.bottom() - 2 ||
            box.center().x() < plot.left() - 40 || box.center().x() > plot.right() + 40) {
            continue;
        }
        if (std::abs(box.center().x() - plot.center().x()) < 40 && box.width() > 30 &&
            box.top() > plot.bottom() + 10 && box.top() < titleTop) {
            titleTop = box.top();
            view.title = text;
        }
        below.emplace_back(text, box);
    }
    std::sort(below.begin(), below.end(),
              [](const auto& a, const auto& b) { return a.second.left() < b.second.left(); });
    auto* crane = static_cast<QLineSeries*>(oper.Curve(0));
    double right = -1e9;
    for (const auto& [text, box] : below) {
        if (box.top() >= titleTop) continue;
        const double x = oper.Chart()->mapToValue(box.center(), crane).x();
        const int point = static_cast<int>(std::lround(x));
        if (std::abs(x - point) > 0.25) {
            view.unplaced << text;
        } else {
            view.labels[point] = text;
        }
        EXPECT_GT(box.left(), right) << "labels overlap at " << S(text);
        right = box.right();
    }
    return view;
}

// Every label shown is a point's own label in full, at that point, and they do not overlap.
void ExpectReadableTimeLabels(TfOper& oper, const TimeAxisView& view) {
    EXPECT_TRUE(view.unplaced.isEmpty()) << view.unplaced.join(" ").toStdString();
    const auto& labels = oper.Frame().labels;
    for (const auto& [x, text] : view.labels) {
        ASSERT_GE(x, 0);
        ASSERT_LT(x, static_cast<int>(labels.size()));
        EXPECT_EQ(S(text), labels[x]) << "at " << x;
    }
    EXPECT_EQ(S(view.title), "Время, с");
}

TEST_F(CycleChart, ZoomShowsValueMarksAndReadableTimeLabelsByRange) {
    auto oper = OpenFirstFramed();
    ASSERT_NE(oper, nullptr);
    oper->show();
    const int n = static_cast<int>(oper->Frame().labels.size());
    ASSERT_GT(n, 62) << "the sample's first framed cycle is longer than a minute";
    auto* crane = static_cast<QLineSeries*>(oper->Curve(0));

    // The whole cycle (over a minute): no time labels, the title still readable.
    TimeAxisView view = ReadTimeAxis(*oper);
    EXPECT_TRUE(view.labels.empty());
    EXPECT_TRUE(view.unplaced.isEmpty());
    EXPECT_EQ(S(view.title), "Время, с");

    // A minute: the labels are there and readable, at least every fifth second, with "1мин".
    oper->TimeAxis()->setRange(0, 60);
    EXPECT_FALSE(crane->pointLabelsVisible());
    view = ReadTimeAxis(*oper);
    ExpectReadableTimeLabels(*oper, view);
    EXPECT_GE(view.labels.size(), 13u);
    EXPECT_EQ(S(view.labels[0]), "НЦ");
    EXPECT_EQ(S(view.labels[60]), "1мин");

    // The end of the cycle: the closing point keeps its label.
    oper->TimeAxis()->setRange(n - 41, n - 1);
    view = ReadTimeAxis(*oper);
    ExpectReadableTimeLabels(*oper, view);
    EXPECT_EQ(S(view.labels[n - 2]), "КЦ");

    // Twenty seconds: every point is labelled and the value marks show.
    oper->TimeAxis()->setRange(50, 70);
    EXPECT_TRUE(crane->pointLabelsVisible());
    view = ReadTimeAxis(*oper);
    ExpectReadableTimeLabels(*oper, view);
    EXPECT_EQ(view.labels.size(), 21u);

    // Wider than a minute again: the labels go, the title stays.
    oper->TimeAxis()->setRange(0, 80);
    EXPECT_FALSE(crane->pointLabelsVisible());
    view = ReadTimeAxis(*oper);
    EXPECT_TRUE(view.labels.empty());
    EXPECT_EQ(S(view.title), "Время, с");
}

// A person's wheel turn over the chart: up zooms in, with Shift it pans.
void Wheel(QWidget* viewport, QPoint at, int delta, Qt::KeyboardModifiers modifiers = {}) {
    QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &event);
}

void DragZoomBox(QWidget* viewport, QPoint from, QPoint to) {
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    QTest::mouseMove(viewport, (from + to) / 2);
    QTest::mouseMove(viewport, to);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
}

// Zooms and pans reach the chart while its axis is still moving from the previous one: the
// time axis changes its labelled points under the running animation.
TEST_F(CycleChart, ZoomingAndPanningDuringTheAnimationKeepTheChartReadable) {
    auto oper = OpenFirstFramed();
    ASSERT_NE(oper, nullptr);
    oper->show();
    QChartView* view = oper->ChartView();
    QWidget* viewport = view->viewport();
    const auto at = [&](double fx) {
        const QRectF plot = oper->Chart()->plotArea();
        return view->mapFromScene(QPointF(plot.left() + fx * plot.width(), plot.center().y()));
    };

    for (int turn = 0; turn < 7; ++turn) {
        Wheel(viewport, at(0.3), 120);
        QTest::qWait(350);
    }
    Wheel(viewport, at(0.5), 120, Qt::ShiftModifier);
    QTest::qWait(100);
    Wheel(viewport, at(0.5), -120);
    QTest::qWait(200);
    DragZoomBox(viewport, at(0.2), at(0.6));
    QTest::qWait(300);
    QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Home);
    QTest::qWait(300);
    DragZoomBox(viewport, at(0.1), at(0.3));
    QTest::qWait(250);
    Wheel(viewport, at(0.7), 120);
    QTest::qWait(oper->Chart()->animationDuration() + 300);

    const double range = oper->TimeAxis()->max() - oper->TimeAxis()->min();
    // The last zooms end at a quarter of a minute or so: labels and value marks show.
    ASSERT_LE(range, 20);
    const TimeAxisView shown = ReadTimeAxis(*oper);
    ExpectReadableTimeLabels(*oper, shown);
    EXPECT_FALSE(shown.labels.empty());
    EXPECT_TRUE(static_cast<QLineSeries*>(oper->Curve(0))->pointLabelsVisible());
    oper->close();
}

// However far a person zooms or pans, the chart keeps to the cycle and to labelled points.
TEST_F(CycleChart, PanningStopsAtTheCyclesEndsAndZoomingWhileLabelsShow) {
    auto oper = OpenFirstFramed();
    ASSERT_NE(oper, nullptr);
    oper->show();
    oper->Chart()->setAnimationDuration(0);
    const double end = static_cast<double>(oper->Frame().labels.size()) - 1;
    QChartView* view = oper->ChartView();
    const QPoint middle = view->mapFromScene(oper->Chart()->plotArea().center());
    const auto expectRange = [&](double lo, double hi) {
        QApplication::processEvents();
        EXPECT_NEAR(oper->TimeAxis()->min(), lo, 1e-6);
        EXPECT_NEAR(oper->TimeAxis()->max(), hi, 1e-6);
    };
    for (int turn = 0; turn < 40; ++turn) Wheel(view->viewport(), middle, 120);
    QApplication::processEvents();
    const double lo = oper->TimeAxis()->min();
    expectRange(lo, lo + kNarrowestTimeRange);
    EXPECT_FALSE(ReadTimeAxis(*oper).labels.empty());
    // Dragged with the middle button far past the cycle's start.
    for (const auto& [type, at] : {std::pair(QEvent::MouseButtonPress, middle),
                                   std::pair(QEvent::MouseMove, middle + QPoint(100000, 0)),
                                   std::pair(QEvent::MouseButtonRelease, middle)}) {
        QMouseEvent drag(type, at, view->viewport()->mapToGlobal(at), Qt::MiddleButton,
                         Qt::MiddleButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &drag);
    }
    expectRange(0, kNarrowestTimeRange);
    for (int turn = 0; turn < 40; ++turn) Wheel(view->viewport(), middle, -120);
    expectRange(0, end);
}

// Pixels of the crane curve's blue in the chart as a person sees it.
int CraneBluePixels(TfOper& oper) {
    const QImage image = oper.findChild<QChartView*>("ChartOperView")->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.blue() > 150 && c.red() < 90 && c.green() < 90) ++count;
        }
    }
    return count;
}

TEST_F(CycleChart, PointMarksAreDrawnOnlyAtShortRanges) {
    auto oper = OpenFirstFramed();
    ASSERT_NE(oper, nullptr);
    oper->resize(980, 600);
    oper->show();
    oper->TimeAxis()->setRange(50, 80);
    QCoreApplication::processEvents();
    const int lineOnly = CraneBluePixels(*oper);
    oper->TimeAxis()->setRange(50, 70);
    QCoreApplication::processEvents();
    const int withMarks = CraneBluePixels(*oper);
    // Twenty-one circles of seven pixels across add far more blue than the line itself has.
    EXPECT_GT(withMarks, lineOnly + 21 * 20) << lineOnly << " " << withMarks;
}

TEST_F(CycleChart, StepsThroughTheListedCyclesWithTheirFrames) {
    auto oper = OpenFirstFramed();
    ASSERT_NE(oper, nullptr);
    oper->show();
    QTreeWidget* last = List("lvLast");
    const auto& rows = window_->GetSession().Model().cycles;
    const int expected = PreviousFrameRow(rows, row_);
    ASSERT_GE(expected, 0);
    QTest::mouseClick(oper->findChild<QAbstractButton*>("bbPrev"), Qt::LeftButton);
    EXPECT_EQ(last->indexOfTopLevelItem(last->currentItem()), expected);
    EXPECT_EQ(oper->StartOffset(), rows[expected].frameOffset);

    const std::uint16_t cursor = oper->Frame().cursor;
    QTest::mouseClick(oper->findChild<QAbstractButton*>("bbNext"), Qt::LeftButton);
    EXPECT_EQ(last->indexOfTopLevelItem(last->currentItem()), row_);
    EXPECT_EQ(oper->StartOffset(),
              NextFrameStart(window_->GetSession().Image(), cursor, rows[row_].frameOffset, rows));
}

// ▶ on the newest cycle goes round to the oldest. Stepping ▶ shows only frames that were
// recorded, never bytes that merely read as a time.
TEST_F(CycleChart, NextWrapsFromTheNewestCycleAndShowsOnlyRecordedFrames) {
    auto oper = OpenFirstFramed();
    ASSERT_NE(oper, nullptr);
    oper->show();
    QTreeWidget* last = List("lvLast");
    const auto& rows = window_->GetSession().Model().cycles;
    auto* next = oper->findChild<QAbstractButton*>("bbNext");
    const std::string newest = oper->Frame().title;
    int oldest = static_cast<int>(rows.size()) - 1;
    while (oldest > row_ && !rows[oldest].hasFrame) --oldest;
    ASSERT_GT(oldest, row_);
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(last->indexOfTopLevelItem(last->currentItem()), oldest);
    EXPECT_NE(oper->Frame().title, newest);

    for (int step = 0; step < 5; ++step) {
        QTest::mouseClick(next, Qt::LeftButton);
        const std::uint16_t start = oper->StartOffset();
        const bool listed = std::any_of(rows.begin(), rows.end(), [&](const CycleRow& r) {
            return r.hasFrame && r.frameOffset == start;
        });
        EXPECT_TRUE(listed || FramePlausible(window_->GetSession().Image(), start)) << start;
        EXPECT_TRUE(oper->Frame().titleValid) << oper->Frame().title;
    }
}

// However many curves show, the legend under the chart gives each title in full, on the screen
// and in the saved picture.
TEST_F(CycleChart, TheLegendGivesEveryShownTitleInFull) {
    auto oper = OpenFirstFramed();
    ASSERT_NE(oper, nullptr);
    oper->show();
    auto* show = oper->findChild<QListWidget*>("chbShow");
    for (int k = 0; k < kFrameCurves; ++k) show->item(k)->setCheckState(Qt::Checked);
    QApplication::processEvents();

    const auto entries = oper->LegendEntries();
    ASSERT_EQ(entries.size(), static_cast<std::size_t>(kFrameCurves));
    const QFontMetrics metrics(oper->Legend()->font());
    const QRect legend = oper->Legend()->rect();
    for (int k = 0; k < kFrameCurves; ++k) {
        const auto& [title, place] = entries[k];
        EXPECT_EQ(title, oper->Curve(k)->name());
        EXPECT_GE(place.width(), metrics.horizontalAdvance(title)) << S(title);
        EXPECT_TRUE(legend.contains(place)) << S(title);
        for (int other = 0; other < k; ++other) {
            EXPECT_FALSE(place.intersects(entries[other].second)) << S(title);
        }
    }
    EXPECT_FALSE(oper->Chart()->legend()->isVisible()) << "the chart's own legend cuts titles";
    EXPECT_GT(legend.top() + oper->Legend()->mapTo(oper->Picture(), QPoint()).y(),
              oper->ChartView()->geometry().bottom() - 1)
        << "the legend sits under the chart";

    // Unchecked curves leave the legend.
    show->item(2)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(oper->LegendEntries().size(), static_cast<std::size_t>(kFrameCurves - 1));

    const QString target = dir_.filePath("legend.png");
    DialogHooks::Installed().savePicture = [&] { return target; };
    QTest::mouseClick(oper->findChild<QAbstractButton*>("bbSave"), Qt::LeftButton);
    const QImage saved(target, "PNG");
    EXPECT_EQ(saved.size(), oper->Picture()->size() * oper->Picture()->devicePixelRatioF());
    EXPECT_GT(saved.height(), oper->ChartView()->height());
}

TEST_F(CycleChart, SavesThePictureAsBitmapOrPng) {
    auto oper = OpenFirstFramed();
    ASSERT_NE(oper, nullptr);
    oper->show();
    QString target = dir_.filePath("cycle.bmp");
    DialogHooks::Installed().savePicture = [&] { return target; };
    QTest::mouseClick(oper->findChild<QAbstractButton*>("bbSave"), Qt::LeftButton);
    EXPECT_FALSE(QImage(target, "BMP").isNull());
    target = dir_.filePath("cycle.png");
    QTest::mouseClick(oper->findChild<QAbstractButton*>("bbSave"), Qt::LeftButton);
    EXPECT_FALSE(QImage(target, "PNG").isNull());

    // A folder that does not exist: the person is told, and the window stays.
    target = dir_.filePath("нет/cycle.bmp");
    QString told;
    QTimer::singleShot(0, [&told] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            told = box->text();
            box->accept();
        }
    });
    QTest::mouseClick(oper->findChild<QAbstractButton*>("bbSave"), Qt::LeftButton);
    EXPECT_EQ(told, "Не удается создать файл \"" + target + "\".");
    EXPECT_TRUE(oper->isVisible());
}

}  // namespace
}  // namespace orbisk::test
