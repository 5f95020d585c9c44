// DTMF signalling settings and the DTMF code list.
//
// Layout (words little-endian, bit n counted from the least significant bit):
//   0xC0..0xC9  dead-beat disable code (TX): one ASCII DTMF character a byte, 0xFF after the last
//   0xCA..0xD3  dead-beat disable code (TX&RX), as above
//   0xEC        number display: 0x00 on, 0xFF off
//   0xED        D key assignment, seconds 0..16
//   0xEE        intermediate code, ASCII
//   0xEF        group code: ASCII '*', '#', 'A'..'D', or 0xFF (off)
//   0xF0        call alert/transpond: 0xFF off, 1 call alert, 2..4 transpond modes
//   0xF1 word   first digit delay, ms      0xF3 word  rise time with ST, ms
//   0xF5 word   auto reset timer, seconds (0xFFFF off)
//   0xF7 word   digit time, ms   0xF9 word first digit time, ms   0xFB word inter digit time, ms
//   0xFD        bit 5 store & send (0 = on), bit 6 dial ID (0 = on)
//   0xFE        bit 3 keypad auto-PTT (0 = on)
//   0xFF        bit 0 16 keys, bit 1 DTMF hold time (1 = on), bits 2-3 signalling mode
//   0x5000 + 32 * r (r = 1..9)  code record: byte 0 r + 1 (0xFF empty), byte 1 digit
//               count, bytes 16..23 the digits, two a byte, first in the low nibble
#pragma once

#include "channels/text_source.h"
#include "model/data_image.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vrl {

class DtmfSettings {
  public:
    static constexpr size_t kDeadBeatTx = 0xC0;
    static constexpr size_t kDeadBeatTxRx = 0xCA;
    static constexpr size_t kDeadBeatLength = 10;
    static constexpr size_t kNumberDisplay = 0xEC;
    static constexpr size_t kDKeyAssignment = 0xED;
    static constexpr size_t kIntermediateCode = 0xEE;
    static constexpr size_t kGroupCode = 0xEF;
    static constexpr size_t kCallAlert = 0xF0;
    static constexpr size_t kFirstDigitDelay = 0xF1;
    static constexpr size_t kRiseTime = 0xF3;
    static constexpr size_t kAutoResetTimer = 0xF5;
    static constexpr size_t kDigitTime = 0xF7;
    static constexpr size_t kFirstDigitTime = 0xF9;
    static constexpr size_t kInterDigitTime = 0xFB;
    static constexpr size_t kKeypadFlags = 0xFD;  // bit 5 store & send, bit 6 dial ID
    static constexpr size_t kAutoPttFlags = 0xFE; // bit 3 keypad auto-PTT
    static constexpr size_t kModeFlags = 0xFF;    // bit 0 keys, bit 1 hold, bits 2-3 signalling
    static constexpr size_t kCodeList = 0x5000;
    static constexpr size_t kCodeRecordSize = 32;
    static constexpr int kMaxCodeRows = 9;
    static constexpr size_t kMaxCodeDigits = 16;
    static constexpr std::string_view kDtmfCharacters = "0123456789ABCDabcd#*";

    // The timing words: the value is step x index.
    enum class Timing { DigitTime, InterDigitTime, FirstDigitTime, FirstDigitDelay, RiseTime };
    // The signalling modes of 0xFF bits 2-3 (10 is no mode).
    enum class Signalling { Single = 0, Sequence = 1, NumberDisplay = 3 };
    enum class Check { DialId, HoldTime, KeypadAutoPtt, StoreAndSend, NumberDisplay };

    DtmfSettings(CDataImage& image, TextSource texts) : image_(image), texts_(std::move(texts)) {}

    // ---- encoder timing (spins) ----
    static size_t timingOffset(Timing t);
    static int timingStep(Timing t);     // 10 or 50 ms
    static int timingMinIndex(Timing t); // 5 or 2
    static constexpr int kTimingMaxIndex = 20;
    // "%d" of the stored milliseconds; empty outside the field's range.
    std::string timingText(Timing t) const;
    // The typed milliseconds divided by the step (truncated), clamped to the index range.
    void setTimingText(Timing t, std::string_view text);
    int timingIndex(Timing t) const;
    void setTimingIndex(Timing t, int index); // wraps into range

    // ---- D key assignment: 0..16 seconds, 0 shown as language text 416 ----
    static constexpr int kDKeyMax = 16;
    std::string dKeyText() const;
    void setDKeyText(std::string_view text);
    int dKeyIndex() const;
    void setDKeyIndex(int index);

    // ---- auto reset timer: 1..15 seconds, 0 stored as 0xFFFF (language text 69) ----
    static constexpr int kAutoResetMax = 15;
    static constexpr int kAutoResetDefault = 10;
    std::string autoResetText() const;
    void setAutoResetText(std::string_view text);
    int autoResetIndex() const;
    void setAutoResetIndex(int index);

    // ---- check boxes ----
    bool check(Check c) const;
    void setCheck(Check c, bool on);

    // ---- combos ----
    // No. of DTMF Key: item 0 = 16 keys (bit set), 1 = 12 keys.
    int keyCountItem() const;
    void setKeyCountItem(int item);
    // The signalling modes this model offers, in item order: single code; code
    // sequence on 32- and 128-channel models; number display on number-display models.
    std::vector<Signalling> signallingModes() const;
    std::vector<std::string> signallingItems() const;
    int signallingItem() const; // -1 when the stored mode is not offered
    void setSignallingItem(int item);
    // The stored mode shows as this item: code sequence / number display.
    bool signallingIs(Signalling mode) const;
    // Intermediate Code: "#", "*", "0".."9", "A".."D".
    static std::vector<std::string> intermediateItems();
    int intermediateItem() const;
    void setIntermediateItem(int item);
    // Group Code: language text 69 (0xFF), "*", "#", "A".."D".
    std::vector<std::string> groupCodeItems() const;
    int groupCodeItem() const;
    void setGroupCodeItem(int item);
    // Call Alert/Transpond: language text 69 (0xFF), 406 (1), 408 (2..4).
    std::vector<std::string> callAlertItems() const;
    int callAlertItem() const;
    void setCallAlertItem(int item);
    bool isTranspond() const; // 0xF0 holds 2..4
    // Transpond: language texts 409 (2), 410 (3), 411 (4).
    std::vector<std::string> transpondItems() const;
    int transpondItem() const;
    void setTranspondItem(int item);

    // ---- dead-beat disable codes (0 = TX, 1 = TX&RX) ----
    std::string deadBeatText(int which) const;
    // Empty clears the code; 1 or 2 characters leave the stored code; longer text is
    // cut to 10 characters. Lower-case a-d are stored as capitals.
    void setDeadBeatText(int which, std::string_view text);

    // ---- the DTMF code list ----
    // 9 rows on keypad models, else 1.
    int codeRowCount() const;
    static size_t codeRecord(int row) {
        return kCodeList + kCodeRecordSize * static_cast<size_t>(row);
    }
    std::string code(int row) const; // row 1..9
    void setCode(int row, std::string_view text);

  private:
    std::string text(int index) const { return texts_ ? texts_(index) : std::string(); }

    CDataImage& image_;
    TextSource texts_;
};

} // namespace vrl
