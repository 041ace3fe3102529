// Ports that are there but refused, on made-up devices: the emulated adapter's pseudo-terminal
// with its mode taken away, or held by another holder.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

#include "support/LinkTestSupport.h"

namespace orbisk {
namespace {

using test::AsOrdinaryUser;
using test::Refused;

TEST(PortRefusal, TextsSayWhatToDoInTheWordsOfTheParallelPort) {
    EXPECT_EQ(SerialOpenFailureText(PortFailure::PermissionDenied, "/dev/ttyUSB0", "EACCES"),
              "Нет доступа к /dev/ttyUSB0 (EACCES). Пользователь должен входить в группу dialout: "
              "sudo usermod -a -G dialout $USER, затем войти в систему заново.");
    EXPECT_EQ(SerialOpenFailureText(PortFailure::Busy, "/dev/ttyUSB0", "EBUSY"),
              "Порт /dev/ttyUSB0 занят другой программой (EBUSY). Закройте эту программу. "
              "USB-адаптеры обычно занимают службы ModemManager и brltty: sudo systemctl disable "
              "--now ModemManager, sudo apt-get remove brltty.");
    EXPECT_EQ(SerialOpenFailureText(PortFailure::Missing, "COM9", "ENOENT"),
              "Порт COM9 не найден (ENOENT).");
    EXPECT_EQ(ParallelOpenFailureText(PortFailure::Busy, "/dev/parport0", "EBUSY"),
              "Порт /dev/parport0 занят другой программой или драйвером принтера (EBUSY). "
              "Выгрузите модуль lp: sudo rmmod lp.");
}

TEST(PortRefusal, APseudoTerminalWhoseModeDeniesAccess) {
    test::EmulatedAdapter adapter;
    const std::string path = adapter.Path();
    const auto outcome = [&] {
        PosixSerialLine line;
        return test::OpenOutcome(line, path);
    };
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    EXPECT_EQ(AsOrdinaryUser(outcome), Refused(PortFailure::PermissionDenied, path));
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    EXPECT_EQ(AsOrdinaryUser(outcome), "opened");
}

TEST(PortRefusal, APortHeldByAnotherProgramIsBusyHoweverItIsHeld) {
    test::EmulatedAdapter adapter;
    const std::string path = adapter.Path();
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    const auto outcome = [&] {
        PosixSerialLine line;
        return test::OpenOutcome(line, path);
    };
    const auto plainOpen = [&] {
        const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        return fd >= 0 && ::close(fd) == 0 ? std::string("opened") : std::strerror(errno);
    };
    {
        PosixSerialLine holder;
        ASSERT_TRUE(holder.Open(path, SerialSettings{})) << holder.LastErrorText();
        // Its lock binds the administrator too; its exclusive terminal keeps out the others.
        EXPECT_EQ(outcome(), Refused(PortFailure::Busy, path));
        EXPECT_EQ(AsOrdinaryUser(outcome), Refused(PortFailure::Busy, path));
        EXPECT_EQ(AsOrdinaryUser(plainOpen), std::strerror(EBUSY));
    }
    EXPECT_EQ(AsOrdinaryUser(plainOpen), "opened");
}

}  // namespace
}  // namespace orbisk
