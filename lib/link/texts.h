// Language-text indices of the radio link's messages, and English wording for
// front ends that run without the language file.
#pragma once

#include <string_view>

namespace vrl::texts {

inline constexpr int kPortOpenFailed = 25;      // OK, error
inline constexpr int kPortPermissionHint = 485; // follows kPortOpenFailed: the dialout fix
inline constexpr int kCommFailed = 26;          // Retry/Cancel, error
inline constexpr int kIdentityRejected = 27;    // Retry/Cancel, error
inline constexpr int kRadioDataDiffer = 28;     // OK/Cancel, warning, Cancel default
inline constexpr int kTestChannelsDiffer = 29;  // OK, error (test mode)
inline constexpr int kRadioNotMatching = 30;    // OK, error (test mode)
inline constexpr int kPasswordRejected = 31;    // OK, error
inline constexpr int kOldFirmwarePasswords = 33; // OK/Cancel, error
inline constexpr int kInfoNotSupported = 34;    // OK, error
inline constexpr int kTrunkReadDone = 35;
inline constexpr int kAlignConfirm = 40;       // OK/Cancel, warning, caption 82
inline constexpr int kAlignTransmitting = 49;
inline constexpr int kBoardNoEcho = 51;        // OK, error
inline constexpr int kReadDone = 36;
inline constexpr int kTrunkWriteDone = 42;
inline constexpr int kWriteDone = 43;
inline constexpr int kCheckScanAndHome = 44;
inline constexpr int kCheckScan = 45;
inline constexpr int kCheckHome = 46;
inline constexpr int kDataHasPassword = 47;     // OK/Cancel, exclamation (+ line break)
inline constexpr int kCheckTrunkGroups = 48;
inline constexpr int kEndNotConfirmed = 73;    // OK, warning
inline constexpr int kCaptionWarning = 78;
inline constexpr int kCaptionError = 79;
inline constexpr int kCaptionCaution = 82;
inline constexpr int kAccessCodeTitle = 461;
inline constexpr int kAlignTitle = 527;
// The box shown when the board data hold no valid access code (no language text).
inline constexpr const char* kAccessCodeError = "Access Code Error";
inline constexpr int kRadioMobile = 161;
inline constexpr int kRadioPortable = 162;
inline constexpr int kProgressLabel = 481;      // "%s %d / %d"
inline constexpr int kPasswordTitle = 482;
inline constexpr int kPasswordPrompt = 528;
inline constexpr int kCheckSumPleaseWait = 534;

// Firmware warning dialogs before a write.
inline constexpr int kWarningDialog16Ch = 186;
inline constexpr int kWarningDialogClass = 189;
// Their wording and their CONTINUE button in the language file.
inline constexpr int kFirmwareWarning16Ch = 52;
inline constexpr int kFirmwareWarningClass = 53;
inline constexpr int kContinueButton = 54;

// English wording of a message, for output without the language file; empty when
// the index is not one of the link's messages.
std::string_view englishText(int index);

} // namespace vrl::texts
