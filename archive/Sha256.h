#pragma once
// SHA-256 of a block of bytes, the key a check is known by whatever its file is called.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace orbisk {

using Sha256Digest = std::array<std::uint8_t, 32>;

Sha256Digest Sha256(const std::uint8_t* data, std::size_t size);

// The digest as 64 lower-case hexadecimal digits.
std::string Sha256Hex(const std::uint8_t* data, std::size_t size);

}  // namespace orbisk
