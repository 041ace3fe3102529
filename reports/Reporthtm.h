#pragma once
// The inspection documents as HTML pages: the page skeleton, the shared fragments and cell
// openers, the numbered sections and the five documents. Everything is copied from the display
// model as the windows show it; nothing is recomputed. Lines are UTF-8 here and become
// Windows-1251 only when the page is written (PageBytes).
#include <string>
#include <string_view>
#include <vector>

#include "base/Prompter.h"
#include "image/DisplayModel.h"
#include "reports/SpecialistProvider.h"

namespace orbisk {

// The document buffer: one entry per line of the page.
using ReportBuffer = std::vector<std::string>;

namespace htm {
inline constexpr std::string_view kH2Open = "<H2 align=\"center\">";
inline constexpr std::string_view kH2Close = "</H2>";
inline constexpr std::string_view kH3Open = "<H3 align=\"left\"><U>";
inline constexpr std::string_view kH3Close = "</H3></U>";
inline constexpr std::string_view kParagraph = "<P align=\"left\">";
inline constexpr std::string_view kTable =
    "<TABLE style=\"font-size: 12pt; margin-top: 5\" cellpadding=\"0\" cellspacing=\"0\" "
    "width=\"100%\" id=\"AutoNumber1\">";
inline constexpr std::string_view kTableBorder =
    "<TABLE border=\"1\" bordercolor=\"#111111\" style=\"font-size: 12pt; margin-top: 5\" "
    "cellpadding=\"0\" cellspacing=\"0\" width=\"100%\" id=\"AutoNumber1\">";
}  // namespace htm

// A value put into the page, with & < > " written as entities.
std::string HtmlEscape(std::string_view value);

// "<TH width=\"W%\" align=\"center\">"
std::string HeaderCellOpener(int width);
// "<TD width=\"W%\" align=\"A\">&nbsp;"
std::string DataCellOpener(int width, std::string_view align = "center");

// What the documents are made of besides their literal texts.
struct ReportSources {
    const DisplayModel& model;
    SpecialistProvider& specialist;
    Prompter& prompter;  // shows a document's own error in the standard error box
    std::string applicationTitle;
};

// Skeleton lines 1 to 9, and the last two.
void AddPageHead(ReportBuffer& buffer, std::string_view title, std::string_view applicationTitle);
void AddPageEnd(ReportBuffer& buffer);

// The shared sections; `num` is the section's number in the calling document.
void AddCraneIdent(const std::string& num, ReportBuffer& buffer, const DisplayModel& model);
void AddRecorderIdent(const std::string& num, ReportBuffer& buffer, const DisplayModel& model);
void AddLongTerm(const std::string& num, ReportBuffer& buffer, const DisplayModel& model);
void AddLoadTable(ReportBuffer& buffer, const DisplayModel& model);
void AddWorkParams(const std::string& number, ReportBuffer& buffer, const DisplayModel& model);
void AddOperational(const std::string& num, ReportBuffer& buffer, const DisplayModel& model, int n);
void AddOperationalCheck(const std::string& num, ReportBuffer& buffer, const DisplayModel& model,
                         int n);
void AddConditions(const std::string& num, ReportBuffer& buffer);
void AddSpecialist(const std::string& num, ReportBuffer& buffer, SpecialistProvider& provider);
void AddConclusion(ReportBuffer& buffer);

// The documents. Each appends a whole page to the empty buffer; an error raised while it builds
// is shown through the prompter and the lines appended so far stay, so that the caller still
// writes that partial page. Returns true when the page was completed.
bool MakeProtocol1(ReportBuffer& buffer, const std::string& title, int n,
                   const ReportSources& sources);
bool MakeProtocol2(ReportBuffer& buffer, const std::string& title, int n,
                   const ReportSources& sources);
bool MakeProtocol3(ReportBuffer& buffer, const std::string& title, int n,
                   const ReportSources& sources);
bool MakeProtocol4(ReportBuffer& buffer, const std::string& title, int n,
                   const ReportSources& sources);
bool MakeJournal(ReportBuffer& buffer, const std::string& title, int n,
                 const ReportSources& sources);

// The journal's numbered blank rows stop here, however many the user asked for: the page is a
// paper form, and a mistyped count must not exhaust the memory.
inline constexpr int kMaxJournalRows = 10000;

// The page as written to disk: every line, the last one included, followed by CR LF, in
// Windows-1251.
std::string PageBytes(const ReportBuffer& buffer);

}  // namespace orbisk
