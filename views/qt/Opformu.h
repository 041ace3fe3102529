#pragma once
// TfOper: the chart of one work cycle from its frame, with stepping to the previous and next
// cycle of the operational list, curve choice, zoom and pan, printing and saving.
#include <QDialog>
#include <QRect>
#include <QString>
#include <array>
#include <utility>
#include <vector>

#include "views/FrameChart.h"

class QAbstractSeries;
class QCategoryAxis;
class QChart;
class QChartView;
class QGraphicsSimpleTextItem;
class QListWidget;
class QTreeWidget;
class QValueAxis;

namespace orbisk {

class Session;

class TfOper : public QDialog {
    Q_OBJECT
public:
    TfOper(QWidget* parent, Session& session, QTreeWidget* lvLast, std::uint16_t startOffset);
    ~TfOper() override;

    void FormShow();
    void bbPrevClick();
    void bbNextClick();
    void chbShowClickCheck();

    const FrameChart& Frame() const { return frame_; }
    QChart* Chart() const { return chart_; }
    QChartView* ChartView() const { return view_; }
    QAbstractSeries* Curve(int k) const { return curves_[k]; }
    QCategoryAxis* TimeAxis() const { return axisX_; }
    QValueAxis* ValueAxis() const { return axisY_; }
    std::uint16_t StartOffset() const { return start_; }
    // The legend under the chart: each shown curve's title and where it is drawn.
    std::vector<std::pair<QString, QRect>> LegendEntries() const;
    QWidget* Legend() const { return legend_; }
    // The chart with its legend, as printed and saved.
    QWidget* Picture() const { return picture_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ApplyRangeRules();
    void KeepTimeRangeAllowed();
    void ShowTimeAxis();
    std::array<bool, kFrameCurves> Shown() const;
    std::array<bool, kFrameCurves> Checked() const;

    Session& session_;
    QTreeWidget* lvLast_;
    std::uint16_t start_;
    FrameChart frame_;
    bool firstBuild_ = true;
    QChart* chart_;
    QChartView* view_;
    QCategoryAxis* axisX_;
    QValueAxis* axisY_;
    QListWidget* chbShow_;
    QWidget* legend_;
    QWidget* picture_;
    std::array<QAbstractSeries*, kFrameCurves> curves_{};
    // What the time axis holds now: the labelled points and whether their texts show.
    std::vector<int> timePoints_;
    bool timeLabelsShown_ = false;
    bool timeAxisBuilt_ = false;
    std::vector<QGraphicsSimpleTextItem*> timeLabels_;  // owned by the chart
};

}  // namespace orbisk
