#include "views/QtChartHelpers.h"

#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QWidget>

#include "app/Datau.h"

namespace orbisk {

bool SaveChartPicture(QWidget* chart, const QString& path) {
    const QPixmap picture = chart->grab();
    const bool png = path.endsWith(".png", Qt::CaseInsensitive);
    return picture.save(path, png ? "PNG" : "BMP");
}

void PrintChart(QWidget* parent, QWidget* chart) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (!TDataModule1::PrintDialog(parent, printer)) return;
    QPainter painter(&printer);
    const QPixmap picture = chart->grab();
    const QRect page = painter.viewport();
    QSize size = picture.size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    painter.drawPixmap(QRect(page.topLeft(), size), picture);
}

}  // namespace orbisk
