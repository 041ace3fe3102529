#pragma once
// The 64 KB recorder memory image: offset = recorder address, little-endian integers, IEEE
// single floats, fixed-width Windows-1251 texts padded with zero bytes. Every accessor takes a
// 16-bit address and wraps multi-byte fields at the end of the image, so no image content and no
// address can make the program read or write outside the buffer.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "image/Codecs.h"

namespace orbisk {

constexpr std::size_t kImageSize = 0x10000;

// Addresses of the image's regions and fields.
namespace addr {
constexpr std::uint16_t ReadingTime = 0x0004;
constexpr std::uint16_t Version = 0x0009;
constexpr int VersionWidth = 5;
constexpr std::uint16_t Settings = 0x0010;
constexpr int SettingsSize = 240;
constexpr std::uint16_t CalibrationPairs = 0x0010;
constexpr std::uint16_t SensorCounts = 0x0030;  // three bytes, winches 1 to 3
constexpr std::uint16_t PreliminaryStop = 0x0043;
constexpr std::uint16_t AverageMaxLoad = 0x0044;
constexpr std::uint16_t InstantMaxLoad = 0x0045;
constexpr std::uint16_t Warning = 0x0046;
constexpr std::uint16_t CycleStart = 0x0047;
constexpr std::uint16_t CycleEnd = 0x0048;
constexpr std::uint16_t CycleTime = 0x0049;
constexpr std::uint16_t EnableLoad = 0x004A;
constexpr std::uint16_t AverageFilter = 0x004B;
constexpr std::uint16_t MassFilter = 0x004C;
constexpr std::uint16_t SensorMaxLoad = 0x004D;
constexpr std::uint16_t SensorSkew = 0x004E;
constexpr std::uint16_t Relay3On = 0x004F;
constexpr std::uint16_t Relay3Load = 0x0050;
constexpr std::uint16_t Relay4On = 0x0051;
constexpr std::uint16_t Relay4Load = 0x0052;
constexpr std::uint16_t WorkMode = 0x0053;
constexpr std::uint16_t WorkModeValues = 0x0054;  // four bytes R0..R3
constexpr std::uint16_t ExtDisplay = 0x0058;
constexpr std::uint16_t UseModeSensor = 0x0059;
constexpr std::uint16_t Relay3Off = 0x005A;
constexpr std::uint16_t Relay4Off = 0x005B;
constexpr std::uint16_t DacOutput = 0x005C;
constexpr std::uint16_t ExtRelayAlgorithm = 0x005E;
constexpr std::uint16_t ExtRelayThresholds = 0x005F;  // four bytes, relays 5 to 8

constexpr std::uint16_t Spectrum = 0x0100;
constexpr int SpectrumGroupStride = 0x180;
constexpr int SpectrumBins = 128;
constexpr std::uint16_t CycleLogWrite = 0x0700;
constexpr std::uint16_t TripLogWrite = 0x0702;
constexpr std::uint16_t OperatingMinutes = 0x0710;  // four u32
constexpr std::uint16_t LimiterTrips = 0x0720;      // four u32
constexpr std::uint16_t LiftedMass = 0x0730;        // four float

constexpr std::uint16_t Identification = 0x0800;
constexpr int IdentificationSize = 1536;
constexpr std::uint16_t Capacities = 0x0800;  // four float
constexpr std::uint16_t RecorderType = 0x0900;
constexpr std::uint16_t RecorderSerial = 0x0920;
constexpr std::uint16_t RecorderYear = 0x0930;
constexpr std::uint16_t RecorderMaker = 0x0932;
constexpr std::uint16_t InstallDay = 0x0972;
constexpr std::uint16_t Installer = 0x0976;
constexpr std::uint16_t CraneType = 0x09B6;
constexpr std::uint16_t CraneSerial = 0x09D6;
constexpr std::uint16_t CraneYear = 0x09E6;
constexpr std::uint16_t CraneMaker = 0x09E8;
constexpr std::uint16_t Owner = 0x0A28;
constexpr std::uint16_t ClassGroup = 0x0A68;
constexpr std::uint16_t ServiceLife = 0x0A6A;
constexpr std::uint16_t Commissioning = 0x0A6B;
constexpr std::uint16_t DisplayNames = 0x0A7B;  // four texts of 16 bytes
constexpr int DisplayNameWidth = 16;

constexpr std::uint16_t ChangeClock = 0x0E00;
constexpr std::uint16_t ChangeIdentification = 0x0E10;
constexpr std::uint16_t ChangeSettings = 0x0E20;

constexpr std::uint16_t FrameArea = 0x8000;
constexpr int FrameAreaSize = 0x8000;
}  // namespace addr

// Field widths of the identification texts.
namespace width {
constexpr int RecorderType = 32;
constexpr int Serial = 16;
constexpr int Maker = 64;
constexpr int CraneType = 32;
constexpr int Owner = 64;
constexpr int ClassGroup = 2;
constexpr int Commissioning = 16;
}  // namespace width

// A ring of 16-byte CycleRecord slots.
struct Ring {
    std::uint16_t base;
    int slots;
    std::uint16_t writeAddress;  // where the address of the slot after the newest record is kept
};
constexpr Ring kCycleLog{0x1000, 1728, addr::CycleLogWrite};
constexpr Ring kTripLog{0x7C00, 64, addr::TripLogWrite};
constexpr int kRecordSize = 16;

// One slot of a ring, decoded.
struct CycleRecord {
    RecorderTime time;
    std::uint8_t flags = 0;
    std::array<std::uint8_t, 4> loads{};  // crane, winches 1..3; byte 0 is the error code of a switch-on/off
    float mass = 0;
    std::uint16_t frameOffset = 0;

