// Sequential two-tone signalling: the decoder's tones A, B and C, its call options
// and the 2-tone code list.
//
// Layout (words little-endian, frequencies in tenths of a hertz):
//   0x2F        bits 4-7 decoder call format, bits 2-3 alert tone/transpond, bits 0-1 group call
//   0x30 + 6 t  tone t (0 = A, 1 = B, 2 = C): nominal word, +2 % word, -2 % word
//   0x42 word   auto reset timer, seconds 1..300 (0xFFFF off)
//   0x800 + 16 (r - 1)  code record r = 1..10: tone A word, tone B word (0xFFFF empty),
//               8 name bytes (blank-padded, 0xFF ends), time word 0..375 (0xFFFF empty)
#pragma once

#include "channels/text_source.h"
#include "model/data_image.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vrl {

class TwoToneSettings {
  public:
    static constexpr size_t kOptions = 0x2F;
    static constexpr size_t kTones = 0x30;
    static constexpr size_t kToneStride = 6;
    static constexpr size_t kAutoResetTimer = 0x42;
    static constexpr size_t kCodeList = 0x800;
    static constexpr size_t kCodeRecordSize = 16;
    static constexpr int kMaxCodeRows = 10;
    static constexpr size_t kNameLength = 8;
    static constexpr uint16_t kMinTone = 2885;  // 288.5 Hz
    static constexpr uint16_t kMaxTone = 32000; // 3200.0 Hz
    static constexpr int kAutoResetMax = 300;
    static constexpr int kTimeMax = 375;
    static constexpr std::string_view kToneCharacters = "0123456789.,";

    TwoToneSettings(CDataImage& image, TextSource texts)
        : image_(image), texts_(std::move(texts)) {}

    // A frequency text as typed ("321.7", commas read as points) in tenths of a hertz,
    // truncated and clamped to 288.5..3200.0 Hz.
    static uint16_t parseTone(std::string_view text);
    // "%d.%d" of tenths of a hertz; empty outside 288.5..3200.0 Hz.
    static std::string toneText(uint16_t tenths);

    // ---- decoder tones (0 = A, 1 = B, 2 = C) ----
    static size_t toneOffset(int tone) { return kTones + kToneStride * static_cast<size_t>(tone); }
    static std::string_view defaultToneText(int tone); // "321.7", "928.1", "600.9"
    std::string decoderToneText(int tone) const;
    // Stores the nominal word and the +2 % and -2 % words; empty text stores the default.
    void setDecoderToneText(int tone, std::string_view text);

    // ---- combos ----
    static std::vector<std::string> callFormatItems(); // "A-B", "C-B", "C-A", "B-C", "B-A", "A-C"
    int callFormatItem() const;
    void setCallFormatItem(int item);                // the high nibble of 0x2F; the low nibble kept
    std::vector<std::string> groupCallItems() const; // language texts 65, 425, 426, 427
    int groupCallItem() const;
    void setGroupCallItem(int item);
    std::vector<std::string> alertItems() const; // language texts 65, 429, 430
    int alertItem() const;
    void setAlertItem(int item);

    // ---- auto reset timer: 1..300 seconds or off (language text 69) ----
    std::string autoResetText() const;
    void setAutoResetText(std::string_view text);
    int autoResetIndex() const; // 0 = off
    void setAutoResetIndex(int index);

    // ---- the 2-tone code list ----
    // 10 rows on 32- and 128-channel models, else 1.
    int codeRowCount() const;
    // Names are kept only on 32- and 128-channel models.
    bool hasCodeNames() const;
    static size_t codeRecord(int row) {
        return kCodeList + kCodeRecordSize * static_cast<size_t>(row - 1);
    }
    std::string codeName(int row) const; // "" on models without names
    void setCodeName(int row, std::string_view text);
    // Column 0 = tone A, 1 = tone B.
    std::string codeToneText(int row, int column) const;
    // Empty stores 0xFFFF, except that row 1 keeps a tone: clearing it restores the
    // default of that column.
    void setCodeToneText(int row, int column, std::string_view text);
    bool codeHasBothTones(int row) const;
    // Shown only when both tones of the row are set.
    std::string codeTimeText(int row) const;
    void setCodeTimeText(int row, std::string_view text); // clamped to 0..375, empty = 0
    int codeTimeIndex(int row) const;
    void setCodeTimeIndex(int row, int index); // wraps 0..375

  private:
    std::string text(int index) const { return texts_ ? texts_(index) : std::string(); }
    bool validRow(int row) const { return row >= 1 && row <= kMaxCodeRows; }

    CDataImage& image_;
    TextSource texts_;
};

} // namespace vrl
