#include "channels/channel_copy.h"

#include "channels/channel_store.h"
#include "model/image_layout.h"

#include <algorithm>

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

bool ChannelCopyBuffer::copy(const ChannelStore& store, int g, int first, int last) {
    if (store.channelsInGroup(g) <= 1) return false;
    if (first > last) std::swap(first, last);
    first = std::max(first, 0);
    last = std::min(last, store.channelsInGroup(g) - 1);
    if (first > last) return false;
    rows_.clear();
    for (int c = first; c <= last; ++c) {
        CopiedChannel row;
        if (auto slot = store.slotOf(g, c)) {
            row.present = true;
            row.record = *store.record(g, c);
            row.id = store.idBytes(*slot);
            row.bot = store.botBytes(*slot);
            row.eot = store.eotBytes(*slot);
            row.scanAdd = store.scanBit(*slot);
        }
        rows_.push_back(row);
    }
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
