#include "views/qt/Opformu.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QFontMetricsF>
#include <QGraphicsSimpleTextItem>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLineSeries>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "base/qt/QtCaptions.h"
#include "base/qt/QtDialogs.h"
#include "base/qt/QtHint.h"
#include "base/qt/QtIcons.h"
#include "base/qt/QtText.h"
#include "image/Session.h"
#include "views/qt/QtChartHelpers.h"
#include "views/qt/ViewCaptions.h"

namespace orbisk {

namespace {

// A chart view that zooms and pans along the time axis only. The user's zooms are animated; the
// chart's own rebuilds are not (see TfOper::FormShow).
class TimeChartView final : public QChartView {
public:
    explicit TimeChartView(QChart* chart) : QChartView(chart) {
        setRubberBand(QChartView::HorizontalRubberBand);
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void wheelEvent(QWheelEvent* event) override {
        const QRectF area = chart()->plotArea();
        if (event->modifiers() & Qt::ShiftModifier) {
            Animate(false);
            chart()->scroll(event->angleDelta().y() > 0 ? -area.width() / 10 : area.width() / 10,
                            0);
            return;
        }
        Animate(true);
        const double factor = event->angleDelta().y() > 0 ? 0.8 : 1.25;
        const double x = std::clamp(event->position().x(), area.left(), area.right());
        const double left = x - (x - area.left()) * factor;
        chart()->zoomIn(QRectF(left, area.top(), area.width() * factor, area.height()));
    }

    void keyPressEvent(QKeyEvent* event) override {
        const double step = chart()->plotArea().width() / 10;
        switch (event->key()) {
            case Qt::Key_Left:
                Animate(false);
                chart()->scroll(-step, 0);
                return;
            case Qt::Key_Right:
                Animate(false);
                chart()->scroll(step, 0);
                return;
            case Qt::Key_Home:
                Animate(true);
                chart()->zoomReset();
                return;
            default:
                QChartView::keyPressEvent(event);
        }
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::MiddleButton) {
            panFrom_ = event->position().x();
            panning_ = true;
            return;
        }
        QChartView::mousePressEvent(event);
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        if (panning_) {
            Animate(false);
            chart()->scroll(panFrom_ - event->position().x(), 0);
            panFrom_ = event->position().x();
            return;
        }
        QChartView::mouseMoveEvent(event);
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        if (panning_ && event->button() == Qt::MiddleButton) {
            panning_ = false;
            return;
        }
        Animate(true);  // the rubber band's zoom, or the right button's zoom out
        QChartView::mouseReleaseEvent(event);
    }

private:
    void Animate(bool on) {
        chart()->setAnimationOptions(on ? QChart::GridAxisAnimations : QChart::NoAnimation);
    }

