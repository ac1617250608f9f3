// The vespin-run contract: options, outputs, exit codes.
#include <gtest/gtest.h>

#include "support/testdata.h"
#include "vespin_run_helper.h"

namespace vespin::test {
namespace {

class VespinRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (VespinRunPath().empty()) GTEST_SKIP() << "vespin-run is not built";
        VESPIN_REQUIRE_TESTDATA(TestDataPath("roms/48.rom"));
    }
    // ROM options that load from the test data.
    std::vector<std::string> Roms() const {
        const std::string rom48 = TestDataPath("roms/48.rom").string();
        return {"--rom48",  rom48,
                "--rom128", TestDataPath("roms/128-0.rom").string(),
                "--romdos", TestDataPath("roms/trdos503.rom").string()};
    }
    RunOutput Run(std::vector<std::string> args) const {
        std::vector<std::string> all = Roms();
        all.insert(all.end(), args.begin(), args.end());
        return RunVespin(all);
    }
};

TEST_F(VespinRunTest, BadArgumentsAreUsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {"--frames", "x"}, {"--frames"},          {"--model", "6"},
        {"--reset", "#4"}, {"--bogus"},           {"--peek", "0x10000:1"},
        {"--peek", "100"}, {"--peek", "1:65537"}, {"a.sna", "b.sna"},
    };
    for (const auto& args : cases) {
        const RunOutput r = Run(args);
        EXPECT_EQ(r.exitCode, 2) << args[0];
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
    }
}

TEST_F(VespinRunTest, LoadErrorsExitOneNamingTheFile) {
    const RunOutput missing = RunVespin({"--rom48", "/nonexistent/x.rom", "--regs"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("/nonexistent/x.rom"), std::string::npos) << missing.err;
    EXPECT_TRUE(missing.out.empty());

    // 48.rom has one page only.
    const RunOutput page = Run({"--romdos", TestDataPath("roms/48.rom").string() + ":1"});
    EXPECT_EQ(page.exitCode, 1);
    EXPECT_NE(page.err.find("48.rom"), std::string::npos) << page.err;

    const RunOutput unknown = Run({"--frames", "1", "picture.xyz"});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_NE(unknown.err.find("picture.xyz"), std::string::npos) << unknown.err;
}

TEST_F(VespinRunTest, RegsAfterResetWithoutRunning) {
    const RunOutput r = Run({"--reset", "0", "--regs"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "{\"pc\":0,\"sp\":65535,\"af\":65535,\"bc\":0,\"de\":0,\"hl\":0,\"ix\":0,\"iy\":0,"
              "\"af_\":0,\"bc_\":0,\"de_\":0,\"hl_\":0,\"i\":0,\"r\":0,\"im\":0,\"iff1\":0,"
              "\"iff2\":0,\"t\":0,\"frames\":0,\"latch\":48,\"border\":0}\n");
}

TEST_F(VespinRunTest, OutputsComeInTheirOrderAndNumbersTakeEveryForm) {
    // 48.rom starts F3 AF 11 FF FF C3 CB 11.
    const RunOutput r =
        Run({"--reset", "0", "--peek", "0:4", "--regs", "--peek", "#5:0x3", "--peek", "0xFFFF:2"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const size_t firstLine = r.out.find('\n');
    EXPECT_EQ(r.out.substr(0, firstLine), "F3AF11FF");
    EXPECT_EQ(r.out.substr(r.out.find('\n', firstLine + 1) + 1), "C3CB11\n00F3\n");
}

TEST_F(VespinRunTest, BenchPrintsFramesPerSecond) {
    const RunOutput r = Run({"--frames", "5", "--bench", "--regs"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.rfind("fps=", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\"frames\":5,"), std::string::npos) << r.out;
}

TEST_F(VespinRunTest, ScreenshotIsThePaletteFrameBitmap) {
    const auto file = std::filesystem::temp_directory_path() / "vespin_run_test_shot.png";
    std::filesystem::remove(file);
    const RunOutput r = Run({"--frames", "2", "--screenshot", file.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const IndexedImage image = ReadIndexedPng(file);
    std::filesystem::remove(file);
    ASSERT_EQ(image.width, 384);
    ASSERT_EQ(image.height, 288);
    ASSERT_GE(image.rgb.size(), 25u * 3);
    EXPECT_EQ(image.rgb[17 * 3], 187); // white
    EXPECT_EQ(image.rgb[24 * 3 + 1], 255);
    for (uint8_t slot : image.pixels)
        ASSERT_TRUE(slot >= 10 && slot <= 24) << int(slot);

    const RunOutput bad = Run({"--screenshot", "/nonexistent/dir/shot.png"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_NE(bad.err.find("shot.png"), std::string::npos) << bad.err;
}

} // namespace
} // namespace vespin::test
