// ST/CST tone codes: the texts typed into a tone field, the codes they store and
// the texts stored codes show.
#include "model/tone_code.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace vrl;

namespace {
const std::string kOff = "None";

std::string normalized(std::string text) {
    NormalizeToneText(text);
    return text;
}
} // namespace

struct TypedTone {
    const char* typed;
    ToneCode stored;
    const char* shown;
};

TEST(ToneCode, TypedTextStoresAndShowsKnownAnswers) {
    const std::vector<TypedTone> cases = {
        {"67", 670, "67.0"},
        {"66.9", 670, "67.0"},    // below the lowest tone: clamped up
        {"300", 2503, "250.3"},   // above the highest tone: clamped down
        {"100.05", 1000, "100.0"}, // normalization truncates, never rounds up
        {"250.3", 2503, "250.3"},
        {"88.5", 885, "88.5"},
        {"123.49", 1234, "123.4"},
        {".", 670, "67.0"},       // no number at all counts as 0, clamped
        {"D23", 0x2898, "D230N"}, // zeros are appended, not prepended
        {"D023N", 0x2813, "D023N"},
        {"D754I", 0xA9EC, "D754I"},
        {"D189I", 0xA87F, "D177I"}, // digits above 7 become 7
        {"D0231", 0x2813, "D023N"}, // a fifth character other than I means N
        {"D", 0x2800, "D000N"},
        {"", kToneOff, "None"},
        {"None", kToneOff, "None"},
    };
    for (const auto& c : cases) {
        const ToneCode code = ParseTone(c.typed, kOff);
        EXPECT_EQ(code, c.stored) << c.typed;
        EXPECT_EQ(FormatTone(code, kOff), c.shown) << c.typed;
    }
}

TEST(ToneCode, NormalizedTextKeepsItsForm) {
    EXPECT_EQ(normalized(""), "");
    EXPECT_EQ(normalized("D23"), "D230N");
    EXPECT_EQ(normalized("D189I"), "D177I");
    EXPECT_EQ(normalized("D0231"), "D023N");
    EXPECT_EQ(normalized("67"), "67.0");
    EXPECT_EQ(normalized("100.05"), "100.0");
    // Normal forms are fixed points.
    for (const std::string& tone : toneList()) EXPECT_EQ(normalized(tone), tone);
}

TEST(ToneCode, StoredCodesShowAsText) {
    EXPECT_EQ(FormatTone(0xFFFF, kOff), kOff);
    EXPECT_EQ(FormatTone(0x7FFF, kOff), kOff); // read from a radio as off
    // Bit 11 clear: only bits 15, 13 and 8-0 count when reading.
    EXPECT_EQ(FormatTone(0x2013, kOff), "D023N");
    EXPECT_EQ(FormatTone(0xA9EC, kOff), "D754I");
    EXPECT_EQ(FormatTone(670, kOff), "67.0");
    EXPECT_EQ(FormatTone(2503, kOff), "250.3");
}

TEST(ToneCode, ListHoldsTwoHundredFiveTonesInOrder) {
    const auto& list = toneList();
    ASSERT_EQ(list.size(), 205u);
    EXPECT_EQ(list[0], "67.0");
    EXPECT_EQ(list[12], "100.0");
    EXPECT_EQ(list[38], "250.3");
    EXPECT_EQ(list[39], "D023N");
    EXPECT_EQ(list[121], "D754N");
    EXPECT_EQ(list[122], "D023I");
    EXPECT_EQ(list[204], "D754I");
    // Each text stores a code that shows the same text again, and no two are equal.
    std::vector<ToneCode> codes;
    for (const std::string& tone : list) {
        const ToneCode code = ParseTone(tone, kOff);
        EXPECT_EQ(FormatTone(code, kOff), tone);
        codes.push_back(code);
    }
    std::sort(codes.begin(), codes.end());
    EXPECT_EQ(std::adjacent_find(codes.begin(), codes.end()), codes.end());
    // ST tones ascend; the inverted half mirrors the normal half.
    for (size_t i = 1; i < 39; ++i) EXPECT_LT(ParseTone(list[i - 1], kOff), ParseTone(list[i], kOff));
    for (size_t i = 0; i < 83; ++i) {
        std::string inverted = list[39 + i];
        inverted.back() = 'I';
        EXPECT_EQ(list[122 + i], inverted);
    }
}

TEST(ToneCode, WrittenCstCodesHaveBitElevenSet) {
    for (size_t i = 39; i < toneList().size(); ++i) {
        const ToneCode code = ParseTone(toneList()[i], kOff);
        EXPECT_EQ(code & 0x5E00, 0x0800) << toneList()[i]; // bit 11 set; 14, 12, 10, 9 clear
        EXPECT_TRUE(code & 0x2000);
    }
}

TEST(ToneCode, CharacterFilterTakesToneCharactersOnly) {
    EXPECT_EQ(filterToneChar('d'), 'D');
    EXPECT_EQ(filterToneChar('i'), 'I');
    EXPECT_EQ(filterToneChar('n'), 'N');
    for (char c : std::string("0123456789.,DIN")) EXPECT_EQ(filterToneChar(c), c);
    for (char c : std::string("aAeEzZ -+/x")) EXPECT_EQ(filterToneChar(c), 0) << c;
}

TEST(ToneCode, ReadAndWriteLittleEndian) {
    std::vector<uint8_t> image(8, 0);
    writeTone(image, 2, 0xA9EC);
    EXPECT_EQ(image[2], 0xEC);
    EXPECT_EQ(image[3], 0xA9);
    EXPECT_EQ(readTone(image, 2), 0xA9EC);
}
