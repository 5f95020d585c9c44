// Operator selectable tones: 16 numbered pairs of ST/CST tones the radio's operator
// can pick from. Record n (0..15) lies at 0x0700 + 16 n; its first word is the tone of
// the first column, its second word the tone of the second column (tone codes as
// in model/tone_code.h); bytes 4..15 belong to the radio and are left alone.
#pragma once

#include "model/data_image.h"
#include "model/tone_code.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace vrl {

class OperatorSelectableTone {
  public:
    static constexpr size_t kFirstRecord = 0x0700;
    static constexpr size_t kRecordSize = 16;
    static constexpr int kRowCount = 16;
    static constexpr int kColumnCount = 2;

    explicit OperatorSelectableTone(CDataImage& image) : image_(image) {}

    static size_t offsetOf(int row, int column) {
        return kFirstRecord + static_cast<size_t>(row) * kRecordSize +
               static_cast<size_t>(column) * 2;
    }

    ToneCode tone(int row, int column) const;
    // The tone as the grid shows it; `offText` for no tone.
    std::string toneText(int row, int column, std::string_view offText) const;
    // Stores a typed or chosen tone text (a comma counts as the decimal point; the
    // off text and an empty text store no tone). Returns the text as it now reads.
    std::string setToneText(int row, int column, std::string_view text, std::string_view offText);

  private:
    static void check(int row, int column);
    CDataImage& image_;
};

} // namespace vrl
