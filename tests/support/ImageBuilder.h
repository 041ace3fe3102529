#pragma once
// Helpers that write test images field by field.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/DateTime.h"
#include "image/RecorderImage.h"

namespace orbisk::test {

inline std::uint8_t Bcd(int v) {
    return static_cast<std::uint8_t>((v / 10) << 4 | (v % 10));
}

inline RecorderTime MakeTime(int day, int month, int year, int hour, int minute) {
    return RecorderTime{{Bcd(minute), Bcd(hour), Bcd(day), Bcd(month), Bcd(year % 100)}};
}

// Makes the checksum come out zero through the not-interpreted byte at 0x0000.
inline void Balance(RecorderImage& image) {
    image.SetU8(0, 0);
    std::uint8_t x = 0;
    for (std::size_t i = 0; i < kImageSize; i += 2) x ^= image.Data()[i];
    image.SetU8(0, x);
}

inline void WriteRecord(RecorderImage& image, std::uint16_t slot, const RecorderTime& t,
                        std::uint8_t flags, std::uint8_t crane, std::uint8_t w1, std::uint8_t w2,
                        std::uint8_t w3, float mass, std::uint16_t frame) {
    image.SetTime(slot, t);
    image.SetU8(slot + 5, flags);
    image.SetU8(slot + 6, crane);
    image.SetU8(slot + 7, w1);
    image.SetU8(slot + 8, w2);
    image.SetU8(slot + 9, w3);
    image.SetF32(slot + 10, mass);
    image.SetU16(slot + 14, frame);
}

// A plausible image: crane with two winches, design settings, a reading time, installation day.
inline RecorderImage MakeBasicImage() {
    RecorderImage image;
    image.SetTime(addr::ReadingTime, MakeTime(3, 3, 2009, 14, 5));
    image.SetText(addr::Version, 5, "1.05");
    image.SetU8(addr::SensorCounts, 2);
    image.SetU8(addr::SensorCounts + 1, 1);
    image.SetU8(addr::SensorCounts + 2, 0);
    image.SetU8(addr::PreliminaryStop, 105);
    image.SetU8(addr::AverageMaxLoad, 115);
    image.SetU8(addr::InstantMaxLoad, 125);
    image.SetU8(addr::Warning, 90);
    image.SetU8(addr::CycleStart, 5);
    image.SetU8(addr::CycleEnd, 3);
    image.SetU8(addr::CycleTime, 10);
    image.SetF32(addr::Capacities, 25.0f);
    image.SetF32(addr::Capacities + 4, 20.0f);
    image.SetF32(addr::Capacities + 8, 5.0f);
    image.SetText(addr::RecorderSerial, width::Serial, "1234");
    image.SetText(addr::CraneSerial, width::Serial, "5678");
    image.SetU32(addr::InstallDay, static_cast<std::uint32_t>(DayNumber(2005, 3, 3)));
    image.SetU8(addr::ServiceLife, 10);
    image.SetU16(addr::CycleLogWrite, kCycleLog.base);
    image.SetU16(addr::TripLogWrite, kTripLog.base);
    return image;
}

inline std::filesystem::path TempDir(const std::string& name) {
    auto dir = std::filesystem::temp_directory_path() / ("orbisk-test-" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

inline void WriteFile(const std::filesystem::path& path, const std::uint8_t* data, std::size_t n) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(n));
}

inline void WriteImage(const std::filesystem::path& path, const RecorderImage& image) {
    WriteFile(path, image.Data(), kImageSize);
}

}  // namespace orbisk::test
