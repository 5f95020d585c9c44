// What the program makes of a radio's identity and firmware: acceptance against the
// model table, the radio-versus-data comparison before a write, and the firmware
// warnings.
#pragma once

#include "link/radio_link.h"
#include "model/data_image.h"
#include "model/model_table.h"

#include <optional>
#include <string>

namespace vrl {

// The model a radio's identity stands for, as the radio information shows it.
struct RadioIdentityInfo {
    int row = kNoRow;
    std::string label;    // model-table label, empty for the special codes
    std::string vhfUhf;   // "VHF", "UHF" or empty
    int radioTypeText = -1; // language text 161 mobile, 162 portable
    std::string band;     // band text of the identity's band code
};

enum class IdentityMode : int {
    TestMode = 0, // table lookup only
    Read = 1,     // read and radio information: special codes accepted at once
    Write = 2,    // write: special codes accepted at once
};

// The two special identities ("P9900", "M9800") that need no table lookup.
bool isSpecialIdentity(const IdentityBytes& identity);

// nullopt when the identity is not accepted in that mode.
std::optional<RadioIdentityInfo> acceptIdentity(const IdentityBytes& identity, IdentityMode mode);

// True when the radio and the data do not match (the write then asks first). Rules, in
// order: the code is neither special nor one of the table's model codes; the identity
// starts "M1400" 0x14; bytes 0-6 (bit 0 of byte 6 set) differ from the data's; the
// identity is special.
bool radioDiffersFromData(const IdentityBytes& identity, const CDataImage& image);

// Whether the firmware version is below major.minor (bytes 1 and 3 of the text).
bool firmwareBelow(const FirmwareVersion& version, char major, char minor);

// The warning dialog a write must pass first: 186, 189, or 0 for none.
int firmwareWarningFor(int dataRow, const FirmwareVersion& version);

// The firmware text with trailing blanks and 0xFF removed.
std::string firmwareText(const FirmwareVersion& version);

} // namespace vrl
