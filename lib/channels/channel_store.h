// ChannelStore: the one accessor of all channel and group storage in the image.
// It allocates channels to groups (index kept packed and ordered, counts, group
// records, scan bits, home/priority references and region words consistent), and
// converts every channel field between its stored bytes and its display text, so
// that every editor shows and accepts the same texts.
//
// Group index g and channel index c are 0-based throughout.
#pragma once

#include "channels/channel_copy.h"
#include "channels/channel_record.h"
#include "channels/frequency.h"
#include "channels/text_source.h"
#include "model/new_data.h"
#include "model/radio_data.h"

#include <optional>
#include <string>
#include <vector>

namespace vrl {

class KeyAssignment;

// Language texts the channel editors show.
namespace chtext {
inline constexpr int kOff = 65;            // "None"/off in lists
inline constexpr int kOn = 67;
inline constexpr int kOffChoice = 68;
inline constexpr int kNo = 69;
inline constexpr int kYes = 70;
inline constexpr int kCannotCreate = 8;
inline constexpr int kOutOfBand = 9;
inline constexpr int kIdCodeTooShort = 10;
inline constexpr int kCompanderQuestion = 11;
inline constexpr int kCaptionQuestion = 78;
inline constexpr int kCaptionError = 79;
inline constexpr int kCaptionWarning = 82;
inline constexpr int kTrunkingRow = 178;
} // namespace chtext

enum class StoreResult {
    Ok,
    OutOfBand,      // stored, but outside the model's band: the view warns
    CannotCreate,   // no free channel memory: nothing stored
    IdCodeTooShort, // fewer than three digits: nothing stored
    Invalid,        // text or selection the field cannot take: nothing stored
    NoChannel,      // the channel does not exist (only the receive frequency creates)
};

class ChannelStore : public ChannelPlanEditor {
  public:
    ChannelStore(RadioData& data, TextSource texts, const KeyAssignment* keys = nullptr);
    ChannelStore(const ChannelStore&) = delete;
    ChannelStore& operator=(const ChannelStore&) = delete;

    RadioData& data() { return data_; }
    const RadioData& data() const { return data_; }
    std::string text(int index) const { return texts_ ? texts_(index) : std::string(); }
    void setKeys(const KeyAssignment* keys) { keys_ = keys; }

    // --- Model questions -------------------------------------------------------
    int capacity() const;          // 8, 16, 32 or 128
    bool smallModel() const { return capacity() <= 16; }
    bool hasTrunking() const;      // image 0x00AD bit 5 clear
    int trunkingGroups() const;    // T at 0x0087 (0xFF = 0)
    bool isTrunkingGroup(int g) const { return hasTrunking() && g >= 0 && g < trunkingGroups(); }
    int radioKind() const;         // market kind 1-6 of the label
    bool isPortable() const;
    bool scramblerShown() const;   // the SCR board is fitted
    bool thirdLockoutOffered() const;
    bool fineStep() const { return data_.model.options.fineStep; }
    BandLimits band() const;
    int groupNameLength() const;   // G: 0x008D, 0xFF = 0, above 8 = 8
    int nameLength() const { return 8 - groupNameLength(); }
    int idCodeLength() const;      // 3 or 10 digits (0x00FF bits 2-3)

    // --- Counts ------------------------------------------------------------------
    int groupCount() const;
    int channelsInGroup(int g) const;
    int channelsInUse() const;     // 0x000F, 0xFF = 0
    int maxChannels() const;
    int freeChannelMemory() const { return (maxChannels() - channelsInUse()) * 48; }
    // A new channel fits (model limit and a free record slot).
    bool canCreate() const;
    bool hasGroups() const;        // 128-channel models, 32-channel ones with trunking

    // --- Existence ----------------------------------------------------------------
    bool exists(int g, int c) const;
    bool groupExists(int g) const;
    bool isBlank(int g, int c, int which) const; // which 0 receive, 1 transmit
    std::optional<int> slotOf(int g, int c) const;
    std::optional<int> groupSlotOf(int g) const;
    std::optional<ChannelRecord> record(int g, int c) const;
    // Every existing channel as (g, c), in index order (by group, then channel).
    std::vector<std::pair<int, int>> existingChannels() const;

    // --- Allocation --------------------------------------------------------------
    StoreResult createChannel(int g, int c);
    bool deleteChannel(int g, int c);
    bool insertChannel(int g, int c);
    bool removeChannel(int g, int c);
    // Deletes every channel of the group (model change on trunking groups).
    void deleteGroupChannels(int g) override;
    // The trunking-group count changed from oldT to newT on a radio with groups:
    // groups that become trunking groups keep channels 1-16 only, leave the group
    // scan list and lose home/priority references; groups that stop being trunking
    // groups keep channels 1-16 with their trunking-hidden settings reset and
    // rejoin the group scan list.
    void adjustTrunkingGroups(int oldT, int newT) override;

