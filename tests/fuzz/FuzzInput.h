#pragma once
// The fuzzers' input taken apart: texts cut at line breaks, and numbers from the rest.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace orbisk::fuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}

    // The text up to the next line break (or the end).
    std::string Text() {
        const std::size_t end = rest_.find('\n');
        std::string text(rest_.substr(0, end));
        rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
        return text;
    }
    std::uint8_t Byte() {
        if (rest_.empty()) return 0;
        const auto b = static_cast<std::uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return b;
    }
    bool Empty() const { return rest_.empty(); }

private:
    std::string_view rest_;
};

// An invariant that does not hold: the fuzzer keeps the input that broke it.
inline void Require(bool holds) {
    if (!holds) std::abort();
}

}  // namespace orbisk::fuzz
