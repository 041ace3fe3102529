// The rules of the archive that need no database: the key of a check, the identity of a crane,
// the verdict on its use and its reserve.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/Check.h"
#include "archive/HistoryTable.h"
#include "archive/Sha256.h"
#include "archive/Verdict.h"
#include "base/DateTime.h"
#include "base/TextCodec.h"

namespace orbisk {
namespace {

TEST(Sha256, KnownDigests) {
    const auto hex = [](const std::string& s) {
        return Sha256Hex(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
    };
    EXPECT_EQ(hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    // 56 bytes: the length no longer fits the block, a second one is needed.
    EXPECT_EQ(hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(hex(std::string(65536, '\0')),
              "de2f256064a0af797747c2b97505dc0b9f3df0de4f489eac731c23ae9ca9cc31");
}

TEST(CraneIdentity, TypeAndNumberTrimmedAndFolded) {
    struct Case {
        const char* type;
        const char* number;
        const char* recorderType;
        const char* recorderNumber;
        const char* sameAs[4];  // the first crane of the table
        bool same;
    };
    const std::vector<Case> cases = {
        {"КС-45717К-1", "3127", "ОНК-160С", "1", {}, true},
        {"  кс-45717к-1 ", "\t3127 ", "ОНК-160С", "1", {}, true},
        // Another recorder on the same crane: the same crane.
        {"КС-45717К-1", "3127", "ОНК-140", "77", {}, true},
        {"КС-45717К-1", "3128", "ОНК-160С", "1", {}, false},
        {"КС-45717К-2", "3127", "ОНК-160С", "1", {}, false},
        // Ё and the Latin letters fold as well.
        {"ЁЛКА-3127ab", "N1", "", "", {}, false},
    };
    const std::string first =
        CraneKey(cases[0].type, cases[0].number, cases[0].recorderType, cases[0].recorderNumber);
    for (const auto& c : cases) {
        EXPECT_EQ(CraneKey(c.type, c.number, c.recorderType, c.recorderNumber) == first, c.same)
            << c.type << " / " << c.number;
    }
    EXPECT_EQ(CraneKey("ЁЛКА-3127ab", "N1", "", ""), CraneKey("ёлка-3127AB", "n1 ", "x", "y"));

    // Without a factory number the recorder names the crane, folded the same way.
    EXPECT_EQ(CraneKey("КС-1", " ", "ОНК-160С", "0417"), CraneKey("КС-2", "", "онк-160с ", "0417"));
    EXPECT_NE(CraneKey("КС-1", "", "ОНК-160С", "0417"), CraneKey("КС-1", "", "ОНК-160С", "0418"));
    // A crane numbered like a recorder is not that recorder's crane.
    EXPECT_NE(CraneKey("ОНК-160С", "0417", "", ""), CraneKey("", "", "ОНК-160С", "0417"));
}

TEST(Verdict, PassportGroupAndServiceLife) {
    EXPECT_EQ(ParsePassportGroup("A3"), 3);
    EXPECT_EQ(ParsePassportGroup(" а8 "), 8);  // Cyrillic, lower case
    EXPECT_EQ(ParsePassportGroup("А1"), 1);
    for (const char* text : {"", "A0", "A9", "A", "3", "А33", "M3", "группа 3"}) {
        EXPECT_FALSE(ParsePassportGroup(text)) << text;
    }
    EXPECT_DOUBLE_EQ(*ServiceLifeShare(3652.5, 20), 0.5);
    EXPECT_FALSE(ServiceLifeShare(100, 0));
}

Check MadeUpCheck(double reading, long long cycles, int loadClass, int group,
                  const char* passport) {
    Check c;
    c.readingTime = reading;
    c.installDay = EncodeDateTime(2020, 1, 1, 0, 0);
    c.passportGroup = passport;
    c.serviceLife = 10;
    c.groups[0].cycles = cycles;
    c.groups[0].loadClass = loadClass;
    c.groups[0].group = group;
    c.groups[0].days = reading - c.installDay;
    return c;
}

TEST(Verdict, CheckAgainstItsPassport) {
    const double day = EncodeDateTime(2025, 3, 17, 11, 42);
    const double now = day + 1;
    struct Case {
        int actual;
        const char* passport;
        bool exceeds;
    };
    for (const Case& c : std::vector<Case>{{3, "A3", false},
                                           {4, "А3", true},
                                           {2, "a3", false},
                                           {8, "A7", true},
                                           {5, "3", false}}) {
        const CheckVerdict v = JudgeCheck(MadeUpCheck(day, 100, 1, c.actual, c.passport), now);
        EXPECT_EQ(v.exceedsPassport, c.exceeds) << c.actual << " " << c.passport;
    }
    const CheckVerdict unreadable = JudgeCheck(MadeUpCheck(day, 1, 1, 5, "III"), now);
    EXPECT_FALSE(unreadable.passportGroup);

    Check odd = MadeUpCheck(day, 1, 1, 1, "A1");
    EXPECT_FALSE(JudgeCheck(odd, now).readingInFuture);
    EXPECT_TRUE(JudgeCheck(odd, day - 1).readingInFuture);
    odd.readingTime = odd.installDay - 1;
    EXPECT_TRUE(JudgeCheck(odd, now).readingBeforeInstallation);
}

TEST(Verdict, ReserveOnMadeUpHistories) {
    const double d0 = EncodeDateTime(2024, 1, 1, 0, 0);
    struct Case {
        const char* name;
        std::vector<Check> newestFirst;
        std::optional<int> allowedUseClass;
        std::optional<long long> cyclesLeft;
        std::optional<double> reachedOn;
    };
    const std::vector<Case> cases = {
        // A3 at load class Q2 allows U3, below 125,000 cycles; 100 cycles a day from 60,000.
        {"steady",
         {MadeUpCheck(d0 + 100, 60000, 2, 3, "A3"), MadeUpCheck(d0, 50000, 2, 3, "A3")},
         3,
         65000,
         d0 + 100 + 650},
        // A heavier load class shrinks what the passport allows: A3 at Q4 allows U1 (32,000),
        // which this crane has passed: its use has crossed the passport group.
        {"crossed",
         {MadeUpCheck(d0 + 100, 40000, 4, 5, "А3"), MadeUpCheck(d0, 30000, 3, 3, "А3")},
         1,
         0,
         std::nullopt},
        // One check: no rate, no date.
        {"single", {MadeUpCheck(d0, 1000, 1, 1, "A2")}, 3, 124000, std::nullopt},
        // No use between the checks: no date.
        {"idle",
         {MadeUpCheck(d0 + 30, 1000, 1, 1, "A2"), MadeUpCheck(d0, 1000, 1, 1, "A2")},
         3,
         124000,
         std::nullopt},
        // A1 at Q4: no use class is low enough.
        {"none allowed", {MadeUpCheck(d0, 10, 4, 2, "A1")}, std::nullopt, 0, std::nullopt},
        // A8 allows any use.
        {"unbounded", {MadeUpCheck(d0, 10, 4, 2, "A8")}, 9, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto r = ReserveOf(c.newestFirst);
        ASSERT_TRUE(r) << c.name;
        EXPECT_EQ(r->allowedUseClass, c.allowedUseClass) << c.name;
        EXPECT_EQ(r->cyclesLeft, c.cyclesLeft) << c.name;
        ASSERT_EQ(r->reachedOn.has_value(), c.reachedOn.has_value()) << c.name;
        if (c.reachedOn) EXPECT_NEAR(*r->reachedOn, *c.reachedOn, 1e-6) << c.name;
    }
    EXPECT_FALSE(ReserveOf({MadeUpCheck(d0, 10, 1, 1, "—")}));
    EXPECT_FALSE(ReserveOf({}));
}

TEST(HistoryTable, RowsMarksVerdictAndPage) {
    const double d0 = EncodeDateTime(2024, 1, 1, 0, 0);
    Check older = MadeUpCheck(d0, 30000, 3, 3, "А3");
    Check newer = MadeUpCheck(d0 + 100, 40000, 4, 5, "А3");
    newer.craneType = "КС <1>";
    newer.path = "/nowhere/РП_№1 от 10_04_2024.bbd";
    older.path = ORBISK_SOURCE_DIR "/samples/previous.bbd";
    const HistoryTable t = BuildHistoryTable({newer, older}, d0 + 200);
    ASSERT_EQ(t.rows.size(), 2u);
    EXPECT_TRUE(t.rows[0].exceedsPassport);
    EXPECT_FALSE(t.rows[1].exceedsPassport);
    EXPECT_EQ(t.rows[0].cells[1], "РП_№1 от 10_04_2024.bbd (файла нет)");
    EXPECT_EQ(t.rows[1].cells[1], "previous.bbd");
    EXPECT_EQ(t.rows[0].cells[7], "A5");
    ASSERT_EQ(t.verdict.size(), 2u);
    EXPECT_EQ(t.verdict[0], "Фактическая группа крана A5 выше группы по паспорту A3.");
    EXPECT_EQ(t.verdict[1],
              "Запас при режиме нагружения Q4: класс использования до U1, запас исчерпан.");

    const std::string page = Cp1251ToUtf8(HistoryPageBytes(t, "Регистратор"));
    EXPECT_NE(page.find("КС &lt;1&gt;"), std::string::npos);
    EXPECT_NE(page.find("<TR style=\"color: red\">"), std::string::npos);

    newer.passportGroup = "III";
    EXPECT_EQ(
        BuildHistoryTable({newer}, d0).verdict,
        std::vector<std::string>{"Группа по паспорту «III» не читается как A1..A8: вывода нет."});
}

}  // namespace
}  // namespace orbisk
