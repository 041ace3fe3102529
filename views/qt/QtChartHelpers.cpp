#include "views/qt/QtChartHelpers.h"

#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QWidget>
#include <cmath>

#include "app/Locations.h"
#include "base/qt/QtDialogs.h"
#include "base/qt/QtPrompter.h"
#include "base/qt/QtText.h"
#include "image/DataFile.h"

namespace orbisk {

double ValueTickStep(double top) {
    constexpr double kMaxSteps = 8;
    if (!std::isfinite(top) || top <= kMaxSteps) return 1;
    double power = 1;
    while (top / (power * 10) > kMaxSteps) power *= 10;
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (top / (factor * power) <= kMaxSteps) return factor * power;
    }
    return power * 10;
}

bool SaveChartPicture(QWidget* chart, const QString& path) {
    const QPixmap picture = chart->grab();
    const bool png = path.endsWith(".png", Qt::CaseInsensitive);
    return picture.save(path, png ? "PNG" : "BMP");
}

void SaveChartPictureCommand(QWidget* window, QWidget* chart) {
    const QString path = SavePictureDialog(window);
    if (path.isEmpty() || SaveChartPicture(chart, path)) return;
    QtPrompter(window).Message(CannotCreateFileText(Utf8ToPath(S(path))), MessageIcon::Error, "");
}

void PrintChart(QWidget* parent, QWidget* chart) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (!PrintDialog(parent, printer)) return;
    QPainter painter(&printer);
    const QPixmap picture = chart->grab();
    const QRect page = painter.viewport();
    QSize size = picture.size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    painter.drawPixmap(QRect(page.topLeft(), size), picture);
}

}  // namespace orbisk
