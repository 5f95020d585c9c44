// The trunking board's own transfer protocol: the board keeps 396 ASCII characters
// (99 records of 4), which the image holds from 0x8001. The board is opened with
// "QM503TB,", takes a five-digit access code, then sends ("02") or takes ("03") the
// records, each line ended by the board with LF CR, and is released with "e".
// One engine for the desktop dialogs and the command line: everything the person
// is asked goes through a TransferUi.
#pragma once

#include "link/radio_link.h"
#include "link/transfer_ui.h"
#include "model/data_image.h"
#include "model/image_layout.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace vrl {

namespace board {

inline constexpr std::string_view kOpenLine = "QM503TB,";
inline constexpr std::string_view kStartRead = "02\r\n";
inline constexpr std::string_view kStartWrite = "03\r\n";
inline constexpr uint8_t kRelease = 'e';
inline constexpr std::array<uint8_t, 2> kBoardLineEnd{0x0A, 0x0D}; // the board's: LF, CR
inline constexpr std::array<uint8_t, 2> kHostLineEnd{0x0D, 0x0A};  // the program's: CR, LF
inline constexpr std::array<uint8_t, 3> kCodeAccepted{'2', 0x0A, 0x0D};

inline constexpr int kRecordCount = 99;
inline constexpr size_t kRecordLength = 4;
inline constexpr size_t kDataSize = layout::kTrunkDataSize; // 396
inline constexpr int kAccessCodeLength = 5;

inline constexpr int kAccessCodePauseMs = 110;
inline constexpr int kAccessCodeTimeoutMs = 200;
inline constexpr int kReplyTimeoutMs = 1000;
// A line that keeps sending other bytes gives no reply: at most this many are skipped.
inline constexpr int kMaxStrayBytes = 64;
// Before a retry the line must fall quiet (kQuietMs without a byte, within kQuietLimitMs).
inline constexpr int kQuietMs = 100;
inline constexpr int kQuietLimitMs = 2000;

using Data = std::array<uint8_t, kDataSize>;

// The clean-up of data read from a board: a "0000000F" at 88-95 takes the
// characters of 40-47; every non-digit at 168-391 becomes 'F'; the 4-character
// fields at 12, 20, 52, 56, 60, 64 and 80 reading "00FF" become "0001".
void cleanReadData(std::span<uint8_t, kDataSize> data);

// Puts the typed access code into the board data before a write: '0' at 68-70 and
// the even offsets 72-78; the five digits at 71, 73, ..., 79 only when 79 holds 'F'
// (no code stored yet). False when 68-79 then hold a non-digit: all twelve become
// 'F' and nothing may be written.
bool storeAccessCode(std::span<uint8_t, kDataSize> data, std::string_view code);

// Waits for `expected`, skipping other bytes (at most kMaxStrayBytes), each read
// with the port's read time-out. False on a time-out.
bool awaitByte(RadioLink& link, uint8_t expected);

// Reads and drops bytes until the line has been quiet for kQuietMs.
void drainLine(RadioLink& link);

} // namespace board

// Read Data from Trunking Board. Result 0: the image's 0x8001-0x818C hold the
// cleaned board data; otherwise the image is untouched. A TransferResult.
int readTrunkingBoard(RadioLink& link, CDataImage& image, TransferUi& ui);

// Write Data to Trunking Board. The access code is stored into the image's board
// data first (see board::storeAccessCode), as is '0' at 96-99; 2 with the "Access
// Code Error" box when the stored code area is not all digits.
int writeTrunkingBoard(RadioLink& link, CDataImage& image, TransferUi& ui);

} // namespace vrl
