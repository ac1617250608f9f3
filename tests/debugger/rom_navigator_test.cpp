#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

#include "debugger/rom_navigator.h"
#include "support/testdata.h"

namespace vespin {
namespace {

namespace fs = std::filesystem;

TEST(RomCrc, StartsFromCdb4AndShiftsMostSignificantBitFirst) {
    EXPECT_EQ(RomCrc({}), 0xCDB4);
    const uint8_t one[] = {0x80};
    // 0xCDB4 ^ 0x8000 = 0x4DB4, then eight shifts with the polynomial where a 1 falls out.
    uint16_t expected = 0x4DB4;
    for (int i = 0; i < 8; ++i)
        expected =
            static_cast<uint16_t>(expected & 0x8000 ? (expected << 1) ^ 0x1021 : expected << 1);
    EXPECT_EQ(RomCrc(one), expected);
}

TEST(RomCrc, TheFirstMatchingTableEntryWins) {
    const KnownRom* rom = IdentifyRom(0x43B7);
    ASSERT_NE(rom, nullptr);
    EXPECT_EQ(rom->description, "TR-DOS 5.04TM");
    EXPECT_EQ(rom->pageAndCrc, 0x243B7u);
    EXPECT_EQ(IdentifyRom(0x0000), nullptr);
}

// The real ROM files, identified by CRC as the known-ROM table says.
TEST(TRomNavF, IdentifiesTheRealRoms) {
    struct Case {
        const char* file;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"48.rom", {"Original SOS (48k, 1982)"}},
        {"128-0.rom", {"Original 128k (128k, 1986)"}},
        {"128-1.rom", {"Original SOS (128k, 1986)"}},
        {"pentagon128-0.rom", {"ATM-1 Basic 128k"}}, // same bytes as that entry
        {"trdos503-variant.rom", {"TR-DOS 5.03"}},
        {"trdos503.rom", {"Unknown ROM"}},
        {"trdos504t.rom", {"Unknown ROM"}},
        {"trdos504tm.rom", {"TR-DOS 5.04TM"}},
        {"trdos505d.rom", {"TR-DOS 5.05D"}},
        {"opense.rom", {"Unknown ROM"}},
        {"Pentagon.Rom",
         {"ATM-1 Basic 128k", "Original SOS (128k, 1986)", "Unknown ROM",
          "Original SOS (128k, 1986)"}},
        {"scorpion.rom", {"Unknown ROM", "Unknown ROM", "Unknown ROM", "Unknown ROM"}},
    };
    for (const Case& c : cases) {
        const fs::path path = test::TestDataPath(std::string("roms/") + c.file);
        VESPIN_REQUIRE_TESTDATA(path);
        TRomNavF nav({}, {});
        nav.FileLEChange(path.string());
        std::vector<std::string> lines;
        for (const auto& line : nav.Images())
            lines.push_back(line.text);
        EXPECT_EQ(lines, c.lines) << c.file;
        EXPECT_EQ(nav.AutoSelectEnabled(), c.lines[0] != "Unknown ROM" && c.lines.size() == 1)
            << c.file;
    }
}

class RomFileTest : public testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("vespin_romnav_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }

    fs::path dir_;
    std::vector<std::pair<RomSlot, std::string>> written_;
    TRomNavF nav_{
        {}, [this](RomSlot slot, const std::string& ref) { written_.emplace_back(slot, ref); }};
};

TEST_F(RomFileTest, TwoImagesAreListedAndTheSecondIsReferencedWithItsIndex) {
    const fs::path rom48 = test::TestDataPath("roms/48.rom");
    VESPIN_REQUIRE_TESTDATA(rom48);
    std::vector<uint8_t> bytes(kPageSize, 0x55); // an unknown image, then the 48K ROM
    const auto basic = test::ReadTestFile(rom48);
    bytes.insert(bytes.end(), basic.begin(), basic.end());
    const std::string file = Write("two.rom", bytes);

    nav_.FileLEChange(file);
    ASSERT_EQ(nav_.Images().size(), 2u);
    EXPECT_FALSE(nav_.AutoSelectEnabled()); // one image is unknown

    nav_.ImagesLBClick(0);
    EXPECT_EQ(nav_.Description(), "Unknown ROM");
    EXPECT_EQ(nav_.DefaultPage(), -1);
    EXPECT_EQ(nav_.Reference(), file + ":0");
    EXPECT_FALSE(nav_.SelectEnabled()); // an unknown image is not offered

    nav_.ImagesLBClick(1);
    EXPECT_EQ(nav_.CrcLabel(), "#E98D");
    EXPECT_EQ(nav_.Description(), "Original SOS (48k, 1982)");
    EXPECT_EQ(nav_.DefaultPage(), 0);
    EXPECT_EQ(nav_.InPage(), 0);
    ASSERT_TRUE(nav_.SelectEnabled());
    nav_.PageCBChange(2); // the user puts it into the TR-DOS field
    nav_.LoadBClick();
    EXPECT_EQ(written_, (decltype(written_){{RomSlot::Trdos, file + ":1"}}));
    EXPECT_FALSE(nav_.SelectEnabled());

    // Pages without a field of their own write nothing.
    nav_.ImagesLBClick(1);
    nav_.PageCBChange(3);
    nav_.LoadBClick();
    EXPECT_EQ(written_.size(), 1u);
}

TEST_F(RomFileTest, BadFilesShowTheirMessage) {
    nav_.FileLEChange(Write("odd.rom", std::vector<uint8_t>(kPageSize + 1)));
    ASSERT_EQ(nav_.Images().size(), 1u);
    EXPECT_EQ(nav_.Images()[0].text, "Invalid Size");
    EXPECT_FALSE(nav_.FileFieldYellow());
    EXPECT_TRUE(nav_.PageListsEnabled());
    nav_.ImagesLBClick(0); // a message line selects nothing
    EXPECT_EQ(nav_.CrcLabel(), "-");
    EXPECT_FALSE(nav_.SelectEnabled());
    EXPECT_FALSE(nav_.AutoSelectEnabled());

    nav_.FileLEChange((dir_ / "missing.rom").string());
    EXPECT_TRUE(nav_.FileFieldYellow());
    EXPECT_TRUE(nav_.Images().empty());
    EXPECT_EQ(nav_.CrcLabel(), "-");
    EXPECT_FALSE(nav_.DescriptionEnabled());
    EXPECT_FALSE(nav_.PageListsEnabled());
    EXPECT_FALSE(nav_.AutoSelectEnabled());
}

TEST_F(RomFileTest, ImagesBeyondTheTenthCannotBeReferenced) {
    const fs::path rom48 = test::TestDataPath("roms/48.rom");
    VESPIN_REQUIRE_TESTDATA(rom48);
    const auto basic = test::ReadTestFile(rom48);
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 11; ++i)
        bytes.insert(bytes.end(), basic.begin(), basic.end());
    nav_.FileLEChange(Write("eleven.rom", bytes));
    ASSERT_EQ(nav_.Images().size(), 11u);
    nav_.ImagesLBClick(9);
    EXPECT_TRUE(nav_.SelectEnabled());
    nav_.ImagesLBClick(10); // "file:10" is not a ROM file setting
    EXPECT_FALSE(nav_.SelectEnabled());
}

} // namespace
} // namespace vespin
