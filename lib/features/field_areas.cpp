// The list of settings areas, in the order of the Edit menu's windows. An area's
// own file builds its table; adding an area is one line here.
#include "features/field_table.h"

#include "features/field_areas.h"

namespace vrl {

const std::vector<FieldArea>& fieldAreas() {
    static const std::vector<FieldArea> areas{
        optionalFeaturesArea(),
        scanArea(),
        dtmfArea(),
        twoToneArea(),
        trunkingArea(),
        emergencyArea(),
        operatorSelToneArea(),
        testFrequencyArea(),
        embeddedMessageArea(),
        extendedFunctionArea(),
        groupSettingsArea(),
    };
    return areas;
}

} // namespace vrl
