#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QImage>
#include <QLegend>
#include <QLineSeries>
#include <QListWidget>
#include <QValueAxis>

#include "GuiTestSupport.h"
#include "image/FrameChart.h"
#include "views/Gistu.h"
#include "views/Opformu.h"

namespace orbisk::test {
namespace {

class ChartWindows : public MainWindowFixture {};

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
    TDataModule1::Hooks().savePicture = [&] { return bmp; };
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
    EXPECT_TRUE(oper->Chart()->title().startsWith("Начало цикла: "));
    EXPECT_TRUE(oper->Chart()->title().contains("Кадры: " + QString::number(f.start) + "-"));
    const QStringList labels = oper->TimeAxis()->categoriesLabels();
    ASSERT_EQ(labels.size(), static_cast<int>(f.labels.size()));
    EXPECT_EQ(labels.first(), "НЦ");
    EXPECT_TRUE(labels.at(labels.size() - 2).startsWith("КЦ"));

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

TEST_F(CycleChart, ZoomShowsValueMarksAndTimeLabelsByRange) {
    auto oper = OpenFirstFramed();
    ASSERT_NE(oper, nullptr);
    oper->show();
    auto* crane = static_cast<QLineSeries*>(oper->Curve(0));
    oper->TimeAxis()->setRange(0, 15);
    EXPECT_TRUE(crane->pointLabelsVisible());
    EXPECT_TRUE(oper->TimeAxis()->labelsVisible());
    oper->TimeAxis()->setRange(0, 40);
    EXPECT_FALSE(crane->pointLabelsVisible());
    EXPECT_TRUE(oper->TimeAxis()->labelsVisible());
    oper->TimeAxis()->setRange(0, 80);
    EXPECT_FALSE(oper->TimeAxis()->labelsVisible());
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
              NextFrameStart(window_->GetSession().Image(), cursor, rows[row_].frameOffset));
}

TEST_F(CycleChart, SavesThePictureAsBitmapOrPng) {
    auto oper = OpenFirstFramed();
    ASSERT_NE(oper, nullptr);
    oper->show();
    QString target = dir_.filePath("cycle.bmp");
    TDataModule1::Hooks().savePicture = [&] { return target; };
    QTest::mouseClick(oper->findChild<QAbstractButton*>("bbSave"), Qt::LeftButton);
    EXPECT_FALSE(QImage(target, "BMP").isNull());
    target = dir_.filePath("cycle.png");
    QTest::mouseClick(oper->findChild<QAbstractButton*>("bbSave"), Qt::LeftButton);
    EXPECT_FALSE(QImage(target, "PNG").isNull());
}

}  // namespace
}  // namespace orbisk::test
