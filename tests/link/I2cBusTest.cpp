// The bus master against the bit-level memory: every primitive's waits and messages, the
// memory transactions, and the bounds on polling and restarts.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "link/I2cu.h"
#include "link/LinkTexts.h"
#include "support/LinkTestSupport.h"

namespace orbisk {
namespace {

using test::RecordingPrompter;

// The bus master on the simulated memory, with no delay; its sleeps are recorded, not slept.
struct Bus {
    explicit Bus(std::uint16_t base = 0x378) : model(std::make_shared<I2cMemoryModel>()) {
        auto p = std::make_unique<SimulatedParallelPort>(model, base);
        port = p.get();
        i2c =
            std::make_unique<TI2C>(prompter, std::move(p), 0, [this](std::chrono::milliseconds ms) {
                sleeps.push_back(static_cast<int>(ms.count()));
            });
        i2c->SetPortBase(base);
    }
    std::string Failure(const std::function<void()>& action) {
        try {
            action();
        } catch (const I2cError& e) {
            return e.what();
        }
        return "no failure";
    }
    RecordingPrompter prompter{false};
    std::vector<int> sleeps;  // milliseconds
    std::shared_ptr<I2cMemoryModel> model;
    SimulatedParallelPort* port = nullptr;
    std::unique_ptr<TI2C> i2c;
};

TEST(I2cBus, InitBusDrivesTheLinesAsWiredAndReportsAnIdleBus) {
    Bus bus;
    EXPECT_EQ(bus.i2c->MaxPolls(), 1000);
    EXPECT_TRUE(bus.i2c->InitBus());
    // Two half-second settling sleeps, then the two 1 ms sleeps of the STOP.
    EXPECT_EQ(bus.sleeps, (std::vector<int>{500, 500, 1, 1}));
    EXPECT_EQ(bus.i2c->OutShadow(), 0x0F);  // both lines released, D0-D3 high
    EXPECT_TRUE(bus.model->Sda());
    EXPECT_TRUE(bus.model->Scl());
    // Only the data register was written and only the status register read.
    EXPECT_EQ(bus.port->PortsWritten(), (std::set<std::uint16_t>{0x378}));
    EXPECT_EQ(bus.port->PortsRead(), (std::set<std::uint16_t>{0x379}));
}

// The settling and hold times are the bus's own: a prompter that skips its pauses (a command
// line, a closing window) shortens none of them.
TEST(I2cBus, TheBusSleepsItsFixedTimesWhateverThePrompterDoes) {
    Bus bus;
    bus.prompter.shuttingDown = true;
    ASSERT_TRUE(bus.i2c->InitBus());
    EXPECT_EQ(bus.sleeps, (std::vector<int>{500, 500, 1, 1}));
    bus.sleeps.clear();
    ASSERT_TRUE(bus.i2c->StartAddress(TI2C::kMemoryWrite));
    EXPECT_EQ(bus.sleeps, (std::vector<int>{1, 1}));
    bus.sleeps.clear();
    bus.i2c->Stop();
    EXPECT_EQ(bus.sleeps, (std::vector<int>{1, 1}));
    EXPECT_TRUE(bus.prompter.pauses.empty());

    // Without a sleep of its own the master really sleeps, though this prompter pauses never.
    class NoPauses final : public Prompter {
    public:
        void Message(const std::string&, MessageIcon, const std::string&) override {}
        bool Ask(const std::string&, QuestionButtons, MessageIcon, const std::string&) override {
            return false;
        }
        void Pause(int) override {}
        bool ShuttingDown() const override { return true; }
    } prompter;
    auto model = std::make_shared<I2cMemoryModel>();
    TI2C real(prompter, std::make_unique<SimulatedParallelPort>(model, 0x378), 0);
    real.SetPortBase(0x378);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(real.InitBus());
    const auto afterInit = std::chrono::steady_clock::now();
    ASSERT_TRUE(real.StartAddress(TI2C::kMemoryWrite));
    real.Stop();
    const auto end = std::chrono::steady_clock::now();
    EXPECT_GE(afterInit - start, std::chrono::milliseconds(1002));
    EXPECT_GE(end - afterInit, std::chrono::milliseconds(4));
}

TEST(I2cBus, SequentialReadReturnsMemoryAcrossBlocksAndRecoversFromTheTrailingClock) {
    Bus bus;
    const auto bytes = test::TestImageBytes(7);
    std::copy(bytes.begin(), bytes.end(), bus.model->Memory().begin());
    ASSERT_TRUE(bus.i2c->InitBus());
    std::vector<std::uint8_t> out(4096);
    for (std::size_t a = 0; a < out.size(); a += 1024) {
        bus.i2c->ReadSequential(static_cast<std::uint16_t>(0x7E00 + a), 1024, out.data() + a);
    }
    EXPECT_TRUE(std::equal(out.begin(), out.end(), bytes.begin() + 0x7E00));
}

TEST(I2cBus, ReadingWrapsAtTheEndOfTheMemory) {
    Bus bus;
    bus.model->Memory()[0xFFFF] = 0x5A;
    bus.model->Memory()[0x0000] = 0xC3;
    ASSERT_TRUE(bus.i2c->InitBus());
    std::uint8_t out[2] = {};
    bus.i2c->ReadSequential(0xFFFF, 2, out);
    EXPECT_EQ(out[0], 0x5A);
    EXPECT_EQ(out[1], 0xC3);
}

TEST(I2cBus, WriteAcrossAPageBoundaryIsTwoPagesWithPollingBetween) {
    Bus bus;
    bus.model->SetWriteCycleAttempts(3);
    ASSERT_TRUE(bus.i2c->InitBus());
    const std::uint8_t data[3] = {0x11, 0x22, 0x33};
    // The transfer splits at the page end; a page never crosses it even when asked to.
    bus.i2c->WritePage(62, data, 3);
    bus.i2c->WritePage(64, data + 2, 1);
    bus.i2c->Stop();
    EXPECT_EQ(bus.model->Memory()[62], 0x11);
    EXPECT_EQ(bus.model->Memory()[63], 0x22);
    EXPECT_EQ(bus.model->Memory()[64], 0x33);
    using Commit = std::pair<std::uint16_t, std::size_t>;
    EXPECT_EQ(bus.model->Commits(), (std::vector<Commit>{{62, 2}, {64, 1}}));
    // The second page waited out the first one's write cycle.
    EXPECT_EQ(bus.model->AddressesRefused(), 3);
}

TEST(I2cBus, RefusedDataByteRestartsThePageFromThatByte) {
    Bus bus;
    ASSERT_TRUE(bus.i2c->InitBus());
    std::vector<std::uint8_t> page(64);
    for (int i = 0; i < 64; ++i) page[i] = static_cast<std::uint8_t>(i + 1);
    bus.i2c->WritePage(0x0040, page.data(), 10);  // 10 bytes, then the refusal below
    bus.model->WithholdDataAcks(1);
    bus.i2c->WritePage(0x0080, page.data(), 64);
    bus.i2c->Stop();
    EXPECT_TRUE(std::equal(page.begin(), page.end(), bus.model->Memory().begin() + 0x80));
    // The refused first byte: nothing was committed for it; the page went again whole.
    EXPECT_EQ(bus.model->Commits().back(), (std::pair<std::uint16_t, std::size_t>{0x80, 64}));
}

TEST(I2cBus, PollingAndRestartsGiveUpWithNoAnswer) {
    Bus bus;
    ASSERT_TRUE(bus.i2c->InitBus());
    bus.model->SetPresent(false);
    std::uint8_t out[4];
    EXPECT_EQ(bus.Failure([&] { bus.i2c->ReadSequential(0, 4, out); }), linktext::kNoReaderAnswer);
    const std::uint8_t data[1] = {1};
    EXPECT_EQ(bus.Failure([&] { bus.i2c->WritePage(0, data, 1); }), linktext::kNoReaderAnswer);
    // About a second of real trying for each: the attempts are bounded, each a refused START
    // and its STOP with their 1 ms sleeps.
    const auto sleeps = std::count(bus.sleeps.begin(), bus.sleeps.end(), 1);
    EXPECT_GE(sleeps, 2 * 4 * TI2C::kMaxAttempts);
    EXPECT_LE(sleeps, 2 * 4 * (TI2C::kMaxAttempts + 2));

    // Refused address bytes restart the read too, within the same budget.
    Bus refusing;
    ASSERT_TRUE(refusing.i2c->InitBus());
    refusing.model->Memory()[5] = 0x42;
    refusing.model->WithholdAcks(3);
    std::uint8_t one = 0;
    refusing.i2c->ReadSequential(5, 1, &one);
    EXPECT_EQ(one, 0x42);
}

TEST(I2cBus, StuckLinesRaiseThePrimitivesMessages) {
    {
        Bus bus;
        bus.model->SetStuckSda(true);
        EXPECT_EQ(bus.Failure([&] { bus.i2c->InitBus(); }), linktext::kBusInitError);
        EXPECT_EQ(bus.i2c->PollCount(), 1000);
    }
    {
        Bus bus;
        bus.model->SetStuckScl(true);
        EXPECT_EQ(bus.Failure([&] { bus.i2c->InitBus(); }), linktext::kWaitTimeout);
    }
    {
        // A slave holding SDA gets a thousand clock pulses before the bus is given up.
        Bus bus;
        bus.model->SetHoldSdaLow(true);
        bus.model->StartTrace();
        EXPECT_EQ(bus.Failure([&] { bus.i2c->InitBus(); }), linktext::kBusInitError);
        const auto& trace = bus.model->Trace();
        int falls = 0;
        for (std::size_t i = 1; i < trace.size(); ++i)
            falls += (trace[i - 1] & 1) && !(trace[i] & 1);
        EXPECT_EQ(falls, 1000);
    }
}

TEST(I2cBus, ClockStretchingIsWaitedForUpToThePollLimit) {
    Bus bus;
    bus.model->Memory()[0x10] = 0x9C;
    ASSERT_TRUE(bus.i2c->InitBus());
    bus.model->SetClockStretch(998);  // a wait sees 998 low reads, then the 999th is high
    std::uint8_t out = 0;
    bus.i2c->ReadSequential(0x10, 1, &out);
    EXPECT_EQ(out, 0x9C);

    bus.model->SetClockStretch(999);  // the 1000th poll is the limit
    EXPECT_EQ(bus.Failure([&] { bus.i2c->WriteByte(0xA6); }), linktext::kTransmitError);
    bus.model->SetClockStretch(0);
    bus.model->SetPresent(false);
    bus.model->SetPresent(true);
    ASSERT_TRUE(bus.i2c->InitBus());
    ASSERT_TRUE(bus.i2c->StartAddress(TI2C::kMemoryWrite));
    ASSERT_TRUE(bus.i2c->WriteTwo(0x00, 0x10));
    bus.i2c->RepeatedStart();
    bus.i2c->WriteByte(TI2C::kMemoryRead);
    ASSERT_TRUE(bus.i2c->ReadAck());
    bus.model->SetClockStretch(5000);
    EXPECT_EQ(bus.Failure([&] { bus.i2c->ReadByte(); }), linktext::kReceiveError);
}

TEST(I2cBus, NoPortBehindTheAddressFailsWithinOneWait) {
    Bus bus(0x378);
    bus.i2c->SetPortBase(0x278);  // nothing there: every read is 0xFF (SCL seen low)
    EXPECT_EQ(bus.Failure([&] { bus.i2c->InitBus(); }), linktext::kWaitTimeout);
    EXPECT_EQ(bus.i2c->PollCount(), 1000);
    EXPECT_EQ(bus.port->PortsWritten(), (std::set<std::uint16_t>{0x278}));
}

TEST(I2cBus, StopOnABusheldLowIsAConflict) {
    Bus bus;
    ASSERT_TRUE(bus.i2c->InitBus());
    // The memory is sending a 0 bit when the master tries to end the transfer.
    bus.model->Memory()[0] = 0x00;
    ASSERT_TRUE(bus.i2c->StartAddress(TI2C::kMemoryRead));
    EXPECT_EQ(bus.Failure([&] { bus.i2c->Stop(); }), linktext::kBusConflict);
    // InitBus clocks the memory free again.
    EXPECT_TRUE(bus.i2c->InitBus());
}

TEST(I2cBus, DriverFailureIsShownAndTheMasterCarriesOn) {
    RecordingPrompter prompter{false};
    auto model = std::make_shared<I2cMemoryModel>();
    auto port = std::make_unique<SimulatedParallelPort>(model, 0x378);
    port->FailOpen("нет доступа");
    TI2C i2c(prompter, std::move(port), 0, TI2C::NoSleep);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, std::string(linktext::kDriverOpenFailed) + "нет доступа");
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Error);
    i2c.SetPortBase(0x378);
    EXPECT_THROW(i2c.InitBus(), I2cError);
}

