#include "service/tuning_items.h"

#include <algorithm>

namespace vrl {

namespace {

constexpr std::array<uint8_t, 6> b1(uint8_t a) {
    return {a, 0, 0, 0, 0, 0};
}
constexpr std::array<uint8_t, 6> b4(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
    return {a, b, c, d, 0, 0};
}

constexpr std::array<uint8_t, 6> kTxHigh{0x12, 0x30, 0x33, 0x31, 0x34, 0x32};
constexpr std::array<uint8_t, 6> kTxLow{0x14, 0x60, 0x63, 0x61, 0x64, 0x62};

const std::array<TuningItem, 12> kMobile{{
    {499, 1, false, b1(0x20)},
    {501, 6, false, kTxHigh},
    {502, 6, false, kTxLow},
    {507, 4, true, b4(0x17, 0x24, 0x25, 0x26)},
    {508, 4, true, b4(0x18, 0x65, 0x66, 0x67)},
    {509, 4, true, b4(0x19, 0x6A, 0x6B, 0x6C)},
    {510, 4, true, b4(0x1A, 0x6F, 0x70, 0x71)},
    {511, 1, false, b1(0x1D)},
    {512, 1, false, b1(0x1B)},
    {513, 4, false, b4(0x1F, 0x35, 0x36, 0x39)},
    {514, 4, true, b4(0x96, 0x97, 0x98, 0x99)},
    {515, 4, true, b4(0x92, 0x93, 0x94, 0x95)},
}};

const std::array<TuningItem, 15> kPortable{{
    {500, 1, false, b1(0x1E)},
    {501, 6, false, kTxHigh},
    {502, 6, false, kTxLow},
    {503, 4, true, b4(0x82, 0x83, 0x84, 0x85)},
    {504, 4, true, b4(0x86, 0x87, 0x88, 0x89)},
    {505, 4, true, b4(0x8A, 0x8B, 0x8C, 0x8D)},
    {506, 4, true, b4(0x8E, 0x8F, 0x90, 0x91)},
    {507, 4, true, b4(0x17, 0x24, 0x25, 0x26)},
    {509, 4, true, b4(0x19, 0x6A, 0x6B, 0x6C)},
    {510, 4, true, b4(0x1A, 0x6F, 0x70, 0x71)},
    {511, 1, false, b1(0x1D)},
    {512, 1, false, b1(0x1B)},
    {513, 4, false, b4(0x1F, 0x35, 0x36, 0x39)},
    {514, 1, false, b1(0x81)},
    {515, 1, false, b1(0x80)},
}};

// Help topics by item text, in the order of the topics 400-416.
constexpr std::array<int, 17> kHelpOrder{499, 501, 502, 507, 508, 509, 510, 511, 500,
                                         503, 504, 505, 506, 512, 513, 514, 515};

// The order of the item values in the tuning data: every item byte of the mobile
// list, then those of the portable list not already placed.
std::vector<uint8_t> buildPlaces() {
    std::vector<uint8_t> places;
    for (bool mobile : {true, false})
        for (const TuningItem& item : tuningItems(mobile))
            for (int t = 0; t < item.fullTabs; ++t) {
                const uint8_t b = item.bytes[static_cast<size_t>(t)];
                if (std::find(places.begin(), places.end(), b) == places.end()) places.push_back(b);
            }
    return places;
}

} // namespace

std::span<const TuningItem> tuningItems(bool mobile) {
    if (mobile) return kMobile;
    return kPortable;
}

int tabCount(const TuningItem& item, int bandwidth) {
    return item.singleTabNarrow && bandwidth != 0 ? 1 : item.fullTabs;
}

int valuesCount(bool mobile, int index, int bandwidth) {
    const auto items = tuningItems(mobile);
    if (index < 0 || index >= static_cast<int>(items.size())) return 0;
    const int tabs = tabCount(items[static_cast<size_t>(index)], bandwidth);
    if (!mobile && tabs == 1 && index != 0) return 4;
    return tabs;
}

bool transmitAllowed(const TuningItem& item) {
    return item.text < 513 || item.text > 515;
}

std::vector<int> tabTexts(int tabs) {
    // Centre first (the only point at the narrow bandwidth), then low to high.
    if (tabs == 6) return {523, 518, 519, 520, 521, 522};
    if (tabs == 4) return {523, 518, 520, 522};
    return {523};
}

std::array<int, 2> bandwidthTexts(uint8_t market) {
    if (market == 2) return {190, 191};
    return {188, 189};
}

std::optional<int> tuningHelpTopic(int itemText) {
    const auto it = std::find(kHelpOrder.begin(), kHelpOrder.end(), itemText);
    if (it == kHelpOrder.end()) return std::nullopt;
    return 400 + static_cast<int>(it - kHelpOrder.begin());
}

std::optional<size_t> tuningDataPlace(uint8_t itemByte) {
    static const std::vector<uint8_t> places = buildPlaces();
    const auto it = std::find(places.begin(), places.end(), itemByte);
    if (it == places.end()) return std::nullopt;
    return static_cast<size_t>(it - places.begin());
}

std::string tuningTitle(const std::string& name, const std::string& tab,
                        const std::string& bandwidth, const TuningItem& item, int bandwidthIndex) {
    std::vector<std::string> parts;
    if (tabCount(item, bandwidthIndex) > 1) parts.push_back(tab);
    if (item.singleTabNarrow) parts.push_back(bandwidth);
    if (parts.empty()) return name;
    std::string title = name + "(" + parts[0];
    if (parts.size() > 1) title += "," + parts[1];
    return title + ")";
}

} // namespace vrl
