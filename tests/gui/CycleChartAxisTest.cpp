// The value axis of the cycle chart as a person reads it: 0 at the bottom up to its top, with
// evenly spaced whole-number labels, right after the window opens and after every step.
#include <QAbstractButton>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QValueAxis>
#include <map>

#include "GuiTestSupport.h"
#include "views/FrameChart.h"
#include "views/qt/Opformu.h"

namespace orbisk::test {
namespace {

// The numbers drawn left of the plot area, keyed by their height on screen (top first).
std::map<double, double> ValueAxisLabels(TfOper& oper) {
    QApplication::processEvents();
    const QRectF plot = oper.Chart()->plotArea();
    std::map<double, double> labels;
    for (QGraphicsItem* item : oper.ChartView()->scene()->items()) {
        auto* text = dynamic_cast<QGraphicsTextItem*>(item);
        if (!text || !text->isVisible()) continue;
        const QRectF box = text->sceneBoundingRect();
        if (box.right() > plot.left() + 1) continue;
        bool number = false;
        const double value = text->toPlainText().toDouble(&number);
        if (number) labels[box.center().y()] = value;
    }
    return labels;
}

void ExpectReadableValueAxis(TfOper& oper) {
    QValueAxis* axis = oper.ValueAxis();
    std::array<bool, kFrameCurves> shown{};
    for (int k = 0; k < kFrameCurves; ++k) shown[k] = oper.Curve(k)->isVisible();
    EXPECT_EQ(axis->min(), 0);
    EXPECT_DOUBLE_EQ(axis->max(), FrameValueAxisTop(oper.Frame(), shown));
    EXPECT_TRUE(axis->isVisible());
    EXPECT_TRUE(axis->labelsVisible());

    const auto labels = ValueAxisLabels(oper);
    ASSERT_GE(labels.size(), 4u) << "the value axis shows too few numbers";
    ASSERT_LE(labels.size(), 11u);
    // Lowest on screen is 0; the values grow upwards in equal whole steps up to the top.
    EXPECT_EQ(labels.rbegin()->second, 0);
    EXPECT_NEAR(labels.rbegin()->first, oper.Chart()->plotArea().bottom(), 12);
    std::vector<double> values;
    for (auto it = labels.rbegin(); it != labels.rend(); ++it) values.push_back(it->second);
    const double step = values[1] - values[0];
    EXPECT_GT(step, 0);
    EXPECT_EQ(step, std::round(step));
    for (std::size_t i = 1; i < values.size(); ++i)
        EXPECT_DOUBLE_EQ(values[i] - values[i - 1], step);
    EXPECT_LE(values.back(), axis->max());
    EXPECT_GT(values.back() + step, axis->max());
}

class CycleChartAxis : public MainWindowFixture {};

TEST_F(CycleChartAxis, ReadsFromZeroAtTheBottomToItsTopAtOnceAndAfterEveryStep) {
    TfMain& w = Start(SamplePath("current.bbd"));
    const auto& rows = w.GetSession().Model().cycles;
    int row = 0;
    while (row < static_cast<int>(rows.size()) && !rows[row].hasFrame) ++row;
    ASSERT_LT(row, static_cast<int>(rows.size()));
    QTreeWidget* last = List("lvLast");
    last->setCurrentItem(last->topLevelItem(row));
    TfOper oper(&w, w.GetSession(), last, rows[row].frameOffset);
    oper.show();
    // More than 60 seconds: the time labels are hidden, the value axis keeps its numbers.
    ASSERT_GT(oper.TimeAxis()->max() - oper.TimeAxis()->min(), 60);
    ExpectReadableValueAxis(oper);

    QTest::mouseClick(oper.findChild<QAbstractButton*>("bbPrev"), Qt::LeftButton);
    ExpectReadableValueAxis(oper);
    QTest::mouseClick(oper.findChild<QAbstractButton*>("bbNext"), Qt::LeftButton);
    ExpectReadableValueAxis(oper);
}

}  // namespace
}  // namespace orbisk::test
