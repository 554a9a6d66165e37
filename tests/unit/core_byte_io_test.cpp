#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "core/byte_io.h"

TEST(ByteIo, Int32AndTextRoundTripLittleEndian) {
    ByteWriter writer;
    writer.writeInt32(-2);
    writer.writeUint32(0x01020304u);
    writer.writeText("abc", 6);
    const std::vector<uint8_t> bytes = writer.bytes();
    ASSERT_EQ(bytes.size(), 14u);
    EXPECT_EQ(bytes[4], 0x04);  // lowest byte first
    EXPECT_EQ(bytes[7], 0x01);
    EXPECT_EQ(bytes[11], 0);  // the text field is NUL-padded

    ByteReader reader(bytes);
    int32_t negative = 0;
    uint32_t bits = 0;
    std::string text;
    ASSERT_TRUE(reader.readInt32(negative));
    ASSERT_TRUE(reader.readInt32(bits));
    ASSERT_TRUE(reader.readText(text, 6));
    EXPECT_EQ(negative, -2);
    EXPECT_EQ(bits, 0x01020304u);
    EXPECT_EQ(text, "abc");
    EXPECT_EQ(reader.remaining(), 0u);
}

TEST(ByteIo, ShortInputIsRefusedWithoutMoving) {
    const std::vector<uint8_t> bytes = {1, 2, 3};
    ByteReader reader(bytes);
    int32_t value = 7;
    std::string text = "kept";
    EXPECT_FALSE(reader.readInt32(value));
    EXPECT_FALSE(reader.readText(text, 4));
    EXPECT_EQ(reader.remaining(), 3u);
    EXPECT_TRUE(reader.readText(text, 3));  // a full field without a NUL
    EXPECT_EQ(text, std::string("\x01\x02\x03"));
}

TEST(ByteIo, LongTextIsCutToItsField) {
    ByteWriter writer;
    writer.writeText("abcdef", 4);
    ByteReader reader(writer.bytes());
    std::string text;
    ASSERT_TRUE(reader.readText(text, 4));
    EXPECT_EQ(text, "abcd");
}

TEST(ByteIo, CountsAreCheckedAgainstTheBytesLeft) {
    const std::vector<uint8_t> bytes(24, 0);
    ByteReader reader(bytes);
    EXPECT_TRUE(reader.fits(2, 12));
    EXPECT_FALSE(reader.fits(3, 12));
    EXPECT_FALSE(reader.fits(-1, 12));
    EXPECT_FALSE(reader.fits(std::numeric_limits<int32_t>::max(), 12));
    EXPECT_TRUE(reader.fits(0, 12));
}
