#include "model/data_image.h"

#include "util/bytes.h"

#include <algorithm>
#include <cstring>

namespace vrl {

using namespace layout;

CDataImage::CDataImage() {
    working_.fill(0xFF);
    snapshot_.fill(0xFF);
    undo_.fill(0xFF);
    trunkCopy_.fill(0xFF);
}

uint8_t CDataImage::u8(size_t offset) const { return bytes::u8(working_, offset); }
void CDataImage::setU8(size_t offset, uint8_t value) { bytes::setU8(working_, offset, value); }
uint16_t CDataImage::u16(size_t offset) const { return bytes::le16(working_, offset); }
void CDataImage::setU16(size_t offset, uint16_t value) { bytes::setLe16(working_, offset, value); }
bool CDataImage::bit(size_t offset, int bitNo) const { return bytes::bit(working_, offset, bitNo); }
void CDataImage::setBit(size_t offset, int bitNo, bool on) {
    bytes::setBit(working_, offset, bitNo, on);
}
void CDataImage::fill(size_t offset, size_t length, uint8_t value) {
    bytes::fill(working_, offset, length, value);
}
void CDataImage::writeAscii(size_t offset, std::string_view text) {
    bytes::writeAscii(working_, offset, text);
}
std::string CDataImage::readAscii(size_t offset, size_t length) const {
    return bytes::readAscii(working_, offset, length);
}

void CDataImage::clear() {
    working_.fill(0xFF);
    takeUndoCopy();
}

void CDataImage::takeUndoCopy() { undo_ = working_; }
void CDataImage::restoreUndoCopy() { working_ = undo_; }
void CDataImage::takeSnapshot() { snapshot_ = working_; }

int CDataImage::compareWithSnapshot() const {
    int c = std::memcmp(working_.data(), snapshot_.data(), kSize);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

void CDataImage::rebuildDirectory() {
    if (working_[kGroupsInUse] == 0xFF) {
        fill(kDirectory, 2 * kDirectoryWords, 0xFF);
        return;
    }
    const int n = working_[kChannelsInUse] == 0xFF ? 0 : working_[kChannelsInUse];
    // `e` carries over from one region to the next when a region has no used slot.
    int e = n * 4;
    setU16(0x0000, 3);
    setU16(0x0002, static_cast<uint16_t>(3 + (e - 1) / 256));

    auto highestUsed = [this](size_t base, size_t recordSize) {
        int highest = -1;
        for (size_t slot = 0; slot < kRecordSlots; ++slot)
            if (working_[base + slot * recordSize] != 0xFF) highest = static_cast<int>(slot);
        return highest;
    };
    if (int g = highestUsed(kGroupRecords, kGroupRecordSize); g >= 0) e = 16 * (g + 1);
    setU16(0x0004, 0x10);
    setU16(0x0006, static_cast<uint16_t>(0x10 + (e - 1) / 256));
    if (int c = highestUsed(kChannelRecords, kChannelRecordSize); c >= 0) e = 48 * (c + 1);
    setU16(0x0008, 0x20);
    setU16(0x000A, static_cast<uint16_t>(0x20 + (e - 1) / 256));
}

std::array<uint16_t, 6> CDataImage::directory() const {
    std::array<uint16_t, 6> words{};
    for (size_t i = 0; i < words.size(); ++i) words[i] = u16(kDirectory + 2 * i);
    return words;
}

void CDataImage::keepTrunkingData() {
    std::copy_n(working_.begin() + kTrunkData, kTrunkDataSize, trunkCopy_.begin());
}

void CDataImage::restoreTrunkingData() {
    std::copy(trunkCopy_.begin(), trunkCopy_.end(), working_.begin() + kTrunkData);
}

ModelIdentity CDataImage::identity() const {
    ModelIdentity id;
    std::copy_n(working_.begin() + kIdentity, kIdentitySize, id.bytes.begin());
    return id;
}

void CDataImage::setIdentity(const ModelIdentity& id) {
    std::copy(id.bytes.begin(), id.bytes.end(), working_.begin() + kIdentity);
}

void CDataImage::rememberIdentity() {
    std::copy_n(working_.begin() + kIdentity, 7, storedIdentity_.bytes.begin());
}

namespace {
struct IndexEntry {
    uint8_t group, channel, groupSlot, channelSlot;
    bool used() const { return group != 0xFF; }
};

IndexEntry entryAt(std::span<const uint8_t> image, size_t i) {
    size_t at = kChannelIndex + i * kIndexEntrySize;
    return {image[at], image[at + 1], image[at + 2], image[at + 3]};
}
} // namespace

std::optional<size_t> CDataImage::channelRecordOffset(int group, int channel) const {
    for (size_t i = 0; i < kIndexEntriesSearched; ++i) {
        IndexEntry e = entryAt(working_, i);
        if (e.used() && e.group == group + 1 && e.channel == channel + 1 && e.channelSlot < kRecordSlots)
            return kChannelRecords + e.channelSlot * kChannelRecordSize;
    }
    return std::nullopt;
}

std::optional<size_t> CDataImage::groupRecordOffset(int group) const {
    for (size_t i = 0; i < kIndexEntriesSearched; ++i) {
        IndexEntry e = entryAt(working_, i);
        if (e.used() && e.group == group + 1 && e.groupSlot < kRecordSlots)
            return kGroupRecords + e.groupSlot * kGroupRecordSize;
    }
    return std::nullopt;
}

int CDataImage::usedEntriesThrough(int group, int channel) const {
    int count = 0;
    for (size_t i = 0; i < kIndexEntriesSearched; ++i) {
        IndexEntry e = entryAt(working_, i);
        if (!e.used()) continue;
        if (e.group < group + 1 || (e.group == group + 1 && e.channel <= channel + 1)) ++count;
    }
    return count;
}

int CDataImage::positionOf(int group, int channel) const {
    int position = 0;
    for (size_t i = 0; i < kIndexEntriesSearched; ++i) {
        IndexEntry e = entryAt(working_, i);
        if (!e.used()) continue;
        if (e.group == group + 1 && e.channel == channel + 1) return position;
        ++position;
    }
    return -1;
}

int CDataImage::firstChannelSlotOfGroup(int group) const {
    for (size_t i = 0; i < kIndexEntriesSearched; ++i) {
        IndexEntry e = entryAt(working_, i);
        if (e.used() && e.group == group + 1) return e.channelSlot;
    }
    return -1;
}

} // namespace vrl
