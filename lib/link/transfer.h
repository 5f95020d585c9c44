// The radio exchanges as whole operations: Read Data from Radio, Write Data to
// Radio, the radio information query and the check-sum query. Each brackets its
// work (close, open, work, end programming mode, close) on every path and asks the
// person everything through a TransferUi.
#pragma once

#include "link/identity_check.h"
#include "link/radio_link.h"
#include "link/transfer_ui.h"
#include "model/radio_data.h"

#include <array>
#include <string>
#include <vector>

namespace vrl {

enum TransferResult : int {
    kTransferOk = 0,
    kTransferStopped = 1,      // by the user, or by an error already reported
    kTransferStoppedQuiet = 2, // after the exchange itself, or a confirmation refused
    kTransferRunAgain = 3,
};

// Which blocks a transfer moves, from the image's block directory. Blocks beyond
// the radio memory (0x80 and up) are never moved, whatever the directory says.
struct BlockPlan {
    std::array<bool, 256> blocks{};
    int total = 0; // the blocks moved, block 0 included
    bool moves(int block) const { return blocks[static_cast<size_t>(block)]; }
};

// Read: block 0, 1-2, 7-15, 0x50-0x53, 0x58-0x7F, and the directory ranges unless the
// first directory word is 0xFFFF. 56 blocks for a blank directory.
BlockPlan readPlan(const std::array<uint16_t, 6>& directory);
// Write: 0-2, 7-15, 0x50-0x53, 0x58, 0x60-0x7F and the directory ranges (tested even
// when the first word is 0xFFFF). 49 blocks for a blank directory.
BlockPlan writePlan(const std::array<uint16_t, 6>& directory);
// Storage the radio reaches only through the channel index and the directory: the
// index area (blocks 3-6) and the record area (0x10-0x4F) outside the directory's
// ranges, all of both when the directory is blank. Neither the radio nor a read
// looks at what lies there.
BlockPlan freeStorage(const std::array<uint16_t, 6>& directory);

// Blocks read with "T" and written with "Y".
inline bool isTBlock(int block) { return block >= 0x50 && block <= 0x53; }

// Result 0: the image holds the radio's memory (blocks not moved hold 0xFF) and the
// current model follows the radio. Otherwise the image may hold part of a read; the
// caller puts back the copy it took.
int readDataFromRadio(RadioLink& link, RadioData& data, TransferUi& ui);

struct WriteOptions {
    // Read every written block back before leaving programming mode, and every block
    // the write leaves alone outside free storage (read before the write too, so
    // that data stored in the wrong place is seen). A block that differs is
    // written once more and everything is read back again; a second difference
    // fails the write (TransferUi::showVerifyFailed).
    bool verify = true;
};

struct WriteReport {
    bool verified = false;        // the read-back found the radio equal to the data
    std::vector<int> mismatches;  // blocks that differed at the last read-back
    std::vector<int> rewritten;   // blocks written a second time after a difference
};

// The data check (write_check.h) is the caller's, before this is called.
int writeDataToRadio(RadioLink& link, RadioData& data, TransferUi& ui,
                     const WriteOptions& options = {}, WriteReport* report = nullptr);

// The radio's identity becomes the current model of the data after a read.
void adoptRadioIdentity(RadioData& data, const IdentityBytes& identity);

struct RadioInformation {
    IdentityBytes identity{};
    RadioIdentityInfo info;
    InfoBlock block{};
};

// 0 with `out` filled; 1 when stopped (messages already shown). The data are untouched.
int queryRadioInformation(RadioLink& link, TransferUi& ui, RadioInformation& out);

// The serial-number field as the Radio Information dialog shows it: the 32 bytes as
// characters, 0xFF as a blank, ending at the first 0 byte. Bytes outside printable
// ASCII are shown as '?'.
std::string infoBlockText(const InfoBlock& block);

// 0 with the two bytes in `sum`; 1 when cancelled (messages already shown).
int queryCheckSum(RadioLink& link, TransferUi& ui, std::array<uint8_t, 2>& sum);

// Four hexadecimal digits, first byte first ("1AF3").
std::string formatCheckSum(const std::array<uint8_t, 2>& sum);

} // namespace vrl
