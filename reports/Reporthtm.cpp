#include "reports/Reporthtm.h"

#include <algorithm>
#include <array>
#include <exception>
#include <initializer_list>
#include <span>

#include "base/TextCodec.h"
#include "reports/ReportTexts.h"

namespace orbisk {
namespace {

// One line of the page from its pieces, joined without separators.
std::string Line(std::initializer_list<std::string_view> parts) {
    std::size_t size = 0;
    for (auto p : parts) size += p.size();
    std::string line;
    line.reserve(size);
    for (auto p : parts) line += p;
    return line;
}

void Add(ReportBuffer& buffer, std::initializer_list<std::string_view> parts) {
    buffer.push_back(Line(parts));
}

void Add(ReportBuffer& buffer, std::string_view line) {
    buffer.emplace_back(line);
}

std::string Val(const DisplayModel& model, Ctl control) {
    return HtmlEscape(model.Text(control));
}

// A cell of a list, or the empty text where the row is shorter than the list.
const std::string& Cell(std::span<const std::string> row, std::size_t column) {
    static const std::string kEmpty;
    return column < row.size() ? row[column] : kEmpty;
}

const std::string& Column(const TableList& list, std::size_t column) {
    return Cell(list.columns, column);
}

void AppendEscaped(std::string& out, std::string_view value) {
    std::size_t from = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        std::string_view entity;
        switch (value[i]) {
            case '&':
                entity = "&amp;";
                break;
            case '<':
                entity = "&lt;";
                break;
            case '>':
                entity = "&gt;";
                break;
            case '"':
                entity = "&quot;";
                break;
            default:
                continue;
        }
        out.append(value, from, i - from);
        out += entity;
        from = i + 1;
    }
    out.append(value, from);
}

// The centred data cell openers, made once: a page of a thousand cycles has thousands of cells.
const std::string& CentredCell(int width) {
    static const std::array<std::string, 101> openers = [] {
        std::array<std::string, 101> all;
        for (int w = 0; w <= 100; ++w) all[w] = DataCellOpener(w);
        return all;
    }();
    return openers[static_cast<std::size_t>(std::clamp(width, 0, 100))];
}

// Opener + escaped value + closing tag, as one line.
void AddCell(ReportBuffer& buffer, std::string_view opener, std::string_view text,
             std::string_view close) {
    std::string line;
    line.reserve(opener.size() + text.size() + close.size() + 8);
    line += opener;
    AppendEscaped(line, text);
    line += close;
    buffer.push_back(std::move(line));
}

void AddHeaderCell(ReportBuffer& buffer, int width, std::string_view text) {
    AddCell(buffer, HeaderCellOpener(width), text, "</TH>");
}

void AddDataCell(ReportBuffer& buffer, int width, std::string_view text) {
    AddCell(buffer, CentredCell(width), text, "</TD>");
}

void AddTableStart(ReportBuffer& buffer) {
    Add(buffer, htm::kTableBorder);
    Add(buffer, "<TR>");
}

constexpr std::string_view kRowBreak = "</TR><TR>";
constexpr std::string_view kTableEnd = "</TR></TABLE>";
constexpr std::string_view kBlankLine =
    "_______________________________________________________________________________<BR>";

std::string Heading(std::string_view num, std::string_view text) {
    return Line({htm::kH3Open, num, text, htm::kH3Close});
}

// Runs one document's body, showing an error the way the documents do.
template <typename Body>
bool BuildDocument(ReportBuffer& buffer, const std::string& title, const ReportSources& sources,
                   Body body) {
    try {
        AddPageHead(buffer, title, sources.applicationTitle);
        body();
        AddPageEnd(buffer);
        return true;
    } catch (const std::exception& error) {
        sources.prompter.Message(error.what(), MessageIcon::Error);
    } catch (...) {
        sources.prompter.Message(report::kUnknownError, MessageIcon::Error);
    }
    return false;
}

}  // namespace

std::string HtmlEscape(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    AppendEscaped(out, value);
    return out;
}

