// The blocks assembled from the page texts before a write: where each field lands, what the
// numbers outside their ranges become, the messages in their order, the values written back into
// the page, and the bytes without a control. Nothing here touches a reader.
#include <gtest/gtest.h>

#include <limits>

#include "base/DateTime.h"
#include "base/TextCodec.h"
#include "edit/EditTexts.h"
#include "edit/WriteBack.h"
#include "image/IdentificationTable.h"
#include "image/Session.h"
#include "image/SettingsTable.h"
#include "support/RecordingPrompter.h"

namespace orbisk {
namespace {

using test::RecordingPrompter;

// The sample data file decoded as the pages show it, with a recorder image whose every byte of
// the two writable blocks is 0xAA so that a byte left alone shows.
struct Pages {
    Pages() {
        EXPECT_EQ(session.OpenDataFile(ORBISK_SOURCE_DIR "/samples/current.bbd"),
                  OpenResult::Opened);
        std::fill_n(session.Image().Data() + addr::Settings, 0x1000 - addr::Settings, 0xAA);
        prompter.Clear();
    }
    DisplayModel& Model() { return session.Model(); }
    std::string& Text(Ctl c) { return session.Model().Text(c); }

    RecordingPrompter prompter{true};
    FixedClock clock{EncodeDateTime(2025, 3, 18, 12, 0)};
    Session session{prompter, clock};
};

std::string Above(int max) {
    return edittext::kAboveMaximum + std::to_string(max);
}
std::string Below(int min) {
    return edittext::kBelowMinimum + std::to_string(min);
}

TEST(IdentificationAssembly, EveryFieldInItsPlaceAndEveryOtherByteZero) {
    Pages p;
    const RecorderImage before = p.session.Image();
    p.Text(Ctl::eNumber) = "0123456789ABCDEF";  // exactly the field's width: no zero byte after
    p.Text(Ctl::eOwner) = "";                   // an empty text leaves its field zero
    p.Text(Ctl::eMarka) = "Кран КС-55713-1К-4 «Галичанин»";
    p.Text(Ctl::eLebName3) = "Лебёдка вспом. №3 длинная";  // cut to sixteen bytes
    p.Text(Ctl::eSumGruz) = "25";
    p.Text(Ctl::eGruz1) = "12,5";
    p.Text(Ctl::eRegSetup) = "03.03.2005";
    const auto block = AssembleIdentification(p.session.Image(), p.Model(), p.prompter);
    ASSERT_TRUE(block);
    EXPECT_TRUE(p.prompter.texts.empty());

    // Every text of the page in its field, in Windows-1251 and cut to the field's width.
    for (const IdentificationField& f : kIdentificationFields) {
        if (f.storedAs != StoredAs::Text) continue;
        const std::string bytes = Utf8ToCp1251(p.Model().Text(f.control));
        EXPECT_EQ(block->RawText(f.address, f.width), bytes.substr(0, f.width))
            << ControlName(f.control);
    }
    EXPECT_EQ(block->RawText(addr::CraneSerial, width::Serial).size(), 16u);
    EXPECT_EQ(block->U8(addr::CraneSerial + width::Serial), block->U8(addr::CraneYear));
    EXPECT_EQ(block->Text(addr::CraneSerial, width::Serial), "0123456789ABCDEF");
    EXPECT_EQ(block->Text(addr::CraneType, width::CraneType), "Кран КС-55713-1К-4 «Галичанин»");
    EXPECT_EQ(block->Text(addr::DisplayNames + 3 * addr::DisplayNameWidth, addr::DisplayNameWidth),
              "Лебёдка вспом. №");
    for (int i = 0; i < width::Owner; ++i) EXPECT_EQ(block->U8(addr::Owner + i), 0);
    EXPECT_EQ(block->F32(addr::Capacities), 25.0f);
    EXPECT_EQ(block->F32(addr::Capacities + 4), 12.5f);
    EXPECT_EQ(block->I32(addr::InstallDay), DayNumber(2005, 3, 3));

    // Bytes of the block that no field covers are zero; outside the block nothing changed.
    std::vector<bool> covered(addr::IdentificationSize, false);
    for (const IdentificationField& f : kIdentificationFields) {
        for (int i = 0; i < f.width; ++i) covered[f.address - addr::Identification + i] = true;
    }
    for (int i = 0; i < addr::IdentificationSize; ++i) {
        if (!covered[i]) {
            EXPECT_EQ(block->U8(addr::Identification + i), 0) << i;
        }
    }
    for (std::size_t a = 0; a < RecorderImage::Size(); ++a) {
        const bool inBlock =
            a >= addr::Identification && a < addr::Identification + addr::IdentificationSize;
        if (!inBlock) {
            ASSERT_EQ(block->Data()[a], before.Data()[a]) << a;
        }
    }
    EXPECT_EQ(p.session.Image(), before);  // the image buffer itself is not touched
}

TEST(IdentificationAssembly, NumbersOutsideTheirRangesAreReplacedAfterTheQuestion) {
    struct Case {
        const char* recorderYear;
        const char* craneYear;
        const char* serviceLife;
        std::vector<std::string> messages;
        int storedRecorderYear, storedCraneYear, storedServiceLife;
    };
    const Case cases[] = {
        {"2000", "1900", "0", {}, 2000, 1900, 0},
        {"2099", "2099", "100", {}, 2099, 2099, 100},
        {"1999", "2008", "10", {idtext::kBadRecorderYear}, 2000, 2008, 10},
        {"2008", "1899", "101", {idtext::kBadCraneYear, idtext::kBadServiceLife}, 2008, 2000, 20},
        {"",
         "abc",
         "-1",
         {idtext::kBadRecorderYear, idtext::kBadCraneYear, idtext::kBadServiceLife},
         2000,
         2000,
         20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.recorderYear) + "/" + c.craneYear + "/" + c.serviceLife);
        for (bool goOn : {true, false}) {
            Pages p;
            p.Text(Ctl::eRegYear) = c.recorderYear;
            p.Text(Ctl::eYear) = c.craneYear;
            p.Text(Ctl::eSrok) = c.serviceLife;
            p.prompter.answers = {goOn};
            const auto block = AssembleIdentification(p.session.Image(), p.Model(), p.prompter);
            std::vector<std::string> expected = c.messages;
            if (!c.messages.empty()) expected.push_back(edittext::kIdentificationHasErrors);
            EXPECT_EQ(p.prompter.texts, expected);
            if (!c.messages.empty()) {
                EXPECT_EQ(p.prompter.questionButtons, (std::vector{QuestionButtons::OkNo}));
            }
            if (!goOn && !c.messages.empty()) {
                EXPECT_FALSE(block);
                continue;
            }
            ASSERT_TRUE(block);
            EXPECT_EQ(block->I16(addr::RecorderYear), c.storedRecorderYear);
            EXPECT_EQ(block->I16(addr::CraneYear), c.storedCraneYear);
            EXPECT_EQ(block->U8(addr::ServiceLife), c.storedServiceLife);
        }
    }
}

TEST(IdentificationAssembly, CapacitiesAreOneUnitAndEmptyWinchesBecomeZero) {
    {
        Pages p;
        p.Text(Ctl::eGruz2) = "";
        p.Text(Ctl::eGruz3) = "";
        const auto block = AssembleIdentification(p.session.Image(), p.Model(), p.prompter);
        ASSERT_TRUE(block);
        EXPECT_EQ(p.Text(Ctl::eGruz2), "0");
        EXPECT_EQ(p.Text(Ctl::eGruz3), "0");
        EXPECT_EQ(block->F32(addr::Capacities + 8), 0.0f);
        EXPECT_EQ(block->F32(addr::Capacities + 12), 0.0f);
    }
    // The crane's capacity comes first: without it the write stops before the winches are filled.
    // A capacity a single-precision float cannot hold would be stored as infinity.
    for (const char* crane : {"", "25т", "-5", "1.2.3", "999999999999999999999999999999999999999",
                              "340282356779733661637539395458142568448"}) {
        SCOPED_TRACE(crane);
        Pages p;
        p.Text(Ctl::eSumGruz) = crane;
        p.Text(Ctl::eGruz2) = "";
        EXPECT_FALSE(AssembleIdentification(p.session.Image(), p.Model(), p.prompter));
        EXPECT_EQ(p.prompter.texts, (std::vector<std::string>{idtext::kBadCapacity}));
        EXPECT_EQ(p.Text(Ctl::eGruz2), "");
    }
    {
        // The largest float is a capacity like any other.
        Pages p;
        p.Text(Ctl::eGruz1) = "340282346638528859811704183484516925440";
        const auto block = AssembleIdentification(p.session.Image(), p.Model(), p.prompter);
        ASSERT_TRUE(block);
        EXPECT_EQ(block->F32(addr::Capacities + 4), std::numeric_limits<float>::max());
    }
    Pages p;
    p.Text(Ctl::eGruz3) = "x";
    EXPECT_FALSE(AssembleIdentification(p.session.Image(), p.Model(), p.prompter));
    EXPECT_EQ(p.prompter.texts, (std::vector<std::string>{idtext::kBadCapacity}));
}

TEST(IdentificationAssembly, AnInstallationDateThatIsNoDateStopsTheWrite) {
    for (const char* text : {"", "31.02.2005", "3.3.2005", "завтра"}) {
        SCOPED_TRACE(text);
        Pages p;
        p.Text(Ctl::eRegSetup) = text;
        p.Text(Ctl::eRegYear) = "1999";  // its message would come after the date's
        EXPECT_FALSE(AssembleIdentification(p.session.Image(), p.Model(), p.prompter));
        EXPECT_EQ(p.prompter.texts, (std::vector{edittext::NotDateText(text)}));
        EXPECT_EQ(p.prompter.icons, (std::vector{MessageIcon::Error}));
    }
}

TEST(SettingsAssembly, ValuesAreClampedInTheirOrderAndThePageShowsTheClampedValues) {
    Pages p;
    p.Text(Ctl::eLeb1Cnt) = "5";
    p.Text(Ctl::eLeb2Cnt) = "5";
    p.Text(Ctl::eLeb3Cnt) = "5";
    p.Text(Ctl::eWarning) = "40";
    p.Text(Ctl::eMassScale) = "300";
    p.Text(Ctl::eCycleTime) = "0";
    p.Text(Ctl::eExtRele4) = "-3";
    const auto block = AssembleSettings(p.session.Image(), p.Model(), p.prompter);
    ASSERT_TRUE(block);
    EXPECT_EQ(p.prompter.texts, (std::vector<std::string>{Above(3), Above(0), Below(50), Above(255),
                                                          Below(1), Below(0)}));
    const std::pair<Ctl, int> shown[] = {
        {Ctl::eLeb1Cnt, 5},     {Ctl::eLeb2Cnt, 3},   {Ctl::eLeb3Cnt, 0}, {Ctl::eWarning, 50},
        {Ctl::eMassScale, 255}, {Ctl::eCycleTime, 1}, {Ctl::eExtRele4, 0}};
    for (const auto& [control, value] : shown) {
        EXPECT_EQ(p.Text(control), std::to_string(value)) << ControlName(control);
        EXPECT_EQ(block->U8(FindSettingField(control)->address), value) << ControlName(control);
    }

    Pages none;
    none.Text(Ctl::eLeb1Cnt) = "0";
    ASSERT_TRUE(AssembleSettings(none.session.Image(), none.Model(), none.prompter));
    EXPECT_EQ(none.prompter.texts, (std::vector<std::string>{Below(1)}));
    EXPECT_EQ(none.Text(Ctl::eLeb1Cnt), "1");
}

TEST(SettingsAssembly, ATextThatIsNoIntegerStopsAfterTheMessagesBeforeItEachAfterItsField) {
    for (const char* text : {"", "12a", " 7", "4.5"}) {
        SCOPED_TRACE(text);
        Pages p;
        p.Text(Ctl::eLeb2Cnt) = "9";
        p.Text(Ctl::eEnable) = text;
        p.Text(Ctl::eMassScale) = "300";  // after eEnable: never read
        // Each message follows the naming of its field, so the window can show the field first.
        const auto showField = [&p](Ctl control) {
            p.prompter.events.push_back("field:" + std::string(ControlName(control)));
        };
        EXPECT_FALSE(AssembleSettings(p.session.Image(), p.Model(), p.prompter, showField));
        EXPECT_EQ(p.prompter.events, (std::vector<std::string>{
                                         "field:eLeb2Cnt", "message:" + Above(6), "field:eEnable",
                                         std::string("message:") + edittext::kNotAnInteger}));
        EXPECT_EQ(p.Text(Ctl::eLeb2Cnt), "6");  // read before the stop: it keeps the clamped value
        EXPECT_EQ(p.Text(Ctl::eMassScale), "300");
    }
}

TEST(SettingsAssembly, TheBlockIsTheControlsAloneWithTheListedCalibrationRows) {
    Pages p;
    const RecorderImage before = p.session.Image();
    p.Model().calibration = {{100, 1100}, {200, 2200}, {300, 3300}};
    p.Model().choices.rgRele3 = 2;
    p.Model().choices.rgExtReleAlg = -1;  // no item chosen
    p.Model().choices.chbSensWorkMode = true;
    p.Model().workModeValues = {100, 90, 80, 125};
    const auto block = AssembleSettings(p.session.Image(), p.Model(), p.prompter);
    ASSERT_TRUE(block);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(block->U16(addr::CalibrationPairs + 4 * k), 100 * (k + 1));
        EXPECT_EQ(block->U16(addr::CalibrationPairs + 4 * k + 2), 1100 * (k + 1));
    }
    for (int a = addr::CalibrationPairs + 12; a < addr::SensorCounts; ++a) {
        EXPECT_EQ(block->U8(a), 0) << a;  // the pairs of sensors 4 to 8
    }
    const auto zero = [&](int from, int to) {
        for (int a = from; a <= to; ++a) EXPECT_EQ(block->U8(a), 0) << std::hex << a;
    };
    zero(0x0033, 0x0042);
    zero(0x005D, 0x005D);
    zero(0x0063, 0x00FF);
    EXPECT_EQ(block->U8(kRele3Choice.address), 2);
    EXPECT_EQ(block->U8(kExtReleAlgChoice.address), 0xFF);
    EXPECT_EQ(block->U8(addr::UseModeSensor), 1);
    EXPECT_EQ(block->U8(addr::WorkModeValues + 3), 125);
    for (std::size_t a = 0; a < RecorderImage::Size(); ++a) {
        const bool inBlock = a >= addr::Settings && a < addr::Settings + addr::SettingsSize;
        if (!inBlock) {
            ASSERT_EQ(block->Data()[a], before.Data()[a]) << a;
        }
    }

    // Only eight pairs exist: a ninth row is not stored (and does not reach the counts).
    p.Model().calibration.assign(9, CalibrationPair{0x1234, 0x5678});
    const auto nine = AssembleSettings(p.session.Image(), p.Model(), p.prompter);
    ASSERT_TRUE(nine);
    EXPECT_EQ(nine->U16(addr::CalibrationPairs + 4 * 7 + 2), 0x5678);
    EXPECT_EQ(nine->U8(addr::SensorCounts), std::stoi(p.Text(Ctl::eLeb1Cnt)));
}

}  // namespace
}  // namespace orbisk
