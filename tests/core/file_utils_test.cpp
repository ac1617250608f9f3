#include <gtest/gtest.h>

#include <fstream>

#include "media/file_utils.h"

namespace vespin {
namespace {

namespace fs = std::filesystem;

TEST(RomFileSetting, PageSuffixAndDriveLetter) {
    struct Case {
        const char* setting;
        const char* file;
        int page;
    };
    const Case cases[] = {
        {"Pentagon.Rom:2", "Pentagon.Rom", 2},
        {"X.Rom", "X.Rom", 0},
        {"C:\\roms\\x.rom", "C:\\roms\\x.rom", 0},
        {"C:x.rom", "C:x.rom", 0},
        {"dir:a/x.rom:1", "dir:a/x.rom", 1},
        {"x.rom:12", "x.rom:12", 0},
        {"x.rom:", "x.rom:", 0},
    };
    for (const Case& c : cases) {
        const RomFileSetting s = ParseRomFileSetting(c.setting);
        EXPECT_EQ(s.file, c.file) << c.setting;
        EXPECT_EQ(s.page, c.page) << c.setting;
    }
}

class FileUtilsDir : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("vespin-fileutils-" +
               std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir / "start");
        fs::create_directories(dir / "prog");
    }
    void TearDown() override { fs::remove_all(dir); }
    void Write(const fs::path& p, const std::vector<uint8_t>& bytes) {
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    fs::path dir;
};

TEST_F(FileUtilsDir, LocateFileLooksInStartThenProgramDirectory) {
    Write(dir / "prog" / "a.rom", {1});
    Write(dir / "start" / "b.rom", {2});
    Write(dir / "prog" / "b.rom", {3});
    const FileSearchDirs dirs{dir / "start", dir / "prog"};
    EXPECT_EQ(LocateFile(dirs, "a.rom"), dir / "prog" / "a.rom");
    EXPECT_EQ(LocateFile(dirs, "b.rom"), dir / "start" / "b.rom");
    EXPECT_EQ(LocateFile(dirs, "c.rom"), std::nullopt);
    EXPECT_EQ(LocateFile(dirs, ""), std::nullopt);
}

TEST_F(FileUtilsDir, LoadRomImageTakesTheNamedPage) {
    std::vector<uint8_t> file(3 * 16384);
    for (size_t i = 0; i < file.size(); ++i)
        file[i] = static_cast<uint8_t>(i / 16384 + 1);
    Write(dir / "start" / "three.rom", file);
    const FileSearchDirs dirs{dir / "start", {}};
    std::array<uint8_t, 16384> rom{};
    EXPECT_EQ(LoadRomImage(dirs, "three.rom:2", rom), "");
    EXPECT_EQ(rom[0], 3);
    EXPECT_EQ(rom[16383], 3);
    rom.fill(9);
    EXPECT_NE(LoadRomImage(dirs, "three.rom:3", rom), ""); // past the end of the file
    EXPECT_NE(LoadRomImage(dirs, "none.rom", rom).find("none.rom"), std::string::npos);
    EXPECT_EQ(rom[0], 9); // a failed load leaves the slot as it was
}

TEST_F(FileUtilsDir, AtomicWriteReplacesOrKeepsTheOldFile) {
    const fs::path target = dir / "out.bin";
    Write(target, {1, 2, 3});
    EXPECT_TRUE(WriteFileAtomically(target, {4, 5}));
    EXPECT_EQ(ReadWholeFile(target), (std::vector<uint8_t>{4, 5}));
    EXPECT_FALSE(WriteFileAtomically(dir / "missing-dir" / "x.bin", {1}));
    EXPECT_EQ(ReadWholeFile(target), (std::vector<uint8_t>{4, 5}));
    EXPECT_FALSE(fs::exists(dir / "out.bin.tmp"));
}

} // namespace
} // namespace vespin
