// Command numbers of the main frame's menus, tool bar, accelerators and tree view.
#pragma once

namespace vrl::gui::cmd {

inline constexpr int kFileNew = 32808;
inline constexpr int kFileOpen = 32809;
inline constexpr int kFileSave = 32810;
inline constexpr int kFileSaveAs = 32811;
inline constexpr int kFilePrint = 57607;
inline constexpr int kFilePrintPreview = 57609;
inline constexpr int kFileExportPdf = 32812;
inline constexpr int kFileImportChannels = 32813;
inline constexpr int kFileExportChannels = 32814;
inline constexpr int kFileCompare = 32815;
inline constexpr int kCompareWithRadio = 32816;
inline constexpr int kFleetProgramming = 32817;
inline constexpr int kFileExit = 57665;
inline constexpr int kEditUndo = 57643;
inline constexpr int kEditRedo = 57644;
inline constexpr int kModelInformation = 32771;
inline constexpr int kReadFromRadio = 32782;
inline constexpr int kWriteToRadio = 32783;
inline constexpr int kTestMode = 32784;
inline constexpr int kReadFromTrunkingBoard = 32785;
inline constexpr int kWriteToTrunkingBoard = 32786;
inline constexpr int kTrunkingAlignment = 32787;
inline constexpr int kMemoryMap = 32788;
inline constexpr int kRadioInformation = 32789;
inline constexpr int kCheckSum = 32806;
inline constexpr int kRadioHistory = 32841;
inline constexpr int kCommunicationPort = 32796;
inline constexpr int kLanguageSetup = 32807;
inline constexpr int kTreeView = 32790;
inline constexpr int kCloseAllWindows = 32793;
inline constexpr int kCascade = 57650;
inline constexpr int kTileHorizontal = 57651;
inline constexpr int kTileVertical = 57652;
inline constexpr int kArrangeIcons = 57649;
inline constexpr int kViewToolbar = 59392;
inline constexpr int kViewStatusBar = 59393;
inline constexpr int kHelpTopics = 57667;
inline constexpr int kAbout = 57664;

// Function windows.
inline constexpr int kChannelInformation = 32794;
inline constexpr int kOptionalFeatures = 32772;
inline constexpr int kKeyAssignment = 32773;
inline constexpr int kScan = 32774;
inline constexpr int kDtmf = 32775;
inline constexpr int kTwoTone = 32776;
inline constexpr int kTrunking = 32777;
inline constexpr int kEmergency = 32778;
inline constexpr int kOperatorSelTone = 32779;
inline constexpr int kTestFrequency = 32780;
inline constexpr int kEmbeddedMessage = 32781;
inline constexpr int kExtendedFunction = 32795;
inline constexpr int kChannelEdit = 40025;
inline constexpr int kGroupEdit = 40020;

} // namespace vrl::gui::cmd
