// The search for the reader: the passes over serial ports and parallel-port candidates, what
// they show and remember, and the connection dialog's choices.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "link/LinkTexts.h"
#include "link/Tdlportio.h"
#include "support/LinkTestSupport.h"

namespace orbisk {
namespace {

using test::EmulatedAdapter;
using test::RecordingPrompter;
using test::TempConfig;

const std::string kName = linktext::kAdapterName;

std::string Searching(const std::string& port) {
    return "Поиск <" + kName + "> : " + port;
}

struct Searcher {
    explicit Searcher(ReaderLink::Options options = {})
        : link(prompter, config.Get(), std::make_unique<PosixSerialLine>(), std::move(options)) {
        link.SetConnectionDialog(&dialog);
    }
    std::string Saved() { return config.Get().ReaderPort(); }
    RecordingPrompter prompter{false};
    TempConfig config;
    test::ScriptedDialog dialog;
    ReaderLink link;
};

// Options of a machine whose only parallel port is at `base`, with the memory there or not.
ReaderLink::Options LptAt(std::uint16_t base, bool readerPresent, int* made = nullptr) {
    auto model = std::make_shared<I2cMemoryModel>();
    model->SetPresent(readerPresent);
    auto options = test::SimulatedLpt(model, base);
    if (made) {
        auto inner = options.portAccess;
        options.portAccess = [inner, made] {
            ++*made;
            return inner();
        };
    }
    return options;
}

// A parallel port at 0x378 whose driver cannot be opened; `made` counts the bus masters made.
ReaderLink::Options LptWithoutDriver(int* made) {
    auto options = LptAt(0x378, true, made);
    auto inner = options.portAccess;
    options.portAccess = [inner] {
        auto port = inner();
        static_cast<SimulatedParallelPort*>(port.get())->FailOpen("нет /dev/parport0");
        return port;
    };
    return options;
}

TEST(UsbSearch, SavedPortInLowerCaseStartsTheAdapterSearch) {
    EmulatedAdapter adapter;
    test::SerialPortList ports({adapter.Path()});
    Searcher s;
    s.config.Get().SetReaderPort("com1");
    s.link.ConnectReader();
    EXPECT_TRUE(s.link.UsbConnected());
    EXPECT_FALSE(s.link.LptConnected());
    EXPECT_EQ(s.prompter.statuses,
              (std::vector<std::string>{Searching("com1"), Searching("com1") + " обнаружен!",
                                        "ПСИ обнаружен! Порт: com1"}));
    EXPECT_EQ(s.prompter.pauses, (std::vector<int>{400, 1000, 1000}));
    EXPECT_EQ(s.Saved(), "com1");
    EXPECT_TRUE(s.link.Cdc().IsOpen());  // left open for the transfer
    EXPECT_EQ(s.dialog.shown, 0);
    EXPECT_EQ(s.link.I2c(), nullptr);  // no parallel search, no bus master
}

TEST(UsbSearch, MaxComLimitsThePassesAndAMissingOneIsStoredAs32) {
    test::SerialPortList ports({});
    {
        Searcher s;
        s.config.Get().SetReaderPort("COM7");
        s.config.Get().SetMaxCom(4);
        s.link.SearchUsbReader();
        EXPECT_EQ(s.prompter.statuses,
                  (std::vector<std::string>{Searching("COM7"), Searching("COM1"), Searching("COM2"),
                                            Searching("COM3"), Searching("COM4"),
                                            linktext::kReaderNotFound}));
        EXPECT_EQ(s.Saved(), "COM7");
    }
    {
        Searcher s;
        s.link.SearchUsbReader();  // nothing saved: COM1 first
        EXPECT_EQ(s.config.Get().MaxCom(), 32);
        EXPECT_EQ(s.prompter.statuses.size(), 33u + 1);
        EXPECT_EQ(s.prompter.statuses.front(), Searching("COM1"));
        EXPECT_EQ(s.prompter.statuses[32], Searching("COM32"));
    }
}

TEST(UsbSearch, ADeviceThatIsNotTheAdapterIsPassedOver) {
    EmulatedAdapter other;
    other.Faults().wrongIdentity = true;
    EmulatedAdapter adapter;
    test::SerialPortList ports({other.Path(), "/dev/orbisk-none", adapter.Path()});
    Searcher s;
    s.config.Get().SetReaderPort("COM1");
    s.config.Get().SetMaxCom(5);
    s.link.SearchUsbReader();
    EXPECT_TRUE(s.link.UsbConnected());
    const std::vector<std::string> expected{Searching("COM1"),
                                            "К COM1 подключен не <" + kName + ">",
                                            Searching("COM1"),
                                            "К COM1 подключен не <" + kName + ">",
                                            Searching("COM2"),
                                            Searching("COM3"),
                                            Searching("COM3") + " обнаружен!",
                                            "ПСИ обнаружен! Порт: COM3"};
    EXPECT_EQ(s.prompter.statuses, expected);
    EXPECT_EQ(s.Saved(), "COM3");
}

TEST(UsbSearch, AdapterWithoutReaderAsksAndEndsTheSearchOnNo) {
    EmulatedAdapter empty;
    empty.Faults().noReader = true;
    EmulatedAdapter full;
    test::SerialPortList ports({empty.Path(), full.Path()});
    {
        Searcher s;
        s.config.Get().SetReaderPort("COM1");
        s.config.Get().SetMaxCom(2);
        s.prompter.answers = {true, false};
        s.link.ConnectReader();
        EXPECT_FALSE(s.link.UsbConnected());
        EXPECT_EQ(s.prompter.questions, (std::vector<std::string>{linktext::kNoReaderOnAdapter,
                                                                  linktext::kNoReaderOnAdapter}));
        EXPECT_EQ(s.prompter.LastStatus(), linktext::kReaderNotFound);
        EXPECT_EQ(s.Saved(), "COM1");  // the adapter's port is remembered all the same
        EXPECT_FALSE(s.link.Cdc().IsOpen());
        EXPECT_EQ(s.dialog.shown, 1);  // COM2 was never tried; the dialog follows
        for (const auto& status : s.prompter.statuses) EXPECT_NE(status, Searching("COM2"));
    }
    {
        // The person plugs the reader in and answers Yes.
        Searcher s;
        s.config.Get().SetReaderPort("COM1");
        s.config.Get().SetMaxCom(2);
        s.prompter.answers = {true};
        s.prompter.onAsk = [&] {
            empty.With([](AdapterEmulator& e) { e.Faults().noReader = false; });
        };
        s.link.ConnectReader();
        EXPECT_TRUE(s.link.UsbConnected());
        EXPECT_EQ(s.prompter.LastStatus(), "ПСИ обнаружен! Порт: COM1");
    }
}

// A port that is there but refused shows its reason for a second like the other per-port
// texts, and a search that ends without a reader tells the reason once, before the dialog; a
// missing port (COM2 here) stays silent.
TEST(UsbSearch, APortHeldByAnotherProgramSaysSoAndTellsItOnceBeforeTheDialog) {
    EmulatedAdapter adapter;
    test::SerialPortList ports({adapter.Path(), "/dev/orbisk-none"});
    const std::string busy =
        SerialOpenFailureText(PortFailure::Busy, adapter.Path(), std::strerror(EBUSY));
    Searcher s;
    s.config.Get().SetReaderPort("COM1");
    s.config.Get().SetMaxCom(2);
    s.dialog.onChoose = [&] { s.prompter.events.push_back("dialog"); };
    {
        PosixSerialLine holder;
        ASSERT_TRUE(holder.Open(adapter.Path(), SerialSettings{}));
        s.link.ConnectReader();
    }
    EXPECT_EQ(s.prompter.statuses,
              (std::vector<std::string>{Searching("COM1"), busy, Searching("COM1"), busy,
                                        Searching("COM2"), linktext::kReaderNotFound}));
    EXPECT_EQ(s.prompter.pauses, (std::vector<int>{400, 1000, 400, 1000, 400}));
    ASSERT_EQ(s.prompter.messages.size(), 1u);
    EXPECT_EQ(s.prompter.messages[0].icon, MessageIcon::Warning);
    const auto& e = s.prompter.events;
    EXPECT_EQ(std::vector<std::string>(e.end() - 2, e.end()),
              (std::vector<std::string>{"message:" + busy, "dialog"}));

    // Once the other program lets go, the next search finds the reader and tells nothing.
    s.link.ConnectReader();
    EXPECT_TRUE(s.link.UsbConnected());
    EXPECT_EQ(s.prompter.messages.size(), 1u);
}

TEST(LptSearch, SavedAddressThenTheFixedCandidates) {
    Searcher s(LptAt(0x3BC, true));
    s.config.Get().SetReaderPort("0x278");
    s.link.ConnectReader();
    EXPECT_TRUE(s.link.LptConnected());
    EXPECT_EQ(s.link.I2c()->PortBase(), 0x3BC);
    // 0x278 twice, 0x378 never; a candidate without a port fails silently.
    EXPECT_EQ(
        s.prompter.statuses,
        (std::vector<std::string>{"Поиск ПСИ по адресу 0x278...", "Поиск ПСИ по адресу 0x278...",
                                  "Поиск ПСИ по адресу 0x3BC...", "ПСИ обнаружен! Порт: 0x3BC."}));
    EXPECT_EQ(s.Saved(), "956");
}

TEST(LptSearch, PortWithoutReaderAndUnreadableSavedValue) {
    Searcher s(LptAt(0x378, false));
    s.config.Get().SetReaderPort("принтер");
    s.link.SearchLptReader();
    EXPECT_FALSE(s.link.LptConnected());
    EXPECT_EQ(
        s.prompter.statuses,
        (std::vector<std::string>{"Поиск ПСИ по адресу 0x378...", "Нет ответа от ПСИ (порт 0x378).",
                                  "Поиск ПСИ по адресу 0x278...", "Поиск ПСИ по адресу 0x3BC...",
                                  linktext::kReaderNotFound}));
    EXPECT_EQ(s.Saved(), "принтер");
}

TEST(LptSearch, TheBusMasterIsMadeOnceAndADriverFailureIsShown) {
    int made = 0;
    const auto options = LptWithoutDriver(&made);
    Searcher s(options);
    s.link.SearchLptReader();
    s.link.SearchLptReader();
    ASSERT_EQ(s.prompter.messages.size(), 1u);
    EXPECT_EQ(s.prompter.messages[0].text,
              std::string(linktext::kDriverOpenFailed) + "нет /dev/parport0");
    EXPECT_EQ(s.prompter.LastStatus(), linktext::kReaderNotFound);
    EXPECT_EQ(made, 1);
}

TEST(ConnectionDialog, LptChoiceKeepsTheTypedTextUntilTheSearchSucceeds) {
    Searcher s(LptAt(0x278, true));
    s.config.Get().SetReaderPort("COM1");
    s.config.Get().SetMaxCom(1);
    test::SerialPortList ports({});
    std::string savedDuringSearch;
    s.dialog.choices = {ConnectionChoice{LinkType::LptPort, "0x278"}};
    s.prompter.onProcessMessages = [&] {
        if (savedDuringSearch.empty()) savedDuringSearch = s.Saved();
    };
    s.link.ConnectReader();
    EXPECT_EQ(s.dialog.shown, 1);
    EXPECT_TRUE(s.link.LptConnected());
    EXPECT_EQ(s.Saved(), "632");
    EXPECT_EQ(s.link.Cdc().PortName(), "0x278");
}

TEST(ConnectionDialog, UsbChoiceAndCancel) {
    EmulatedAdapter adapter;
    test::SerialPortList ports({});
    Searcher s(LptAt(0x378, false));
    s.config.Get().SetMaxCom(1);
    s.dialog.choices = {std::nullopt, ConnectionChoice{LinkType::UsbAdapter, adapter.Path()}};
    s.link.ConnectReader();  // empty saved port: the parallel search, then Cancel
    EXPECT_FALSE(s.link.LptConnected() || s.link.UsbConnected());
    EXPECT_EQ(s.Saved(), "");
    s.link.ConnectReader();  // the parallel search again, then the adapter's device path
    EXPECT_TRUE(s.link.UsbConnected());
    EXPECT_EQ(s.Saved(), adapter.Path());
    EXPECT_EQ(s.dialog.shown, 2);
    EXPECT_EQ(DefaultPortFor(LinkType::UsbAdapter), "COM1");
    EXPECT_EQ(DefaultPortFor(LinkType::LptPort), "0x378");
}

// The window closes while the search runs: no further port is tried and no box or dialog
// appears for a window that is gone.
TEST(SearchWhileClosing, NoFurtherSerialPortIsTriedAndNothingIsAsked) {
    test::SerialPortList ports({});
    Searcher s;
    s.config.Get().SetReaderPort("COM1");
    s.config.Get().SetMaxCom(4);
    s.prompter.onProcessMessages = [&] { s.prompter.shuttingDown = true; };
    s.link.ConnectReader();
    EXPECT_EQ(s.prompter.statuses,
              (std::vector<std::string>{Searching("COM1"), linktext::kReaderNotFound}));
    EXPECT_TRUE(s.prompter.pauses.empty());
    EXPECT_EQ(s.dialog.shown, 0);
    EXPECT_EQ(s.link.I2c(), nullptr);
}

TEST(SearchWhileClosing, AnAdapterWithoutReaderAsksNothing) {
    EmulatedAdapter empty;
    empty.Faults().noReader = true;
    test::SerialPortList ports({empty.Path()});
    Searcher s;
    s.config.Get().SetReaderPort("COM1");
    s.config.Get().SetMaxCom(1);
    s.prompter.answers = {true, true, true};
    s.prompter.onProcessMessages = [&] {
        if (s.prompter.LastStatus() == Searching("COM1") + " обнаружен!") {
            s.prompter.shuttingDown = true;
        }
    };
    s.link.ConnectReader();
    EXPECT_FALSE(s.link.UsbConnected());
    EXPECT_TRUE(s.prompter.questions.empty());
    EXPECT_FALSE(s.link.Cdc().IsOpen());
    EXPECT_EQ(s.dialog.shown, 0);
    EXPECT_EQ(s.prompter.LastStatus(), linktext::kReaderNotFound);
    empty.With([](AdapterEmulator& e) { EXPECT_EQ(e.Commands('D'), 1); });
}

TEST(SearchWhileClosing, NoFurtherParallelCandidateIsTried) {
    auto model = std::make_shared<I2cMemoryModel>();
    model->SetPresent(false);
    Searcher s(test::SimulatedLpt(model, 0x378));
    s.prompter.onProcessMessages = [&] { s.prompter.shuttingDown = true; };
    s.link.ConnectReader();
    EXPECT_EQ(s.prompter.statuses, (std::vector<std::string>{"Поиск ПСИ по адресу 0x378...",
                                                             linktext::kReaderNotFound}));
    EXPECT_EQ(model->DataWrites(), 0);  // not even the first candidate's bus was started
    EXPECT_EQ(s.dialog.shown, 0);

    // Closing before the first parallel search: the port driver, whose failure is a message
    // box, is not even opened.
    int made = 0;
    const auto options = LptWithoutDriver(&made);
    Searcher closing(options);
    closing.prompter.shuttingDown = true;
    closing.link.SearchLptReader();
    EXPECT_EQ(made, 0);
    EXPECT_TRUE(closing.prompter.messages.empty());
    EXPECT_EQ(closing.prompter.LastStatus(), linktext::kReaderNotFound);
}

#ifndef _WIN32
TEST(PortAccessLinux, ThePortIsFoundByItsBaseAddressAndDenialSaysWhatToDo) {
    TempConfig folder;
    const auto proc = folder.Folder() / "parport";
    const auto dev = folder.Folder() / "dev";
    std::filesystem::create_directories(proc / "parport0");
    std::filesystem::create_directories(proc / "parport1");
    std::filesystem::create_directories(dev);
    std::ofstream(proc / "parport0" / "base-addr") << "632\t1656\n";
    std::ofstream(proc / "parport1" / "base-addr") << "888\t1912\n";
    TDLPortIO port;
    port.SetDeviceFolders(proc.string(), dev.string());
    EXPECT_EQ(port.DeviceForBase(0x378), (dev / "parport1").string());
    EXPECT_EQ(port.DeviceForBase(0x278), (dev / "parport0").string());
    EXPECT_EQ(port.DeviceForBase(0x3BC), "");

    port.OpenDriver();  // no devices at all
    EXPECT_FALSE(port.ActiveHW());
    EXPECT_NE(port.LastError().find("modprobe parport_pc ppdev"), std::string::npos);
    EXPECT_EQ(port.GetPortByte(0x379), 0xFF);

    std::ofstream(dev / "parport0") << "";
    std::filesystem::permissions(dev / "parport0", std::filesystem::perms::none);
    const std::string denied = test::AsOrdinaryUser([&] {
        port.OpenDriver();
        return port.ActiveHW() ? std::string("active") : port.LastError();
    });
    EXPECT_EQ(denied, "Нет доступа к " + (dev / "parport0").string() + " (" +
                          std::strerror(EACCES) +
                          "). Пользователь должен входить в группу lp: sudo usermod -a -G lp "
                          "$USER, затем войти в систему заново.");
}
#endif

}  // namespace
}  // namespace orbisk
