#include "image/RecorderImage.h"

#include <cstring>

#include "base/TextCodec.h"

namespace orbisk {
namespace {
inline std::uint16_t At(std::uint16_t a, unsigned i) {
    return static_cast<std::uint16_t>(a + i);
}
}  // namespace

std::uint16_t RecorderImage::U16(std::uint16_t a) const {
    return static_cast<std::uint16_t>(bytes_[a] | (bytes_[At(a, 1)] << 8));
}

std::uint32_t RecorderImage::U32(std::uint16_t a) const {
    return bytes_[a] | (static_cast<std::uint32_t>(bytes_[At(a, 1)]) << 8) |
           (static_cast<std::uint32_t>(bytes_[At(a, 2)]) << 16) |
           (static_cast<std::uint32_t>(bytes_[At(a, 3)]) << 24);
}

float RecorderImage::F32(std::uint16_t a) const {
    const std::uint32_t bits = U32(a);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

void RecorderImage::SetU16(std::uint16_t a, std::uint16_t v) {
    bytes_[a] = static_cast<std::uint8_t>(v);
    bytes_[At(a, 1)] = static_cast<std::uint8_t>(v >> 8);
}

void RecorderImage::SetU32(std::uint16_t a, std::uint32_t v) {
    for (unsigned i = 0; i < 4; ++i) bytes_[At(a, i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

void RecorderImage::SetF32(std::uint16_t a, float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    SetU32(a, bits);
}

void RecorderImage::ReadBytes(std::uint16_t a, std::uint8_t* out, std::size_t n) const {
    for (std::size_t i = 0; i < n; ++i) out[i] = bytes_[At(a, static_cast<unsigned>(i))];
}

void RecorderImage::WriteBytes(std::uint16_t a, const std::uint8_t* in, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) bytes_[At(a, static_cast<unsigned>(i))] = in[i];
}

std::string RecorderImage::RawText(std::uint16_t a, int width) const {
    std::string raw;
    for (int i = 0; i < width; ++i) {
        const std::uint8_t b = bytes_[At(a, static_cast<unsigned>(i))];
        if (b == 0) break;
        raw += static_cast<char>(b);
    }
    return raw;
}

std::string RecorderImage::Text(std::uint16_t a, int width) const {
    return Cp1251ToUtf8(RawText(a, width));
}

void RecorderImage::SetText(std::uint16_t a, int width, const std::string& utf8) {
    const std::string encoded = Utf8ToCp1251(utf8);
    for (int i = 0; i < width; ++i) {
        const auto pos = static_cast<std::size_t>(i);
        bytes_[At(a, static_cast<unsigned>(i))] =
            pos < encoded.size() ? static_cast<std::uint8_t>(encoded[pos]) : 0;
    }
}

RecorderTime RecorderImage::Time(std::uint16_t a) const {
    RecorderTime t;
    ReadBytes(a, t.bytes.data(), t.bytes.size());
    return t;
}

void RecorderImage::SetTime(std::uint16_t a, const RecorderTime& t) {
    WriteBytes(a, t.bytes.data(), t.bytes.size());
}

std::uint32_t RecorderImage::Bin(int group, int bin) const {
    return CounterRead(&bytes_[BinAddress(group, bin)]);
}

void RecorderImage::SetBin(int group, int bin, std::uint32_t count) {
    CounterWrite(&bytes_[BinAddress(group, bin)], count);
}

int RecorderImage::WriteSlot(const Ring& ring) const {
    const std::uint16_t write = U16(ring.writeAddress);
    const unsigned end = ring.base + static_cast<unsigned>(kRecordSize * ring.slots);
    if (write < ring.base || write >= end) return ring.slots - 1;
    return (write - ring.base) / kRecordSize;
}

int RecorderImage::WalkSlot(const Ring& ring, int i) const {
    // Newest first: the slot before the write slot, stepping backwards with wrap-around.
    const int start = WriteSlot(ring);
    return ((start - 1 - i) % ring.slots + 2 * ring.slots) % ring.slots;
}

CycleRecord RecorderImage::Record(std::uint16_t a) const {
    CycleRecord r;
    ReadBytes(a, r.time.bytes.data(), 5);
    r.flags = bytes_[At(a, 5)];
    for (unsigned i = 0; i < 4; ++i) r.loads[i] = bytes_[At(a, 6 + i)];
    r.mass = F32(At(a, 10));
    r.frameOffset = U16(At(a, 14));
    return r;
}

bool RecorderImage::HasFrame(const CycleRecord& r) const {
    for (unsigned i = 0; i < 5; ++i) {
        if (FrameByte(r.frameOffset, i) != r.time.bytes[i]) return false;
    }
    return true;
}

bool RecorderImage::ChecksumOk() const {
    std::uint8_t x = 0;
    for (std::size_t i = 0; i < kImageSize; i += 2) x ^= bytes_[i];
    return x == 0;
}

}  // namespace orbisk
