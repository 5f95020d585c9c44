// SHA-256 (FIPS 180-4) of a byte string, for fingerprints of written images.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace vrl {

std::array<uint8_t, 32> sha256(std::span<const uint8_t> bytes);
// The digest as 64 lower-case hexadecimal digits.
std::string sha256Hex(std::span<const uint8_t> bytes);

} // namespace vrl
