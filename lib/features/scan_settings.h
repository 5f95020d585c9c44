// Scan settings: the radio-wide scan behaviour in the first block of the image.
//
//   0x20  priority channel mode: 0xFF none, '0' fixed, '1' selected
//   0x21  look-back time A, word, milliseconds (500..5000 in steps of 50)
//   0x23  look-back time B, word, milliseconds (as A)
//   0x25  dropout delay time, word, seconds (0..300)
//   0x27  dwell time, word, seconds (0..300)
//   0x29  revert channel: '0'..'5'
//   0x2A  group scan: '0' disabled, '1' enabled
//   0x2D  bit 0 of the word at 0x2D: off-hook scan, 0 = on
//
// Several fields are ASCII digits. A stored value outside a field's range reads as
// an empty text or no item and stays as it is until that field is edited.
#pragma once

#include "model/data_image.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vrl {

class ScanSettings {
  public:
    static constexpr size_t kPriority = 0x0020;
    static constexpr size_t kLookBackA = 0x0021;
    static constexpr size_t kLookBackB = 0x0023;
    static constexpr size_t kDropoutDelay = 0x0025;
    static constexpr size_t kDwell = 0x0027;
    static constexpr size_t kRevertChannel = 0x0029;
    static constexpr size_t kGroupScan = 0x002A;
    static constexpr size_t kFlagWord = 0x002D;
    static constexpr int kOffHookBit = 0;

    // Priority items: none (0xFF), fixed ('0'), selected ('1').
    static constexpr int kPriorityNone = 0;
    static constexpr int kPriorityFixed = 1;
    static constexpr int kPrioritySelected = 2;
    // Look-back spin steps: index i is 0.50 + 0.05 i seconds.
    static constexpr int kLookBackSteps = 90;
    static constexpr int kSecondsMax = 300; // dropout delay and dwell time
    static constexpr int kRevertCount = 6;  // revert channels '0'..'5'

    enum class LookBack { A, B };
    enum class Delay { Dropout, Dwell };

    explicit ScanSettings(CDataImage& image) : image_(image) {}

    // The priority item of the stored byte; -1 for any other byte.
    int priorityItem() const;
    // Stores the item's byte (other indices change nothing), then resets a revert
    // channel that the new priority mode does not offer to '0'.
    void setPriorityItem(int item);
    // The look-back times apply while a priority mode ('0' or '1') is set.
    bool lookBackApplies() const;

    // "s.hh"; empty below 0.50 s or above 5.00 s.
    std::string timeText(LookBack which) const;
    // Typed text: a comma counts as the decimal point; a point at the third
    // character or later leaves the stored value; otherwise the value is clamped
    // to 0.50..5.00 s and cut to a multiple of 0.05 s. Empty text of B gives 2.00 s.
    void setTimeText(LookBack which, std::string_view text);
    // Spin index 0..90 of the stored time; -1 when out of range.
    int timeStep(LookBack which) const;
    // Wraps the index into 0..90 and stores 0.50 + 0.05 index seconds.
    void setTimeStep(LookBack which, int index);

    // The revert channels ('0'..'5') the current priority mode offers, in item order:
    // '0' and '1' always, '2' and '3' unless priority is '1', '4' and '5' unless
    // there is no priority channel.
    std::vector<int> revertChoices() const;
    // The item of the stored revert channel in revertChoices(); -1 when the stored
    // byte is none of them.
    int revertItem() const;
    void setRevertItem(int item);
    // Resets a stored revert channel ('0'..'5') that the priority mode does not offer
    // to '0'. The window does so after every store of any of its fields (its reload
    // rebuilds the list), never when it is only opened or viewed.
    void resetUnavailableRevert();

    // "%d" of the seconds; empty above 300.
    std::string timeText(Delay which) const;
    // Empty text gives 3 s; above 300 gives 300.
    void setTimeText(Delay which, std::string_view text);
    int timeStep(Delay which) const; // the seconds; -1 when out of range
    void setTimeStep(Delay which, int index);

    // Item 0 for '0' (disabled), 1 for '1' (enabled), -1 otherwise.
    int groupScanItem() const;
    void setGroupScanItem(int item);

    bool offHookScan() const;
    void setOffHookScan(bool on);

  private:
    static size_t offsetOf(LookBack which) {
        return which == LookBack::A ? kLookBackA : kLookBackB;
    }
    static size_t offsetOf(Delay which) { return which == Delay::Dropout ? kDropoutDelay : kDwell; }
    void storeHundredths(LookBack which, int hundredths);

    CDataImage& image_;
};

} // namespace vrl
