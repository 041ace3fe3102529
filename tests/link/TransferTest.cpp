// Whole-image reads and the three write regions over both links, end to end, and every way a
// transfer can fail, with the texts the person sees.
#include <gtest/gtest.h>

#include "link/LinkTexts.h"
#include "support/LinkTestSupport.h"

namespace orbisk {
namespace {

using test::EmulatedAdapter;
using test::RecordingPrompter;
using test::TempConfig;

// The program's side: the prompter, a configuration file, and the link with the load command's
// enabled state.
struct Program {
    explicit Program(ReaderLink::Options options = {})
        : link(prompter, config.Get(), std::make_unique<PosixSerialLine>(), std::move(options)) {
        link.SetLoadCommandEnabler([this](bool on) { loadEnabled.push_back(on); });
        link.SetConnectionDialog(&dialog);
    }
    RecordingPrompter prompter{false};
    TempConfig config;
    test::ScriptedDialog dialog;
    ReaderLink link;
    std::vector<bool> loadEnabled;
};

// A program whose remembered port is the emulated adapter, already connected.
struct UsbRig {
    explicit UsbRig(const std::vector<std::uint8_t>& memory = test::TestImageBytes(),
                    ReaderLink::Options options = {})
        : adapter(memory), ports({adapter.Path()}), program(std::move(options)) {
        program.config.Get().SetReaderPort("COM1");
        program.config.Get().SetMaxCom(1);
    }
    bool Connect() {
        program.link.ConnectReader();
        return program.link.UsbConnected();
    }
    EmulatedAdapter adapter;
    test::SerialPortList ports;
    Program program;
};

struct LptRig {
    explicit LptRig(const std::vector<std::uint8_t>& memory = test::TestImageBytes(),
                    std::optional<std::chrono::milliseconds> transferTimeLimit = std::nullopt)
        : model(test::ModelWith(memory)), program(Options(transferTimeLimit)) {
        program.config.Get().SetReaderPort("888");
    }
    ReaderLink::Options Options(std::optional<std::chrono::milliseconds> transferTimeLimit) {
        auto options = test::SimulatedLpt(model);
        options.busSleep = [this](std::chrono::milliseconds ms) {
            busSleeps.push_back(static_cast<int>(ms.count()));
        };
        options.transferTimeLimit = transferTimeLimit;
        return options;
    }
    bool Connect() {
        program.link.ConnectReader();
        return program.link.LptConnected();
    }
    std::shared_ptr<I2cMemoryModel> model;
    std::vector<int> busSleeps;  // what the bus master asked to sleep, in milliseconds
    Program program;
};

std::vector<std::uint8_t> Pattern(std::size_t n, unsigned seed) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + seed);
    return bytes;
}

void ExpectSuccessfulRead(Program& p) {
    EXPECT_TRUE(p.prompter.messages.empty());
    EXPECT_EQ(p.prompter.LastStatus(), linktext::kLoaded);
    EXPECT_EQ(p.loadEnabled, (std::vector<bool>{false, true}));
    EXPECT_EQ(p.prompter.progress.front(), (std::pair<int, int>{0, 65535}));
    EXPECT_EQ(p.prompter.progress.back().first, 0);
}

TEST(Transfer, WholeImageOverTheAdapter) {
    const auto bytes = test::TestImageBytes(11);
    UsbRig rig(bytes);
    RecorderImage image;
    ASSERT_TRUE(rig.program.link.LoadFromReader(image));
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), image.Data()));
    ExpectSuccessfulRead(rig.program);
    // One 64-byte block per command, the address set once; the port is closed afterwards.
    rig.adapter.With([](AdapterEmulator& e) {
        EXPECT_EQ(e.Commands('R'), 1024);
        EXPECT_EQ(e.Commands('A'), 1);
    });
    EXPECT_FALSE(rig.program.link.Cdc().IsOpen());
    // 1,024 blocks and their progress steps.
    EXPECT_EQ(rig.program.prompter.progress.size(), 1024u + 2);
}

