#pragma once
// The lists, choices and dates of the pages, built the same way everywhere: report-style lists
// with design column widths that widen to their captions, filled in one batch; radio groups;
// and the conversion of day numbers to the toolkit's dates.
#include <QDate>
#include <QStringList>
#include <string>
#include <utility>
#include <vector>

#include "image/DisplayModel.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QTreeWidget;
class QWidget;

namespace orbisk {

QDate ToQDate(double dayNumber);
double FromQDate(const QDate& date);

// A list with the object name and the design widths (and centred captions) of its columns.
QTreeWidget* MakeList(const char* name, const std::vector<std::pair<int, bool>>& columns);
// Draws grid lines between the cells of a list.
void ShowGridLines(QTreeWidget* list);
// Raises a column's design width to what the texts it always shows need.
void WidenDesignWidth(QTreeWidget* list, int column, const QStringList& texts);
// The captions of a list; a column keeps its design width unless its caption needs more.
void SetHeader(QTreeWidget* list, const std::vector<std::string>& columns);
// Fills a list in one batch with its updates suspended; columns from `centredFrom` on centred.
void FillList(QTreeWidget* list, const TableList& table, int centredFrom);
// A list as high as its header and rows, so that every row shows without scrolling.
void FitHeightToRows(QTreeWidget* list);

// A radio group in a group box: one button per item (object names "box_0", "box_1", ...).
QButtonGroup* MakeChoice(QGroupBox* box, const QStringList& items, int columns);
// Checks the button of an index; an index without a button leaves every button clear.
void SelectChoice(QButtonGroup* group, int index);

QLabel* MakeLabel(const QString& text, const char* name = nullptr);

// The background colour of an edit or list.
void SetEditColor(QWidget* edit, EditColor color);

}  // namespace orbisk
