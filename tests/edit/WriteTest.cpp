// The writes end to end: the page texts assembled, sent over the USB adapter (emulated on a
// pseudo-terminal) or the parallel-port bus (the bit-level memory), read back and compared, with
// every message and status text, and every way a write fails.
#include <gtest/gtest.h>

#include "base/DateTime.h"
#include "edit/EditTexts.h"
#include "edit/WriteBack.h"
#include "image/Session.h"
#include "link/LinkTexts.h"
#include "support/LinkTestSupport.h"

namespace orbisk {
namespace {

using test::RecordingPrompter;

enum class Link { Usb, Lpt };

// The program with the sample open on its pages and a reader on one of the two links; the
// reader's memory starts different from the image, so that every byte written shows.
struct Rig {
    explicit Rig(Link kind)
        : kind(kind),
          memory(test::TestImageBytes(21)),
          adapter(kind == Link::Usb ? std::make_unique<test::EmulatedAdapter>(memory) : nullptr),
          ports({adapter ? adapter->Path() : std::string("/dev/orbisk-none")}),
          model(test::ModelWith(memory)),
          link(prompter, config.Get(), std::make_unique<PosixSerialLine>(),
               kind == Link::Lpt ? test::SimulatedLpt(model) : ReaderLink::Options{}) {
        config.Get().SetReaderPort(kind == Link::Usb ? "COM1" : "888");
        config.Get().SetMaxCom(1);
        link.SetConnectionDialog(&dialog);
        EXPECT_EQ(session.OpenDataFile(ORBISK_SOURCE_DIR "/samples/current.bbd"),
                  OpenResult::Opened);
        prompter.Clear();
    }
    std::vector<std::uint8_t> Memory() {
        if (kind == Link::Lpt) return {model->Memory().begin(), model->Memory().end()};
        std::vector<std::uint8_t> bytes;
        adapter->With(
            [&](AdapterEmulator& e) { bytes.assign(e.Memory().begin(), e.Memory().end()); });
        return bytes;
    }
    WriteResult Identification(bool withLongTerm = false) {
        return WriteIdentification(session, {link, prompter, ""}, withLongTerm);
    }
    WriteResult Settings() { return WriteSettings(session, {link, prompter, ""}); }
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& m : prompter.messages) texts.push_back(m.text);
        return texts;
    }

    Link kind;
    std::vector<std::uint8_t> memory;
    std::unique_ptr<test::EmulatedAdapter> adapter;
    test::SerialPortList ports;
    std::shared_ptr<I2cMemoryModel> model;
    RecordingPrompter prompter{false};
    test::TempConfig config;
    test::ScriptedDialog dialog;
    FixedClock clock{EncodeDateTime(2025, 3, 18, 12, 0)};
    Session session{prompter, clock};
    ReaderLink link;
};

const char* Name(Link kind) {
    return kind == Link::Usb ? "USB adapter" : "parallel port";
}

// Each region reaches the memory exactly as the image buffer then holds it; nothing outside it
// changes.
TEST(Write, EachRegionReachesTheMemoryOverEitherLink) {
    struct Region {
        const char* name;
        WriteRegion region;
        std::function<WriteResult(Rig&)> write;
    };
    const Region regions[] = {
        {"identification", kIdentificationRegion, [](Rig& r) { return r.Identification(); }},
        {"long-term", kLongTermRegion, [](Rig& r) { return r.Identification(true); }},
        {"settings", kSettingsRegion, [](Rig& r) { return r.Settings(); }},
    };
    for (Link kind : {Link::Usb, Link::Lpt}) {
        for (const Region& r : regions) {
            SCOPED_TRACE(std::string(Name(kind)) + ", " + r.name);
            Rig rig(kind);
            rig.session.Model().Text(Ctl::eOwner) = "ООО «Новый владелец»";
            rig.session.Model().Text(Ctl::eStop) = "110";
            ASSERT_EQ(r.write(rig), WriteResult::Written)
                << ::testing::PrintToString(rig.Messages());
            EXPECT_TRUE(rig.prompter.messages.empty());
            EXPECT_EQ(rig.prompter.LastStatus(), linktext::kWritten);
            // The 200 ms between the search and the write.
            const auto& pauses = rig.prompter.pauses;
            EXPECT_NE(std::find(pauses.begin(), pauses.end(), 200), pauses.end());

            const auto after = rig.Memory();
            const std::uint8_t* image = rig.session.Image().Data();
            for (std::size_t a = 0; a < after.size(); ++a) {
                const bool inside = a >= r.region.address && a < r.region.address + r.region.count;
                ASSERT_EQ(after[a], inside ? image[a] : rig.memory[a]) << std::hex << a;
            }
            const RecorderImage& written = rig.session.Image();
            if (r.region.address == addr::Identification || r.region.count > 1000) {
                EXPECT_EQ(written.Text(addr::Owner, width::Owner), "ООО «Новый владелец»");
            } else {
                EXPECT_EQ(written.U8(addr::AverageMaxLoad), 110);
            }
        }
    }
}

