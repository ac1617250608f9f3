#include "debugger/number_format.h"

#include <gtest/gtest.h>

namespace vespin {
namespace {

TEST(NumberFormat, Widths) {
    EXPECT_EQ(Hex2(0x0A), "0A");
    EXPECT_EQ(Hex4(0xBEEF), "BEEF");
    EXPECT_EQ(Hex4(0x00F), "000F");
    EXPECT_EQ(Hex8(0x1234ABCD), "1234ABCD");
    EXPECT_EQ(HexShort(0), "#0");
    EXPECT_EQ(HexShort(4096), "#1000");
    EXPECT_EQ(HexShort(0xFFFFFFFF), "#FFFFFFFF");
    EXPECT_EQ(HashHex4(0x00A0), "#00A0");
    EXPECT_EQ(Dec3(7), "007");
    EXPECT_EQ(Dec3(255), "255");
    EXPECT_EQ(Dec5(65535), "65535");
    EXPECT_EQ(Dec5(42), "00042");
    EXPECT_EQ(DecShort(0), "0");
    EXPECT_EQ(DecShort(4294967295u), "4294967295");
    EXPECT_EQ(Bin8(0x81), "10000001");
    EXPECT_EQ(Bin16(0x8001), "1000000000000001");
}

TEST(NumberFormat, PrintableChar) {
    EXPECT_EQ(PrintableChar(31), ".");
    EXPECT_EQ(PrintableChar(0), ".");
    EXPECT_EQ(PrintableChar(' '), " ");
    EXPECT_EQ(PrintableChar('A'), "A");
    EXPECT_EQ(PrintableChar(200), std::string(1, static_cast<char>(200)));
}

} // namespace
} // namespace vespin
