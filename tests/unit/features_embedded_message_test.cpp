#include "features/embedded_message.h"
#include "model/data_image.h"

#include <gtest/gtest.h>

#include <string>

using namespace vrl;

namespace {
std::string bytesAt(const CDataImage& image, size_t offset, size_t n) {
    return image.readAscii(offset, n);
}
} // namespace

TEST(EmbeddedMessage, HelloOnLine1IsBlankPaddedAt0x200) {
    CDataImage image;
    EmbeddedMessage msg(image);
    EXPECT_EQ(msg.setLine(0, "HELLO"), "HELLO");
    EXPECT_EQ(bytesAt(image, 0x200, 32), "HELLO" + std::string(27, ' '));
    EXPECT_EQ(image.u8(0x220), 0xFF) << "line 2 untouched";
    EXPECT_EQ(image.u8(0x1FF), 0xFF) << "byte before the field untouched";
}

TEST(EmbeddedMessage, Line2IsStoredAt0x220) {
    CDataImage image;
    EmbeddedMessage msg(image);
    msg.setLine(1, "WORLD");
    EXPECT_EQ(bytesAt(image, 0x220, 5), "WORLD");
    EXPECT_EQ(image.u8(0x23F), ' ');
    EXPECT_EQ(image.u8(0x240), 0xFF) << "byte after the field untouched";
    EXPECT_EQ(msg.line(0), "");
    EXPECT_EQ(msg.line(1), "WORLD");
}

TEST(EmbeddedMessage, EmptyOrAllBlankLineIsStoredAsFF) {
    for (const char* text : {"", " ", "                                ", "      "}) {
        CDataImage image;
        image.fill(0x200, 32, 'X');
        EmbeddedMessage msg(image);
        EXPECT_EQ(msg.setLine(0, text), "") << '"' << text << '"';
        for (size_t i = 0; i < 32; ++i) ASSERT_EQ(image.u8(0x200 + i), 0xFF) << i;
    }
}

TEST(EmbeddedMessage, InnerBlanksAreKeptOnlyTrailingRunIsCut) {
    CDataImage image;
    EmbeddedMessage msg(image);
    EXPECT_EQ(msg.setLine(0, "  A B   "), "  A B");
    EXPECT_EQ(bytesAt(image, 0x200, 8), "  A B   ");
}

TEST(EmbeddedMessage, TextLongerThan32IsCut) {
    CDataImage image;
    EmbeddedMessage msg(image);
    const std::string text(40, 'Z');
    EXPECT_EQ(msg.setLine(0, text), std::string(32, 'Z'));
    EXPECT_EQ(msg.line(1), "") << "overflow must not reach line 2";
}

TEST(EmbeddedMessage, ReadingStopsAtFFOrNul) {
    CDataImage image;
    image.writeAscii(0x200, "AB");
    image.setU8(0x202, 0xFF);
    image.writeAscii(0x203, "CD");
    EmbeddedMessage msg(image);
    EXPECT_EQ(msg.line(0), "AB");
    image.setU8(0x202, 0x00);
    EXPECT_EQ(msg.line(0), "AB");
}

TEST(EmbeddedMessage, RegressionNonAsciiBytesAreStoredAsBlanks) {
    // UTF-8 or control characters would put bytes into the radio that its display
    // cannot show (and a multi-byte character could be cut in half at 32 bytes).
    CDataImage image;
    EmbeddedMessage msg(image);
    EXPECT_EQ(msg.setLine(0, "A\xC3\xA9" "B\tC"), "A  B C");
    EXPECT_EQ(msg.setLine(1, std::string("X\0Y", 3)), "X Y") << "NUL becomes a blank";
}

TEST(EmbeddedMessage, LineOutOfRangeIsRefused) {
    CDataImage image;
    EmbeddedMessage msg(image);
    EXPECT_THROW(msg.line(2), std::out_of_range);
    EXPECT_THROW(msg.setLine(-1, "A"), std::out_of_range);
}
