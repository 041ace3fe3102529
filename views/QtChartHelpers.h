#pragma once
// Pieces both chart windows share: saving the chart as a picture and printing it.
#include <QString>

class QWidget;

namespace orbisk {

// Saves the widget's picture; BMP unless the name ends in ".png". False when it cannot be written.
bool SaveChartPicture(QWidget* chart, const QString& path);

// Prints the widget on a page, scaled to fit, after the print dialog.
void PrintChart(QWidget* parent, QWidget* chart);

}  // namespace orbisk
