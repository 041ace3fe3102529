#pragma once
// TfGistogram: the load histogram. Its four curves are rebuilt from the display model's series
// whenever the long-term page fills its distribution; showing the window only prepares the check
// boxes and the value axis.
#include <QDialog>
#include <array>
#include <vector>

#include "image/DisplayModel.h"

class QAreaSeries;
class QChart;
class QChartView;
class QCheckBox;
class QValueAxis;

namespace orbisk {

class TfGistogram : public QDialog {
    Q_OBJECT
public:
    TfGistogram(QWidget* parent, const DisplayModel& model);
    ~TfGistogram() override;

    // Rebuilds the four curves from the model's histogram series.
    void BuildSeries();
    void chbKranClick();

    QChart* Chart() const { return chart_; }
    QChartView* ChartView() const { return view_; }
    // The filled parts of curve k, one per run of equal point colours; the first one carries
    // the legend entry.
    const std::vector<QAreaSeries*>& Parts(int k) const { return parts_[k]; }
    QValueAxis* ValueAxis() const { return axisY_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    std::array<bool, kGroups> Checked() const;

    const DisplayModel& model_;
    QChart* chart_;
    QChartView* view_;
    QValueAxis* axisX_;
    QValueAxis* axisY_;
    std::array<QCheckBox*, kGroups> boxes_{};
    std::array<std::vector<QAreaSeries*>, kGroups> parts_;
};

}  // namespace orbisk