TEST(Transfer, WholeImageOverTheParallelPort) {
    const auto bytes = test::TestImageBytes(12);
    LptRig rig(bytes);
    RecorderImage image;
    ASSERT_TRUE(rig.program.link.LoadFromReader(image));
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), image.Data()));
    ExpectSuccessfulRead(rig.program);
    EXPECT_EQ(rig.program.prompter.progress.size(), 64u + 2);
    // The pauses: 500 ms after the search, at the start of the read and before the blocks.
    const auto& pauses = rig.program.prompter.pauses;
    EXPECT_EQ(std::count(pauses.begin(), pauses.end(), 500), 3);
    // The bus settles twice (search and read), each time for 500 ms twice; a START per block.
    const auto& sleeps = rig.busSleeps;
    EXPECT_EQ(std::count(sleeps.begin(), sleeps.end(), 500), 2 + 2);
    EXPECT_GE(std::count(sleeps.begin(), sleeps.end(), 1), 2 * 64);
}

// A memory that holds SCL low after every falling clock edge is waited for on every clock,
// the START that follows a 1,024-byte block without a STOP included: whole images at several
// stretch lengths, and ranges that cross block boundaries from an odd address.
TEST(Transfer, AMemoryThatStretchesTheClockIsReadWhole) {
    struct Case {
        int stretch;  // status reads SCL stays low after each falling edge
        std::uint16_t address;
        std::size_t count;
    };
    const Case cases[] = {{1, 0, 65536},     {40, 0, 65536},    {998, 0, 4096},
                          {3, 0x0001, 1793}, {5, 0x0101, 2049}, {3, 0x7FFF, 3073}};
    for (const Case& c : cases) {
        const auto bytes = test::TestImageBytes(14);
        LptRig rig(bytes);
        ASSERT_TRUE(rig.Connect());
        rig.model->SetClockStretch(c.stretch);
        std::vector<std::uint8_t> buffer(c.count, 0xEE);
        EXPECT_TRUE(rig.program.link.ReadFromReader(c.address, c.count, buffer.data()))
            << c.stretch << " at " << c.address << ": " << rig.program.prompter.LastStatus();
        EXPECT_TRUE(std::equal(buffer.begin(), buffer.end(), bytes.begin() + c.address))
            << c.stretch << " at " << c.address;
        EXPECT_TRUE(rig.program.prompter.messages.empty());
    }
}

TEST(Transfer, ChecksumQuestionOnAWrongImage) {
    auto bytes = test::TestImageBytes(13);
    bytes[2] ^= 1;
    UsbRig rig(bytes);
    RecorderImage image;
    rig.program.prompter.answers = {false};
    EXPECT_FALSE(rig.program.link.LoadFromReader(image));
    EXPECT_EQ(rig.program.prompter.questions,
              (std::vector<std::string>{linktext::kReaderChecksumQuestion}));
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), image.Data()));

    rig.program.prompter.answers = {true};
    EXPECT_TRUE(rig.program.link.LoadFromReader(image));
}

struct Region {
    std::uint16_t address;
    std::size_t count;
};
const Region kRegions[] = {{0x0010, 240}, {0x0010, 4080}, {0x0800, 1536}};

TEST(Transfer, WriteRegionsOverTheParallelPort) {
    LptRig rig;
    for (const Region& region : kRegions) {
        ASSERT_TRUE(rig.Connect());
        const auto before = rig.model->Memory();
        const auto data = Pattern(region.count, region.address + region.count);
        const auto commitsBefore = rig.model->Commits().size();
        ASSERT_TRUE(rig.program.link.WriteToReader(region.address, region.count, data.data()));
        EXPECT_EQ(rig.program.prompter.LastStatus(), linktext::kWritten);
        const auto& memory = rig.model->Memory();
        EXPECT_TRUE(std::equal(data.begin(), data.end(), memory.begin() + region.address));
        // Nothing outside the region changed.
        EXPECT_TRUE(std::equal(memory.begin(), memory.begin() + region.address, before.begin()));
        EXPECT_TRUE(std::equal(memory.begin() + region.address + region.count, memory.end(),
                               before.begin() + region.address + region.count));
        const std::size_t pages = (region.address % 64 + region.count + 63) / 64;
        EXPECT_EQ(rig.model->Commits().size() - commitsBefore, pages);
        if (region.count == 240) {
            using Commit = std::pair<std::uint16_t, std::size_t>;
            const std::vector<Commit> expected{{0x10, 48}, {0x40, 64}, {0x80, 64}, {0xC0, 64}};
            EXPECT_EQ(std::vector<Commit>(rig.model->Commits().begin() + commitsBefore,
                                          rig.model->Commits().end()),
                      expected);
        }
    }
    EXPECT_TRUE(rig.program.prompter.messages.empty());
}

