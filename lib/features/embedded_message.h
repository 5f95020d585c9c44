// The embedded message: two free-text lines of 32 characters kept in the radio
// (0x0200..0x021F and 0x0220..0x023F), blank-padded ASCII, an empty line stored as
// 32 x 0xFF.
#pragma once

#include "model/data_image.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace vrl {

class EmbeddedMessage {
  public:
    static constexpr int kLineCount = 2;
    static constexpr size_t kLineLength = 32;
    static constexpr size_t kFirstLine = 0x0200;

    explicit EmbeddedMessage(CDataImage& image) : image_(image) {}

    static size_t lineOffset(int line) { return kFirstLine + static_cast<size_t>(line) * kLineLength; }

    // Line 0 or 1 as shown: up to the first 0xFF (or NUL), trailing blanks removed.
    std::string line(int line) const;
    // Stores the edited text (at most 32 characters; longer text is cut). Characters
    // outside printable ASCII are stored as blanks so that the radio never receives
    // bytes its display cannot show. Returns the text as it now reads back.
    std::string setLine(int line, std::string_view text);

  private:
    static void checkLine(int line);
    CDataImage& image_;
};

} // namespace vrl
