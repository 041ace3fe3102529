#include "desktop/qt/HistoryWindow.h"

#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "app/Locations.h"
#include "app/ProgramIdentity.h"
#include "base/FileReplace.h"
#include "base/TextCodec.h"
#include "base/qt/QtCaptions.h"
#include "base/qt/QtDialogs.h"
#include "base/qt/QtText.h"
#include "image/DataFile.h"

namespace orbisk {
namespace {

constexpr char kChartUse[] = "Использование крана";
constexpr char kChartRate[] = "Рабочих циклов в день между проверками";
constexpr char kSeriesCycles[] = "Рабочие циклы";
constexpr char kSeriesHours[] = "Моточасы";
constexpr char kSeriesTrips[] = "Срабатывания ограничителя";
constexpr char kSaveTitle[] = "Сохранить историю крана";
constexpr char kPageFilter[] = "Страница HTML (*.html *.htm)";

// Date-time values count days from 30.12.1899 in local time, as the axis shows them.
qint64 Msecs(double value) {
    const double days = std::floor(value);
    const QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(days));
    const QTime time = QTime(0, 0).addMSecs(static_cast<int>((value - days) * 86400000.0));
    return QDateTime(date, time).toMSecsSinceEpoch();
}

QDateTimeAxis* TimeAxis(QChart* chart) {
    auto* axis = new QDateTimeAxis;
    axis->setFormat("dd.MM.yyyy");
    axis->setTickCount(5);
    chart->addAxis(axis, Qt::AlignBottom);
    return axis;
}

QChartView* View(QChart* chart, const char* name) {
    chart->legend()->setAlignment(Qt::AlignBottom);
    auto* view = new QChartView(chart);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumHeight(220);
    return view;
}

}  // namespace

