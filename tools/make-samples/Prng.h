#pragma once
// The sample generator's own random numbers (splitmix64). The standard library's engines are
// exact, but its distributions are not specified bit for bit, so the sample files would differ
// between compilers; these few integer operations give the same files everywhere.
#include <cstdint>

namespace orbisk::samples {

class Prng {
public:
    explicit Prng(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [lo, hi]; the modulo bias is far below anything the samples could show.
    int Range(int lo, int hi) {
        return lo + static_cast<int>(Next() % static_cast<std::uint64_t>(hi - lo + 1));
    }

    // The sum of two draws, a triangular distribution. The draws are sequenced here: the order
    // of the operands of a + b is unspecified, and compilers do differ in it.
    int SumOfRanges(int lo1, int hi1, int lo2, int hi2) {
        const int first = Range(lo1, hi1);
        return first + Range(lo2, hi2);
    }

    // True with a chance of perMille in a thousand.
    bool Chance(int perMille) { return Range(0, 999) < perMille; }

private:
    std::uint64_t state_;
};

}  // namespace orbisk::samples