std::string HeaderCellOpener(int width) {
    return Line({"<TH width=\"", std::to_string(width), "%\" align=\"center\">"});
}

std::string DataCellOpener(int width, std::string_view align) {
    return Line({"<TD width=\"", std::to_string(width), "%\" align=\"", align, "\">&nbsp;"});
}

void AddPageHead(ReportBuffer& buffer, std::string_view title, std::string_view applicationTitle) {
    Add(buffer, "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">");
    Add(buffer, "<HTML>");
    Add(buffer, "<HEAD>");
    Add(buffer, {"<TITLE>", HtmlEscape(title), "</TITLE>"});
    Add(buffer, "<META http-equiv=Content-Language content=en-us>");
    Add(buffer, "<META http-equiv=Content-Type content=\"text/html; charset=windows-1251\">");
    Add(buffer, {"<META name=GENERATOR content=\"", HtmlEscape(applicationTitle), "\">"});
    Add(buffer, "</HEAD>");
    Add(buffer,
        "<BODY  style=\"font-size: 12pt; margin-left: 0; margin-top: 0; margin-bottom: 0\">");
}

void AddPageEnd(ReportBuffer& buffer) {
    Add(buffer, "</BODY>");
    Add(buffer, "</HTML>");
}

void AddCraneIdent(const std::string& num, ReportBuffer& buffer, const DisplayModel& m) {
    Add(buffer, Heading(num, ". Идентификационная информация крана"));
    Add(buffer, htm::kParagraph);
    Add(buffer, {num, ".1. Тип и индекс крана . . . . . . . . . . . . . . . <B>",
                 Val(m, Ctl::eMarka), "</B><BR>"});
    Add(buffer,
        {num, ".2. Предприятие-изготовитель крана . . . <B>", Val(m, Ctl::eProd), "</B><BR>"});
    Add(buffer, {num, ".3. Заводской номер крана &nbsp;. . . . . . . . . . . <B>",
                 Val(m, Ctl::eNumber), "</B><BR>"});
    Add(buffer, {num, ".4. Год изготовления крана . . . . . . . . . . . <B>", Val(m, Ctl::eYear),
                 " г.</B><BR>"});
    Add(buffer, {num, ".5. Информация о владельце крана &nbsp;. . . . <B>", Val(m, Ctl::eOwner),
                 "</B><BR>"});
    Add(buffer, {num, ".6. Грузоподъемность ", Val(m, Ctl::eLebNameK), " &nbsp;. . . . . <B>",
                 Val(m, Ctl::eSumGruz), " т</B><BR>"});
    constexpr Ctl kWinchNames[] = {Ctl::eLebName1, Ctl::eLebName2, Ctl::eLebName3};
    constexpr Ctl kWinchCapacities[] = {Ctl::eGruz1, Ctl::eGruz2, Ctl::eGruz3};
    for (int w = 0; w < 3; ++w) {
        Add(buffer, {"&nbsp;", num, ".6.", std::to_string(w + 1), ". ", Val(m, kWinchNames[w]),
                     " &nbsp;. . . . . <B>", Val(m, kWinchCapacities[w]), " т</B><BR>"});
    }
    Add(buffer,
        {num, ".7. Группа классификации крана . . . . . . <B>", Val(m, Ctl::eGroup), "</B><BR>"});
    Add(buffer, {num, ".8. Дата ввода крана в эксплуатацию &nbsp;. . <B>", Val(m, Ctl::eEnter),
                 "</B><BR>"});
    Add(buffer, {num, ".9. Нормативный срок службы крана &nbsp;. . <B>", Val(m, Ctl::eSrok),
                 " лет</B><BR>"});
    Add(buffer, "</P>");
}

void AddRecorderIdent(const std::string& num, ReportBuffer& buffer, const DisplayModel& m) {
    Add(buffer, Heading(num, ". Идентификационная информация регистратора параметров"));
    Add(buffer, htm::kParagraph);
    Add(buffer, {num, ".1. Тип и модификация РП . . . . . . . . . . <B>", Val(m, Ctl::eRegType),
                 "</B><BR>"});
    Add(buffer, {num, ".2. Заводской номер РП &nbsp;. . . . . . . . . . . . <B>",
                 Val(m, Ctl::eRegNum), "</B><BR>"});
    Add(buffer, {num, ".3. Год изготовления РП . . . . . . . . . . . . <B>", Val(m, Ctl::eRegYear),
                 " г.</B><BR>"});
    Add(buffer,
        {num, ".4. Предприятие-изготовитель РП . . . . <B>", Val(m, Ctl::eRegProd), "</B><BR>"});
    Add(buffer, {num, ".5. Дата установки РП на кран . . . . . . . <B>", Val(m, Ctl::eRegSetup),
                 "</B><BR>"});
    Add(buffer, {num, ".6. Организация, установившая РП на кран &nbsp;. . <B>",
                 Val(m, Ctl::eRegSetupName), "</B><BR>"});
    Add(buffer, {num, ".7. Параметры настройки датчиков:<BR>"});
    const TableList sensors = m.LvCalibr();
    AddTableStart(buffer);
    AddHeaderCell(buffer, 40, Column(sensors, 0));
    AddHeaderCell(buffer, 30, Column(sensors, 1));
    AddHeaderCell(buffer, 30, Column(sensors, 2));
    for (const auto& row : sensors.rows) {
        Add(buffer, kRowBreak);
        AddDataCell(buffer, 40, Cell(row, 0));
        AddDataCell(buffer, 30, Cell(row, 1));
        AddDataCell(buffer, 30, Cell(row, 2));
    }
    Add(buffer, kTableEnd);
    Add(buffer, {num, ".8. Версия РП &nbsp;. . . . . . . . . . . . . . . . . . . . . <B>",
                 Val(m, Ctl::eVersion), "</B><BR>"});
    Add(buffer, "</P>");
}

void AddLongTerm(const std::string& num, ReportBuffer& buffer, const DisplayModel& m) {
    Add(buffer, Heading(num, ". Информация долговременного хранения"));
    Add(buffer, htm::kParagraph);
    Add(buffer, {num, ".1. Дата начала отчетного периода &nbsp;. . . . . . . . . . . . . <B>",
                 Val(m, Ctl::eStartDateCheck), "</B><BR>"});
    Add(buffer, {num, ".2. Дата и время считывания информации из РП . . <B>",
                 Val(m, Ctl::eDateCheck), "</B><BR>"});
    Add(buffer, {num,
                 ".3. Распределение регистрируемых циклов работы крана в зависимости от "
                 "нагрузки:<BR>"});
    AddLoadTable(buffer, m);
    Add(buffer, "</P>");
    AddWorkParams(num + ".4", buffer, m);
}

void AddLoadTable(ReportBuffer& buffer, const DisplayModel& m) {
    const TableList load = m.LvLoad();
    AddTableStart(buffer);
    AddHeaderCell(buffer, 5, Column(load, 0));
    for (std::size_t c = 1; c <= 5; ++c) AddHeaderCell(buffer, 19, Column(load, c));
    for (const auto& row : load.rows) {
        Add(buffer, kRowBreak);
        AddDataCell(buffer, 5, Cell(row, 0));
        for (std::size_t c = 1; c <= 5; ++c) AddDataCell(buffer, 19, Cell(row, c));
    }
    Add(buffer, kTableEnd);
}

void AddWorkParams(const std::string& number, ReportBuffer& buffer, const DisplayModel& m) {
    const TableList params = m.LvRegStat();
    Add(buffer, htm::kParagraph);
    Add(buffer, {number, ". Параметры работы крана (по ИСО 4301/1):"});
    AddTableStart(buffer);
    Add(buffer, {HeaderCellOpener(4), "№</TH>"});
    AddHeaderCell(buffer, 36, Column(params, 0));
    for (std::size_t c = 1; c <= 4; ++c) AddHeaderCell(buffer, 15, Column(params, c));
    const std::string valueOpener = CentredCell(15) + "<B>";
    const std::string captionOpener = DataCellOpener(36, "left");
    for (std::size_t i = 0; i < params.rows.size(); ++i) {
        const auto& row = params.rows[i];
        Add(buffer, kRowBreak);
        Add(buffer, {CentredCell(4), std::to_string(i + 1), "</TD>"});
        AddCell(buffer, captionOpener, Cell(row, 0), "</TD>");
        for (std::size_t c = 1; c <= 4; ++c)
            AddCell(buffer, valueOpener, Cell(row, c), "</B></TD>");
    }
    Add(buffer, kTableEnd);
    Add(buffer, "</P>");
}

void AddOperational(const std::string& num, ReportBuffer& buffer, const DisplayModel& m, int n) {
    const std::vector<std::string> columns = m.LvLastColumns();
    Add(buffer, Heading(num, ". Оперативная информация"));
    Add(buffer, htm::kParagraph);
    Add(buffer, {num, ".1. Сведения о регистрируемых циклах работы крана:<BR>"});
    AddTableStart(buffer);
    AddHeaderCell(buffer, 20, Cell(columns, 0));
    for (std::size_t c = 1; c <= 4; ++c) AddHeaderCell(buffer, 15, Cell(columns, c));
    AddHeaderCell(buffer, 10, Cell(columns, 5));
    AddHeaderCell(buffer, 10, Cell(columns, 6));
    const std::size_t count = n <= 0 ? 0 : std::min(m.cycles.size(), static_cast<std::size_t>(n));
    for (std::size_t i = 0; i < count; ++i) {
        const auto& row = m.cycles[i].cells;
        // A row without a time is left out but still counts towards the requested number.
        if (Cell(row, 0).empty()) continue;
        Add(buffer, kRowBreak);
        AddDataCell(buffer, 20, Cell(row, 0));
        for (std::size_t c = 1; c <= 4; ++c) AddDataCell(buffer, 15, Cell(row, c));
        AddDataCell(buffer, 10, Cell(row, 5));
        AddDataCell(buffer, 10, Cell(row, 6));
    }
    Add(buffer, "</TR></TABLE><BR>");
    Add(buffer, "</P>");
}

void AddOperationalCheck(const std::string& num, ReportBuffer& buffer, const DisplayModel& m,
                         int n) {
    const std::vector<std::string> columns = m.LvLastColumns();
    Add(buffer, Heading(num, ". Оперативная информация"));
    Add(buffer, htm::kParagraph);
    Add(buffer, {num, ".1. Сведения о регистрируемых циклах работы крана:<BR>"});
    AddTableStart(buffer);
    Add(buffer, {HeaderCellOpener(4), "№</TH>"});
    AddHeaderCell(buffer, 20, Cell(columns, 0));
    for (std::size_t c = 2; c <= 5; ++c) AddHeaderCell(buffer, 15, Cell(columns, c));
    AddHeaderCell(buffer, 16, Cell(columns, 6));
    const std::size_t count = n <= 0 ? 0 : std::min(m.cycles.size(), static_cast<std::size_t>(n));
    // Oldest of the chosen cycles first; the running number counts every row walked, so that a
    // row without a time leaves a gap in the numbers.
    const std::string blank20 = CentredCell(20) + "</TD>";
    const std::string blank15 = CentredCell(15) + "</TD>";
    const std::string blank16 = CentredCell(16) + "</TD>";
    int k = 0;
    for (std::size_t i = count; i-- > 0;) {
        ++k;
        const auto& row = m.cycles[i].cells;
        if (Cell(row, 0).empty()) continue;
        const std::string number = std::to_string(k);
        Add(buffer, kRowBreak);
        Add(buffer, {CentredCell(4), number, "</TD>"});
        AddDataCell(buffer, 20, Cell(row, 0));
        for (std::size_t c = 2; c <= 5; ++c) AddDataCell(buffer, 15, Cell(row, c));
        AddDataCell(buffer, 16, Cell(row, 6));
        Add(buffer, kRowBreak);
        Add(buffer, {CentredCell(4), number, "ф</TD>"});
        Add(buffer, blank20);
        for (int c = 0; c < 4; ++c) Add(buffer, blank15);
        Add(buffer, blank16);
    }
    Add(buffer, "</TR></TABLE><BR>");
    Add(buffer, "</P>");
}

void AddConditions(const std::string& num, ReportBuffer& buffer) {
    Add(buffer, Heading(num, ". Условия проведения проверки"));
    Add(buffer, htm::kParagraph);
    Add(buffer, {num,
                 ".1. Температура окружающей среды "
                 "_______________________________________________<BR>"});
    Add(buffer, {num,
                 ".2. Скорость ветра "
                 "______________________________________________________________<BR>"});
    Add(buffer, {num,
                 ".3. Другие сведения "
                 "_____________________________________________________________<BR>"});
    Add(buffer, kBlankLine);
    Add(buffer, "</P>");
}

void AddSpecialist(const std::string& num, ReportBuffer& buffer, SpecialistProvider& provider) {
    const Specialist s = provider.ChooseSpecialist();
    Add(buffer, Heading(num, ". Сведения о специалисте по обработке информации РП"));
    Add(buffer, htm::kParagraph);
    if (s.family.empty()) {
        Add(buffer,
            "Ф.И.О. ________________________________________________________________________<BR>");
    } else {
        Add(buffer, {"Ф.И.О.  . . . . . . . . . ", HtmlEscape(s.family), " ", HtmlEscape(s.name),
                     " ", HtmlEscape(s.father), "<BR>"});
    }
    if (s.work.empty()) {
        Add(buffer,
            "Место работы __________________________________________________________________<BR>");
    } else {
        Add(buffer, {"Место работы . . . ", HtmlEscape(s.work), "<BR>"});
    }
    if (s.number.empty()) {
        Add(buffer,
            "№ удостоверения, дата и место выдачи _____________________________________________"
            "<BR>");
        Add(buffer, kBlankLine);
    } else {
        Add(buffer, {"№ удостоверения, дата и место выдачи . . . № ", HtmlEscape(s.number), " ",
                     HtmlEscape(s.issued), "<BR>"});
    }
    if (s.validity.empty()) {
        Add(buffer,
            "Срок действия удостоверения "
            "_____________________________________________________<BR>");
    } else {
        Add(buffer, {"Срок действия удостоверения . . . ", HtmlEscape(s.validity), "<BR>"});
    }
    Add(buffer,
        "Подпись:_______________________________________________________________________<BR>");
    Add(buffer, "</P>");
}

void AddConclusion(ReportBuffer& buffer) {
    Add(buffer, htm::kParagraph);
    Add(buffer,
        "Заключение:____________________________________________________________________<BR>");
    for (int i = 0; i < 3; ++i) Add(buffer, kBlankLine);
    Add(buffer, htm::kTable);
    Add(buffer, "<BR><TR>");
    Add(buffer, {DataCellOpener(40, "left"),
                 "Специалист, ответственный за содержание ПС в работоспособном состоянии</TD>"});
    Add(buffer, {DataCellOpener(20), "</TD>"});
    Add(buffer,
        {DataCellOpener(40, "left"), "Работник от организации, проводившей проверку РП</TD>"});
    Add(buffer, kTableEnd);
    Add(buffer, "</P>");
}

bool MakeProtocol1(ReportBuffer& buffer, const std::string& title, int n,
                   const ReportSources& src) {
    return BuildDocument(buffer, title, src, [&] {
        const DisplayModel& m = src.model;
        Add(buffer, {htm::kH2Open, "ПРОТОКОЛ №1<BR>"});
        Add(buffer, {"проверки регистратора параметров", htm::kH2Close});
        Add(buffer,
            "Организация, проводившая проверку ___________________________________________<BR>");
        Add(buffer,
            "Дата проведения проверки ____________________________________________________<BR>");
        Add(buffer,
            "Дата последней проверки _____________________________________________________<BR>");
        AddCraneIdent("1", buffer, m);
        AddRecorderIdent("2", buffer, m);
        // The crane's column of the operating parameters, rows taken by position.
        auto crane = [&m](int row) { return HtmlEscape(m.regStat[row][0]); };
        Add(buffer, Heading("3", ". Информация долговременного хранения"));
        Add(buffer, htm::kParagraph);
        Add(buffer, {"3.1. Общая наработка крана в моточасах . . . . . . . . . . . . . . . . . <B>",
                     crane(3), " ч</B><BR>"});
        Add(buffer, {"3.2. Суммарное число циклов работы крана (РП) . . . . . . . . . . <B>",
                     crane(0), "</B><BR>"});
        Add(buffer,
            "3.3. Суммарное число циклов работы крана (фактическое) . . _______________<BR>");
        Add(buffer, {"3.4. Суммарная масса поднятых грузов (РП) . . . . . . . . . . . . . . <B>",
                     crane(1), " т</B><BR>"});
        Add(buffer,
            "3.5. Суммарная масса поднятых грузов (фактическая) . . . . . . _______________<BR>");
        Add(buffer, {"3.6. Дата и время считывания информации (РП) . . . . . . . . . . . <B>",
                     Val(m, Ctl::eDateCheck), "</B><BR>"});
        Add(buffer,
            "3.7. Дата и время считывания информации (фактическое) . . . "
            "__________________________<BR>");
        Add(buffer, {"3.8. Количество срабатываний ограничителя грузоподъемности . . <B>", crane(2),
                     "</B><BR>"});
        Add(buffer, "</P>");
        AddOperationalCheck("4", buffer, m, n);
        AddConditions("5", buffer);
        AddSpecialist("6", buffer, src.specialist);
        AddConclusion(buffer);
    });
}

bool MakeJournal(ReportBuffer& buffer, const std::string& title, int n, const ReportSources& src) {
    return BuildDocument(buffer, title, src, [&] {
        const DisplayModel& m = src.model;
        Add(buffer, {htm::kH2Open, "ЖУРНАЛ ПРОВЕРКИ<BR>"});
        Add(buffer, {"регистратора параметров при подготовке Протокола №1", htm::kH2Close});
        AddCraneIdent("1", buffer, m);
        Add(buffer, "</P>");
        AddRecorderIdent("2", buffer, m);
        Add(buffer, "</P>");
        Add(buffer, Heading("3", ". План проверки регистратора параметров"));
        Add(buffer, htm::kParagraph);
        Add(buffer,
            "3.1. Дата и время проведения проверки "
            "_____________________________________________<BR>");
        Add(buffer,
            "3.2. Суммарное число циклов работы крана в период проверки "
            "_________________________<BR>");
        Add(buffer,
            "3.3. Суммарная масса поднятых грузов в период проверки "
            "_____________________________<BR>");
        Add(buffer,
            "3.4. Дата и время считывания информации  "
            "__________________________________________<BR>");
        Add(buffer, "3.5. Сведения о циклах работы крана, проведенных в период проверки:<BR>");
        const std::vector<std::string> columns = m.LvLastColumns();
        AddTableStart(buffer);
        Add(buffer, {HeaderCellOpener(4), "№</TH>"});
        AddHeaderCell(buffer, 20, Cell(columns, 0));
        for (std::size_t c : {2, 3, 4, 6}) AddHeaderCell(buffer, 16, Cell(columns, c));
        const int rows = std::min(n, kMaxJournalRows);
        const std::string numberOpener = DataCellOpener(4);
        const std::string dateCell = DataCellOpener(20) + "</TD>";
        const std::string blankCell = DataCellOpener(16) + "</TD>";
        for (int r = 1; r <= rows; ++r) {
            Add(buffer, kRowBreak);
            Add(buffer, {numberOpener, std::to_string(r), "</TD>"});
            Add(buffer, dateCell);
            for (int c = 0; c < 4; ++c) Add(buffer, blankCell);
        }
        Add(buffer, kTableEnd);
        Add(buffer, "</P>");
        AddConditions("4", buffer);
        AddSpecialist("5", buffer, src.specialist);
    });
}

bool MakeProtocol2(ReportBuffer& buffer, const std::string& title, int n,
                   const ReportSources& src) {
    return BuildDocument(buffer, title, src, [&] {
        Add(buffer, {htm::kH2Open, "ПРОТОКОЛ №2<BR>"});
        Add(buffer, {"проверки эффективности использования крана", htm::kH2Close});
        AddCraneIdent("1", buffer, src.model);
        AddRecorderIdent("2", buffer, src.model);
        AddLongTerm("3", buffer, src.model);
        AddOperational("4", buffer, src.model, n);
        AddSpecialist("5", buffer, src.specialist);
        AddConclusion(buffer);
    });
}

bool MakeProtocol3(ReportBuffer& buffer, const std::string& title, int n,
                   const ReportSources& src) {
    return BuildDocument(buffer, title, src, [&] {
        Add(buffer, {htm::kH2Open, "ПРОТОКОЛ №3<BR>"});
        Add(buffer,
            {"при составлении заключения экспертизы промышленной безопасности", htm::kH2Close});
        AddCraneIdent("1", buffer, src.model);
        AddRecorderIdent("2", buffer, src.model);
        AddLongTerm("3", buffer, src.model);
        AddOperational("4", buffer, src.model, n);
        AddSpecialist("5", buffer, src.specialist);
        Add(buffer, htm::kParagraph);
        Add(buffer, "<BR>От экспертной организации</P>");
    });
}

bool MakeProtocol4(ReportBuffer& buffer, const std::string& title, int n,
                   const ReportSources& src) {
    return BuildDocument(buffer, title, src, [&] {
        Add(buffer, {htm::kH2Open, "ПРОТОКОЛ №4<BR>"});
        Add(buffer, {"при расследовании аварии крана", htm::kH2Close});
        Add(buffer, Heading("1", ". Информация о месте и характере аварии (несчасного случая)"));
        Add(buffer, htm::kParagraph);
        Add(buffer,
            "1.1. Реальное время и дата события "
            "________________________________________________<BR>");
        Add(buffer, kBlankLine);
        Add(buffer,
            "1.2. Место происшествия (предприятие, цех, участок) "
            "_________________________________<BR>");
        Add(buffer, kBlankLine);
        Add(buffer, kBlankLine);
        Add(buffer,
            "1.3. Характер аварии "
            "_____________________________________________________________<BR>");
        Add(buffer, kBlankLine);
        Add(buffer, kBlankLine);
        Add(buffer, "</P>");
        AddCraneIdent("2", buffer, src.model);
        AddRecorderIdent("3", buffer, src.model);
        AddLongTerm("4", buffer, src.model);
        AddOperational("5", buffer, src.model, n);
        AddSpecialist("6", buffer, src.specialist);
    });
}

std::string PageBytes(const ReportBuffer& buffer) {
    std::size_t size = 0;
    for (const auto& line : buffer) size += line.size() + 2;
    std::string page;
    page.reserve(size);
    // Most of a page is ASCII markup; only the runs of other characters go through the code
    // page conversion, which keeps a page of a thousand cycles fast to write.
    for (const auto& line : buffer) {
        std::size_t pos = 0;
        while (pos < line.size()) {
            std::size_t ascii = pos;
            while (ascii < line.size() && static_cast<unsigned char>(line[ascii]) < 0x80) ++ascii;
            page.append(line, pos, ascii - pos);
            std::size_t other = ascii;
            while (other < line.size() && static_cast<unsigned char>(line[other]) >= 0x80) ++other;
            if (other > ascii) {
                AppendUtf8AsCp1251(page, std::string_view(line).substr(ascii, other - ascii));
            }
            pos = other;
        }
        page += "\r\n";
    }
    return page;
}

}  // namespace orbisk
