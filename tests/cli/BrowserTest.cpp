// The pages in a real browser: Chromium, headless, loads each document of the sample, and the
// text it shows has the Cyrillic texts and the values decoded from Windows-1251.
#include <gtest/gtest.h>

#include "reports/ReportTexts.h"
#include "support/ReportFixtures.h"
#include "support/SampleSession.h"
#include "tools/orbisk-cli/CommandLineReport.h"

namespace orbisk {
namespace {

namespace fs = std::filesystem;
using test::RunProcess;
using test::ShellQuote;

std::string ChromiumCommand(const std::string& chromium, const fs::path& profile) {
    return "timeout 120 " + ShellQuote(chromium) +
           " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run"
           " --disable-background-networking --disable-component-update --disable-sync"
           " --user-data-dir=" +
           ShellQuote(profile.string());
}

// Text as the browser writes it back out of its DOM: & < > as entities, quotes as they are.
std::string AsDomText(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else
            out += c;
    }
    return out;
}

TEST(ReportsInBrowser, ChromiumShowsEveryDocumentDecoded) {
    const std::string chromium = ORBISK_CHROMIUM;
    test::SampleSession sample;
    ASSERT_TRUE(sample.opened);
    const DisplayModel& model = sample.session.Model();
    ASSERT_FALSE(model.cycles.empty());

    test::TempDir dir;
    const Specialist person{
        "Сидоров",           "Пётр",         "Ильич", "ООО \"Кран & К°\" <Север>", "№12-34",
        "01.02.2024 Москва", "до 01.02.2029"};
    FixedSpecialist specialist(person);
    const std::vector<std::string> headings = {"ПРОТОКОЛ №1", "ПРОТОКОЛ №2", "ПРОТОКОЛ №3",
                                               "ПРОТОКОЛ №4", "ЖУРНАЛ ПРОВЕРКИ"};
    for (int kind = 1; kind <= 5; ++kind) {
        SCOPED_TRACE(kind);
        AnsweredQuestion answer(std::string("5"));
        ReportEnvironment env{sample.prompter, answer, specialist,
                              std::string(report::kApplicationTitle)};
        const auto page = ComposeReport(kind, model, env);
        ASSERT_TRUE(page);
        const fs::path file = dir.Path() / ("kind" + std::to_string(kind) + ".html");
        test::WriteBytes(file, page->bytes);
        const fs::path profile = dir.Path() / ("profile" + std::to_string(kind));
        const auto dom = RunProcess(ChromiumCommand(chromium, profile) + " --dump-dom " +
                                    ShellQuote("file://" + file.string()) + " 2>/dev/null");
        ASSERT_EQ(dom.exitCode, 0);
        const std::string& text = dom.out;
        EXPECT_NE(text.find("<title>" + AsDomText(page->title) + "</title>"), std::string::npos)
            << text.substr(0, 400);
        EXPECT_NE(text.find(headings[kind - 1]), std::string::npos);
        EXPECT_NE(text.find("Идентификационная информация крана"), std::string::npos);
        EXPECT_NE(text.find("<b>" + AsDomText(model.Text(Ctl::eMarka)) + "</b>"),
                  std::string::npos);
        EXPECT_NE(text.find("<b>" + AsDomText(model.Text(Ctl::eProd)) + "</b>"), std::string::npos);
        EXPECT_NE(text.find("<b>" + AsDomText(model.Text(Ctl::eRegNum)) + "</b>"),
                  std::string::npos);
        EXPECT_NE(text.find(AsDomText(model.Text(Ctl::eLebName1))), std::string::npos);
        EXPECT_NE(text.find("Ф.И.О.  . . . . . . . . . Сидоров Пётр Ильич"), std::string::npos);
        EXPECT_NE(text.find("Место работы . . . ООО \"Кран &amp; К°\" &lt;Север&gt;"),
                  std::string::npos);
        if (kind != 5) {
            EXPECT_NE(text.find("&nbsp;" + AsDomText(model.cycles[0].cells[0])), std::string::npos);
            EXPECT_NE(text.find(AsDomText(model.cycles[0].cells[5])), std::string::npos);
        }
        if (kind == 2) {
            EXPECT_NE(text.find("Параметры работы крана (по ИСО 4301/1):"), std::string::npos);
            EXPECT_NE(text.find("<b>" + AsDomText(model.regStat[0][0]) + "</b>"),
                      std::string::npos);
        }
        // Nothing was read in another code page: no replacement characters, no UTF-8 or
        // Latin-1 misreadings of Cyrillic.
        EXPECT_EQ(text.find("\xEF\xBF\xBD"), std::string::npos);
        EXPECT_EQ(text.find("Ð"), std::string::npos);
        EXPECT_EQ(text.find("Ï"), std::string::npos);

        if (kind == 1) {
            // The picture goes into the test's own folder unless the screenshot script asks for
            // it, so that running the tests leaves the work tree as it was.
            const char* shots = std::getenv("ORBISK_SCREENSHOTS");
            const fs::path shot =
                (shots && *shots ? fs::path(shots) : dir.Path()) / "protocol1.png";
            fs::create_directories(shot.parent_path());
            const auto made = RunProcess(ChromiumCommand(chromium, profile) + " --screenshot=" +
                                         ShellQuote(shot.string()) + " --window-size=1000,1400 " +
                                         ShellQuote("file://" + file.string()) + " 2>/dev/null");
            EXPECT_EQ(made.exitCode, 0);
            EXPECT_TRUE(test::ReadBytes(shot).starts_with("\x89PNG"));
        }
    }
}

}  // namespace
}  // namespace orbisk
