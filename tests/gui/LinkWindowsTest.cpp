// The link's own windows and edges: the connection dialog, and the serial line over QSerialPort
// against the emulated adapter on a pseudo-terminal.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPort>
#include <QTimer>
#include <cstring>

#include "GuiTestSupport.h"
#include "link/Cdcu.h"
#include "link/LinkTexts.h"
#include "link/PortFailure.h"
#include "link/qt/QtSerialLine.h"
#include "link/qt/Selectpsi.h"
#include "support/LinkTestSupport.h"

namespace orbisk::test {
namespace {

std::string BusyText(const std::string& device) {
    return SerialOpenFailureText(PortFailure::Busy, device, std::strerror(EBUSY));
}

TEST(SelectPsiDialog, ControlsCaptionsAndGeometry) {
    QWidget owner;
    TfSelectPSI dialog(&owner);
    EXPECT_EQ(dialog.windowTitle(), "Выбор порта подключения ПСИ");
    EXPECT_EQ(dialog.height(), 168);
    EXPECT_GE(dialog.width(), 394);
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(dialog.property("HelpContext").toInt(), 8);

    const auto geometry = [&](const char* name) {
        QWidget* w = dialog.findChild<QWidget*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w ? w->geometry() : QRect();
    };
    EXPECT_EQ(geometry("rgType"), QRect(16, 32, 177, 81));
    EXPECT_EQ(geometry("bbSelect"), QRect(208, 88, 75, 25));
    EXPECT_EQ(geometry("BitBtn1"), QRect(288, 88, 75, 25));

    // The labels at their places, as large as their texts need in the font they have (at least
    // as designed), and inside the dialog; the edit after "Адрес:", never under it.
    auto* prompt = dialog.findChild<QLabel*>("Label2");
    auto* address = dialog.findChild<QLabel*>("Label1");
    ASSERT_TRUE(prompt && address);
    EXPECT_EQ(prompt->text(), "Введите порт, к которому подключен ПСИ");
    EXPECT_EQ(address->text(), "Адрес:");
    const struct {
        QLabel* label;
        QRect designed;
    } labels[] = {{prompt, QRect(16, 8, 215, 13)}, {address, QRect(216, 40, 34, 13)}};
    for (const auto& [label, designed] : labels) {
        SCOPED_TRACE(label->objectName().toStdString());
        const QFontMetrics metrics(label->font());
        const QRect placed = label->geometry();
        EXPECT_EQ(placed.topLeft(), designed.topLeft());
        EXPECT_GE(placed.width(), designed.width());
        EXPECT_GE(placed.height(), designed.height());
        EXPECT_GE(placed.width(), metrics.horizontalAdvance(label->text()));
        EXPECT_GE(placed.height(), metrics.height());
        EXPECT_LE(placed.right(), dialog.width() - 1);
    }
    const QRect portPlace = geometry("ePort");
    EXPECT_EQ(portPlace.top(), 36);
    EXPECT_EQ(portPlace.size(), QSize(73, 21));
    EXPECT_GE(portPlace.left(), 256);
    EXPECT_GT(portPlace.left(), address->geometry().right());
    EXPECT_LE(portPlace.right(), dialog.width() - 1);
    EXPECT_EQ(dialog.findChild<QGroupBox*>("rgType")->title(), " Тип подключения ");
    auto* usb = dialog.findChild<QRadioButton*>("rgType_0");
    auto* lpt = dialog.findChild<QRadioButton*>("rgType_1");
    ASSERT_TRUE(usb && lpt);
    EXPECT_EQ(usb->text(), "USB адаптер");
    EXPECT_EQ(lpt->text(), "LPT порт");
    EXPECT_TRUE(usb->isChecked());
    auto* port = dialog.findChild<QLineEdit*>("ePort");
    EXPECT_EQ(port->text(), "COM1");
    auto* ok = dialog.findChild<QPushButton*>("bbSelect");
    auto* cancel = dialog.findChild<QPushButton*>("BitBtn1");
    EXPECT_TRUE(ok->isDefault());
    // Tab order: the type, the port, OK, Cancel.
    EXPECT_EQ(port->nextInFocusChain(), ok);
    EXPECT_EQ(ok->nextInFocusChain(), cancel);

    // Choosing an item proposes its port; typing replaces it; clicking the item already chosen
    // keeps what was typed.
    port->setText("COM5");
    usb->click();
    EXPECT_EQ(port->text(), "COM5");
    lpt->click();
    EXPECT_EQ(port->text(), "0x378");
    port->setText("0x278");
    lpt->click();
    EXPECT_EQ(port->text(), "0x278");
    usb->click();
    EXPECT_EQ(port->text(), "COM1");
    lpt->click();
    port->setText("0x3bc");
    const ConnectionChoice choice = dialog.Choice();
    EXPECT_EQ(choice.type, LinkType::LptPort);
    EXPECT_EQ(choice.port, "0x3bc");
}

TEST(SelectPsiDialog, ALargerFontWidensTheDialogToItsTexts) {
    struct FontGuard {
        QFont before = QApplication::font();
        ~FontGuard() { QApplication::setFont(before); }
    } guard;
    QFont large = guard.before;
    if (large.pointSizeF() > 0) {
        large.setPointSizeF(large.pointSizeF() * 2);
    } else {
        large.setPixelSize(large.pixelSize() * 2);
    }
    QApplication::setFont(large);
    TfSelectPSI dialog(nullptr);
    auto* prompt = dialog.findChild<QLabel*>("Label2");
    auto* address = dialog.findChild<QLabel*>("Label1");
    auto* port = dialog.findChild<QLineEdit*>("ePort");
    ASSERT_TRUE(prompt && address && port);
    for (QLabel* label : {prompt, address}) {
        EXPECT_GE(label->width(), QFontMetrics(label->font()).horizontalAdvance(label->text()));
    }
    EXPECT_GT(dialog.width(), 394);
    EXPECT_GT(port->x(), address->geometry().right());
    EXPECT_EQ(prompt->pos(), QPoint(16, 8));
    EXPECT_EQ(address->pos(), QPoint(216, 40));
    for (QWidget* w : {static_cast<QWidget*>(prompt), static_cast<QWidget*>(port)}) {
        EXPECT_LE(w->geometry().right(), dialog.width() - 1) << w->objectName().toStdString();
    }
}

TEST(SelectPsiDialog, OkGivesTheUncheckedTextAndCancelGivesNothing) {
    QWidget owner;
    owner.setGeometry(100, 100, 800, 600);
    owner.show();
    {
        TfSelectPSI dialog(&owner);
        QPoint centre;
        OnNextModal([&](QWidget* modal) {
            centre = modal->geometry().center();
            auto* port = modal->findChild<QLineEdit*>("ePort");
            port->setText("com 7?");
            modal->findChild<QPushButton*>("bbSelect")->click();
        });
        const auto choice = dialog.Choose();
        ASSERT_TRUE(choice.has_value());
        EXPECT_EQ(choice->type, LinkType::UsbAdapter);
        EXPECT_EQ(choice->port, "com 7?");
        // Centred on the window it belongs to.
        EXPECT_LE((centre - owner.geometry().center()).manhattanLength(), 40);
    }
    {
        SelectPsiConnection connection(&owner, {});
        OnNextModal([](QWidget* modal) { modal->findChild<QPushButton*>("BitBtn1")->click(); });
        EXPECT_FALSE(connection.Choose().has_value());
    }
}

// ---------------------------------------------------------------------------------------------
// The program's serial line on the emulator's pseudo-terminal.

TEST(QtSerialLineTest, SpeaksTheAdapterProtocolByNameAndByPath) {
    const auto memory = TestImageBytes(5);
    EmulatedAdapter adapter(memory);
    SerialPortList ports({"/dev/orbisk-none", adapter.Path()});
    for (const std::string& name : {std::string("COM2"), adapter.Path()}) {
        SCOPED_TRACE(name);
        TCDC cdc(std::make_unique<QtSerialLine>());
        cdc.SetPortName(name);
        ASSERT_TRUE(cdc.Open()) << cdc.ErrorText();
        EXPECT_TRUE(cdc.Identify());
        EXPECT_TRUE(cdc.CheckReader());
        EXPECT_TRUE(cdc.SetBlockSize());
        EXPECT_TRUE(cdc.SetAddress(0x0800));
        std::uint8_t block[64] = {};
        ASSERT_EQ(cdc.ReadBlock(block), 64u);
        EXPECT_TRUE(std::equal(block, block + 64, memory.begin() + 0x0800));
        EXPECT_TRUE(cdc.SetAddress(0x0900));
        EXPECT_TRUE(cdc.WriteMemByte(0x5A));
        cdc.Close();
        EXPECT_FALSE(cdc.IsOpen());
    }
    adapter.With([](AdapterEmulator& e) { EXPECT_EQ(e.Memory()[0x0900], 0x5A); });
}

TEST(QtSerialLineTest, OpensExclusivelyAndFailsWithAReason) {
    EmulatedAdapter adapter;
    SerialPortList ports({adapter.Path()});
    SerialSettings settings;
    QtSerialLine first;
    ASSERT_TRUE(first.Open("COM1", settings)) << first.LastErrorText();
    EXPECT_EQ(first.Device(), QString::fromStdString(adapter.Path()));
    // A pseudo-terminal does not keep parity; the line goes on without it.
    EXPECT_TRUE(first.ParityDropped());

    QtSerialLine second;
    EXPECT_FALSE(second.Open("COM1", settings));
    EXPECT_FALSE(second.IsOpen());
    EXPECT_EQ(second.OpenFailure(), PortFailure::Busy);
    EXPECT_EQ(second.LastErrorText(), BusyText(adapter.Path()));

    EXPECT_FALSE(second.Open("COM9", settings));  // no ninth port on this machine
    EXPECT_EQ(second.OpenFailure(), PortFailure::Missing);
    EXPECT_EQ(second.LastErrorText(),
              "Порт COM9 не найден (" + std::string(std::strerror(ENOENT)) + ").");

    // Once the first lets go, the port can be opened again.
    EXPECT_TRUE(first.Close());
    EXPECT_TRUE(second.Open("COM1", settings)) << second.LastErrorText();
}

// The desktop program's line says what the command-line tool's line says, whoever holds the
// port: the tool's line, another program's QSerialPort, or an exclusive terminal.
TEST(QtSerialLineTest, RefusedPortsSayWhatTheCommandLineToolSays) {
    EmulatedAdapter adapter;
    const std::string path = adapter.Path();
    const auto outcome = [&] {
        QtSerialLine line;
        return OpenOutcome(line, path);
    };
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    EXPECT_EQ(AsOrdinaryUser(outcome), Refused(PortFailure::PermissionDenied, path));
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    EXPECT_EQ(AsOrdinaryUser(outcome), "opened");
    {
        PosixSerialLine tool;
        ASSERT_TRUE(tool.Open(path, SerialSettings{}));
        EXPECT_EQ(outcome(), Refused(PortFailure::Busy, path));  // the administrator as well
        EXPECT_EQ(AsOrdinaryUser(outcome), Refused(PortFailure::Busy, path));
    }
    {
        QSerialPort other(QString::fromStdString(path));
        ASSERT_TRUE(other.open(QIODevice::ReadWrite));
        EXPECT_EQ(outcome(), Refused(PortFailure::Busy, path));
    }
    EXPECT_EQ(outcome(), "opened");
}

TEST(QtSerialLineTest, ASilentDeviceEndsTheReadAfterTheTimeOut) {
    EmulatedAdapter adapter;
    adapter.Faults().silent = true;
    SerialPortList ports({adapter.Path()});
    QtSerialLine line;
    ASSERT_TRUE(line.Open("COM1", SerialSettings{}));
    ASSERT_TRUE(line.Purge());
    ASSERT_TRUE(line.SendPriority('D'));
    std::uint8_t reply[2] = {};
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(line.Read(reply, 2), 0);
    EXPECT_GE(clock.elapsed(), 450);
    EXPECT_LT(clock.elapsed(), 2000);

    // A reply that comes short is returned at its length.
    adapter.With([](AdapterEmulator& e) {
        e.Faults().silent = false;
        e.Faults().shortReplies = 1;
    });
    ASSERT_TRUE(line.Purge());
    ASSERT_TRUE(line.SendPriority('D'));
    EXPECT_EQ(line.Read(reply, 2), 1);
}

}  // namespace
}  // namespace orbisk::test
