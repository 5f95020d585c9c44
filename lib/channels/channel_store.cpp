// ChannelStore: model questions, counts and channel allocation.
#include "channels/channel_store.h"

#include "channels/keys.h"
#include "model/image_layout.h"
#include "model/model_table.h"

#include <algorithm>
#include <cstdio>

namespace vrl {

using namespace layout;

namespace {
constexpr size_t kTrunkingGroupCount = 0x0087;
constexpr size_t kHomeChannel = 0x0088;
constexpr size_t kHomeGroup = 0x0089;
constexpr size_t kPriorityGroup = 0x002B;
constexpr size_t kPriorityChannel = 0x002C;
constexpr size_t kGroupNameLength = 0x008D;

struct Entry {
    uint8_t group, channel, groupSlot, channelSlot;
    bool used() const { return group != 0xFF; }
};

Entry entryAt(const CDataImage& image, size_t i) {
    const size_t at = kChannelIndex + i * kIndexEntrySize;
    return {image.u8(at), image.u8(at + 1), image.u8(at + 2), image.u8(at + 3)};
}

void writeEntry(CDataImage& image, size_t i, const Entry& e) {
    const size_t at = kChannelIndex + i * kIndexEntrySize;
    image.setU8(at, e.group);
    image.setU8(at + 1, e.channel);
    image.setU8(at + 2, e.groupSlot);
    image.setU8(at + 3, e.channelSlot);
}

std::span<uint8_t> region(CDataImage& image, size_t from, size_t to) {
    return image.bytes().subspan(from, to - from);
}

int countDown(uint8_t v) { return v == 0xFF ? 0 : v; }
uint8_t countByte(int n) { return n <= 0 ? 0xFF : static_cast<uint8_t>(n); }
} // namespace

ChannelStore::ChannelStore(RadioData& data, TextSource texts, const KeyAssignment* keys)
    : data_(data), texts_(std::move(texts)), keys_(keys) {}

// --- Model questions -----------------------------------------------------------

int ChannelStore::capacity() const {
    const int flagged = data_.model.flags().capacity;
    return flagged != 0 ? flagged : models::capacityOfRow(data_.model.row());
}

bool ChannelStore::hasTrunking() const { return (data_.image.u8(kOptionByte) & 0x20) == 0; }

int ChannelStore::trunkingGroups() const {
    const int t = countDown(data_.image.u8(kTrunkingGroupCount));
    return std::min(t, static_cast<int>(kRecordSlots));
}

int ChannelStore::radioKind() const { return models::marketKind(data_.model.label()); }

bool ChannelStore::isPortable() const { return data_.image.identity().family() == 'P'; }

bool ChannelStore::scramblerShown() const {
    return data_.image.identity().optionBoard() == OptionBoard::Scr;
}

bool ChannelStore::thirdLockoutOffered() const {
    return models::featureClass(data_.model.row()) == 2;
}

BandLimits ChannelStore::band() const {
    return bandLimitsOf(data_.model.bandText(), data_.model.isVhf());
}

int ChannelStore::groupNameLength() const {
    return std::min(countDown(data_.image.u8(kGroupNameLength)), 8);
}

int ChannelStore::idCodeLength() const {
    return ((data_.image.u8(0x00FF) >> 2) & 3) == 1 ? 3 : 10;
}

// --- Counts -------------------------------------------------------------------

int ChannelStore::groupCount() const {
    const int cap = capacity();
    if (cap == 128) return 128;
    if (!hasTrunking()) return 1;
    return cap == 32 ? 128 : cap;
}

int ChannelStore::channelsInGroup(int g) const {
    const int cap = capacity();
    if (!hasTrunking()) return cap;
    if (isTrunkingGroup(g)) return 16;
    return cap <= 16 ? 1 : 128;
}

int ChannelStore::channelsInUse() const { return countDown(data_.image.u8(kChannelsInUse)); }

int ChannelStore::maxChannels() const {
    const int cap = capacity();
    if (!hasTrunking()) return cap;
    if (cap >= 32) return 128;
    const int t = trunkingGroups();
    const int n = cap + 15 * t;
    if (cap == 16 && (n > 128 || t == 16)) return 128;
    return std::min(n, 128);
}

bool ChannelStore::hasGroups() const {
    return capacity() == 128 || (capacity() == 32 && hasTrunking());
}

bool ChannelStore::canCreate() const {
    if (channelsInUse() >= maxChannels()) return false;
    for (int slot = 0; slot < static_cast<int>(kRecordSlots); ++slot) {
        const size_t at = recordOffset(slot);
        bool free = true;
        for (size_t i = 0; i < 4; ++i) free = free && data_.image.u8(at + i) == 0xFF;
        if (free) return true;
    }
    return false;
}

// --- Existence ---------------------------------------------------------------

size_t ChannelStore::recordOffset(int slot) const {
    return kChannelRecords + static_cast<size_t>(slot) * kChannelRecordSize;
}

std::optional<int> ChannelStore::slotOf(int g, int c) const {
    if (g < 0 || c < 0 || g > 254 || c > 254) return std::nullopt;
    for (size_t i = 0; i < kIndexEntriesSearched; ++i) {
        const Entry e = entryAt(data_.image, i);
        if (e.used() && e.group == g + 1 && e.channel == c + 1 && e.channelSlot < kRecordSlots)
            return e.channelSlot;
    }
    return std::nullopt;
}

std::optional<int> ChannelStore::groupSlotOf(int g) const {
    if (g < 0 || g > 254) return std::nullopt;
    for (size_t i = 0; i < kIndexEntriesSearched; ++i) {
        const Entry e = entryAt(data_.image, i);
        if (e.used() && e.group == g + 1 && e.groupSlot < kRecordSlots) return e.groupSlot;
    }
    return std::nullopt;
}

std::optional<size_t> ChannelStore::offsetOf(int g, int c) const {
    auto slot = slotOf(g, c);
    if (!slot) return std::nullopt;
    return recordOffset(*slot);
}

bool ChannelStore::exists(int g, int c) const { return slotOf(g, c).has_value(); }
bool ChannelStore::groupExists(int g) const { return groupSlotOf(g).has_value(); }

bool ChannelStore::isBlank(int g, int c, int which) const {
    auto at = offsetOf(g, c);
    if (!at) return true;
    const size_t f = *at + (which == 0 ? rec::kRxFreq : rec::kTxFreq);
    return data_.image.u8(f) == 0xFF && data_.image.u8(f + 1) == 0xFF;
}

std::optional<ChannelRecord> ChannelStore::record(int g, int c) const {
    auto at = offsetOf(g, c);
    if (!at) return std::nullopt;
    ChannelRecord r;
    auto src = data_.image.bytes().subspan(*at, ChannelRecord::kSize);
    std::copy(src.begin(), src.end(), r.bytes.begin());
    return r;
}

int ChannelStore::usedInGroup(int g) const {
    int n = 0;
    for (size_t i = 0; i < kIndexEntriesSearched; ++i) {
        const Entry e = entryAt(data_.image, i);
        n += e.used() && e.group == g + 1 && e.channelSlot < kRecordSlots;
    }
    return n;
}

std::vector<std::pair<int, int>> ChannelStore::existingChannels() const {
    std::vector<std::pair<int, int>> out;
    for (size_t i = 0; i < kIndexEntriesSearched; ++i) {
        const Entry e = entryAt(data_.image, i);
        if (e.used() && e.channelSlot < kRecordSlots) out.emplace_back(e.group - 1, e.channel - 1);
    }
    return out;
}

uint8_t ChannelStore::recordByte(int g, int c, size_t at) const {
    auto off = offsetOf(g, c);
    return off ? data_.image.u8(*off + at) : 0xFF;
}

void ChannelStore::setRecordByte(int g, int c, size_t at, uint8_t value) {
    if (auto off = offsetOf(g, c)) data_.image.setU8(*off + at, value);
}

void ChannelStore::setRecordBit(int g, int c, size_t at, int bitNo, bool on) {
    if (auto off = offsetOf(g, c)) data_.image.setBit(*off + at, bitNo, on);
}

// --- Allocation ----------------------------------------------------------------

StoreResult ChannelStore::createChannel(int g, int c) {
    if (g < 0 || g >= groupCount() || c < 0 || c >= channelsInGroup(g)) return StoreResult::Invalid;
    if (exists(g, c)) return StoreResult::Ok;
    if (channelsInUse() >= maxChannels()) return StoreResult::CannotCreate;
    CDataImage& image = data_.image;

    auto firstFree = [&image](size_t base, size_t size) -> int {
        for (size_t slot = 0; slot < kRecordSlots; ++slot) {
            const size_t at = base + slot * size;
            if (image.u8(at) == 0xFF && image.u8(at + 1) == 0xFF && image.u8(at + 2) == 0xFF &&
                image.u8(at + 3) == 0xFF)
                return static_cast<int>(slot);
        }
        return -1;
    };
    const int channelSlot = firstFree(kChannelRecords, kChannelRecordSize);
    if (channelSlot < 0) return StoreResult::CannotCreate;
    // Insertion point in the packed, ordered index.
    size_t pos = 0;
    while (pos < kIndexEntriesSearched) {
        const Entry e = entryAt(image, pos);
        if (!e.used() || e.group > g + 1 || (e.group == g + 1 && e.channel > c + 1)) break;
        ++pos;
    }
    if (pos >= kIndexEntriesSearched || entryAt(image, kIndexEntriesSearched - 1).used())
        return StoreResult::CannotCreate;

    int groupSlot = groupSlotOf(g).value_or(-1);
    if (groupSlot < 0) {
        groupSlot = firstFree(kGroupRecords, kGroupRecordSize);
        if (groupSlot < 0) return StoreResult::CannotCreate;
        image.fill(kGroupRecords + groupSlot * kGroupRecordSize, kGroupRecordSize, 0xFF);
        image.setU8(kGroupRecords + groupSlot * kGroupRecordSize, static_cast<uint8_t>(g + 1));
        image.setU8(kGroupsInUse, countByte(countDown(image.u8(kGroupsInUse)) + 1));
    }

    auto index = region(image, kChannelIndex, kChannelIndexEnd);
    std::copy_backward(index.begin() + pos * kIndexEntrySize, index.end() - kIndexEntrySize,
                       index.end());
    writeEntry(image, pos,
               {static_cast<uint8_t>(g + 1), static_cast<uint8_t>(c + 1),
                static_cast<uint8_t>(groupSlot), static_cast<uint8_t>(channelSlot)});

    const size_t groupRec = kGroupRecords + groupSlot * kGroupRecordSize;
    image.setU8(groupRec + 1, countByte(countDown(image.u8(groupRec + 1)) + 1));
    image.setU8(kChannelsInUse, countByte(channelsInUse() + 1));

    const size_t at = recordOffset(channelSlot);
    image.fill(at, kChannelRecordSize, 0xFF);
    image.setU8(at + rec::kChannelNo, static_cast<uint8_t>(c + 1));
    image.setU8(at + rec::kGroupNo, static_cast<uint8_t>(g + 1));
    if (capacity() >= 32) {
        char name[24]; // room for any int, so the compiler sees no truncation
        std::snprintf(name, sizeof name, " CH %3d ", c + 1);
        std::string text(name, 8);
        const int keep = nameLength();
        for (int i = keep; i < 8; ++i) text[i] = ' ';
        if (text.find_first_not_of(' ') == std::string::npos) text.assign(8, '\xFF');
        image.writeAscii(at + rec::kName, text);
    }

    image.setBit(kScanAddBits + channelSlot / 8, channelSlot % 8, true);
    if (isTrunkingGroup(g)) image.setBit(kGroupScanBits + groupSlot / 8, groupSlot % 8, false);

    image.fill(kIdCodes + channelSlot * kIdCodeSize, kIdCodeSize, 0xFF);
    image.setU8(kIdCodes + channelSlot * kIdCodeSize, 0x00); // "000"

    image.setU8(kIdCodes + channelSlot * kIdCodeSize + 1, 0xF0);
    image.fill(kBotCodes + channelSlot * kDtmfCodeSize, kDtmfCodeSize, 0xFF);
    image.fill(kEotCodes + channelSlot * kDtmfCodeSize, kDtmfCodeSize, 0xFF);

    image.rebuildDirectory();
    return StoreResult::Ok;
}

void ChannelStore::clearReferencesTo(int g, int c) {
    CDataImage& image = data_.image;
    if (image.u8(kHomeGroup) == g && image.u8(kHomeChannel) == c) {
        image.setU8(kHomeGroup, 0xFF);
        image.setU8(kHomeChannel, 0xFF);
    }
    if (image.u8(kPriorityGroup) == g && image.u8(kPriorityChannel) == c) {
        image.setU8(kPriorityGroup, 0xFF);
        image.setU8(kPriorityChannel, 0xFF);
    }
}

bool ChannelStore::deleteChannel(int g, int c) {
    if (g < 0 || c < 0 || g > 254 || c > 254) return false;
    CDataImage& image = data_.image;
    size_t pos = kIndexEntriesSearched;
    int inGroup = 0;
    Entry found{};
    for (size_t i = 0; i < kIndexEntriesSearched; ++i) {
        const Entry e = entryAt(image, i);
        if (!e.used() || e.group != g + 1) continue;
        ++inGroup;
        if (e.channel == c + 1 && e.channelSlot < kRecordSlots && e.groupSlot < kRecordSlots) {
            pos = i;
            found = e;
        }
    }
    if (pos == kIndexEntriesSearched) return false;
    const int slot = found.channelSlot;
    const int groupSlot = found.groupSlot;
    const bool lastOfGroup = inGroup == 1;

    image.setBit(kScanAddBits + slot / 8, slot % 8, true);
    if (lastOfGroup) image.setBit(kGroupScanBits + groupSlot / 8, groupSlot % 8, true);

    image.fill(recordOffset(slot), kChannelRecordSize, 0xFF);
    image.fill(kIdCodes + slot * kIdCodeSize, kIdCodeSize, 0xFF);
    image.fill(kBotCodes + slot * kDtmfCodeSize, kDtmfCodeSize, 0xFF);
    image.fill(kEotCodes + slot * kDtmfCodeSize, kDtmfCodeSize, 0xFF);

    auto index = region(image, kChannelIndex, kChannelIndexEnd);
    std::copy(index.begin() + (pos + 1) * kIndexEntrySize, index.end(),
              index.begin() + pos * kIndexEntrySize);
    std::fill(index.end() - kIndexEntrySize, index.end(), 0xFF);

    image.setU8(kChannelsInUse, countByte(channelsInUse() - 1));
    const size_t groupRec = kGroupRecords + groupSlot * kGroupRecordSize;
    if (lastOfGroup) {
        image.fill(groupRec, kGroupRecordSize, 0xFF);
        image.setU8(kGroupsInUse, countByte(countDown(image.u8(kGroupsInUse)) - 1));
    } else {
        image.setU8(groupRec + 1, countByte(countDown(image.u8(groupRec + 1)) - 1));
    }
    clearReferencesTo(g, c);
    image.rebuildDirectory();
    return true;
}

void ChannelStore::renumber(int g, int fromChannel, int delta) {
    CDataImage& image = data_.image;
    for (size_t i = 0; i < kIndexEntriesSearched; ++i) {
        const Entry e = entryAt(image, i);
        if (!e.used() || e.group != g + 1 || e.channel < fromChannel + 1) continue;
        clearReferencesTo(g, e.channel - 1);
        const auto number = static_cast<uint8_t>(e.channel + delta);
        image.setU8(kChannelIndex + i * kIndexEntrySize + 1, number);
        if (e.channelSlot < kRecordSlots)
            image.setU8(recordOffset(e.channelSlot) + rec::kChannelNo, number);
    }
}

bool ChannelStore::insertChannel(int g, int c) {
    if (!groupExists(g) || c < 0 || c >= channelsInGroup(g)) return false;
    if (smallModel() && hasTrunking() && g >= trunkingGroups()) return false;
    if (exists(g, channelsInGroup(g) - 1)) return false;
    renumber(g, c, +1);
    return true;
}

bool ChannelStore::removeChannel(int g, int c) {
    if (!groupExists(g) || c < 0 || c >= channelsInGroup(g)) return false;
    if (smallModel() && hasTrunking() && g >= trunkingGroups()) return false;
    deleteChannel(g, c);
    renumber(g, c + 1, -1);
    return true;
}

void ChannelStore::deleteGroupChannels(int g) {
    for (int c = 254; c >= 0; --c)
        if (exists(g, c)) deleteChannel(g, c);
}

void ChannelStore::adjustTrunkingGroups(int oldT, int newT) {
    const int slots = static_cast<int>(kRecordSlots);
    CDataImage& image = data_.image;
    // Groups that become trunking groups hold 16 channels, are not scanned as a
    // group and carry no home or priority channel.
    for (int g = std::max(0, oldT); g < newT && g < slots; ++g) {
        for (int c = 254; c >= 16; --c)
            if (exists(g, c)) deleteChannel(g, c);
        for (int c = 0; c < 16; ++c) clearReferencesTo(g, c);
        if (auto slot = groupSlotOf(g)) image.setBit(kGroupScanBits + *slot / 8, *slot % 8, false);
    }
    // Groups that stop being trunking groups: channels 17 and up go, channels 1-16
    // get back the settings a trunking group hides, as a new channel has them (no
    // option signalling, no busy lockout, PTT ID off, no BOT/EOT code, in the scan
    // list), and the group rejoins the group scan list like a new conventional group.
    for (int g = std::max(0, newT); g < oldT && g < slots; ++g) {
        for (int c = 254; c >= 16; --c)
            if (exists(g, c)) deleteChannel(g, c);
        for (int c = 0; c < 16; ++c) {
            auto slot = slotOf(g, c);
            if (!slot) continue;
            const size_t at = recordOffset(*slot);
            image.setU8(at + rec::kOptionSignalling, 0xFF);
            image.setU8(at + rec::kFlags, static_cast<uint8_t>(image.u8(at + rec::kFlags) | 0xC0));
            image.setU8(at + rec::kFlags2, static_cast<uint8_t>(image.u8(at + rec::kFlags2) | 0x03));
            image.fill(kBotCodes + *slot * kDtmfCodeSize, kDtmfCodeSize, 0xFF);
            image.fill(kEotCodes + *slot * kDtmfCodeSize, kDtmfCodeSize, 0xFF);
            image.setBit(kScanAddBits + *slot / 8, *slot % 8, true);
        }
        if (auto slot = groupSlotOf(g)) image.setBit(kGroupScanBits + *slot / 8, *slot % 8, true);
    }
}

} // namespace vrl
