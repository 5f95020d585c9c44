#include "link/texts.h"

namespace vrl::texts {

std::string_view englishText(int index) {
    switch (index) {
    case kPortOpenFailed: return "The communication port cannot be opened.";
    case kPortPermissionHint:
        return "Permission denied: add your user to the dialout group (sudo usermod -aG dialout $USER), then "
               "log out and in again.";
    case kCommFailed: return "Communication with the radio failed.";
    case kIdentityRejected: return "The radio's model is not supported.";
    case kRadioDataDiffer: return "The radio and the data are of different models. Write anyway?";
    case kTestChannelsDiffer:
        return "The radio's test frequencies differ from the data; write the data to the radio "
               "first.";
    case kRadioNotMatching:
        return "The radio does not match the data (model, variant, or old firmware with "
               "passwords).";
    case kPasswordRejected: return "The password or access code was rejected.";
    case kOldFirmwarePasswords:
        return "The radio's firmware cannot keep passwords. Clear the passwords and write?";
    case kInfoNotSupported: return "The radio's firmware has no information block.";
    case kAlignConfirm:
        return "The radio will now transmit DTMF tone 9 continuously. Connect a dummy load. Continue?";
    case kAlignTransmitting: return "Now transmitting DTMF tone 9.";
    case kBoardNoEcho: return "The trunking board does not answer.";
    case kTrunkReadDone:
    case kReadDone: return "Reading finished.";
    case kTrunkWriteDone:
    case kWriteDone: return "Writing finished.";
    case kCheckScanAndHome:
        return "Set a priority channel (scan setting) and a home channel before writing.";
    case kCheckScan: return "The scan setting needs a priority channel.";
    case kCheckHome: return "A key holds Home Channel but no home channel is set.";
    case kDataHasPassword: return "The data carry a data password. Go on?";
    case kCheckTrunkGroups: return "Every channel of a trunking group needs a receive frequency.";
    case kWarningDialog16Ch:
        return "The radio's firmware is older than 2.2; this model's data need 2.2 or newer.";
    case kWarningDialogClass:
        return "The radio's firmware is older than 2.3; this model's data need 2.3 or newer.";
    case kEndNotConfirmed:
        return "The radio did not confirm the end of programming mode. Switch the radio off and "
               "on again before using it.";
    default: return {};
    }
}

} // namespace vrl::texts
