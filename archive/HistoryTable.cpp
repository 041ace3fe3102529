#include "archive/HistoryTable.h"

#include <filesystem>

#include "app/Locations.h"
#include "archive/Verdict.h"
#include "base/DateTime.h"
#include "image/NumberFormat.h"
#include "reports/Reporthtm.h"

namespace orbisk {
namespace {

std::string HoursMinutes(long long minutes) {
    const long long m = minutes % 60;
    return std::to_string(minutes / 60) + (m < 10 ? ".0" : ".") + std::to_string(m);
}

std::string Percent(double share) {
    return FormatFixed(share * 100.0, 1) + " %";
}

}  // namespace

HistoryTable BuildHistoryTable(const std::vector<Check>& newestFirst, double now) {
    HistoryTable t;
    t.columns = {"Дата считывания",
                 "Файл",
                 "Рабочих циклов",
                 "Масса грузов, т",
                 "Срабатываний ограничителя",
                 "Наработка, ч.мин",
                 "Kp",
                 "Группа крана",
                 "Группы лебёдок",
                 "Группа по паспорту",
                 "Срок службы использован"};
    if (newestFirst.empty()) return t;
    const Check& last = newestFirst.front();
    t.crane = last.craneType + " № " + last.craneNumber +
              (last.owner.empty() ? std::string() : ", " + last.owner);
    for (const Check& c : newestFirst) {
        const CheckVerdict v = JudgeCheck(c, now);
        HistoryRow row;
        std::error_code ec;
        row.fileMissing = !std::filesystem::is_regular_file(Utf8ToPath(c.path), ec);
        row.exceedsPassport = v.exceedsPassport;
        row.oddReadingTime = v.readingInFuture || v.readingBeforeInstallation;
        std::string winches;
        for (int g = 1; g < kGroups; ++g) {
            if (c.groups[g].cycles == 0) continue;
            winches += (winches.empty() ? "M" : ", M") + std::to_string(c.groups[g].group);
        }
        const GroupFigures& crane = c.groups[0];
        row.cells = {
            DateTimeText(c.readingTime) + (row.oddReadingTime ? " (?)" : ""),
            PathToUtf8(Utf8ToPath(c.path).filename()) + (row.fileMissing ? kMissingFileMark : ""),
            std::to_string(crane.cycles),
            FormatFixed(crane.liftedMass, 2),
            std::to_string(crane.limiterTrips),
            HoursMinutes(crane.operatingMinutes),
            FormatFixed(crane.kp, 2),
            "A" + std::to_string(crane.group),
            winches.empty() ? "-" : winches,
            v.passportGroup ? c.passportGroup : c.passportGroup + " (не читается как A1..A8)",
            v.lifeShare ? Percent(*v.lifeShare) : "-"};
        t.rows.push_back(std::move(row));
    }

    const CheckVerdict v = JudgeCheck(last, now);
    if (!v.passportGroup) {
        t.verdict.push_back("Группа по паспорту «" + last.passportGroup +
                            "» не читается как A1..A8: вывода нет.");
        return t;
    }
    t.verdict.push_back("Фактическая группа крана A" + std::to_string(last.groups[0].group) +
                        (v.exceedsPassport ? " выше" : " не выше") + " группы по паспорту A" +
                        std::to_string(*v.passportGroup) + ".");
    if (const auto r = ReserveOf(newestFirst)) {
        std::string line = "Запас при режиме нагружения Q" + std::to_string(r->loadClass) + ": ";
        if (!r->allowedUseClass) {
            line += "паспорт не допускает ни одного класса использования.";
        } else if (!r->cyclesLeft) {
            line += "паспорт допускает любой класс использования.";
        } else if (*r->cyclesLeft == 0) {
            line += "класс использования до U" + std::to_string(*r->allowedUseClass) +
                    ", запас исчерпан.";
        } else {
            line += "класс использования до U" + std::to_string(*r->allowedUseClass) + ", ещё " +
                    std::to_string(*r->cyclesLeft) + " рабочих циклов";
            if (r->reachedOn) {
                line += ", будут выполнены к " + ShortDateText(*r->reachedOn) + " (" +
                        FormatFixed(*r->ratePerDay, 1) + " циклов в день)";
            }
            line += ".";
        }
        t.verdict.push_back(line);
    }
    return t;
}

std::string HistoryPageBytes(const HistoryTable& table, const std::string& applicationTitle) {
    ReportBuffer page;
    AddPageHead(page, kHistoryTitle, applicationTitle);
    page.push_back(std::string(htm::kH2Open) + kHistoryTitle + std::string(htm::kH2Close));
    page.push_back(std::string(htm::kParagraph) + HtmlEscape(table.crane) + "</P>");
    page.push_back(std::string(htm::kTableBorder));
    std::string header = "<TR>";
    for (const auto& c : table.columns) header += "<TH align=\"center\">" + HtmlEscape(c) + "</TH>";
    page.push_back(header + "</TR>");
    for (const HistoryRow& row : table.rows) {
        std::string line = row.exceedsPassport ? "<TR style=\"color: red\">" : "<TR>";
        for (const auto& cell : row.cells) {
            line += "<TD align=\"center\">&nbsp;" + HtmlEscape(cell) + "</TD>";
        }
        page.push_back(line + "</TR>");
    }
    page.push_back("</TABLE>");
    for (const auto& line : table.verdict) {
        page.push_back(std::string(htm::kParagraph) + HtmlEscape(line) + "</P>");
    }
    AddPageEnd(page);
    return PageBytes(page);
}

}  // namespace orbisk