    bool IsSwitchEvent() const { return flags & 0x20; }
    bool IsSwitchOff() const { return IsSwitchEvent() && (flags & 0x10); }
    bool IsBlocking() const { return !IsSwitchEvent() && (flags & 0x10); }
    int StopBits() const { return flags & 0x0F; }
    int WorkModeNumber() const { return flags >> 6; }
};

class RecorderImage {
public:
    RecorderImage() { bytes_.fill(0); }

    std::uint8_t* Data() { return bytes_.data(); }
    const std::uint8_t* Data() const { return bytes_.data(); }
    static constexpr std::size_t Size() { return kImageSize; }

    std::uint8_t U8(std::uint16_t a) const { return bytes_[a]; }
    std::int8_t I8(std::uint16_t a) const { return static_cast<std::int8_t>(bytes_[a]); }
    std::uint16_t U16(std::uint16_t a) const;
    std::int16_t I16(std::uint16_t a) const { return static_cast<std::int16_t>(U16(a)); }
    std::uint32_t U32(std::uint16_t a) const;
    std::int32_t I32(std::uint16_t a) const { return static_cast<std::int32_t>(U32(a)); }
    float F32(std::uint16_t a) const;

    void SetU8(std::uint16_t a, std::uint8_t v) { bytes_[a] = v; }
    void SetU16(std::uint16_t a, std::uint16_t v);
    void SetU32(std::uint16_t a, std::uint32_t v);
    void SetF32(std::uint16_t a, float v);

    // Copies n bytes starting at a (wrapping at the end of the image).
    void ReadBytes(std::uint16_t a, std::uint8_t* out, std::size_t n) const;
    void WriteBytes(std::uint16_t a, const std::uint8_t* in, std::size_t n);

    // The text of a field: its bytes up to the first zero byte or its full width, decoded from
    // Windows-1251 into UTF-8.
    std::string Text(std::uint16_t a, int width) const;
    // The field's raw bytes up to the first zero byte or its width, undecoded.
    std::string RawText(std::uint16_t a, int width) const;
    // Stores a UTF-8 text into a field: encoded, cut to the width, padded with zero bytes.
    void SetText(std::uint16_t a, int width, const std::string& utf8);

    RecorderTime Time(std::uint16_t a) const;
    void SetTime(std::uint16_t a, const RecorderTime& t);

    // Load spectrum: bin j of group g (0 crane, 1..3 winches).
    static std::uint16_t BinAddress(int group, int bin) {
        return static_cast<std::uint16_t>(addr::Spectrum + addr::SpectrumGroupStride * group +
                                          3 * bin);
    }
    std::uint32_t Bin(int group, int bin) const;
    void SetBin(int group, int bin, std::uint32_t count);

    // Long-term counters of a group.
    std::uint32_t OperatingMinutes(int g) const { return U32(addr::OperatingMinutes + 4 * g); }
    std::uint32_t LimiterTrips(int g) const { return U32(addr::LimiterTrips + 4 * g); }
    float LiftedMass(int g) const { return F32(addr::LiftedMass + 4 * g); }
    float Capacity(int g) const { return F32(addr::Capacities + 4 * g); }
    int SensorCount(int winch) const { return U8(addr::SensorCounts + winch - 1); }  // winch 1..3

    // Rings. The write slot is the slot after the newest record; an address outside the ring
    // counts as the last slot.
    int WriteSlot(const Ring& ring) const;
    static std::uint16_t SlotAddress(const Ring& ring, int slot) {
        return static_cast<std::uint16_t>(ring.base + kRecordSize * slot);
    }
    // The i-th slot of the newest-first walk (i from 0 to slots − 1).
    int WalkSlot(const Ring& ring, int i) const;
    CycleRecord Record(std::uint16_t slotAddress) const;

    // Frame area: the byte at position i of the frame that starts at frameOffset, all positions
    // taken modulo the area's size.
    std::uint8_t FrameByte(std::uint32_t frameOffset, std::uint32_t i) const {
        return bytes_[addr::FrameArea + ((frameOffset + i) & 0x7FFF)];
    }
    // True when the frame's first five bytes equal the record's time: the frame is still there.
    bool HasFrame(const CycleRecord& r) const;

    // The exclusive-or of the bytes at even offsets is zero.
    bool ChecksumOk() const;

    bool operator==(const RecorderImage&) const = default;

private:
    std::array<std::uint8_t, kImageSize> bytes_;
};

}  // namespace orbisk