    // --- Field texts -----------------------------------------------------------
    // Display text of a field; nullopt when the channel does not exist.
    std::optional<std::string> getText(ChannelField f, int g, int c) const;
    // Stores a text field (receive, transmit, decode, encode, name, ID, BOT, EOT,
    // scrambler). An empty receive frequency deletes the channel; a receive frequency
    // for a missing channel creates it.
    StoreResult setText(std::string text, int g, int c, ChannelField f);

    // Choice fields (option signalling, lockout, power, width, PTT ID, scan add, and
    // the check boxes beat shift, compander, priority, home as [unchecked, checked]).
    bool isChoiceField(ChannelField f) const;
    std::vector<std::string> choices(ChannelField f) const;
    int choiceIndex(ChannelField f, int g, int c) const; // -1 when none matches
    StoreResult setChoice(ChannelField f, int g, int c, int selection);
    // Choosing the first width item while the compander is on asks first.
    bool widthNeedsConfirmation(int g, int c, int selection) const;

    // Check boxes (beat shift, compander, priority, home, scan add).
    bool isChecked(ChannelField f, int g, int c) const;
    StoreResult setCheck(ChannelField f, int g, int c, bool checked);

    // --- Enabling tests -----------------------------------------------------------
    bool groupEditEnabled() const { return groupCount() != 1; }
    bool channelEditEnabled(int g) const { return channelsInGroup(g) != 1; }
    bool isEnabled(ChannelField f, int g, int c) const;

    // --- Groups -------------------------------------------------------------------
    // A group is in use while it holds a channel: groupExists(g).
    // Channels of group g in use (index entries).
    int usedInGroup(int g) const;
    // The group's name, cut to the group-name length; empty when the group is not in use.
    std::string getGroupName(int g) const;
    // The name may be stored: the group is in use and the group-name length is not off.
    bool groupNameEditable(int g) const;
    // Stores the first (group-name length) characters, upper case, padded with blanks
    // (all blanks stored as 0xFF). False, nothing stored, when not editable or the
    // text holds a character outside the name characters.
    bool setGroupName(const std::string& text, int g);
    // The group-scan bit; for a group not in use: off for a trunking group, else on.
    bool getGroupScan(int g) const;
    bool groupScanEnabled() const; // the radio's group scan (0x002A bit 0)
    // The bit may be changed: the group is in use, group scan is enabled and the
    // group is not a trunking group.
    bool groupScanEditable(int g) const;
    // Sets or clears only this group's bit; false, nothing stored, when not editable.
    bool setGroupScan(int g, bool on);

    // --- Copy tools ---------------------------------------------------------------
    // Copies between groups (Group Copy, Channel Copy to another group): offered on
    // 128-channel models without trunking only.
    bool groupCopyOffered() const { return capacity() == 128 && !hasTrunking(); }
    // Channel (g, c) with its record, scan-add bit and ID/BOT/EOT codes.
    CopiedChannel captureChannel(int g, int c) const;
    // Copies channel (g, c) onto (toG, toC): an existing target is overwritten in
    // place (the channel count and its group record stay), a missing one created.
    CopyResult copyChannel(int g, int c, int toG, int toC);
    // Replaces the channels of group toG by copies of those of g (same numbers),
    // then copies group-record bytes 1-15 and the group-scan bit. Refused, nothing
    // changed, when channels in use + channels of g - channels of toG exceed the
    // model's maximum.
    CopyResult copyGroup(int g, int toG);

    // --- Copy buffer of the grids -------------------------------------------------
    ChannelCopyBuffer& copyBuffer() { return copy_; }
    const ChannelCopyBuffer& copyBuffer() const { return copy_; }

    // Side tables by channel slot (used by the copy buffer).
    std::array<uint8_t, 5> idBytes(int slot) const;
    std::array<uint8_t, 16> botBytes(int slot) const;
    std::array<uint8_t, 16> eotBytes(int slot) const;
    bool scanBit(int slot) const;
    // Overwrites an existing channel's record (bytes 0 and 1 set to the channel and
    // group numbers) and side tables.
    void writeChannel(int g, int c, const CopiedChannel& from);

  private:
    size_t recordOffset(int slot) const;
    std::optional<size_t> offsetOf(int g, int c) const;
    uint8_t recordByte(int g, int c, size_t at) const;
    void setRecordByte(int g, int c, size_t at, uint8_t value);
    void setRecordBit(int g, int c, size_t at, int bitNo, bool on);
    bool rxSet(int g, int c) const { return !isBlank(g, c, 0); }
    bool txSet(int g, int c) const { return !isBlank(g, c, 1); }
    StoreResult setFrequency(const std::string& text, int g, int c, bool receive);
    void clearReferencesTo(int g, int c);
    bool kindHasOnOffLockout() const;
    void renumber(int g, int fromChannel, int delta);

    RadioData& data_;
    TextSource texts_;
    const KeyAssignment* keys_;
    ChannelCopyBuffer copy_;
};

} // namespace vrl