TEST(I2cBus, CalibratedDelayIsAboutTenMicroseconds) {
    const std::int32_t count = TI2C::CalibrateDelay();
    EXPECT_GT(count, 1);
    RecordingPrompter prompter{false};
    TI2C i2c(prompter,
             std::make_unique<SimulatedParallelPort>(std::make_shared<I2cMemoryModel>(), 0x378),
             count);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 2000; ++i) i2c.Delay();
    const double us =
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
            .count() /
        2000;
    // Loose bounds: a busy machine makes a delay longer, never much shorter.
    EXPECT_GT(us, 5.0);
    EXPECT_LT(us, 200.0);
}

TEST(I2cBus, TraceRecordsEveryLevelChange) {
    Bus bus;
    bus.model->StartTrace();
    ASSERT_TRUE(bus.i2c->InitBus());
    const auto& trace = bus.model->Trace();
    ASSERT_GE(trace.size(), 3u);
    EXPECT_EQ(trace.front(), 3);  // idle: both high
    EXPECT_EQ(trace.back(), 3);
    for (std::size_t i = 1; i < trace.size(); ++i) {
        EXPECT_NE(trace[i], trace[i - 1]);  // one byte per change
        EXPECT_LT(trace[i], 4);
    }
    // The STOP: SCL rises while SDA is low, then SDA rises.
    EXPECT_EQ(std::vector<std::uint8_t>(trace.end() - 3, trace.end()),
              (std::vector<std::uint8_t>{0, 1, 3}));
}

}  // namespace
}  // namespace orbisk
