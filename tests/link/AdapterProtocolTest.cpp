// The adapter protocol over the real terminal code, against the emulated adapter on a
// pseudo-terminal.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "link/Cdcu.h"
#include "link/SerialPorts.h"
#include "support/LinkTestSupport.h"

namespace orbisk {
namespace {

using test::EmulatedAdapter;

std::unique_ptr<TCDC> OpenOn(const std::string& path) {
    auto cdc = std::make_unique<TCDC>(std::make_unique<PosixSerialLine>());
    cdc->SetPortName(path);
    return cdc;
}

double Seconds(const std::function<void()>& action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(AdapterProtocol, CommandsAgainstAWorkingAdapter) {
    const auto bytes = test::TestImageBytes(3);
    EmulatedAdapter adapter(bytes);
    auto cdc = OpenOn(adapter.Path());
    EXPECT_EQ(cdc->AdapterName().size(), 19u);
    ASSERT_TRUE(cdc->Open());
    EXPECT_TRUE(cdc->Identify());
    EXPECT_TRUE(cdc->CheckReader());
    EXPECT_TRUE(cdc->SetBlockSize());
    EXPECT_TRUE(cdc->SetAddress(0x0800));
    adapter.With([](AdapterEmulator& e) {
        EXPECT_EQ(e.Address(), 0x0800u);
        EXPECT_EQ(e.BlockSize(), 64);
    });
    std::uint8_t block[64] = {};
    ASSERT_EQ(cdc->ReadBlock(block), 64u);
    EXPECT_TRUE(std::equal(block, block + 64, bytes.begin() + 0x0800));
    ASSERT_EQ(cdc->ReadBlock(block), 64u);  // the adapter moves on by itself
    EXPECT_TRUE(std::equal(block, block + 64, bytes.begin() + 0x0840));
    EXPECT_TRUE(cdc->SetAddress(0x1234));
    EXPECT_TRUE(cdc->WriteMemByte(0xAB));
    cdc->Close();
    EXPECT_FALSE(cdc->IsOpen());
    adapter.With([](AdapterEmulator& e) { EXPECT_EQ(e.Memory()[0x1234], 0xAB); });
}

TEST(AdapterProtocol, AnotherDeviceIsNotTheAdapterAndItsPortIsClosed) {
    EmulatedAdapter adapter;
    adapter.Faults().wrongIdentity = true;
    auto cdc = OpenOn(adapter.Path());
    ASSERT_TRUE(cdc->Open());
    EXPECT_FALSE(cdc->Identify());
    EXPECT_FALSE(cdc->IsOpen());
}

TEST(AdapterProtocol, ShortRepliesNeverMatchAndShortBlocksCountAtTheirLength) {
    EmulatedAdapter adapter;
    adapter.Faults().shortReplies = 3;
    auto cdc = OpenOn(adapter.Path());
    ASSERT_TRUE(cdc->Open());
    EXPECT_FALSE(cdc->Identify());  // 9 of the 19 bytes
    ASSERT_TRUE(cdc->Open());
    EXPECT_FALSE(cdc->CheckReader());  // "Q" alone
    EXPECT_TRUE(cdc->IsOpen());        // a reply that does not match leaves the port open
    std::uint8_t block[64];
    EXPECT_EQ(cdc->ReadBlock(block), 32u);
    EXPECT_EQ(cdc->ReadBlock(block), 64u);
    // Never more than the caller has room for.
    EXPECT_EQ(cdc->ReadBlock(block, 10), 10u);
}

TEST(AdapterProtocol, NoReaderAndSilenceEndWithinTheTimeOut) {
    EmulatedAdapter adapter;
    adapter.Faults().noReader = true;
    auto cdc = OpenOn(adapter.Path());
    ASSERT_TRUE(cdc->Open());
    EXPECT_TRUE(cdc->Identify());
    EXPECT_FALSE(cdc->CheckReader());
    std::uint8_t block[64];
    double took = Seconds([&] { EXPECT_EQ(cdc->ReadBlock(block), 0u); });
    EXPECT_GE(took, 0.45);
    EXPECT_LT(took, 1.5);
    EXPECT_FALSE(cdc->ErrorText().empty());
}

TEST(AdapterProtocol, OpeningAPortThatIsNotThereFailsWithTheSystemsReason) {
    auto cdc = OpenOn("/dev/orbisk-no-such-port");
    EXPECT_FALSE(cdc->Open());
    EXPECT_FALSE(cdc->ErrorText().empty());
    test::SerialPortList ports({"/dev/orbisk-no-such-port"});
    cdc->SetPortName("COM2");  // beyond the list
    EXPECT_FALSE(cdc->Open());
}

TEST(AdapterProtocol, APortIsUsedByOneProgramAtATime) {
    EmulatedAdapter adapter;
    auto first = OpenOn(adapter.Path());
    auto second = OpenOn(adapter.Path());
    ASSERT_TRUE(first->Open());
    EXPECT_FALSE(second->Open());
    first->Close();
    EXPECT_TRUE(second->Open());
}

TEST(SerialPortNames, ComNumbersAndDevicePaths) {
    EXPECT_TRUE(IsSerialPortName("COM3"));
    EXPECT_TRUE(IsSerialPortName("com3"));
    EXPECT_TRUE(IsSerialPortName("/dev/ttyUSB0"));
    EXPECT_FALSE(IsSerialPortName("888"));
    EXPECT_FALSE(IsSerialPortName("0x378"));
    EXPECT_FALSE(IsSerialPortName(""));
    EXPECT_EQ(ComNumber("com12"), 12);
    EXPECT_EQ(ComNumber("COM0"), std::nullopt);
    EXPECT_EQ(ComNumber("COMX"), std::nullopt);
    test::SerialPortList ports({"/dev/pts/7", "/dev/ttyUSB3"});
    EXPECT_EQ(SerialDevicePath("COM1"), "/dev/pts/7");
    EXPECT_EQ(SerialDevicePath("com2"), "/dev/ttyUSB3");
    EXPECT_EQ(SerialDevicePath("COM3"), "");
    EXPECT_EQ(SerialDevicePath("/dev/ttyACM0"), "/dev/ttyACM0");
}

TEST(SerialPortNames, UsbDevicesComeFirstInNumberOrderThenOnBoardPortsWithADriver) {
    namespace fs = std::filesystem;
    const fs::path root =
        fs::temp_directory_path() / ("orbisk-ports-" + std::to_string(::getpid()));
    const fs::path dev = root / "dev";
    const fs::path tty = root / "tty";
    fs::create_directories(dev);
    for (const char* name : {"ttyS0", "ttyS1", "ttyS12", "ttyUSB10", "ttyUSB2", "ttyACM0",
                             "ttyUSBx", "ttyS", "tty0", "console"}) {
        std::ofstream(dev / name).put('\0');
    }
    // Only ttyS1 and ttyS12 have a driver behind them.
    fs::create_directories(tty / "ttyS1" / "device" / "driver");
    fs::create_directories(tty / "ttyS12" / "device" / "driver");
    fs::create_directories(tty / "ttyS0" / "device");
    const auto list = SerialDevicesIn(dev.string(), tty.string());
    fs::remove_all(root);
    EXPECT_EQ(list,
              (std::vector<std::string>{(dev / "ttyACM0").string(), (dev / "ttyUSB2").string(),
                                        (dev / "ttyUSB10").string(), (dev / "ttyS1").string(),
                                        (dev / "ttyS12").string()}));
    EXPECT_TRUE(SerialDevicesIn((root / "none").string(), tty.string()).empty());
}

}  // namespace
}  // namespace orbisk
