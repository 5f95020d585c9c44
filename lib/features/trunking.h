// Trunking board settings: the 396 ASCII characters the board keeps, held in the
// image from 0x8001. Numbers are stored as characters, most of them one decimal
// digit per pair of characters ('0' then the digit).
//
//   0x800B..0x800C  system tone: '0', '0' + n (0..6)
//   0x8010          busy channel detect: '1' system tone, '0' carrier
//   0x8018          automatic PTT mode ('1' on)
//   0x8019..0x8020  primary code: '0' d1 '0' d2 '0' d3 '0' d4
//   0x8021..0x8028  secondary code, the same form
//   0x8029..0x8030  lower block decode, the same form
//   0x8033..0x8034  system ID, two upper-case hexadecimal digits (0..31)
//   0x8038, 0x803C, 0x8040  priority subscriber, emergency call override,
//                   clear channel alerting ('1' on)
//   0x8044          radio-kill: '0' active, '1' inactive
//   0x8045..0x8050  access code area: '0' fillers, the five digits at 0x8048,
//                   0x804A, 0x804C, 0x804E, 0x8050 ('F' at 0x8050: no code yet)
//   0x8054          memory speed-dialing programming ('1' on)
//   0x8059..0x8060  upper block decode, digit pairs (lower .. lower + 19)
//   0x8065..0x80A4  code list: 16 entries of 4 characters ("000F" = empty)
//   0x80A9..0x8188  speed-dial memories 0-9, A-D: 16 characters each, the number
//                   right-aligned and filled with 'F'
#pragma once

#include "model/data_image.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vrl {

class TrunkingSettings {
  public:
    static constexpr size_t kSystemTone = 0x800B;
    static constexpr size_t kBusyChannelDetect = 0x8010;
    static constexpr size_t kAutomaticPtt = 0x8018;
    static constexpr size_t kPrimaryCode = 0x8019;
    static constexpr size_t kSecondaryCode = 0x8021;
    static constexpr size_t kLowerBlock = 0x8029;
    static constexpr size_t kSystemId = 0x8033;
    static constexpr size_t kPrioritySubscriber = 0x8038;
    static constexpr size_t kEmergencyOverride = 0x803C;
    static constexpr size_t kClearChannelAlerting = 0x8040;
    static constexpr size_t kRadioKill = 0x8044;
    static constexpr size_t kAccessCode = 0x8048; // five digits, every second byte
    static constexpr size_t kSpeedDialProgramming = 0x8054;
    static constexpr size_t kUpperBlock = 0x8059;
    static constexpr size_t kCodeList = 0x8065;
    static constexpr size_t kSpeedDials = 0x80A9;

    static constexpr int kCodeCount = 16;
    static constexpr size_t kCodeLength = 4;
    static constexpr int kSpeedDialCount = 14; // 0-9, then A-D
    static constexpr size_t kSpeedDialLength = 16;
    static constexpr int kAccessCodeLength = 5;
    static constexpr int kMaxSystemTone = 6;
    static constexpr int kDefaultSystemTone = 3;
    static constexpr int kMaxSystemId = 31;
    static constexpr int kMaxBlock = 9999;
    static constexpr int kUpperBlockSpan = 19;

    explicit TrunkingSettings(CDataImage& image) : image_(image) {}

    // The four-digit codes (primary at kPrimaryCode, secondary at kSecondaryCode).
    // Shown empty when a digit position holds no digit. Typed text: empty stores
    // "0000", four digits are stored, anything else is refused (false, nothing stored).
    std::string code4(size_t offset) const;
    bool setCode4(size_t offset, std::string_view text);

    std::string systemToneText() const; // "0".."6", empty when out of range
    int systemToneIndex() const;         // 0 when out of range
    void setSystemToneText(std::string_view text);
    void setSystemToneStep(int index);

    std::string systemIdText() const; // decimal, empty when the stored hex is not 0..31
    int systemIdIndex() const;
    void setSystemIdText(std::string_view text);
    void setSystemIdStep(int index);

    // Decode blocks: the value of the digit pairs, nothing when a digit is missing.
    std::optional<int> lowerBlock() const;
    std::optional<int> upperBlock() const;
    std::string lowerBlockText() const; // "%04d"
    // Empty also when the upper block lies outside lower .. lower + 19.
    std::string upperBlockText() const;
    int lowerBlockIndex() const;
    int upperBlockIndex() const; // upper - lower, 0 when not shown
    // Setting the lower block sets the upper block to the same number.
    bool setLowerBlockText(std::string_view text);
    void setLowerBlockStep(int index);
    void setUpperBlockText(std::string_view text);
    void setUpperBlockStep(int index);

    // Busy channel detect: item 0 system tone ('1'), 1 carrier ('0'); -1 otherwise.
    int busyChannelDetect() const;
    void setBusyChannelDetect(int item);
    // Radio-kill: item 0 active ('0'), 1 inactive ('1'); -1 otherwise.
    int radioKill() const;
    void setRadioKill(int item);

    // The check boxes: on only for the character '1'.
    bool flag(size_t offset) const;
    void setFlag(size_t offset, bool on);

    // Code list entry n: empty for "000F" and "FFFF". Empty input stores "000F",
    // 1 to 3 characters leave the entry alone, longer input stores its first 4.
    std::string codeEntry(int n) const;
    void setCodeEntry(int n, std::string_view text);

    // Speed dial m (0-9, then A-D as 10-13): every 'F' dropped when shown; stored
    // right-aligned in 16 'F' characters, blanks stored as 'F'.
    std::string speedDial(int m) const;
    void setSpeedDial(int m, std::string_view text);

    // The five access-code digits; empty when any of them is not a digit.
    std::string accessCode() const;
    // Stores exactly five digits; anything else is refused (false).
    bool setAccessCode(std::string_view digits);

  private:
    std::optional<int> digitPairs(size_t offset) const;
    void setDigitPairs(size_t offset, int value);

    CDataImage& image_;
};

// Entries of the code list: 1 on 8- and 16-channel models, else 16.
int trunkingCodeCount(const CDataImage& image);

// The row label of speed dial m: "0".."9", "A".."D".
std::string speedDialLabel(int m);

} // namespace vrl
