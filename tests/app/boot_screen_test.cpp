// Real ROMs booted headless for 100 frames: the text on the screen is read back from screen
// memory with the ROM's own character set, and the frame bitmap's colours are checked in the
// screenshot. Nothing is compared with a picture of our own making.
#include <array>

#include <gtest/gtest.h>

#include "support/testdata.h"
#include "vespin_run_helper.h"

namespace vespin::test {
namespace {

constexpr int kFontOffset = 0x3D00; // character 0x20 in the 48K BASIC ROM
constexpr uint8_t kWhiteSlot = 17, kBlackSlot = 10;

std::vector<uint8_t> FromHex(const std::string& hex) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

// The 24 text lines of a 6144-byte screen bitmap: each cell whose eight bytes equal a glyph
// of the font (characters 0x20..0x7F) gives that character, any other cell '?'.
std::vector<std::string> ReadScreenText(const std::vector<uint8_t>& screen,
                                        const std::vector<uint8_t>& rom) {
    std::vector<std::string> lines(24);
    for (int row = 0; row < 24; ++row) {
        for (int column = 0; column < 32; ++column) {
            std::array<uint8_t, 8> cell{};
            for (int k = 0; k < 8; ++k) {
                cell[static_cast<size_t>(k)] = screen[static_cast<size_t>(
                    ((row & 0x18) << 8) | (k << 8) | ((row & 7) << 5) | column)];
            }
            char found = '?';
            for (int ch = 0x20; ch < 0x80 && found == '?'; ++ch) {
                const auto glyph = rom.begin() + kFontOffset + (ch - 0x20) * 8;
                if (std::equal(cell.begin(), cell.end(), glyph)) found = static_cast<char>(ch);
            }
            lines[static_cast<size_t>(row)] += found;
        }
    }
    return lines;
}

struct BootCase {
    const char* name;
    std::vector<std::string> romArgs; // relative to the ROM folder, which is the current one
    const char* reset;
    const char* fontRom; // the 48K BASIC ROM whose character set prints the text
    std::vector<std::string> expectedText;
};

class BootScreenTest : public ::testing::TestWithParam<BootCase> {};

TEST_P(BootScreenTest, ShowsTheRomsStartScreen) {
    const BootCase& c = GetParam();
    if (VespinRunPath().empty()) GTEST_SKIP() << "vespin-run is not built";
    const auto romDir = TestDataPath("roms");
    VESPIN_REQUIRE_TESTDATA(romDir / "Pentagon.Rom");
    const auto shot =
        std::filesystem::temp_directory_path() / (std::string("vespin_boot_") + c.name + ".png");

    std::vector<std::string> args = c.romArgs;
    for (std::string a :
         {"--reset", c.reset, "--frames", "100", "--peek", "0x4000:6912", "--screenshot"}) {
        args.push_back(a);
    }
    args.push_back(shot.string());
    const RunOutput r = RunVespin(args, romDir);
    ASSERT_EQ(r.exitCode, 0) << r.err;

    const std::vector<uint8_t> screen = FromHex(r.out.substr(0, r.out.find('\n')));
    ASSERT_EQ(screen.size(), 6912u);
    const std::vector<uint8_t> rom = ReadTestFile(romDir / c.fontRom);
    ASSERT_EQ(rom.size(), 16384u);
    std::string text;
    for (const std::string& line : ReadScreenText(screen, rom))
        text += line + "\n";
    for (const std::string& expected : c.expectedText) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " missing in\n" << text;
    }

    const IndexedImage image = ReadIndexedPng(shot);
    std::filesystem::remove(shot);
    ASSERT_EQ(image.width, 384);
    EXPECT_EQ(image.At(0, 0), kWhiteSlot);     // border, top left
    EXPECT_EQ(image.At(383, 287), kWhiteSlot); // border, bottom right
    EXPECT_EQ(image.At(10, 150), kWhiteSlot);  // left border beside the paper
    EXPECT_EQ(image.At(64, 48), kWhiteSlot);   // empty paper, top left cell
    // The copyright line (character row 23) has black ink on the white paper.
    int ink = 0;
    for (int y = 48 + 184; y < 48 + 192; ++y) {
        for (int x = 64; x < 320; ++x)
            ink += image.At(x, y) == kBlackSlot;
    }
    EXPECT_GT(ink, 100);
}

INSTANTIATE_TEST_SUITE_P(
    Roms, BootScreenTest,
    ::testing::Values(
        BootCase{
            "Basic48", {"--rom48", "48.rom"}, "0", "48.rom", {"\x7F 1982 Sinclair Research Ltd"}},
        BootCase{"Spectrum128",
                 {"--rom48", "128-1.rom", "--rom128", "128-0.rom", "--romdos", "trdos503.rom"},
                 "2",
                 "128-1.rom",
                 {"\x7F 1986 Sinclair Research Ltd", "128 BASIC", "Tape Tester"}},
        BootCase{"PentagonDefaults",
                 {},
                 "2",
                 "128-1.rom",
                 {"\x7F 1986 Sinclair Research Ltd", "128 BASIC", "TR-DOS"}}),
    [](const ::testing::TestParamInfo<BootCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace vespin::test
