// The data check run before a radio write: three inconsistencies that the radio
// would act on badly.
#pragma once

#include "model/data_image.h"

namespace vrl {

struct WriteCheck {
    bool scanWithoutPriority = false;  // A: scan setting "0" and no priority channel
    bool homeKeyWithoutHome = false;   // B: a key holds Home Channel, no home channel set
    bool incompleteTrunkGroup = false; // C: a trunking group with a blank channel position

    // The message to show (44, 45, 46 or 48), 0 when the data may be written.
    int messageText() const;
    // A and B end the write dialog; C leaves it open. Either way nothing is sent.
    bool closesDialog() const { return scanWithoutPriority || homeKeyWithoutHome; }
    bool passes() const { return messageText() == 0; }
};

WriteCheck checkDataForWrite(const CDataImage& image);

} // namespace vrl
