#include "link/serial_query.h"

#include "history/history.h"
#include "link/transfer.h"

namespace vrl {

SerialAnswer querySerialNumber(RadioLink& link) {
    SerialAnswer answer;
    link.setBlockLength(kRadioBlockLength);
    if (!link.reopen()) return answer;
    InfoBlock block{};
    int result = kLinkFailed;
    if (link.enterProgramMode() == kLinkOk && link.readIdentity(answer.identity) == kLinkOk)
        result = link.readRadioInformation(block);
    link.endProgramMode();
    link.setOpen(false);
    if (result == kLinkNotSupported) {
        answer.outcome = SerialAnswer::OldFirmware;
    } else if (result == kLinkOk) {
        answer.outcome = SerialAnswer::Known;
        answer.serial = history::trimSerial(infoBlockText(block));
    }
    return answer;
}

} // namespace vrl
