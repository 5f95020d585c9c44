// The radio's serial number for the history, asked in a short exchange of its own
// after a read or a write: open, programming mode, identity, information block,
// end, close. It asks the person nothing and never retries: a radio that does not
// answer simply leaves the event without a serial number.
#pragma once

#include "link/radio_link.h"

#include <string>

namespace vrl {

struct SerialAnswer {
    enum Outcome { Known, OldFirmware, NoAnswer } outcome = NoAnswer;
    std::string serial; // blanks trimmed; empty unless Known
    IdentityBytes identity{};
};

SerialAnswer querySerialNumber(RadioLink& link);

} // namespace vrl
