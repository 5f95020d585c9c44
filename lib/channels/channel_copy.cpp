#include "channels/channel_copy.h"

#include "channels/channel_store.h"
#include "model/image_layout.h"

#include <algorithm>
#include <vector>

namespace vrl {

using namespace layout;

std::array<uint8_t, 5> ChannelStore::idBytes(int slot) const {
    std::array<uint8_t, 5> out;
    for (size_t i = 0; i < out.size(); ++i) out[i] = data_.image.u8(kIdCodes + slot * kIdCodeSize + i);
    return out;
}

std::array<uint8_t, 16> ChannelStore::botBytes(int slot) const {
    std::array<uint8_t, 16> out;
    for (size_t i = 0; i < out.size(); ++i) out[i] = data_.image.u8(kBotCodes + slot * kDtmfCodeSize + i);
    return out;
}

std::array<uint8_t, 16> ChannelStore::eotBytes(int slot) const {
    std::array<uint8_t, 16> out;
    for (size_t i = 0; i < out.size(); ++i) out[i] = data_.image.u8(kEotCodes + slot * kDtmfCodeSize + i);
    return out;
}

bool ChannelStore::scanBit(int slot) const {
    return data_.image.bit(kScanAddBits + slot / 8, slot % 8);
}

void ChannelStore::writeChannel(int g, int c, const CopiedChannel& from) {
    auto slot = slotOf(g, c);
    if (!slot) return;
    CDataImage& image = data_.image;
    const size_t at = recordOffset(*slot);
    for (size_t i = 0; i < ChannelRecord::kSize; ++i) image.setU8(at + i, from.record.bytes[i]);
    image.setU8(at + rec::kChannelNo, static_cast<uint8_t>(c + 1));
    image.setU8(at + rec::kGroupNo, static_cast<uint8_t>(g + 1));
    image.setBit(kScanAddBits + *slot / 8, *slot % 8, from.scanAdd);
    for (size_t i = 0; i < from.id.size(); ++i) image.setU8(kIdCodes + *slot * kIdCodeSize + i, from.id[i]);
    for (size_t i = 0; i < 16; ++i) {
        image.setU8(kBotCodes + *slot * kDtmfCodeSize + i, from.bot[i]);
        image.setU8(kEotCodes + *slot * kDtmfCodeSize + i, from.eot[i]);
    }
}

CopiedChannel ChannelStore::captureChannel(int g, int c) const {
    CopiedChannel row;
    if (auto slot = slotOf(g, c)) {
        row.present = true;
        row.record = *record(g, c);
        row.id = idBytes(*slot);
        row.bot = botBytes(*slot);
        row.eot = eotBytes(*slot);
        row.scanAdd = scanBit(*slot);
    }
    return row;
}

CopyResult ChannelStore::copyChannel(int g, int c, int toG, int toC) {
    const auto inRange = [this](int group, int channel) {
        return group >= 0 && group < groupCount() && channel >= 0 && channel < channelsInGroup(group);
    };
    if (!inRange(g, c) || !inRange(toG, toC)) return CopyResult::OutOfRange;
    if (toG != g && !groupCopyOffered()) return CopyResult::NotOffered;
    if (!exists(g, c)) return CopyResult::NoSource;
    if (g == toG && c == toC) return CopyResult::Unchanged;
    const CopiedChannel from = captureChannel(g, c);
    if (exists(toG, toC)) {
        // Overwritten in place rather than deleted and created again, so that the
        // only channel of a group does not take the group's name and scan bit with
        // it. A home or priority reference to the old channel goes as on deletion.
        clearReferencesTo(toG, toC);
    } else if (createChannel(toG, toC) != StoreResult::Ok) {
        return CopyResult::CannotCreate;
    }
    writeChannel(toG, toC, from);
    return CopyResult::Copied;
}

CopyResult ChannelStore::copyGroup(int g, int toG) {
    if (!groupCopyOffered()) return CopyResult::NotOffered;
    if (g < 0 || g >= groupCount() || toG < 0 || toG >= groupCount()) return CopyResult::OutOfRange;
    if (!groupExists(g)) return CopyResult::NoSource;
    if (g == toG) return CopyResult::Unchanged;
    std::vector<std::pair<int, CopiedChannel>> channels;
    for (int c = 0; c < channelsInGroup(g); ++c)
        if (exists(g, c)) channels.emplace_back(c, captureChannel(g, c));
    const int after = channelsInUse() + static_cast<int>(channels.size()) - usedInGroup(toG);
    if (after > maxChannels()) return CopyResult::CannotCreate;

    CDataImage& image = data_.image;
    const size_t fromRecord = kGroupRecords + *groupSlotOf(g) * kGroupRecordSize;
    std::array<uint8_t, kGroupRecordSize> groupBytes;
    for (size_t i = 0; i < kGroupRecordSize; ++i) groupBytes[i] = image.u8(fromRecord + i);
    const bool scan = image.bit(kGroupScanBits + *groupSlotOf(g) / 8, *groupSlotOf(g) % 8);

    // All or nothing: a channel that cannot be created (a damaged image whose
    // records are taken) puts every byte back.
    const std::vector<uint8_t> before(image.bytes().begin(), image.bytes().end());
    deleteGroupChannels(toG);
    for (const auto& [c, from] : channels) {
        if (createChannel(toG, c) != StoreResult::Ok) {
            std::copy(before.begin(), before.end(), image.bytes().begin());
            return CopyResult::CannotCreate;
        }
        writeChannel(toG, c, from);
    }
    const int toSlot = *groupSlotOf(toG);
    const size_t toRecord = kGroupRecords + toSlot * kGroupRecordSize;
    for (size_t i = 1; i < kGroupRecordSize; ++i) image.setU8(toRecord + i, groupBytes[i]);
    image.setBit(kGroupScanBits + toSlot / 8, toSlot % 8, scan);
    return CopyResult::Copied;
}

bool ChannelCopyBuffer::copy(const ChannelStore& store, int g, int first, int last) {
    if (store.channelsInGroup(g) <= 1) return false;
    if (first > last) std::swap(first, last);
    first = std::max(first, 0);
    last = std::min(last, store.channelsInGroup(g) - 1);
    if (first > last) return false;
    rows_.clear();
    for (int c = first; c <= last; ++c) rows_.push_back(store.captureChannel(g, c));
    sourceGroup_ = g;
    first_ = first;
    last_ = last;
    present_ = true;
    return true;
}

bool ChannelCopyBuffer::canPaste(const ChannelStore& store, int g) const {
    if (!present_ || store.channelsInGroup(g) <= 1) return false;
    return g == sourceGroup_ || store.isTrunkingGroup(g) == store.isTrunkingGroup(sourceGroup_);
}

PasteOutcome ChannelCopyBuffer::paste(ChannelStore& store, int g, int start) const {
    PasteOutcome out;
    if (!canPaste(store, g) || start < 0) return out;
    const int rows = store.channelsInGroup(g);
    for (size_t i = 0; i < rows_.size() && start + static_cast<int>(i) < rows; ++i) {
        const int c = start + static_cast<int>(i);
        const CopiedChannel& row = rows_[i];
        if (store.exists(g, c)) store.deleteChannel(g, c);
        if (row.present) {
            if (store.createChannel(g, c) != StoreResult::Ok) {
                out.cannotCreate = true;
                break;
            }
            store.writeChannel(g, c, row);
        }
        ++out.rowsWritten;
    }
    return out;
}

int deleteChannelRun(ChannelStore& store, int g, int first, int last) {
    if (first > last) std::swap(first, last);
    int deleted = 0;
    for (int c = last; c >= first; --c)
        if (store.deleteChannel(g, c)) ++deleted;
    return deleted;
}

} // namespace vrl
