// Model questions that the settings windows' enable and show rules ask. They
// read the identity in the image (0x00A7..0x00AE) and the model table, so every
// window, the command line and the print-out answer them alike.
#pragma once

#include "model/data_image.h"

#include <string_view>

namespace vrl::predicates {

// The family letter of the model code at 0x00A7: 'P' portable, 'M' mobile.
bool isPortable(const CDataImage& image);
bool isMobile(const CDataImage& image);
// The current model's channel count: 8, 16, 32 or 128 (8 when no row matches).
int channelCount(const CDataImage& image);
// The model-table label of the current model ("" when no row matches).
std::string_view modelLabel(const CDataImage& image);
// Market variant of the label: K = 1, E = 2, (N)E = 3, M = 4, C = 5,
// (N)E,(N)T = 6; anything else counts as 1.
int variantCode(const CDataImage& image);
// The trunking board is the option board: bit 5 of 0x00AD clear.
bool hasTrunkingBoard(const CDataImage& image);
// Channel count 32 or 128: the models with the scan window.
bool isWideModel(const CDataImage& image);
// Channel count 128, or 32 with the trunking board: the models with group names
// and group scan.
bool hasGroupNames(const CDataImage& image);
// RM-150A and RM-450A (model codes M1500 and M4500), every market.
bool isKeyDetectionModel(const CDataImage& image);
// The two portables with the battery warning settings.
bool isBatteryWarningModel(const CDataImage& image);
// The models with a DTMF keypad: channel count 128, or 8 on a mobile.
bool isKeypadModel(const CDataImage& image);
// An 8- or 16-channel portable.
bool isSmallPortable(const CDataImage& image);
// The trunking board's speed-dial memories: channel count 128, or a mobile.
bool hasSpeedDialMemories(const CDataImage& image);
// The models that can show a caller's DTMF number: RM-160A, RM-460A, RP-120A and
// RP-420A of market M, RM-150A and RM-450A of markets M and C (the 128-channel
// RM-450A of market C only on bands 6 and 8).
bool isNumberDisplayModel(const CDataImage& image);

} // namespace vrl::predicates
