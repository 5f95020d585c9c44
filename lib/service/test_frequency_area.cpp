// The test frequency table as a field-table area: `test_frequency.N.receive` and
// `test_frequency.N.transmit` (N 1-16), edited as the test frequency window's
// cells are, with the all-blank rule that loads the band's default table.
#include "features/field_areas.h"
#include "service/test_frequency.h"

namespace vrl {

FieldArea testFrequencyArea() {
    FieldArea area;
    area.name = "test_frequency";
    area.titleText = testfreqtext::kTitle;
    area.build = [](const FieldContext& c) {
        FieldTable table;
        for (int n = 1; n <= kTestChannelCount; ++n) {
            for (const bool receive : {true, false}) {
                Field f;
                f.key = "test_frequency." + std::to_string(n) + (receive ? ".receive" : ".transmit");
                f.label = std::to_string(n) + " " +
                          c.text(receive ? testfreqtext::kReceiveHeader : testfreqtext::kTransmitHeader);
                f.kind = FieldKind::Cell;
                f.allowed = "0123456789.,";
                f.maxLength = 10;
                f.text = [n, receive](const FieldContext& x) {
                    TestFrequencyTable t(x.data);
                    return receive ? t.receiveText(n) : t.transmitText(n);
                };
                f.setText = [n, receive](FieldContext& x, const std::string& text) {
                    TestFrequencyTable t(x.data);
                    if (receive) t.setReceiveText(n, text);
                    else t.setTransmitText(n, text);
                };
                f.warning = [](const FieldContext& x, const std::string& text) {
                    return TestFrequencyTable(x.data).outOfBand(text) ? testfreqtext::kOutOfBand : -1;
                };
                table.push_back(std::move(f));
            }
        }
        return table;
    };
    return area;
}

} // namespace vrl
