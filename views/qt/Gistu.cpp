#include "views/qt/Gistu.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValueAxis>

#include "base/qt/QtCaptions.h"
#include "base/qt/QtDialogs.h"
#include "base/qt/QtHint.h"
#include "base/qt/QtText.h"
#include "views/FrameChart.h"
#include "views/qt/QtChartHelpers.h"
#include "views/qt/ViewCaptions.h"

namespace orbisk {

namespace {

const std::array<QColor, kGroups> kCurveColors = {QColor(0, 0, 255), QColor(0, 128, 0),
                                                  QColor(128, 128, 0), QColor(0, 128, 128)};
constexpr std::array<const char*, kGroups> kBoxNames = {"chbKran", "chbLeb1", "chbLeb2", "chbLeb3"};

QColor PointQColor(PointColor color, int group) {
    switch (color) {
        case PointColor::Yellow:
            return QColor(255, 255, 0);
        case PointColor::Red:
            return QColor(255, 0, 0);
        case PointColor::Series:
            break;
    }
    return kCurveColors[group];
}

}  // namespace

TfGistogram::TfGistogram(QWidget* parent, const DisplayModel& model)
    : QDialog(parent), model_(model) {
    setObjectName("fGistogram");
    setWindowTitle(Q(ui::kGistCaption));
    setModal(true);
    resize(820, 560);

    chart_ = new QChart;
    chart_->setObjectName("Chart1");
    chart_->setBackgroundBrush(QColor(192, 192, 192));
    chart_->setPlotAreaBackgroundBrush(QColor(255, 255, 128));
    chart_->setPlotAreaBackgroundVisible(true);
    chart_->legend()->setAlignment(Qt::AlignBottom);
    // The title is part of the chart but not shown.
    chart_->setProperty("hiddenTitle", Q(ui::kGistTitle));
    axisX_ = new QValueAxis;
    axisX_->setTitleText(Q(ui::kGistLoadAxis));
    axisX_->setLabelFormat("%.0f");
    axisY_ = new QValueAxis;
    axisY_->setTitleText(Q(ui::kGistCountAxis));
    axisY_->setLabelFormat("%.0f");
    axisY_->setMin(0);
    axisY_->setTickType(QValueAxis::TicksDynamic);
    axisY_->setTickAnchor(0);
    chart_->addAxis(axisX_, Qt::AlignBottom);
    chart_->addAxis(axisY_, Qt::AlignLeft);
    view_ = new QChartView(chart_);
    view_->setObjectName("ChartView1");
    view_->setRenderHint(QPainter::Antialiasing);

    auto* boxes = new QHBoxLayout;
    for (int g = 0; g < kGroups; ++g) {
        boxes_[g] = new QCheckBox;
        boxes_[g]->setObjectName(kBoxNames[g]);
        connect(boxes_[g], &QCheckBox::clicked, this, &TfGistogram::chbKranClick);
        boxes->addWidget(boxes_[g]);
    }
    boxes->addStretch();
    const auto button = [&](const char* name, const char* caption, const char* hint) {
        auto* b = new QPushButton(Q(caption));
        b->setObjectName(name);
        SetHint(b, hint);
        b->setAutoDefault(false);
        boxes->addWidget(b);
        return b;
    };
    connect(button("bbPrintImage", ui::kPrintButton, ui::kPrintHint), &QPushButton::clicked, this,
            [this] { PrintChart(this, view_); });
    connect(button("bbSaveImage", ui::kSaveButton, ui::kSaveHint), &QPushButton::clicked, this,
            [this] { SaveChartPictureCommand(this, view_); });
    connect(button("bbExit", ui::kExitButton, ui::kExitHint), &QPushButton::clicked, this,
            &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    layout->addLayout(boxes);
    BuildSeries();
}

TfGistogram::~TfGistogram() = default;

void TfGistogram::BuildSeries() {
    for (auto& parts : parts_) {
        for (QAreaSeries* s : parts) {
            chart_->removeSeries(s);
            delete s;
        }
        parts.clear();
    }
    int lastX = 0;
    for (int g = 0; g < kGroups; ++g) {
        const auto& points = model_.histogram[g];
        std::size_t i = 0;
        while (i < points.size()) {
            // A run of points of one colour; each point's value holds until the next point.
            const PointColor color = points[i].color;
            auto* upper = new QLineSeries;
            std::size_t j = i;
            for (; j < points.size() && points[j].color == color; ++j) {
                const double x = points[j].x;
                const double next = j + 1 < points.size() ? points[j + 1].x : x;
                upper->append(x, points[j].y);
                upper->append(next, points[j].y);
                lastX = std::max(lastX, static_cast<int>(next));
            }
            auto* area = new QAreaSeries(upper);
            upper->setParent(area);
            area->setName(Q(ui::kGistLegend[g]));
            area->setColor(PointQColor(color, g));
            area->setBorderColor(PointQColor(color, g).darker(130));
            chart_->addSeries(area);
            area->attachAxis(axisX_);
            area->attachAxis(axisY_);
            parts_[g].push_back(area);
            i = j;
        }
        if (parts_[g].empty()) continue;
        // The legend names the curve once, in the curve's own colour.
        parts_[g].front()->setColor(kCurveColors[g]);
    }
    axisX_->setRange(0, std::max(lastX, 1));
    // Grid lines at the windows' edges: every 10 %, or every 25 % for the widest windows.
    axisX_->setTickType(QValueAxis::TicksDynamic);
    axisX_->setTickAnchor(0);
    axisX_->setTickInterval(lastX % 25 == 0 && lastX % 10 != 0 ? 25 : 10);
    chbKranClick();
}

std::array<bool, kGroups> TfGistogram::Checked() const {
    std::array<bool, kGroups> checked{};
    for (int g = 0; g < kGroups; ++g) checked[g] = boxes_[g]->isChecked();
    return checked;
}

void TfGistogram::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TfGistogram::FormShow() {
    for (int g = 0; g < kGroups; ++g) {
        boxes_[g]->setChecked(g == 0);
        boxes_[g]->setText(Q(model_.Text(ChannelNameControl(g))));
    }
    chbKranClick();
}

void TfGistogram::chbKranClick() {
    const auto shown = Checked();
    for (int g = 0; g < kGroups; ++g) {
        for (QAreaSeries* s : parts_[g]) s->setVisible(shown[g]);
        if (!parts_[g].empty()) {
            for (QLegendMarker* marker : chart_->legend()->markers(parts_[g].front())) {
                marker->setVisible(shown[g]);
            }
        }
        for (std::size_t k = 1; k < parts_[g].size(); ++k) {
            for (QLegendMarker* marker : chart_->legend()->markers(parts_[g][k])) {
                marker->setVisible(false);
            }
        }
    }
    const double top = HistogramAxisTop(model_.histogram, shown);
    axisY_->setTickInterval(ValueTickStep(top));
    axisY_->setRange(0, top);
    chart_->legend()->setVisible(HistogramLegendVisible(shown));
}

}  // namespace orbisk
