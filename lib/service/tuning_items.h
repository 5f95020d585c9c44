// The alignment items of the radio types: Test Mode's item list and, per item,
// the item byte of each sub-point (tab) that Tuning Mode addresses on the wire.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vrl {

struct TuningItem {
    int text = 0;                 // language text of the item's name
    int fullTabs = 1;             // tabs at bandwidth index 0
    bool singleTabNarrow = false; // one tab when the bandwidth index is not 0
    std::array<uint8_t, 6> bytes{};
};

std::span<const TuningItem> tuningItems(bool mobile);

// Tabs of the item at a bandwidth index.
int tabCount(const TuningItem& item, int bandwidth);
// Bytes the radio answers to 0x07 for the item: the tab count, but 4 for a
// single-tab portable item other than item 0.
int valuesCount(bool mobile, int index, int bandwidth);
// The transmitter cannot be keyed for the receive items (texts 513, 514, 515).
bool transmitAllowed(const TuningItem& item);
// Portable item 0 (the battery level) shows a live reading instead of a value.
inline bool isLiveReadingItem(bool mobile, int index) {
    return !mobile && index == 0;
}

// Language texts of the tabs of an item with `tabs` sub-points.
std::vector<int> tabTexts(int tabs);
// The bandwidth texts by market code: 190/191 for market 2, else 188/189.
std::array<int, 2> bandwidthTexts(uint8_t market);
// The bandwidth choice is fixed for market code 5.
inline bool bandwidthSelectable(uint8_t market) {
    return market != 5;
}

// Help topic offset (added to 0x20000) of an item by its text; nullopt for no item.
std::optional<int> tuningHelpTopic(int itemText);

// Where the value of an item byte lies in the 90-byte tuning data; nullopt for a
// byte that is no item's.
std::optional<size_t> tuningDataPlace(uint8_t itemByte);

// The list of the radio type of an identity's byte 0 ("M" mobile).
inline bool isMobileIdentity(uint8_t byte0) {
    return byte0 == 'M';
}

// Titles: "name(tab,bandwidth)" / "name(tab)" / "name(bandwidth)" / "name"; the
// tab text applies to items with several tabs, the bandwidth text to items whose
// tabs depend on the bandwidth.
std::string tuningTitle(const std::string& name, const std::string& tab,
                        const std::string& bandwidth, const TuningItem& item, int bandwidthIndex);

} // namespace vrl
