// SHA-256 (FIPS 180-4) of a byte run, for fingerprints of data images.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace vrl {

using Sha256Digest = std::array<uint8_t, 32>;

Sha256Digest sha256(std::span<const uint8_t> bytes);

// The digest as 64 lower-case hexadecimal digits.
std::string sha256Hex(std::span<const uint8_t> bytes);

} // namespace vrl
