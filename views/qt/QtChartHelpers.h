#pragma once
// Pieces both chart windows share: saving the chart as a picture and printing it.
#include <QString>

class QWidget;

namespace orbisk {

// Saves the widget's picture; BMP unless the name ends in ".png". False when it cannot be written.
bool SaveChartPicture(QWidget* chart, const QString& path);

// The picture-save command of both windows: the save dialog, then the picture, and a message box
// when the file cannot be written.
void SaveChartPictureCommand(QWidget* window, QWidget* chart);

// A tick step of 1, 2 or 5 times a power of ten, never below 1, that gives at most eight steps
// up to `top`: the value axes count whole things (per cent, cycles), so they read 0, 1, 2 or
// 0, 10, 20 rather than fractions of an odd maximum.
double ValueTickStep(double top);

// Prints the widget on a page, scaled to fit, after the print dialog.
void PrintChart(QWidget* parent, QWidget* chart);

}  // namespace orbisk