TEST(Transfer, WriteRegionsOverTheAdapter) {
    UsbRig rig;
    for (const Region& region : kRegions) {
        ASSERT_TRUE(rig.Connect());
        const auto data = Pattern(region.count, region.count);
        ASSERT_TRUE(rig.program.link.WriteToReader(region.address, region.count, data.data()));
        EXPECT_EQ(rig.program.prompter.LastStatus(), linktext::kWritten);
        EXPECT_FALSE(rig.program.link.Cdc().IsOpen());
        rig.adapter.With([&](AdapterEmulator& e) {
            EXPECT_TRUE(std::equal(data.begin(), data.end(), e.Memory().begin() + region.address));
        });
    }
    rig.adapter.With([](AdapterEmulator& e) {
        EXPECT_EQ(e.BytesWritten(), 240 + 4080 + 1536);
        // An address before every byte, plus the one at the start of each transfer.
        EXPECT_EQ(e.Commands('A'), 240 + 4080 + 1536 + 3);
    });
}

TEST(Transfer, RefusedBytesOverTheAdapterAreTriedAgain) {
    UsbRig rig;
    rig.adapter.Faults().refusedWrites = 3;
    ASSERT_TRUE(rig.Connect());
    const auto data = Pattern(16, 5);
    ASSERT_TRUE(rig.program.link.WriteToReader(0x0800, 16, data.data()));
    rig.adapter.With([&](AdapterEmulator& e) {
        EXPECT_TRUE(std::equal(data.begin(), data.end(), e.Memory().begin() + 0x0800));
        EXPECT_EQ(e.Commands('W'), 16 + 3);
    });
}

