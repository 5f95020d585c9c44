// Operator selectable tones through the field table: tone words of the 16 records.
#include "features/operator_sel_tone.h"
#include "field_test_support.h"

using namespace vrl;
using namespace vrl::field_test;

TEST(OperatorSelTone, StoredWordsShowAsToneTexts) {
    const struct {
        uint16_t word;
        const char* shown;
    } cases[] = {
        {0x2013, "D023N"}, {0xA013, "D023I"}, {670, "67.0"}, {0xFFFF, "T65"}, {0x7FFF, "T65"}};
    for (const auto& c : cases) {
        Doc doc(kMobile128K);
        doc.image().setU16(0x0700 + 16 * 4 + 2, c.word);
        EXPECT_EQ(doc.shown("ost.5.tone_2"), c.shown) << c.word;
    }
}

TEST(OperatorSelTone, TypedTonesStoreTheirWordAndLeaveTheRestOfTheRecord) {
    const struct {
        const char* key;
        size_t offset;
        const char* value;
        const char* shown;
        uint16_t word;
    } cases[] = {
        {"ost.1.tone_1", 0x0700, "88,5", "88.5", 885},
        {"ost.16.tone_2", 0x07F2, "d023i", "D023I", 0xA813},
        {"ost.16.tone_1", 0x07F0, "D9", "D700N", 0x29C0}, // padded, digits clamped to 7
        {"ost.8.tone_2", 0x0772, "300", "250.3", 2503},
        {"ost.8.tone_2", 0x0772, "", "T65", 0xFFFF},
    };
    for (const auto& c : cases) {
        Doc doc(kPortable32K);
        doc.image().fill(0x0700, 0x100, 0x00);
        EXPECT_EQ(doc.set(c.key, c.value), c.shown) << c.key << "=" << c.value;
        EXPECT_EQ(doc.image().u16(c.offset), c.word) << c.key << "=" << c.value;
        // Only the one word of the cell changed.
        int changed = 0;
        for (size_t i = 0x0700; i < 0x0800; ++i)
            changed += doc.image().u8(i) != 0x00;
        EXPECT_LE(changed, 2) << c.key;
    }
    Doc doc(kMobile128K);
    EXPECT_EQ(doc.set("ost.1.tone_1", "67.0x"), "refused: the character 'x' is not accepted");
    EXPECT_EQ(doc.set("ost.17.tone_1", "67.0"), "refused: no field ost.17.tone_1");
}

TEST(OperatorSelTone, OfferedOnWideModelsOfMarketK) {
    const struct {
        int row;
        bool offered;
    } cases[] = {{kMobile128K, true},  {kPortable32K, true}, {kPortable128K, true},
                 {kMobile128M, false}, {kMobile8K, false},   {kPortable16M, false}};
    for (const auto& c : cases) {
        Doc doc(c.row);
        EXPECT_EQ(findField(doc.ctx, "ost.16.tone_2").has_value(), c.offered) << c.row;
    }
}
