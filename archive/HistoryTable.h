#pragma once
// A crane's history as the window and its printed page show it: one row of texts per check,
// newest first, the marks of each row, and the verdict on the crane's use.
#include <string>
#include <vector>

#include "archive/Check.h"

namespace orbisk {

struct HistoryRow {
    std::vector<std::string> cells;
    bool fileMissing = false;
    bool exceedsPassport = false;  // shown in red
    bool oddReadingTime = false;   // in the future or before the installation date
};

struct HistoryTable {
    std::string crane;  // type, number and owner in one line
    std::vector<std::string> columns;
    std::vector<HistoryRow> rows;
    std::vector<std::string> verdict;  // lines under the table
};

HistoryTable BuildHistoryTable(const std::vector<Check>& newestFirst, double now);

// The table as an HTML page in the protocols' style, Windows-1251, ready to be written.
std::string HistoryPageBytes(const HistoryTable& table, const std::string& applicationTitle);

// The texts of the window and its page.
inline constexpr char kHistoryTitle[] = "История крана";
inline constexpr char kMissingFileMark[] = " (файла нет)";

}  // namespace orbisk
