// CDataImage owns the one data image of the radio in hand (33165 bytes) and its
// change-tracking copies. Editors read and write fields in place through the
// bounds-checked accessors; "modified" means the working image differs from the
// snapshot taken after the last New, Open, Save or Read.
#pragma once

#include "model/identity.h"
#include "model/image_layout.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vrl {

class CDataImage {
  public:
    static constexpr size_t kSize = layout::kImageSize;
    using Bytes = std::array<uint8_t, kSize>;

    CDataImage();

    std::span<uint8_t> bytes() { return working_; }
    std::span<const uint8_t> bytes() const { return working_; }
    const Bytes& snapshot() const { return snapshot_; }

    uint8_t u8(size_t offset) const;
    void setU8(size_t offset, uint8_t value);
    uint16_t u16(size_t offset) const;
    void setU16(size_t offset, uint16_t value);
    bool bit(size_t offset, int bitNo) const;
    void setBit(size_t offset, int bitNo, bool on);
    void fill(size_t offset, size_t length, uint8_t value);
    void fillRange(size_t first, size_t last, uint8_t value) { fill(first, last - first + 1, value); }
    void writeAscii(size_t offset, std::string_view text);
    std::string readAscii(size_t offset, size_t length) const;

    // Fill with 0xFF, then take the undo copy.
    void clear();
    void takeUndoCopy();
    void restoreUndoCopy();
    void takeSnapshot();
    // Puts back a snapshot kept elsewhere (an undo step across a New, Open or Save).
    void setSnapshot(const Bytes& snapshot) { snapshot_ = snapshot; }
    // 0 when equal to the snapshot, else -1 or 1 by the first differing byte.
    int compareWithSnapshot() const;
    bool isModified() const { return compareWithSnapshot() != 0; }

    // Block directory (six words at 0x0000) from the channel allocation.
    void rebuildDirectory();
    std::array<uint16_t, 6> directory() const;

    // Trunking-board data kept across a model change.
    void keepTrunkingData();
    void restoreTrunkingData();

    ModelIdentity identity() const;
    // Writes all 8 identity bytes.
    void setIdentity(const ModelIdentity& id);
    // The identity remembered for the next New (bytes 0-6 from the image).
    void rememberIdentity();
    const ModelIdentity& storedIdentity() const { return storedIdentity_; }
    void setStoredIdentity(const ModelIdentity& id) { storedIdentity_ = id; }

    // Look-ups on the channel index; group and channel are 0-based.
    std::optional<size_t> channelRecordOffset(int group, int channel) const;
    std::optional<size_t> groupRecordOffset(int group) const;
    // Used index entries ordered at or before (group, channel).
    int usedEntriesThrough(int group, int channel) const;
    // Position of (group, channel) among the used entries; -1 when it has none.
    int positionOf(int group, int channel) const;
    // Channel-record slot of the group's first channel; -1 when the group has none.
    int firstChannelSlotOfGroup(int group) const;

  private:
    Bytes working_;
    Bytes snapshot_;
    Bytes undo_;
    std::array<uint8_t, layout::kTrunkDataSize> trunkCopy_;
    ModelIdentity storedIdentity_;
};

} // namespace vrl
