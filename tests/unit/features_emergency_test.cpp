// Emergency codes and recognition bits through the field table.
#include "features/emergency_settings.h"
#include "field_test_support.h"

using namespace vrl;
using namespace vrl::field_test;

namespace {
std::vector<int> bytesAt(const CDataImage& image, size_t offset) {
    std::vector<int> out;
    for (size_t i = 0; i < EmergencySettings::kCodeRecordSize; ++i)
        out.push_back(image.u8(offset + i));
    return out;
}
} // namespace

TEST(EmergencySettings, CodesStoreNibblesAndDigitCount) {
    const struct {
        const char* key;
        size_t offset;
        const char* value;
        const char* shown;
        std::vector<int> bytes;
    } cases[] = {
        {"emergency.emergency_code", 0x7280, "12A#", "12A#", {0x21, 0xFA, 0xFF, 0xFF, 0xFF, 0x04}},
        {"emergency.emergency_ack_code", 0x7286, "d", "D", {0xFD, 0xFF, 0xFF, 0xFF, 0xFF, 0x01}},
        {"emergency.emergency_reset_code",
         0x728C,
         "1234567890",
         "1234567890",
         {0x21, 0x43, 0x65, 0x87, 0x09, 0x0A}},
        {"emergency.emergency_code", 0x7280, "*0b", "*0B", {0x0E, 0xFB, 0xFF, 0xFF, 0xFF, 0x03}},
        {"emergency.emergency_code", 0x7280, "", "", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const auto& c : cases) {
        Doc doc(kMobile128M);
        doc.image().fill(c.offset, 6, 0x00); // a previous code to be overwritten
        EXPECT_EQ(doc.set(c.key, c.value), c.shown) << c.key << "=" << c.value;
        EXPECT_EQ(bytesAt(doc.image(), c.offset), c.bytes) << c.key << "=" << c.value;
    }
}

TEST(EmergencySettings, StoredCodeReadsUpToItsCount) {
    const struct {
        std::vector<int> bytes;
        const char* shown;
    } cases[] = {
        {{0x21, 0xFA, 0x00, 0x00, 0x00, 0x03}, "12A"},
        {{0x21, 0xFA, 0x00, 0x00, 0x00, 0x00}, ""},
        {{0x21, 0xFA, 0x00, 0x00, 0x00, 0x0B}, ""}, // more digits than the record holds
        {{0x21, 0xFA, 0x00, 0x00, 0x00, 0xFF}, ""},
    };
    for (const auto& c : cases) {
        Doc doc(kMobile8M);
        for (size_t i = 0; i < 6; ++i)
            doc.image().setU8(0x7286 + i, static_cast<uint8_t>(c.bytes[i]));
        EXPECT_EQ(doc.shown("emergency.emergency_ack_code"), c.shown) << c.bytes[5];
    }
}

TEST(EmergencySettings, LongCodeDoesNotOverwriteTheCountByte) {
    Doc doc(kMobile128M);
    EmergencySettings e(doc.image());
    EXPECT_EQ(e.setCodeText(EmergencySettings::Code::Emergency, "123456789012"), "1234567890");
    EXPECT_EQ(doc.image().u8(0x7285), 10);
    EXPECT_EQ(doc.image().u8(0x7286), 0xFF); // the ack code record is untouched
    EXPECT_EQ(doc.set("emergency.emergency_code", "12345678901"),
              "refused: at most 10 characters are accepted");
    EXPECT_EQ(doc.set("emergency.emergency_code", "12E"),
              "refused: the character 'E' is not accepted");
}

TEST(EmergencySettings, RecognitionChecksKeepTheOtherBits) {
    Doc doc(kMobile128M);
    doc.image().setU8(0x91, 0xA4);
    EXPECT_EQ(doc.set("emergency.emergency_mode_recognition", "on"), "on");
    EXPECT_EQ(doc.image().u8(0x91), 0xA5);
    EXPECT_EQ(doc.set("emergency.emergency_ack_recognition", "yes"), "on");
    EXPECT_EQ(doc.image().u8(0x91), 0xA7);
    EXPECT_EQ(doc.set("emergency.emergency_mode_recognition", "off"), "off");
    EXPECT_EQ(doc.image().u8(0x91), 0xA6);
}

TEST(EmergencySettings, OfferedOnMobilesOutsideMarketK) {
    const struct {
        int row;
        bool offered;
    } cases[] = {{kMobile128M, true}, {kMobile8M, true},     {kMobile128K, false},
                 {kMobile8K, false},  {kPortable16M, false}, {kPortable128K, false}};
    for (const auto& c : cases)
        EXPECT_EQ(findField(Doc(c.row).ctx, "emergency.emergency_code").has_value(), c.offered)
            << c.row;
}
