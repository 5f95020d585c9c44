// Reading a text input (a CSV, a language file, a units file) whole, with a cap on its
// size: a device such as /dev/zero or a runaway file is refused instead of filling memory.
#pragma once

#include <cstddef>
#include <string>

namespace vrl {

// The largest text input the program reads: 16 MiB.
inline constexpr std::size_t kMaxTextInputBytes = std::size_t{16} << 20;

// Reads `path` into `bytes`. False, with `error` saying why in plain words, when the path
// cannot be opened or read, is a folder, or holds more than `limit` bytes (the file is then
// read no further than one byte past the limit).
bool readTextInput(const std::string& path, std::string& bytes, std::string& error,
                   std::size_t limit = kMaxTextInputBytes);

} // namespace vrl
