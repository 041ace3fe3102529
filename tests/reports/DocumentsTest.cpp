// The five documents line for line: numbering, tables bounded by the cycle count, running
// numbers, blank rows, the specialist, escaping and the bytes of the page.
#include <gtest/gtest.h>

#include <stdexcept>

#include "reports/BuildReport.h"
#include "reports/ReportTexts.h"
#include "support/ReportFixtures.h"

namespace orbisk {
namespace {

using test::CountContaining;
using test::Headings;
using test::IndexOf;
using test::RecordingPrompter;
using test::SampleModel;
using test::SetCycles;

struct Built {
    ReportBuffer buffer;
    bool complete;
    std::vector<test::MessageRecord> messages;
};

Built Build(int kind, const DisplayModel& model, int n, Specialist s = {}) {
    RecordingPrompter prompter;
    FixedSpecialist specialist(std::move(s));
    const ReportSources src{model, specialist, prompter, std::string(report::kApplicationTitle)};
    Built b;
    b.complete = FindReportKind(kind)->generator(b.buffer, "Заголовок", n, src);
    b.messages = prompter.messages;
    return b;
}

// The data rows of the last table that begins before `end` and after `from`.
int DataRows(const ReportBuffer& b, std::size_t from, std::size_t end) {
    int rows = 0;
    for (std::size_t i = from; i < end; ++i) rows += b[i] == "</TR><TR>";
    return rows;
}

TEST(ReportDocuments, EveryDocumentHasTheSkeletonAndItsOwnSectionNumbers) {
    const DisplayModel m = SampleModel();
    const std::vector<std::vector<std::string>> expected = {
        {"1. Идентификационная информация крана",
         "2. Идентификационная информация регистратора параметров",
         "3. Информация долговременного хранения", "4. Оперативная информация",
         "5. Условия проведения проверки", "6. Сведения о специалисте по обработке информации РП"},
        {"1. Идентификационная информация крана",
         "2. Идентификационная информация регистратора параметров",
         "3. Информация долговременного хранения", "4. Оперативная информация",
         "5. Сведения о специалисте по обработке информации РП"},
        {"1. Идентификационная информация крана",
         "2. Идентификационная информация регистратора параметров",
         "3. Информация долговременного хранения", "4. Оперативная информация",
         "5. Сведения о специалисте по обработке информации РП"},
        {"1. Информация о месте и характере аварии (несчасного случая)",
         "2. Идентификационная информация крана",
         "3. Идентификационная информация регистратора параметров",
         "4. Информация долговременного хранения", "5. Оперативная информация",
         "6. Сведения о специалисте по обработке информации РП"},
        {"1. Идентификационная информация крана",
         "2. Идентификационная информация регистратора параметров",
         "3. План проверки регистратора параметров", "4. Условия проведения проверки",
         "5. Сведения о специалисте по обработке информации РП"}};
    for (int kind = 1; kind <= 5; ++kind) {
        SCOPED_TRACE(kind);
        const Built b = Build(kind, m, 10);
        EXPECT_TRUE(b.complete);
        EXPECT_TRUE(b.messages.empty());
        EXPECT_EQ(Headings(b.buffer), expected[kind - 1]);
        ASSERT_GT(b.buffer.size(), 12u);
        EXPECT_EQ(b.buffer[0], "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">");
        EXPECT_EQ(b.buffer[3], "<TITLE>Заголовок</TITLE>");
        EXPECT_EQ(b.buffer[5],
                  "<META http-equiv=Content-Type content=\"text/html; charset=windows-1251\">");
        EXPECT_EQ(b.buffer[6],
                  "<META name=GENERATOR content=\"Регистратор параметров работы крана\">");
        EXPECT_EQ(b.buffer[8],
                  "<BODY  style=\"font-size: 12pt; margin-left: 0; margin-top: 0; "
                  "margin-bottom: 0\">");
        EXPECT_EQ(b.buffer[9].rfind("<H2 align=\"center\">", 0), 0u);
        EXPECT_EQ(b.buffer[b.buffer.size() - 2], "</BODY>");
        EXPECT_EQ(b.buffer.back(), "</HTML>");
        // Only the protocols with a conclusion carry it; the journal has none.
        EXPECT_EQ(CountContaining(b.buffer, "Заключение:"), kind == 1 || kind == 2 ? 1u : 0u);
    }
}

TEST(ReportDocuments, Protocol4NumbersTheSharedSectionsFromTwo) {
    const Built b = Build(4, SampleModel(), 10);
    for (const char* item : {"2.1. Тип и индекс", "2.9. Нормативный", "&nbsp;2.6.3. Лебёдка №3",
                             "3.1. Тип и модификация РП", "3.8. Версия РП", "4.1. Дата начала",
                             "4.3. Распределение", "5.1. Сведения о регистрируемых"}) {
        EXPECT_EQ(CountContaining(b.buffer, item), 1u) << item;
    }
    EXPECT_NE(IndexOf(b.buffer, "4.4. Параметры работы крана (по ИСО 4301/1):"), b.buffer.size());
    EXPECT_EQ(CountContaining(b.buffer, "1.1. Реальное время и дата события"), 1u);
}

TEST(ReportDocuments, Protocol3EndsWithTheExpertOrganisation) {
    const Built b = Build(3, SampleModel(), 10);
    const std::vector<std::string> tail(b.buffer.end() - 4, b.buffer.end());
    EXPECT_EQ(tail,
              (std::vector<std::string>{"<P align=\"left\">", "<BR>От экспертной организации</P>",
                                        "</BODY>", "</HTML>"}));
}

TEST(ReportDocuments, WorkParametersListAllTwelveRowsNumberedFromOne) {
    const DisplayModel m = SampleModel();
    const Built b = Build(2, m, 10);
    const std::size_t start = IndexOf(b.buffer, "3.4. Параметры работы крана (по ИСО 4301/1):");
    ASSERT_LT(start, b.buffer.size());
    const std::size_t end = IndexOf(b.buffer, "</TR></TABLE>", start);
    EXPECT_EQ(DataRows(b.buffer, start, end), 12);
    EXPECT_EQ(b.buffer[start + 10], "<TD width=\"4%\" align=\"center\">&nbsp;1</TD>");
    EXPECT_EQ(b.buffer[start + 11],
              "<TD width=\"36%\" align=\"left\">&nbsp;"
              "Суммарное число рабочих циклов</TD>");
    EXPECT_EQ(b.buffer[start + 12], "<TD width=\"15%\" align=\"center\">&nbsp;<B>0</B></TD>");
    EXPECT_EQ(b.buffer[start + 14], "<TD width=\"15%\" align=\"center\">&nbsp;<B>-</B></TD>");
}

// The recent-cycle tables of Protocols No. 2 to 4: newest first, bounded by N, rows without a
// time left out but counted.
TEST(ReportDocuments, OperationalTableIsBoundedByTheCycleCount) {
    DisplayModel m = SampleModel();
    SetCycles(m, {"P", "Q", "R", "S"});
    auto rows = [&](int n) {
        const Built b = Build(2, m, n);
        const std::size_t start = IndexOf(b.buffer,
                                          "4.1. Сведения о регистрируемых циклах "
                                          "работы крана:<BR>");
        const std::size_t end = IndexOf(b.buffer, "</TR></TABLE><BR>", start);
        EXPECT_LT(end, b.buffer.size());
        std::vector<std::string> times;
        for (std::size_t i = start; i < end; ++i) {
            if (b.buffer[i] == "</TR><TR>") times.push_back(b.buffer[i + 1]);
        }
        return times;
    };
    const std::string cell = "<TD width=\"20%\" align=\"center\">&nbsp;";
    EXPECT_EQ(rows(2), (std::vector<std::string>{cell + "P</TD>", cell + "Q</TD>"}));
    EXPECT_EQ(rows(500).size(), 4u);
    EXPECT_TRUE(rows(0).empty());
    EXPECT_TRUE(rows(-3).empty());
    SetCycles(m, {"", "", "R", "S"});
    EXPECT_EQ(rows(3), (std::vector<std::string>{cell + "R</TD>"}));
}

TEST(ReportDocuments, Protocol1NumbersTheCheckedCyclesOldestFirst) {
    DisplayModel m = SampleModel();
    auto numbered = [&](int n) {
        const Built b = Build(1, m, n);
        const std::size_t start = IndexOf(b.buffer,
                                          "4.1. Сведения о регистрируемых циклах "
                                          "работы крана:<BR>");
        const std::size_t end = IndexOf(b.buffer, "</TR></TABLE><BR>", start);
        std::vector<std::string> out;
        for (std::size_t i = start; i < end; ++i) {
            if (b.buffer[i] != "</TR><TR>") continue;
            std::string number = b.buffer[i + 1].substr(b.buffer[i + 1].find(";") + 1);
            std::string time = b.buffer[i + 2].substr(b.buffer[i + 2].find(";") + 1);
            out.push_back(number.substr(0, number.find('<')) + ":" +
                          time.substr(0, time.find('<')));
        }
        return out;
    };
    SetCycles(m, {"P", "Q", "R", "S"});
    EXPECT_EQ(numbered(3), (std::vector<std::string>{"1:R", "1ф:", "2:Q", "2ф:", "3:P", "3ф:"}));
    EXPECT_EQ(numbered(100).front(), "1:S");
    EXPECT_EQ(numbered(100).size(), 8u);
    EXPECT_TRUE(numbered(0).empty());
    EXPECT_TRUE(numbered(-1).empty());
    SetCycles(m, {"P", "", "R", "S"});
    EXPECT_EQ(numbered(3), (std::vector<std::string>{"1:R", "1ф:", "3:P", "3ф:"}));
}

TEST(ReportDocuments, Protocol1TakesTheCraneColumnOfTheFirstFourParameterRows) {
    DisplayModel empty;
    const Built b = Build(1, empty, 10);
    EXPECT_EQ(
        CountContaining(b.buffer, "моточасах . . . . . . . . . . . . . . . . . <B> ч</B><BR>"), 1u);
    const Built s = Build(1, SampleModel(), 10);
    EXPECT_EQ(CountContaining(s.buffer, "<B>2.05 ч</B><BR>"), 1u);
    EXPECT_EQ(CountContaining(s.buffer, "(РП) . . . . . . . . . . <B>0</B><BR>"), 1u);
    EXPECT_EQ(CountContaining(s.buffer, "(РП) . . . . . . . . . . . . . . <B>10 т</B><BR>"), 1u);
    EXPECT_EQ(CountContaining(s.buffer, "грузоподъемности . . <B>20</B><BR>"), 1u);
}

TEST(ReportDocuments, JournalHasNumberedBlankRowsWhateverTheList) {
    DisplayModel m;
    auto table = [&](int n) {
        const Built b = Build(5, m, n);
        const std::size_t start = IndexOf(b.buffer,
                                          "3.5. Сведения о циклах работы крана, "
                                          "проведенных в период проверки:<BR>");
        const std::size_t end = IndexOf(b.buffer, "</TR></TABLE>", start);
        return std::vector<std::string>(b.buffer.begin() + start + 1, b.buffer.begin() + end);
    };
    const auto ten = table(10);
    ASSERT_EQ(ten.size(), 2u + 6u + 10u * 7u);
    EXPECT_EQ(ten[2], "<TH width=\"4%\" align=\"center\">№</TH>");
    EXPECT_EQ(ten[3], "<TH width=\"20%\" align=\"center\">Дата и время</TH>");
    EXPECT_EQ(ten[4], "<TH width=\"16%\" align=\"center\">Леб. №1</TH>");
    EXPECT_EQ(ten[7], "<TH width=\"16%\" align=\"center\">Состояние</TH>");
    EXPECT_EQ(ten[9], "<TD width=\"4%\" align=\"center\">&nbsp;1</TD>");
    EXPECT_EQ(ten[10], "<TD width=\"20%\" align=\"center\">&nbsp;</TD>");
    EXPECT_EQ(ten[11], "<TD width=\"16%\" align=\"center\">&nbsp;</TD>");
    EXPECT_EQ(ten[ten.size() - 6], "<TD width=\"4%\" align=\"center\">&nbsp;10</TD>");
    SetCycles(m, std::vector<std::string>(25, "01.01.2009 10:00 "));
    EXPECT_EQ(table(500).size(), 8u + 500u * 7u);
    EXPECT_EQ(table(0).size(), 8u);
    EXPECT_EQ(table(-3).size(), 8u);
    EXPECT_EQ(table(2'000'000'000).size(), 8u + kMaxJournalRows * 7u);
}

TEST(ReportDocuments, JournalRepeatsTheParagraphEndAfterEachIdentification) {
    const Built b = Build(5, SampleModel(), 1);
    const std::size_t version = IndexOf(b.buffer,
                                        "2.8. Версия РП &nbsp;. . . . . . . . . . . . . . "
                                        ". . . . . . . <B>1.2.3</B><BR>");
    ASSERT_LT(version, b.buffer.size());
    EXPECT_EQ(b.buffer[version + 1], "</P>");
    EXPECT_EQ(b.buffer[version + 2], "</P>");
    const std::size_t srok = IndexOf(b.buffer,
                                     "1.9. Нормативный срок службы крана &nbsp;. . "
                                     "<B>10 лет</B><BR>");
    EXPECT_EQ(b.buffer[srok + 1], "</P>");
    EXPECT_EQ(b.buffer[srok + 2], "</P>");
}

TEST(ReportDocuments, SpecialistLinesFollowWhichFieldsAreFilled) {
    auto section = [](Specialist s) {
        const Built b = Build(2, SampleModel(), 0, std::move(s));
        const std::size_t at =
            IndexOf(b.buffer, std::string(htm::kH3Open) +
                                  "5. Сведения о специалисте по обработке информации РП" +
                                  std::string(htm::kH3Close));
        const std::size_t end = IndexOf(b.buffer, "</P>", at);
        return std::vector<std::string>(b.buffer.begin() + at + 2, b.buffer.begin() + end);
    };
    const std::string blank(79, '_');
    EXPECT_EQ(section({}),
              (std::vector<std::string>{
                  "Ф.И.О. " + std::string(72, '_') + "<BR>",
                  "Место работы " + std::string(66, '_') + "<BR>",
                  "№ удостоверения, дата и место выдачи " + std::string(45, '_') + "<BR>",
                  blank + "<BR>", "Срок действия удостоверения " + std::string(53, '_') + "<BR>",
                  "Подпись:" + std::string(71, '_') + "<BR>"}));
    const auto familyOnly = section({.family = "Петров", .number = "15"});
    EXPECT_EQ(familyOnly[0], "Ф.И.О.  . . . . . . . . . Петров  <BR>");
    EXPECT_EQ(familyOnly[2], "№ удостоверения, дата и место выдачи . . . № 15 <BR>");
    EXPECT_EQ(familyOnly.size(), 5u);
    const auto nameWithoutFamily = section({.name = "Иван", .work = "СМУ", .validity = "2030"});
    EXPECT_EQ(nameWithoutFamily[0], "Ф.И.О. " + std::string(72, '_') + "<BR>");
    EXPECT_EQ(nameWithoutFamily[1], "Место работы . . . СМУ<BR>");
    EXPECT_EQ(nameWithoutFamily[4], "Срок действия удостоверения . . . 2030<BR>");
}

TEST(ReportDocuments, ValuesAreEscapedAndFragmentsAreNot) {
    DisplayModel m = SampleModel();
    m.SetText(Ctl::eMarka, "<script>&\"");
    m.SetChannelName(1, "A<B");
    m.cycles.push_back(test::MakeCycle("01.01.2009 <b>", "x&y"));
    const Built b = Build(2, m, 10, {.family = "О'Нил & <сын>", .work = "\"Кран\"", .number = "1"});
    EXPECT_EQ(CountContaining(b.buffer, "<B>&lt;script&gt;&amp;&quot;</B><BR>"), 1u);
    EXPECT_EQ(CountContaining(b.buffer, "&nbsp;1.6.1. A&lt;B &nbsp;. . . . . <B>25.00 т</B>"), 1u);
    // The renamed winch heads the columns of the load, parameter and cycle tables.
    EXPECT_EQ(CountContaining(b.buffer, "align=\"center\">A&lt;B</TH>"), 3u);
    EXPECT_EQ(CountContaining(b.buffer, "&nbsp;01.01.2009 &lt;b&gt;</TD>"), 1u);
    EXPECT_EQ(CountContaining(b.buffer, "&nbsp;x&amp;y</TD>"), 1u);
    EXPECT_EQ(CountContaining(b.buffer, "Ф.И.О.  . . . . . . . . . О'Нил &amp; &lt;сын&gt;  <BR>"),
              1u);
    EXPECT_EQ(CountContaining(b.buffer, "Место работы . . . &quot;Кран&quot;<BR>"), 1u);
    EXPECT_EQ(CountContaining(b.buffer, "<script>"), 0u);

    RecordingPrompter prompter;
    FixedSpecialist nobody;
    ReportBuffer titled;
    MakeProtocol2(titled, "a<b & \"c\"", 1, {m, nobody, prompter, "T&T"});
    EXPECT_EQ(titled[3], "<TITLE>a&lt;b &amp; &quot;c&quot;</TITLE>");
    EXPECT_EQ(titled[6], "<META name=GENERATOR content=\"T&amp;T\">");
}

TEST(ReportDocuments, EmptyListsGiveHeaderOnlyTablesAndEmptyValuesKeepTheirUnits) {
    DisplayModel m;
    m.SetText(Ctl::eSumGruz, "");
    const Built b = Build(2, m, 10);
    EXPECT_EQ(CountContaining(b.buffer, "Год изготовления крана . . . . . . . . . . . <B> г.</B>"),
              1u);
    EXPECT_EQ(CountContaining(b.buffer, "Грузоподъемность Кран &nbsp;. . . . . <B> т</B><BR>"), 1u);
    const std::size_t sensors = IndexOf(b.buffer, "2.7. Параметры настройки датчиков:<BR>");
    EXPECT_EQ(b.buffer[sensors + 6], "</TR></TABLE>");
    const std::size_t load = IndexOf(b.buffer,
                                     "3.3. Распределение регистрируемых циклов работы "
                                     "крана в зависимости от нагрузки:<BR>");
    EXPECT_EQ(b.buffer[load + 9], "</TR></TABLE>");
}

TEST(ReportDocuments, ADocumentStoppedByAnErrorShowsItAndKeepsWhatItBuilt) {
    struct Failing final : SpecialistProvider {
        Specialist ChooseSpecialist() override { throw std::runtime_error("Окно не открылось"); }
    } failing;
    RecordingPrompter prompter;
    const DisplayModel m = SampleModel();
    ReportBuffer buffer;
    EXPECT_FALSE(MakeProtocol1(buffer, "T", 3, {m, failing, prompter, "App"}));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "Окно не открылось");
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(buffer.back(), "</P>");  // the conditions section, the last one completed
    EXPECT_EQ(CountContaining(buffer, "Сведения о специалисте"), 0u);
    EXPECT_EQ(CountContaining(buffer, "</HTML>"), 0u);

    // A failure that carries no message of its own is named in Russian.
    struct Silent final : SpecialistProvider {
        Specialist ChooseSpecialist() override { throw 42; }
    } silent;
    prompter.messages.clear();
    buffer.clear();
    EXPECT_FALSE(MakeJournal(buffer, "T", 3, {m, silent, prompter, "App"}));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "Неизвестная ошибка");
}

TEST(ReportDocuments, PageBytesAreWindows1251WithCrLfAfterEveryLine) {
    const std::string bytes = PageBytes({"<P>", "Кран №1", "</HTML>"});
    EXPECT_EQ(bytes, "<P>\r\n\xCA\xF0\xE0\xED \xB9\x31\r\n</HTML>\r\n");
    EXPECT_EQ(PageBytes({}), "");
    // A character the code page lacks cannot break the page.
    EXPECT_EQ(PageBytes({"€漢"}), "\x88?\r\n");
    // Mixed and malformed text converts as the code page table converts the whole line.
    const std::string mixed = "a<АяЁё№>\xD0\x90\x80 b \xD0 c\xE2\x82";
    EXPECT_EQ(PageBytes({mixed, mixed}), Utf8ToCp1251(mixed + "\r\n" + mixed + "\r\n"));
}

}  // namespace
}  // namespace orbisk