void ExpectFailure(Program& p, const std::string& message, const std::string& caption,
                   const std::string& status) {
    ASSERT_EQ(p.prompter.messages.size(), 1u) << p.prompter.LastStatus();
    EXPECT_EQ(p.prompter.messages[0].text, message);
    EXPECT_EQ(p.prompter.messages[0].caption, caption);
    EXPECT_EQ(p.prompter.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(p.prompter.LastStatus(), status);
    EXPECT_EQ(p.loadEnabled.back(), true);
    EXPECT_EQ(p.prompter.progress.back().first, 0);
}

TEST(TransferFailure, ReaderUnpluggedFromTheAdapterMidRead) {
    UsbRig rig;
    rig.adapter.Faults().unplugAfterBlocks = 100;
    ASSERT_TRUE(rig.Connect());
    std::vector<std::uint8_t> buffer(65536, 0xEE);
    EXPECT_FALSE(rig.program.link.ReadFromReader(0, buffer.size(), buffer.data()));
    ExpectFailure(rig.program, linktext::kLinkBroken, linktext::kCaptionLoadUsb,
                  linktext::kLinkBroken);
    // The bytes that came are in place, the rest as it was.
    EXPECT_EQ(buffer[100 * 64 - 1], test::TestImageBytes()[100 * 64 - 1]);
    EXPECT_EQ(buffer[100 * 64], 0xEE);
    EXPECT_FALSE(rig.program.link.Cdc().IsOpen());
}

TEST(TransferFailure, AdapterRefusingBlockSizeOrAddress) {
    for (bool refuseAddress : {false, true}) {
        UsbRig rig;
        ASSERT_TRUE(rig.Connect());
        rig.adapter.With([&](AdapterEmulator& e) {
            if (refuseAddress) {
                e.Faults().refusedAddresses = 1;
            } else {
                e.Faults().shortReplies = 1;
            }
        });
        std::vector<std::uint8_t> buffer(64);
        EXPECT_FALSE(rig.program.link.ReadFromReader(0, 64, buffer.data()));
        ExpectFailure(rig.program, linktext::kAdapterError, linktext::kCaptionLoadUsb,
                      linktext::kAdapterError);
        EXPECT_FALSE(rig.program.link.Cdc().IsOpen());
    }
}

TEST(TransferFailure, AdapterWritesFailWithTheirMessages) {
    {
        UsbRig rig;
        ASSERT_TRUE(rig.Connect());
        rig.adapter.With([](AdapterEmulator& e) { e.Faults().shortReplies = 1; });
        std::uint8_t data[4] = {};
        EXPECT_FALSE(rig.program.link.WriteToReader(0x10, 4, data));
        ExpectFailure(rig.program, linktext::kBlockSizeWriteError, linktext::kCaptionWrite,
                      linktext::kNotWritten);
        EXPECT_FALSE(rig.program.link.Cdc().IsOpen());
    }
    {
        UsbRig rig;
        ASSERT_TRUE(rig.Connect());
        rig.adapter.With([](AdapterEmulator& e) { e.Faults().refusedAddresses = 1; });
        std::uint8_t data[4] = {};
        EXPECT_FALSE(rig.program.link.WriteToReader(0x10, 4, data));
        ExpectFailure(rig.program, linktext::kAddressWriteError, linktext::kCaptionWrite,
                      linktext::kNotWritten);
    }
    {
        // A reader that stops taking bytes: the retries end after about a second.
        UsbRig rig;
        ASSERT_TRUE(rig.Connect());
        rig.adapter.With([](AdapterEmulator& e) { e.Faults().refusedWrites = -1; });
        std::uint8_t data[4] = {1, 2, 3, 4};
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(rig.program.link.WriteToReader(0x10, 4, data));
        const double took =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_LT(took, 3.0);
        ExpectFailure(rig.program, linktext::kNoReaderAnswer, linktext::kCaptionWrite,
                      linktext::kNotWritten);
    }
}

TEST(TransferFailure, BusFailuresDuringReadAndWrite) {
    {
        LptRig rig;
        ASSERT_TRUE(rig.Connect());
        rig.model->SetStuckSda(true);
        std::vector<std::uint8_t> buffer(1024);
        EXPECT_FALSE(rig.program.link.ReadFromReader(0, buffer.size(), buffer.data()));
        ExpectFailure(rig.program, linktext::kBusInitError, linktext::kCaptionLoadLpt,
                      linktext::kBusInitError);
    }
    {
        // Pulled off in the middle of the image: the bus master gives up after its attempts.
        LptRig rig;
        ASSERT_TRUE(rig.Connect());
        rig.model->DisconnectAfterBytesSent(5000);
        std::vector<std::uint8_t> buffer(65536);
        EXPECT_FALSE(rig.program.link.ReadFromReader(0, buffer.size(), buffer.data()));
        ExpectFailure(rig.program, linktext::kNoReaderAnswer, linktext::kCaptionLoadLpt,
                      linktext::kNoReaderAnswer);
        // A read error in a block: the message is the primitive's.
    }
    {
        LptRig rig;
        ASSERT_TRUE(rig.Connect());
        // A memory that holds the clock for good after the first bit of its address.
        rig.model->SetClockStretch(5000);
        std::vector<std::uint8_t> buffer(1024);
        EXPECT_FALSE(rig.program.link.ReadFromReader(0, buffer.size(), buffer.data()));
        ExpectFailure(rig.program, linktext::kTransmitError, linktext::kCaptionLoadLpt,
                      linktext::kTransmitError);
    }
    {
        LptRig rig;
        ASSERT_TRUE(rig.Connect());
        rig.model->SetStuckScl(true);
        std::uint8_t data[4] = {};
        EXPECT_FALSE(rig.program.link.WriteToReader(0x10, 4, data));
        ExpectFailure(rig.program, linktext::kWaitTimeout, linktext::kCaptionWrite,
                      linktext::kNotWritten);
    }
    {
        LptRig rig;
        ASSERT_TRUE(rig.Connect());
        rig.model->SetPresent(false);
        std::uint8_t data[4] = {};
        EXPECT_FALSE(rig.program.link.WriteToReader(0x10, 4, data));
        ExpectFailure(rig.program, linktext::kNoReaderAnswer, linktext::kCaptionWrite,
                      linktext::kNotWritten);
    }
}

// An adapter that answers every block, one byte at a time, each after the read time-out: the
// read gives up when the transfer has had its time (the image would take nine hours).
TEST(TransferFailure, ATricklingAdapterIsGivenUpWhenTheTransferHasHadItsTime) {
    ReaderLink::Options options;
    options.transferTimeLimit = std::chrono::milliseconds(1500);
    UsbRig rig(test::TestImageBytes(), options);
    rig.adapter.Faults().trickleBytes = 1;
    ASSERT_TRUE(rig.Connect());
    // One block of 64 bytes: half a minute at this pace.
    std::vector<std::uint8_t> buffer(64, 0xEE);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(rig.program.link.ReadFromReader(0, buffer.size(), buffer.data()));
    const double took =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // The limit, then at most the block under way (one read time-out).
    EXPECT_GE(took, 1.5);
    EXPECT_LT(took, 1.5 + 1.0);
    ExpectFailure(rig.program, linktext::kNoReaderAnswer, linktext::kCaptionLoadUsb,
                  linktext::kNoReaderAnswer);
    EXPECT_FALSE(rig.program.link.Cdc().IsOpen());
    // What trickled in before is in place.
    EXPECT_EQ(buffer[0], test::TestImageBytes()[0]);
    EXPECT_EQ(buffer[1], test::TestImageBytes()[1]);
}

// Both links and both directions stop at the limit: with none at all, after the first block or
// page, through the failure path of the transfer.
TEST(TransferFailure, ATransferThatOutlastsItsLimitEndsWithNoAnswer) {
    struct Case {
        bool usb;
        bool write;
        const char* caption;
        const char* status;
    };
    const Case cases[] = {
        {false, false, linktext::kCaptionLoadLpt, linktext::kNoReaderAnswer},
        {false, true, linktext::kCaptionWrite, linktext::kNotWritten},
        {true, false, linktext::kCaptionLoadUsb, linktext::kNoReaderAnswer},
        {true, true, linktext::kCaptionWrite, linktext::kNotWritten},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.usb ? "adapter" : "parallel port") +
                     (c.write ? ", write" : ", read"));
        std::unique_ptr<UsbRig> usbRig;
        std::unique_ptr<LptRig> lptRig;
        Program* p;
        if (c.usb) {
            ReaderLink::Options options;
            options.transferTimeLimit = std::chrono::milliseconds(0);
            usbRig = std::make_unique<UsbRig>(test::TestImageBytes(), options);
            ASSERT_TRUE(usbRig->Connect());
            p = &usbRig->program;
        } else {
            lptRig = std::make_unique<LptRig>(test::TestImageBytes(), std::chrono::milliseconds(0));
            ASSERT_TRUE(lptRig->Connect());
            p = &lptRig->program;
        }
        std::vector<std::uint8_t> buffer(4096);
        const bool done = c.write ? p->link.WriteToReader(0x0800, 1536, buffer.data())
                                  : p->link.ReadFromReader(0, buffer.size(), buffer.data());
        EXPECT_FALSE(done);
        ExpectFailure(*p, linktext::kNoReaderAnswer, c.caption, c.status);
        // One block or page went through, then no more.
        const auto& progress = p->prompter.progress;
        ASSERT_GE(progress.size(), 3u);
        const int first = progress[1].first;
        EXPECT_GT(first, 0);
        EXPECT_EQ(progress[progress.size() - 2].first, first);
    }
}