    bool panning_ = false;
    double panFrom_ = 0;
};

// The distinct, invisible name of a time-axis slot: its number in binary, written with the
// zero-width space and the zero-width non-joiner. Short names keep the axis's own label layout,
// which measures every name at each change, cheap.
QString SlotName(int slot) {
    constexpr QChar kDigits[2] = {QChar(0x200B), QChar(0x200C)};
    QString name;
    do {
        name.prepend(kDigits[slot % 2]);
        slot /= 2;
    } while (slot > 0);
    return name;
}

QColor StyleColor(const CurveStyle& s) {
    return QColor(s.red, s.green, s.blue);
}

// The most points the time axis labels at once: more than a minute's worth, as many as fit on
// a wide screen with a label every few seconds.
constexpr int kTimeAxisSlots = 64;

// The point marks of the load curves: circle, triangle, diamond, down-triangle.
// The side of a point mark, in pixels: a point three pixels either side of its centre.
constexpr int kPointMarkSize = 7;

QImage PointMark(CurveKind kind, const QColor& color) {
    QImage image(kPointMarkSize, kPointMarkSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(color.darker(150));
    p.setBrush(color);
    QPainterPath path;
    switch (kind) {
        case CurveKind::LineCircle:
            path.addEllipse(QRectF(0.5, 0.5, 6, 6));
            break;
        case CurveKind::LineTriangle:
            path.moveTo(3.5, 0.5);
            path.lineTo(6.5, 6.5);
            path.lineTo(0.5, 6.5);
            break;
        case CurveKind::LineDiamond:
            path.moveTo(3.5, 0.5);
            path.lineTo(6.5, 3.5);
            path.lineTo(3.5, 6.5);
            path.lineTo(0.5, 3.5);
            break;
        case CurveKind::LineDownTriangle:
            path.moveTo(0.5, 0.5);
            path.lineTo(6.5, 0.5);
            path.lineTo(3.5, 6.5);
            break;
        case CurveKind::StepArea:
            break;
    }
    path.closeSubpath();
    p.drawPath(path);
    return image;
}

// The legend under the chart: the title of every shown curve in full, in as many rows as the
// width needs. The chart's own legend keeps to one row and cuts the titles short ("Нагр. Авт…")
// once six or seven curves show, on the screen and in the saved picture alike.
class CurveLegend final : public QWidget {
public:
    struct Entry {
        QString title;
        QColor color;
        QImage mark;  // the point mark of a load curve; none for the step areas
    };

    CurveLegend() {
        QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, Qt::white);  // the chart's own background
        p.setColor(QPalette::WindowText, Qt::black);
        setPalette(p);
    }

    void SetEntries(std::vector<Entry> entries) {
        entries_ = std::move(entries);
        updateGeometry();
        update();
    }

    // Where each entry is drawn at the legend's present width.
    std::vector<QRect> Places() const { return Layout(width()); }
    const std::vector<Entry>& Entries() const { return entries_; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override {
        const std::vector<QRect> places = Layout(width);
        return places.empty() ? 0 : places.back().bottom() + 1 + kMargin;
    }
    QSize sizeHint() const override {
        int width = 2 * kMargin;
        for (const Entry& e : entries_) width += EntryWidth(e) + kSpacing;
        return {width, heightForWidth(width)};
    }
    QSize minimumSizeHint() const override {
        int widest = 0;
        for (const Entry& e : entries_) widest = std::max(widest, EntryWidth(e));
        return {widest + 2 * kMargin, heightForWidth(widest + 2 * kMargin)};
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const std::vector<QRect> places = Places();
        const int side = SwatchHeight();
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            const Entry& e = entries_[i];
            const QRect place = places[i];
            const QRect swatch(place.left(), place.center().y() - side / 2, kSwatchWidth, side);
            if (e.mark.isNull()) {
                QColor fill = e.color;
                fill.setAlpha(150);
                p.setPen(e.color);
                p.setBrush(fill);
                p.drawRect(swatch.adjusted(0, 2, -1, -2));
            } else {
                p.setPen(QPen(e.color, 2));
                p.drawLine(swatch.left(), swatch.center().y(), swatch.right(), swatch.center().y());
                p.drawImage(swatch.center() - QPoint(e.mark.width() / 2, e.mark.height() / 2),
                            e.mark);
            }
            p.setPen(palette().color(QPalette::WindowText));
            p.drawText(place.adjusted(kSwatchWidth + kGap, 0, 0, 0),
                       Qt::AlignLeft | Qt::AlignVCenter, e.title);
        }
    }

private:
    static constexpr int kMargin = 4;
    static constexpr int kSwatchWidth = 24;
    static constexpr int kGap = 5;
    static constexpr int kSpacing = 16;

    int SwatchHeight() const { return fontMetrics().height(); }
    int EntryWidth(const Entry& e) const {
        return kSwatchWidth + kGap + fontMetrics().horizontalAdvance(e.title) + 1;
    }

    // Rows filled from the left, each centred; an entry wider than the legend has a row alone.
    std::vector<QRect> Layout(int width) const {
        std::vector<QRect> places;
        const int room = std::max(width - 2 * kMargin, 1);
        const int rowHeight = SwatchHeight() + 4;
        std::size_t first = 0;
        int top = kMargin;
        while (first < entries_.size()) {
            std::size_t end = first;
            int used = 0;
            while (end < entries_.size()) {
                const int next = used + (end > first ? kSpacing : 0) + EntryWidth(entries_[end]);
                if (end > first && next > room) break;
                used = next;
                ++end;
            }
            int left = kMargin + std::max(0, (room - used) / 2);
            for (std::size_t i = first; i < end; ++i) {
                const int w = EntryWidth(entries_[i]);
                places.emplace_back(left, top, w, rowHeight);
                left += w + kSpacing;
            }
            top += rowHeight;
            first = end;
        }
        return places;
    }

    std::vector<Entry> entries_;
};

}  // namespace

TfOper::TfOper(QWidget* parent, Session& session, QTreeWidget* lvLast, std::uint16_t startOffset)
    : QDialog(parent), session_(session), lvLast_(lvLast), start_(startOffset) {
    setObjectName("fOper");
    setWindowTitle(Q(ui::kOperCaption));
    setModal(true);
    resize(980, 600);

    chart_ = new QChart;
    chart_->setObjectName("ChartOper");
    chart_->legend()->hide();  // the window's own legend sits under the chart instead
    axisX_ = new QCategoryAxis;
    axisX_->setTitleText(Q(ui::kOperTimeAxis));
    axisX_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axisY_ = new QValueAxis;
    axisY_->setMin(0);
    axisY_->setLabelFormat("%.0f");
    axisY_->setTickType(QValueAxis::TicksDynamic);
    axisY_->setTickAnchor(0);
    chart_->addAxis(axisX_, Qt::AlignBottom);
    chart_->addAxis(axisY_, Qt::AlignLeft);

    for (int k = 0; k < kFrameCurves; ++k) {
        const CurveStyle& style = kFrameCurveStyles[k];
        QAbstractSeries* series;
        if (style.kind == CurveKind::StepArea) {
            auto* area = new QAreaSeries(new QLineSeries);
            area->upperSeries()->setParent(area);
            QColor fill = StyleColor(style);
            fill.setAlpha(150);
            area->setColor(fill);
            area->setBorderColor(StyleColor(style));
            series = area;
        } else {
            auto* line = new QLineSeries;
            line->setColor(StyleColor(style));
            line->setPointLabelsFormat("@yPoint");
            line->setPointLabelsClipping(true);
            // Qt draws a series' light marker at the series' marker size, not the image's.
            line->setMarkerSize(kPointMarkSize);
            series = line;
        }
        chart_->addSeries(series);
        series->attachAxis(axisX_);
        series->attachAxis(axisY_);
        curves_[k] = series;
    }
    connect(axisX_, &QValueAxis::rangeChanged, this, [this] { ApplyRangeRules(); });
    // Pans stop at the cycle's ends and zooms where labelled points are still in view. The
    // range goes back once the chart has finished the zoom or pan that took it past them: set
    // from inside the change, it would be overwritten by the rest of that change.
    connect(axisX_, &QValueAxis::rangeChanged, this, &TfOper::KeepTimeRangeAllowed,
            Qt::QueuedConnection);
    connect(chart_, &QChart::plotAreaChanged, this, [this] { ShowTimeAxis(); });

    view_ = new TimeChartView(chart_);
    view_->setObjectName("ChartOperView");
    view_->setRenderHint(QPainter::Antialiasing);
    // Chart and legend on one white ground, one picture.
    view_->setBackgroundBrush(Qt::white);
    chart_->setBackgroundRoundness(0);
    legend_ = new CurveLegend;
    legend_->setObjectName("ChartOperLegend");
    // What is printed and saved: the chart with its legend.
    picture_ = new QWidget;
    picture_->setObjectName("ChartOperPicture");
    auto* pictureLayout = new QVBoxLayout(picture_);
    pictureLayout->setContentsMargins(0, 0, 0, 0);
    pictureLayout->setSpacing(0);
    pictureLayout->addWidget(view_, 1);
    pictureLayout->addWidget(legend_);

    chbShow_ = new QListWidget;
    chbShow_->setObjectName("chbShow");
    SetHint(chbShow_, ui::kOperCurvesHint);
    connect(chbShow_, &QListWidget::itemChanged, this, [this] { chbShowClickCheck(); });

    const auto button = [this](const char* name, const QString& caption, const char* hint) {
        auto* b = new QPushButton(caption);
        b->setObjectName(name);
        SetHint(b, hint);
        b->setAutoDefault(false);
        return b;
    };
    auto* prev = button("bbPrev", QString(), ui::kOperPrevHint);
    prev->setIcon(ResourceIcon("prev"));
    auto* next = button("bbNext", QString(), ui::kOperNextHint);
    next->setIcon(ResourceIcon("next"));
    auto* print = button("bbPrint", Q(ui::kPrintButton), ui::kPrintHint);
    auto* save = button("bbSave", Q(ui::kSaveButton), ui::kSaveHint);
    auto* exit = button("bbExit", Q(ui::kExitButton), ui::kExitHint);
    connect(prev, &QPushButton::clicked, this, &TfOper::bbPrevClick);
    connect(next, &QPushButton::clicked, this, &TfOper::bbNextClick);
    connect(print, &QPushButton::clicked, this, [this] { PrintChart(this, picture_); });
    connect(save, &QPushButton::clicked, this, [this] { SaveChartPictureCommand(this, picture_); });
    connect(exit, &QPushButton::clicked, this, &QDialog::close);

    auto* side = new QVBoxLayout;
    auto* curvesBox = new QGroupBox(Q(ui::kOperCurvesGroup));
    curvesBox->setObjectName("gbShow");
    SetHint(curvesBox, ui::kOperCurvesHint);
    (new QVBoxLayout(curvesBox))->addWidget(chbShow_);
    side->addWidget(curvesBox, 1);
    auto* nav = new QHBoxLayout;
    nav->addWidget(prev);
    nav->addWidget(next);
    side->addLayout(nav);
    side->addWidget(print);
    side->addWidget(save);
    side->addWidget(exit);
    chbShow_->setMaximumWidth(200);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(picture_, 1);
    layout->addLayout(side);

    if (parent) {
        const QRect p = parent->frameGeometry();
        move(p.center() - rect().center());
    }
    FormShow();
}

TfOper::~TfOper() = default;

std::array<bool, kFrameCurves> TfOper::Shown() const {
    std::array<bool, kFrameCurves> shown{};
    for (int k = 0; k < kFrameCurves; ++k) shown[k] = firstBuild_ || curves_[k]->isVisible();
    return shown;
}

std::array<bool, kFrameCurves> TfOper::Checked() const {
    std::array<bool, kFrameCurves> checked{};
    for (int k = 0; k < kFrameCurves && k < chbShow_->count(); ++k) {
        checked[k] = chbShow_->item(k)->checkState() == Qt::Checked;
    }
    return checked;
}

void TfOper::FormShow() {
    // An animated rebuild starts from a collapsed axis (every label at the top, so only "0"
    // shows and the grid is missing) and stays so for a second: long enough for a picture, a
    // print or a screenshot taken right after showing or stepping to catch it.
    chart_->setAnimationOptions(QChart::NoAnimation);
    const DisplayModel& m = session_.Model();
    std::array<std::string, 4> names;
    for (int g = 0; g < 4; ++g) names[g] = m.Text(ChannelNameControl(g));
    const auto titles = FrameCurveTitles(names);

    frame_ = BuildFrameChart(session_.Image(), start_, session_.DataCorrection(), Shown());
    firstBuild_ = false;

    const int n = static_cast<int>(frame_.labels.size());
    for (int k = 0; k < kFrameCurves; ++k) {
        const auto& v = frame_.values[k];
        QList<QPointF> points;
        if (kFrameCurveStyles[k].kind == CurveKind::StepArea) {
            // Each value covers the interval from the previous point to its own.
            for (int i = 0; i < static_cast<int>(v.size()); ++i) {
                if (i > 0) points.append(QPointF(i - 1, v[i]));
                points.append(QPointF(i, v[i]));
            }
            static_cast<QAreaSeries*>(curves_[k])->upperSeries()->replace(points);
        } else {
            for (int i = 0; i < static_cast<int>(v.size()); ++i) points.append(QPointF(i, v[i]));
            static_cast<QLineSeries*>(curves_[k])->replace(points);
        }
        curves_[k]->setName(Q(titles[k]));
    }

    timeAxisBuilt_ = false;  // the points are the new frame's
    chart_->zoomReset();
    axisX_->setRange(0, std::max(n - 1, 1));

    // The chart shows its title as rich text, which would fold the runs of blanks that set the
    // title's parts apart.
    chart_->setTitle(Q(frame_.title).toHtmlEscaped().replace(' ', "&nbsp;"));
    chart_->setTitleBrush(frame_.titleValid ? QColor(0, 0, 0) : QColor(255, 0, 0));

    chbShow_->blockSignals(true);
    chbShow_->clear();
    for (int k = 0; k < kFrameCurves; ++k) {
        auto* item = new QListWidgetItem(Q(titles[k]), chbShow_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(frame_.defaultChecks[k] ? Qt::Checked : Qt::Unchecked);
    }
    chbShow_->blockSignals(false);
    chbShowClickCheck();
    ApplyRangeRules();
}

void TfOper::chbShowClickCheck() {
    const auto checked = Checked();
    for (int k = 0; k < kFrameCurves; ++k) curves_[k]->setVisible(checked[k]);
    const double top = FrameValueAxisTop(frame_, checked);
    axisY_->setTickInterval(ValueTickStep(top));
    axisY_->setRange(0, top);

    std::vector<CurveLegend::Entry> entries;
    for (int k = 0; k < kFrameCurves; ++k) {
        if (!checked[k]) continue;
        const CurveStyle& style = kFrameCurveStyles[k];
        const QColor color = StyleColor(style);
        entries.push_back(
            {curves_[k]->name(), color,
             style.kind == CurveKind::StepArea ? QImage() : PointMark(style.kind, color)});
    }
    static_cast<CurveLegend*>(legend_)->SetEntries(std::move(entries));
}

std::vector<std::pair<QString, QRect>> TfOper::LegendEntries() const {
    const auto* legend = static_cast<const CurveLegend*>(legend_);
    const std::vector<QRect> places = legend->Places();
    std::vector<std::pair<QString, QRect>> entries;
    for (std::size_t i = 0; i < places.size(); ++i) {
        entries.emplace_back(legend->Entries()[i].title, places[i]);
    }
    return entries;
}

void TfOper::KeepTimeRangeAllowed() {
    const auto [lo, hi] =
        AllowedTimeRange(axisX_->min(), axisX_->max(), static_cast<int>(frame_.labels.size()));
    constexpr double kSame = 1e-6;
    if (std::abs(lo - axisX_->min()) > kSame || std::abs(hi - axisX_->max()) > kSame) {
        axisX_->setRange(lo, hi);
    }
}

void TfOper::ApplyRangeRules() {
    const double range = axisX_->max() - axisX_->min();
    const bool marks = ValueMarksVisible(range);
    for (int k = 0; k < kLoadCurves; ++k) {
        auto* line = static_cast<QLineSeries*>(curves_[k]);
        line->setPointLabelsVisible(marks);
        line->setLightMarker(marks ? PointMark(kFrameCurveStyles[k].kind, line->color())
                                   : QImage());
    }
    ShowTimeAxis();
}

void TfOper::ShowTimeAxis() {
    const int n = static_cast<int>(frame_.labels.size());
    const double min = axisX_->min();
    const double max = axisX_->max();
    const QRectF plot = chart_->plotArea();
    const bool shown = TimeLabelsVisible(max - min);

    // As many labels as fit side by side without touching: the widest two neighbours in view
    // set the room a label needs.
    const QFontMetricsF metrics(axisX_->labelsFont());
    constexpr double kGap = 6;
    double room = 1;
    double previous = 0;
    const int first = std::max(0, static_cast<int>(std::ceil(min)));
    const int last = std::min(n - 1, static_cast<int>(std::floor(max)));
    for (int x = first; x <= last; ++x) {
        const double width = metrics.horizontalAdvance(Q(frame_.labels[x]));
        room = std::max(room, (previous + width) / 2 + kGap);
        previous = width;
    }
    const int fit = std::min(static_cast<int>(plot.width() / room) + 1, kTimeAxisSlots);
    std::vector<int> points = TimeLabelPoints(n, n - 2, min, max, fit);

    if (!timeAxisBuilt_ || points != timePoints_ || shown != timeLabelsShown_) {
        timePoints_ = std::move(points);
        timeLabelsShown_ = shown;
        timeAxisBuilt_ = true;
        // The axis itself carries the grid lines of the labelled points and keeps a row of
        // empty labels: Qt gives each of its labels an equal share of the axis width and cuts a
        // longer one to "...", and an axis without labels cuts its own title to "...". The
        // texts are drawn below, each centred on its point. Categories need distinct names.
        // Their number never changes, only their places (the unused ones out of view): a
        // running zoom animation keeps the count it started with and reads past the end of
        // a shorter list of labels.
        constexpr double kFar = 1e6;  // a boundary that never comes into view
        axisX_->blockSignals(true);
        for (const QString& label : axisX_->categoriesLabels()) axisX_->remove(label);
        axisX_->setStartValue(-kFar);
        for (int i = 0; i < kTimeAxisSlots; ++i) {
            const double end = i < static_cast<int>(timePoints_.size()) ? timePoints_[i] : kFar + i;
            axisX_->append(SlotName(i), end);
        }
        axisX_->blockSignals(false);
        Q_EMIT axisX_->categoriesChanged();

        while (timeLabels_.size() < timePoints_.size()) {
            auto* label = new QGraphicsSimpleTextItem(chart_);
            timeLabels_.push_back(label);
        }
        for (std::size_t i = 0; i < timeLabels_.size(); ++i) {
            QGraphicsSimpleTextItem* label = timeLabels_[i];
            label->setFont(axisX_->labelsFont());
            label->setBrush(axisX_->labelsBrush());
            label->setText(i < timePoints_.size() ? Q(frame_.labels[timePoints_[i]]) : QString());
        }
    }

    // Under the plot where the axis puts its labels, centred on the point.
    constexpr double kLabelPadding = 4;
    for (std::size_t i = 0; i < timeLabels_.size(); ++i) {
        QGraphicsSimpleTextItem* label = timeLabels_[i];
        if (!shown || i >= timePoints_.size()) {
            label->setVisible(false);
            continue;
        }
        const double x = chart_->mapToPosition(QPointF(timePoints_[i], 0), curves_[0]).x();
        const QRectF box = label->boundingRect();
        label->setPos(std::round(x - box.width() / 2), std::round(plot.bottom() + kLabelPadding));
        label->setVisible(x >= plot.left() - 0.5 && x <= plot.right() + 0.5);
    }
}

void TfOper::bbPrevClick() {
    const auto& rows = session_.Model().cycles;
    const int row = PreviousFrameRow(rows, lvLast_->indexOfTopLevelItem(lvLast_->currentItem()));
    if (row < 0) return;
    lvLast_->setCurrentItem(lvLast_->topLevelItem(row));
    start_ = rows[row].frameOffset;
    FormShow();
}

void TfOper::bbNextClick() {
    const auto& rows = session_.Model().cycles;
    const int row = NextFrameRow(rows, lvLast_->indexOfTopLevelItem(lvLast_->currentItem()));
    if (row < 0) return;
    lvLast_->setCurrentItem(lvLast_->topLevelItem(row));
    start_ = NextFrameStart(session_.Image(), frame_.cursor, rows[row].frameOffset, rows);
    FormShow();
}

void TfOper::closeEvent(QCloseEvent* event) {
    for (int k = 0; k < kFrameCurves; ++k) {
        if (kFrameCurveStyles[k].kind == CurveKind::StepArea) {
            static_cast<QAreaSeries*>(curves_[k])->upperSeries()->clear();
        } else {
            static_cast<QLineSeries*>(curves_[k])->clear();
        }
    }
    QDialog::closeEvent(event);
}

}  // namespace orbisk
