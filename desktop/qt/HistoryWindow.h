#pragma once
// TfHistory: «История крана», the checks of the crane shown, newest first, with charts of its use
// over time and the verdict against its passport group; printed or saved as a page.
#include <QDialog>
#include <vector>

#include "archive/Check.h"
#include "archive/HistoryTable.h"

class QTableWidget;
class QLabel;

namespace orbisk {

class TfHistory : public QDialog {
    Q_OBJECT
public:
    TfHistory(const std::vector<Check>& newestFirst, double now, QWidget* parent = nullptr);

    const HistoryTable& Table() const { return table_; }

public Q_SLOTS:
    void PrintExecute();
    void SaveExecute();

private:
    QWidget* UseChart(const std::vector<Check>& oldestFirst);
    QWidget* RateChart(const std::vector<Check>& oldestFirst);

    HistoryTable table_;
};

}  // namespace orbisk
