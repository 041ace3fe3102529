#include <gtest/gtest.h>

#include "image/RecorderImage.h"
#include "support/ImageBuilder.h"

namespace orbisk {
namespace {

TEST(ImageChecksum, EvenBytesOnly) {
    RecorderImage image;
    EXPECT_TRUE(image.ChecksumOk());
    image.SetU8(0x1235, 0x77);
    EXPECT_TRUE(image.ChecksumOk());
    image.SetU8(0x1234, 0x80);
    EXPECT_FALSE(image.ChecksumOk());
    image.SetU8(0xFFFE, 0x80);
    EXPECT_TRUE(image.ChecksumOk());
}

TEST(ImageFields, TextsStopAtZeroOrFullWidth) {
    RecorderImage image;
    image.SetText(addr::CraneType, width::CraneType, "КС-45717");
    EXPECT_EQ(image.Text(addr::CraneType, width::CraneType), "КС-45717");
    std::string utf8;
    for (int i = 0; i < 16; ++i) utf8 += "Ж";
    image.SetText(addr::RecorderSerial, width::Serial, utf8 + "лишнее");
    EXPECT_EQ(image.Text(addr::RecorderSerial, width::Serial), utf8);
    // The next field starts right after: the full-width text does not run into it.
    image.SetU16(addr::RecorderYear, 2009);
    EXPECT_EQ(image.Text(addr::RecorderSerial, width::Serial), utf8);
    EXPECT_EQ(image.I16(addr::RecorderYear), 2009);
}

TEST(ImageFields, MultiByteFieldsWrapAtTheEnd) {
    RecorderImage image;
    image.SetU32(0xFFFE, 0x11223344);
    EXPECT_EQ(image.U8(0xFFFE), 0x44);
    EXPECT_EQ(image.U8(0xFFFF), 0x33);
    EXPECT_EQ(image.U8(0x0000), 0x22);
    EXPECT_EQ(image.U32(0xFFFE), 0x11223344u);
    image.SetF32(0x0800, -12.5f);
    EXPECT_EQ(image.F32(0x0800), -12.5f);
    EXPECT_EQ(image.Capacity(0), -12.5f);
}

TEST(ImageRings, WalkStartsBeforeTheWriteSlotAndWraps) {
    RecorderImage image;
    image.SetU16(addr::CycleLogWrite, kCycleLog.base);
    EXPECT_EQ(image.WalkSlot(kCycleLog, 0), 1727);
    image.SetU16(addr::TripLogWrite, kTripLog.base);
    EXPECT_EQ(image.WalkSlot(kTripLog, 0), 63);
    image.SetU16(addr::CycleLogWrite, kCycleLog.base + 16 * 5);
    EXPECT_EQ(image.WalkSlot(kCycleLog, 0), 4);
    EXPECT_EQ(image.WalkSlot(kCycleLog, 4), 0);
    EXPECT_EQ(image.WalkSlot(kCycleLog, 5), 1727);
    EXPECT_EQ(image.WalkSlot(kCycleLog, 1727), 5);
}

TEST(ImageRings, AddressesOutsideTheRingCountAsTheLastSlot) {
    RecorderImage image;
    for (std::uint16_t a :
         {std::uint16_t{0}, std::uint16_t{0x0FFF}, std::uint16_t{0x7C00}, std::uint16_t{0xFFFF}}) {
        image.SetU16(addr::CycleLogWrite, a);
        EXPECT_EQ(image.WriteSlot(kCycleLog), 1727) << a;
    }
    image.SetU16(addr::TripLogWrite, 0x8000);
    EXPECT_EQ(image.WriteSlot(kTripLog), 63);
    image.SetU16(addr::TripLogWrite, 0x7FF0);
    EXPECT_EQ(image.WriteSlot(kTripLog), 63);
}

TEST(ImageFrames, PositionsWrapInsideTheFrameArea) {
    RecorderImage image;
    const RecorderTime t = test::MakeTime(1, 2, 2010, 3, 4);
    CycleRecord r;
    r.time = t;
    r.frameOffset = 0x7FFE;
    image.SetU8(0xFFFE, t.bytes[0]);
    image.SetU8(0xFFFF, t.bytes[1]);
    image.SetU8(0x8000, t.bytes[2]);
    image.SetU8(0x8001, t.bytes[3]);
    image.SetU8(0x8002, t.bytes[4]);
    EXPECT_TRUE(image.HasFrame(r));
    EXPECT_EQ(image.FrameByte(0x7FFE, 2), t.bytes[2]);
    // An offset beyond the area is taken modulo its size.
    r.frameOffset = 0xFFFE;
    EXPECT_TRUE(image.HasFrame(r));
    image.SetU8(0x8002, 0);
    EXPECT_FALSE(image.HasFrame(r));
}

TEST(ImageRecords, DecodesEveryField) {
    RecorderImage image;
    const std::uint16_t slot = RecorderImage::SlotAddress(kCycleLog, 7);
    test::WriteRecord(image, slot, test::MakeTime(5, 6, 2011, 7, 8), 0xE5, 12, 50, 60, 70, 3.25f,
                      0x1234);
    const CycleRecord r = image.Record(slot);
    EXPECT_EQ(r.time, test::MakeTime(5, 6, 2011, 7, 8));
    EXPECT_TRUE(r.IsSwitchEvent());
    EXPECT_FALSE(r.IsSwitchOff());
    EXPECT_EQ(r.StopBits(), 5);
    EXPECT_EQ(r.WorkModeNumber(), 3);
    EXPECT_EQ(r.loads[0], 12);
    EXPECT_EQ(r.loads[3], 70);
    EXPECT_EQ(r.mass, 3.25f);
    EXPECT_EQ(r.frameOffset, 0x1234);
}

}  // namespace
}  // namespace orbisk
