// Fixed layout of the data image: one radio's 32768 bytes of memory followed by
// the trunking-board flag and the 396 characters of trunking-board data.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vrl::layout {

inline constexpr size_t kRadioMemorySize = 0x8000;  // 128 blocks of 256 bytes
inline constexpr size_t kBlockSize = 256;
inline constexpr size_t kBlockCount = kRadioMemorySize / kBlockSize;
inline constexpr size_t kTrunkFlag = 0x8000;        // 1 = trunking board fitted
inline constexpr size_t kTrunkData = 0x8001;        // 396 ASCII characters
inline constexpr size_t kTrunkDataSize = 396;
inline constexpr size_t kImageSize = kTrunkData + kTrunkDataSize; // 33165

// Block directory: six 16-bit words, first/last block of the channel index,
// the group records and the channel records.
inline constexpr size_t kDirectory = 0x0000;
inline constexpr size_t kDirectoryWords = 6;
inline constexpr size_t kGroupsInUse = 0x000E;   // 0xFF = none
inline constexpr size_t kChannelsInUse = 0x000F; // 0xFF = none

// Model identity (8 bytes) and the data version text.
inline constexpr size_t kIdentity = 0x00A7;
inline constexpr size_t kIdentitySize = 8;
inline constexpr size_t kOptionByte = kIdentity + 6; // 0x00AD
inline constexpr size_t kIdentityFlags = kIdentity + 7; // 0x00AE
inline constexpr size_t kVersionText = 0x00BB;
inline constexpr size_t kVersionTextSize = 5;
inline constexpr char kDataVersion[] = "V0422";

// Passwords: radio password 0x00D4-0x00D9, data password 0x00DA-0x00DF.
inline constexpr size_t kRadioPassword = 0x00D4;
inline constexpr size_t kDataPassword = 0x00DA;
inline constexpr size_t kPasswordSize = 6;

// Channel index: 250 entries of 4 bytes (group+1, channel+1, group slot,
// channel slot), packed and ordered; only the first 128 are ever used.
inline constexpr size_t kChannelIndex = 0x0300;
inline constexpr size_t kIndexEntrySize = 4;
inline constexpr size_t kIndexEntries = 250;
inline constexpr size_t kIndexEntriesSearched = 128;
inline constexpr size_t kChannelIndexEnd = kChannelIndex + kIndexEntries * kIndexEntrySize; // 0x06E8

inline constexpr size_t kGroupRecords = 0x1000; // 128 x 16
inline constexpr size_t kGroupRecordSize = 16;
inline constexpr size_t kChannelRecords = 0x2000; // 128 x 48
inline constexpr size_t kChannelRecordSize = 48;
inline constexpr size_t kRecordSlots = 128;

inline constexpr size_t kGroupScanBits = 0x0060; // one bit per group slot
inline constexpr size_t kScanAddBits = 0x0070;   // one bit per channel slot

inline constexpr size_t kTestFrequencies = 0x0140; // 16 entries of 10 bytes
inline constexpr size_t kTestFrequencyEntrySize = 10;
inline constexpr size_t kTestFrequencyEntries = 16;

inline constexpr size_t kBotCodes = 0x6000; // 128 x 16, by channel slot
inline constexpr size_t kEotCodes = 0x6800; // 128 x 16, by channel slot
inline constexpr size_t kIdCodes = 0x7000;  // 128 x 5, by channel slot
inline constexpr size_t kDtmfCodeSize = 16;
inline constexpr size_t kIdCodeSize = 5;

} // namespace vrl::layout