// A reader that acknowledges a write but keeps its old bytes is never reported as written.
TEST(Write, AReaderThatKeepsItsOldBytesFailsTheCheck) {
    for (Link kind : {Link::Usb, Link::Lpt}) {
        SCOPED_TRACE(Name(kind));
        Rig rig(kind);
        if (kind == Link::Usb) {
            rig.adapter->Faults().droppedWrites = true;
        } else {
            rig.model->SetWriteProtected(true);
        }
        EXPECT_EQ(rig.Settings(), WriteResult::Failed);
        EXPECT_EQ(rig.Messages(), (std::vector<std::string>{linktext::kWriteMismatch,
                                                            edittext::kSettingsWriteFailed}));
        EXPECT_EQ(rig.prompter.messages[0].caption, linktext::kCaptionWrite);
        EXPECT_EQ(rig.prompter.LastStatus(), linktext::kNotWritten);
        EXPECT_TRUE(std::equal(rig.memory.begin(), rig.memory.end(), rig.Memory().begin()));
    }
}

TEST(Write, RefusedAndVanishingReadersEndWithTheLinksMessageAndThePagesOwn) {
    struct Case {
        const char* name;
        Link kind;
        std::function<void(Rig&)> fault;
        std::string linkMessage;
    };
    const Case cases[] = {
        {"every byte refused", Link::Usb, [](Rig& r) { r.adapter->Faults().refusedWrites = -1; },
         linktext::kNoReaderAnswer},
        {"adapter gone after 100 bytes", Link::Usb,
         [](Rig& r) { r.adapter->Faults().unplugAfterWrites = 100; }, linktext::kNoReaderAnswer},
        {"memory refuses its bytes", Link::Lpt, [](Rig& r) { r.model->WithholdDataAcks(1 << 20); },
         linktext::kNoReaderAnswer},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(c.kind);
        c.fault(rig);
        EXPECT_EQ(rig.Identification(), WriteResult::Failed);
        EXPECT_EQ(rig.Messages(),
                  (std::vector<std::string>{c.linkMessage, edittext::kIdentificationWriteFailed}));
        EXPECT_EQ(rig.prompter.LastStatus(), linktext::kNotWritten);
    }
}

TEST(Write, NothingIsSentWithoutAReaderOrAfterAnAbandonedAssembly) {
    {
        // The adapter answers but no reader hangs on it; No to checking again, and the
        // connection dialog is cancelled.
        Rig rig(Link::Usb);
        rig.adapter->Faults().noReader = true;
        const RecorderImage before = rig.session.Image();
        EXPECT_EQ(rig.Settings(), WriteResult::NotConnected);
        EXPECT_EQ(rig.dialog.shown, 1);
        EXPECT_EQ(rig.Messages(), (std::vector<std::string>{edittext::kNotConnected}));
        EXPECT_EQ(rig.session.Image(), before);
        rig.adapter->With([](AdapterEmulator& e) { EXPECT_EQ(e.Commands('W'), 0); });
    }
    for (Link kind : {Link::Usb, Link::Lpt}) {
        SCOPED_TRACE(Name(kind));
        Rig rig(kind);
        const RecorderImage before = rig.session.Image();
        rig.session.Model().Text(Ctl::eRegYear) = "1999";
        rig.prompter.answers = {false};  // No to the question about the errors
        EXPECT_EQ(rig.Identification(), WriteResult::Abandoned);
        EXPECT_EQ(rig.prompter.questions,
                  (std::vector<std::string>{edittext::kIdentificationHasErrors}));
        EXPECT_EQ(rig.session.Image(), before);
        EXPECT_FALSE(rig.link.Cdc().IsOpen());
        EXPECT_TRUE(std::equal(rig.memory.begin(), rig.memory.end(), rig.Memory().begin()));
        // The next write finds the reader again.
        rig.session.Model().Text(Ctl::eRegYear) = "2008";
        EXPECT_EQ(rig.Identification(), WriteResult::Written);
    }
}

// After "Начало отчета" the buffer holds the period's counters and the previous check's date in
// place of the installation date: neither write sends anything until the next load.
TEST(Write, APeriodImageIsNeverWritten) {
    Rig rig(Link::Usb);
    ASSERT_TRUE(rig.session.CompareWithPrevious(ORBISK_SOURCE_DIR "/samples/previous.bbd"));
    rig.prompter.Clear();
    EXPECT_EQ(rig.Identification(true), WriteResult::PeriodImage);
    EXPECT_EQ(rig.Settings(), WriteResult::PeriodImage);
    EXPECT_EQ(rig.Messages(),
              (std::vector<std::string>{edittext::kPeriodNotWritten, edittext::kPeriodNotWritten}));
    EXPECT_TRUE(rig.prompter.statuses.empty());  // no search either
    rig.adapter->With([](AdapterEmulator& e) { EXPECT_EQ(e.Commands('W'), 0); });

    ASSERT_EQ(rig.session.OpenDataFile(ORBISK_SOURCE_DIR "/samples/current.bbd"),
              OpenResult::Opened);
    EXPECT_EQ(rig.Settings(), WriteResult::Written);
}

}  // namespace
}  // namespace orbisk
