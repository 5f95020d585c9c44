// One function per settings area, each returning the area's name, window title
// and table builder. Defined in the area's own source file.
#pragma once

#include "features/field_table.h"

namespace vrl {

FieldArea optionalFeaturesArea(); // "optional"
FieldArea scanArea();             // "scan"
FieldArea dtmfArea();             // "dtmf"
FieldArea twoToneArea();          // "twotone"
FieldArea emergencyArea();        // "emergency"
FieldArea operatorSelToneArea();  // "ost"
FieldArea trunkingArea();         // "trunking"
FieldArea testFrequencyArea();    // "test_frequency"
FieldArea embeddedMessageArea();  // "message"
FieldArea extendedFunctionArea(); // "extended"
FieldArea groupSettingsArea();    // "group"

} // namespace vrl
