// Tuning Mode: one alignment item of a radio that Test Mode holds in its test
// state. Each sub-point (tab) of the item is a value 0-255 in the radio (shown as
// 1-256) that moves by one step command per change; OK tells the radio to keep the
// item, Cancel returns it to its test channel. On a mobile the volume (0-31) is set
// here too. A cancelled retry box ends Tuning Mode and tells Test Mode the link
// failed.
#pragma once

#include "service/test_mode.h"
#include "service/tuning_items.h"

#include <string>
#include <vector>

namespace vrl {

inline constexpr int kVolumeMax = 31;
inline constexpr int kValueMax = 255;

class TuningSession {
  public:
    TuningSession(TestModeSession& test, int itemIndex);

    // Re-reads the tuning data, unkeys the radio if Test Mode keyed it, enters tab 0
    // of the item and reads its values. False when the link failed (nothing opens).
    bool open();

    const TuningItem& item() const { return item_; }
    int index() const { return index_; }
    bool mobile() const { return test_.mobile(); }
    int tabs() const { return tabCount(item_, test_.bandwidth()); }
    int tab() const { return tab_; }
    uint8_t itemByte() const { return item_.bytes[static_cast<size_t>(tab_)]; }
    // The current tab's value, 0-255 (shown as value + 1).
    int value() const;
    // Every value the radio answered to 0x07 (one per tab).
    const std::vector<uint8_t>& values() const { return values_; }
    bool transmitAllowed() const { return vrl::transmitAllowed(item_); }
    bool liveReadingItem() const { return isLiveReadingItem(mobile(), index_); }
    bool keyed() const { return keyed_; }
    int volume() const { return volume_; }
    bool failed() const { return failed_; }
    TestModeSession& test() { return test_; }

    // Moves the current tab's value to v (clamped to 0-255) with one step command.
    bool setValue(int v);
    bool stepValue(int delta) { return setValue(value() + delta); }
    // Unkeys (with a pause) when keyed, enters the tab's item byte, reads the values.
    bool selectTab(int t);
    bool setKeyed(bool keyed);
    // One live reading (portable item 0 while keyed).
    bool liveReading(uint8_t& value);
    // Moves the volume to v (clamped to 0-31), one step command per step.
    bool setVolume(int v);

    // OK: unkey, keep the item, Test Mode unkeyed.
    bool keep();
    // Cancel: unkey, back to the test channel and its signalling.
    bool cancel();

  private:
    bool enterCurrentTab();
    bool unkeyWithPause();
    bool ok(bool result);

    TestModeSession& test_;
    int index_;
    TuningItem item_;
    int tab_ = 0;
    std::vector<uint8_t> values_;
    bool keyed_ = false;
    bool failed_ = false;
    int volume_ = 0;
};

} // namespace vrl
