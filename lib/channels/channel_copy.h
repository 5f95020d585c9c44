// The copy buffer shared by the channel grids: a run of rows of one group, each
// with its record, ID, BOT and EOT codes and scan-add bit (or an empty marker).
#pragma once

#include "channels/channel_record.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vrl {

class ChannelStore;

struct CopiedChannel {
    bool present = false; // false: the source row held no channel
    ChannelRecord record;
    std::array<uint8_t, 5> id{};
    std::array<uint8_t, 16> bot{};
    std::array<uint8_t, 16> eot{};
    bool scanAdd = true;
};

// Outcome of the Channel Copy and Group Copy operations.
enum class CopyResult {
    Copied,
    Unchanged,    // source and target are the same: nothing to do
    NoSource,     // the source channel or group does not exist
    CannotCreate, // no free channel memory, or a group copy would exceed the limit
    NotOffered,   // the model offers no copy between groups
    OutOfRange,   // a group or channel number outside the model's numbers
};

struct PasteOutcome {
    int rowsWritten = 0;
    bool cannotCreate = false; // pasting stopped at a channel that could not be created
};

class ChannelCopyBuffer {
  public:
    bool present() const { return present_; }
    int sourceGroup() const { return sourceGroup_; }
    int firstRow() const { return first_; }
    int lastRow() const { return last_; }
    const std::vector<CopiedChannel>& rows() const { return rows_; }
    void clear() { present_ = false; }

    // Copies rows first..last (0-based channel indices, either order) of group g;
    // refused (false) on a group with a single channel number.
    bool copy(const ChannelStore& store, int g, int first, int last);
    // Paste is allowed into a multi-channel group of the same kind (both trunking
    // groups or both not), or into the source group itself.
    bool canPaste(const ChannelStore& store, int g) const;
    // Pastes from row `start` of group g until the copied rows or the group's rows
    // run out.
    PasteOutcome paste(ChannelStore& store, int g, int start) const;

  private:
    bool present_ = false;
    int sourceGroup_ = 0;
    int first_ = 0;
    int last_ = 0;
    std::vector<CopiedChannel> rows_;
};

// Deletes the existing channels among rows first..last of group g, last row first.
int deleteChannelRun(ChannelStore& store, int g, int first, int last);

} // namespace vrl
