#include "base/qt/QtLists.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <algorithm>

#include "base/DateTime.h"
#include "base/qt/QtText.h"

namespace orbisk {

namespace {

// The cells of a list drawn with grid lines between them, as a report-style list with grid
// lines shows them.
class GridLinesDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(option.palette.color(QPalette::Mid));
        const QRect r = option.rect;
        painter->drawLine(r.topRight(), r.bottomRight());
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        painter->restore();
    }
};

// The width a text needs in a list's column on this screen's font, its cell margins included.
int TextWidth(const QFontMetrics& metrics, const QTreeWidget* list, const QString& text) {
    return metrics.horizontalAdvance(text) +
           2 * list->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, list) + 8;
}

}  // namespace

QDate ToQDate(double dayNumber) {
    const CivilDate d = DateOfDay(WholeDays(dayNumber));
    return QDate(d.year, d.month, d.day);
}

double FromQDate(const QDate& date) {
    return static_cast<double>(DayNumber(date.year(), date.month(), date.day()));
}

QTreeWidget* MakeList(const char* name, const std::vector<std::pair<int, bool>>& columns) {
    auto* list = new QTreeWidget;
    list->setObjectName(name);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSortingEnabled(false);
    list->setColumnCount(static_cast<int>(columns.size()));
    QVariantList design;
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        design << columns[c].first;
        list->setColumnWidth(c, columns[c].first);
        if (columns[c].second) list->headerItem()->setTextAlignment(c, Qt::AlignCenter);
    }
    list->header()->setStretchLastSection(false);
    list->setProperty("designWidths", design);
    return list;
}

void ShowGridLines(QTreeWidget* list) {
    list->setItemDelegate(new GridLinesDelegate(list));
}

void WidenDesignWidth(QTreeWidget* list, int column, const QStringList& texts) {
    QVariantList design = list->property("designWidths").toList();
    for (const QString& text : texts) {
        design[column] =
            std::max(design[column].toInt(), TextWidth(list->fontMetrics(), list, text));
    }
    list->setProperty("designWidths", design);
    list->setColumnWidth(column, design[column].toInt());
}

// The channel names the user gives the crane and winches must be readable in every list.
void SetHeader(QTreeWidget* list, const std::vector<std::string>& columns) {
    const QVariantList design = list->property("designWidths").toList();
    for (int c = 0; c < static_cast<int>(columns.size()) && c < list->columnCount(); ++c) {
        const QString caption = Q(columns[c]);
        list->headerItem()->setText(c, caption);
        if (c >= design.size()) continue;
        const int needed = TextWidth(list->header()->fontMetrics(), list, caption);
        list->setColumnWidth(c, std::max(design[c].toInt(), needed));
    }
}

void FillList(QTreeWidget* list, const TableList& table, int centredFrom) {
    list->setUpdatesEnabled(false);
    list->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(table.rows.size()));
    for (const auto& row : table.rows) {
        auto* item = new QTreeWidgetItem;
        for (int c = 0; c < static_cast<int>(row.size()); ++c) {
            item->setText(c, Q(row[c]));
            if (centredFrom >= 0 && c >= centredFrom) item->setTextAlignment(c, Qt::AlignCenter);
        }
        items.append(item);
    }
    list->addTopLevelItems(items);
    list->setUpdatesEnabled(true);
}

void FitHeightToRows(QTreeWidget* list) {
    int height = list->header()->sizeHint().height() + 2 * list->frameWidth();
    for (int row = 0; row < list->topLevelItemCount(); ++row) height += list->sizeHintForRow(row);
    list->setFixedHeight(height);
}

QButtonGroup* MakeChoice(QGroupBox* box, const QStringList& items, int columns) {
    auto* group = new QButtonGroup(box);
    group->setObjectName(box->objectName());
    auto* grid = new QGridLayout(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i]);
        radio->setObjectName(box->objectName() + QString("_%1").arg(i));
        group->addButton(radio, i);
        grid->addWidget(radio, i / columns, i % columns);
    }
    return group;
}

void SelectChoice(QButtonGroup* group, int index) {
    if (QAbstractButton* button = group->button(index)) {
        button->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (auto* b : group->buttons()) b->setChecked(false);
    group->setExclusive(true);
}

QLabel* MakeLabel(const QString& text, const char* name) {
    auto* label = new QLabel(text);
    if (name) label->setObjectName(name);
    return label;
}

void SetEditColor(QWidget* edit, EditColor color) {
    QColor c;
    switch (color) {
        case EditColor::Window:
            c = QApplication::palette().color(QPalette::Active, QPalette::Base);
            break;
        case EditColor::ButtonFace:
            c = QApplication::palette().color(QPalette::Active, QPalette::Button);
            break;
        case EditColor::Green:
            c = QColor(0, 255, 0);
            break;
        case EditColor::Red:
            c = QColor(255, 0, 0);
            break;
    }
    QPalette p = edit->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Base, c);
    }
    edit->setPalette(p);
}

}  // namespace orbisk