TfHistory::TfHistory(const std::vector<Check>& newestFirst, double now, QWidget* parent)
    : QDialog(parent), table_(BuildHistoryTable(newestFirst, now)) {
    setObjectName("TfHistory");
    setWindowTitle(Q(kHistoryTitle));
    auto* layout = new QVBoxLayout(this);

    auto* crane = new QLabel(Q(table_.crane));
    crane->setObjectName("lblCrane");
    layout->addWidget(crane);

    auto* grid = new QTableWidget(static_cast<int>(table_.rows.size()),
                                  static_cast<int>(table_.columns.size()));
    grid->setObjectName("tblHistory");
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    QStringList headers;
    for (const auto& c : table_.columns) headers << Q(c);
    grid->setHorizontalHeaderLabels(headers);
    for (int r = 0; r < static_cast<int>(table_.rows.size()); ++r) {
        const HistoryRow& row = table_.rows[r];
        for (int c = 0; c < static_cast<int>(row.cells.size()); ++c) {
            auto* item = new QTableWidgetItem(Q(row.cells[c]));
            if (row.exceedsPassport) item->setForeground(Qt::red);
            if (row.fileMissing && c == 1) item->setForeground(Qt::gray);
            grid->setItem(r, c, item);
        }
    }
    grid->resizeColumnsToContents();
    layout->addWidget(grid, 1);
    grid->setMinimumHeight(120);

    std::vector<Check> oldestFirst(newestFirst.rbegin(), newestFirst.rend());
    auto* charts = new QHBoxLayout;
    charts->addWidget(UseChart(oldestFirst));
    charts->addWidget(RateChart(oldestFirst));
    layout->addLayout(charts, 2);

    QString verdictText;
    for (const auto& line : table_.verdict) verdictText += Q(line) + "\n";
    auto* verdict = new QLabel(verdictText.trimmed());
    verdict->setObjectName("lblVerdict");
    verdict->setWordWrap(true);
    const bool exceeds = !table_.rows.empty() && table_.rows.front().exceedsPassport;
    if (exceeds) verdict->setStyleSheet("color: red");
    layout->addWidget(verdict);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const auto button = [&](const char* name, const char* caption) {
        auto* b = new QPushButton(Q(caption));
        b->setObjectName(name);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    connect(button("bbPrint", ui::kPrintButton), &QPushButton::clicked, this,
            &TfHistory::PrintExecute);
    connect(button("bbSave", ui::kSaveButton), &QPushButton::clicked, this,
            &TfHistory::SaveExecute);
    connect(button("bbClose", "&Закрыть"), &QPushButton::clicked, this, &QDialog::accept);
    layout->addLayout(buttons);
    resize(1000, 720);
}

QWidget* TfHistory::UseChart(const std::vector<Check>& oldestFirst) {
    auto* chart = new QChart;
    chart->setTitle(Q(kChartUse));
    QDateTimeAxis* time = TimeAxis(chart);
    auto* left = new QValueAxis;
    auto* right = new QValueAxis;
    chart->addAxis(left, Qt::AlignLeft);
    chart->addAxis(right, Qt::AlignRight);
    const auto add = [&](const char* name, QValueAxis* axis, auto value) {
        auto* series = new QLineSeries;
        series->setName(Q(name));
        series->setPointsVisible(true);
        double top = 1;
        for (const Check& c : oldestFirst) {
            series->append(static_cast<qreal>(Msecs(c.readingTime)), value(c));
            top = std::max(top, value(c));
        }
        chart->addSeries(series);
        series->attachAxis(time);
        series->attachAxis(axis);
        axis->setRange(0, std::max(axis->max(), top * 1.1));
    };
    add(kSeriesCycles, left, [](const Check& c) { return double(c.groups[0].cycles); });
    add(kSeriesHours, right, [](const Check& c) { return c.groups[0].operatingMinutes / 60.0; });
    add(kSeriesTrips, right, [](const Check& c) { return double(c.groups[0].limiterTrips); });
    left->setLabelFormat("%.0f");
    right->setLabelFormat("%.0f");
    return View(chart, "chUse");
}

QWidget* TfHistory::RateChart(const std::vector<Check>& oldestFirst) {
    auto* chart = new QChart;
    chart->setTitle(Q(kChartRate));
    chart->legend()->hide();
    QDateTimeAxis* time = TimeAxis(chart);
    auto* values = new QValueAxis;
    values->setLabelFormat("%.1f");
    chart->addAxis(values, Qt::AlignLeft);
    auto* series = new QLineSeries;
    double top = 1;
    for (std::size_t i = 1; i < oldestFirst.size(); ++i) {
        const double days = oldestFirst[i].readingTime - oldestFirst[i - 1].readingTime;
        if (days <= 0) continue;
        const double rate =
            (oldestFirst[i].groups[0].cycles - oldestFirst[i - 1].groups[0].cycles) / days;
        // A step of the rate over each interval between checks.
        series->append(static_cast<qreal>(Msecs(oldestFirst[i - 1].readingTime)), rate);
        series->append(static_cast<qreal>(Msecs(oldestFirst[i].readingTime)), rate);
        top = std::max(top, rate);
    }
    chart->addSeries(series);
    series->attachAxis(time);
    series->attachAxis(values);
    values->setRange(std::min(0.0, values->min()), top * 1.1);
    return View(chart, "chRate");
}

void TfHistory::PrintExecute() {
    QPrinter printer(QPrinter::HighResolution);
    if (!PrintDialog(this, printer)) return;
    QTextDocument page;
    page.setHtml(Q(Cp1251ToUtf8(HistoryPageBytes(table_, ui::kAppTitle))));
    page.print(&printer);
}

void TfHistory::SaveExecute() {
    const QString path =
        QFileDialog::getSaveFileName(this, Q(kSaveTitle), QString(), Q(kPageFilter));
    if (path.isEmpty()) return;
    if (ReplaceFileContents(Utf8ToPath(S(path)), HistoryPageBytes(table_, ui::kAppTitle)) !=
        ReplaceResult::Replaced) {
        QMessageBox::warning(this, Q(ui::kAppTitle), Q(CannotCreateFileText(Utf8ToPath(S(path)))));
    }
}

}  // namespace orbisk