TEST(TransferFailure, ClosingTheProgramEndsAReadWithoutAMessage) {
    for (bool usb : {true, false}) {
        std::unique_ptr<UsbRig> usbRig;
        std::unique_ptr<LptRig> lptRig;
        Program* p;
        if (usb) {
            usbRig = std::make_unique<UsbRig>();
            ASSERT_TRUE(usbRig->Connect());
            p = &usbRig->program;
        } else {
            lptRig = std::make_unique<LptRig>();
            ASSERT_TRUE(lptRig->Connect());
            p = &lptRig->program;
        }
        int blocks = 0;
        p->prompter.onProcessMessages = [&] {
            if (++blocks == 3) p->prompter.shuttingDown = true;
        };
        std::vector<std::uint8_t> buffer(65536);
        EXPECT_FALSE(p->link.ReadFromReader(0, buffer.size(), buffer.data()));
        EXPECT_TRUE(p->prompter.messages.empty());
        EXPECT_EQ(p->prompter.LastStatus(), linktext::kLoading);
        EXPECT_EQ(blocks, 3);
    }
}

TEST(TransferFailure, NoReaderAnywhereLoadsNothing) {
    auto model = std::make_shared<I2cMemoryModel>();
    model->SetPresent(false);
    Program program(test::SimulatedLpt(model));
    test::SerialPortList ports({});
    RecorderImage image;
    image.SetU8(0x100, 0x77);
    EXPECT_FALSE(program.link.LoadFromReader(image));
    EXPECT_EQ(program.dialog.shown, 1);
    EXPECT_EQ(program.prompter.LastStatus(), linktext::kReaderNotFound);
    EXPECT_TRUE(program.prompter.messages.empty());
    EXPECT_EQ(image.U8(0x100), 0x77);
}

}  // namespace
}  // namespace orbisk
