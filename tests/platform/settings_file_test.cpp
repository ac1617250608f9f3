#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

#include "config/settings.h"
#include "platform/settings_file.h"

namespace vespin {
namespace {

namespace fs = std::filesystem;

class SettingsFileTest : public testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vespin_settings_" + std::to_string(::getpid()) + "_" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path Path() const { return dir_ / "settings.toml"; }
    void WriteText(const fs::path& path, const std::string& text) const {
        std::ofstream(path, std::ios::binary) << text;
    }
    std::string ReadText(const fs::path& path) const {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path dir_;
};

TEST_F(SettingsFileTest, AStoreSavedAndLoadedKeepsEveryValueAndType) {
    SettingsFile file(dir_ / "sub" / "settings.toml"); // the folder is created on save
    EXPECT_EQ(file.Load(), SettingsFileStatus::Missing);
    OptionsSettings options;
    options.rom48File = "C:\\roms\\\"odd\" name.rom:1";
    options.keyboardBits = 0x7FFE;
    options.mouseWheel = true;
    WriteOptionsSettings(file, options);
    WriteBorderPreset(file, "Tight \\ fit", {"0", "0", "0", "0"}); // a nested key
    file.OpenKey("", true);
    file.WriteInteger("Extreme", INT32_MIN);
    ASSERT_TRUE(file.Save());

    SettingsFile again(file.Path());
    EXPECT_EQ(again.Load(), SettingsFileStatus::Loaded);
    EXPECT_EQ(again.Tree(), file.Tree());
    EXPECT_EQ(ReadOptionsSettings(again), options);
    EXPECT_FALSE(fs::exists(file.Path().string() + ".tmp"));
}

TEST_F(SettingsFileTest, NamesThatAreNotUtf8StillSaveAsAReadableFile) {
    SettingsFile file(Path());
    OptionsSettings options;
    options.bootFileName = "boot\xFF\xC3\x28\x01\t\"x\"\xE2\x82\xAC"; // bad bytes, controls, a euro
    WriteOptionsSettings(file, options);
    file.OpenKey("Port'Mask\"\x7F", true); // a key name that must be quoted
    file.WriteInteger("=", 1);
    ASSERT_TRUE(file.Save());

    SettingsFile again(Path());
    ASSERT_EQ(again.Load(), SettingsFileStatus::Loaded) << again.Message();
    EXPECT_EQ(ReadOptionsSettings(again).bootFileName, "boot\uFFFD\uFFFD(\x01\t\"x\"\xE2\x82\xAC");
    again.OpenKey("Port'Mask\"\x7F", false);
    EXPECT_EQ(again.ReadInteger("="), 1);
}

TEST_F(SettingsFileTest, HandWrittenFilesNestTablesAndMistypedValuesResetTheirGroup) {
    WriteText(Path(), "[Hardware.Keyboard]\n\"Port Mask\" = 1\n\"Port Bits\" = \"254\"\n"
                      "Enabled = false\n"
                      "[\"Hardware\\\\Kempston Joystick\"]\n"
                      "\"Port Mask\" = 255\n\"Port Bits\" = 31\nEnabled = false\n"
                      "[\"Hardware\\\\Memory\"]\nModel = 3\nIgnored = 1.5\n");
    SettingsFile file(Path());
    ASSERT_EQ(file.Load(), SettingsFileStatus::Loaded);
    const OptionsSettings options = ReadOptionsSettings(file);
    EXPECT_TRUE(options.keyboardEnabled); // "Port Bits" is a string: the group's defaults
    EXPECT_EQ(options.keyboardBits, 0x00FE);
    EXPECT_FALSE(options.joystickEnabled); // a TOML boolean reads as 0
    EXPECT_EQ(options.joystickMask, 0x00FF);
    EXPECT_EQ(options.memoryModel, 3);
    file.OpenKey("Hardware\\Memory", false);
    EXPECT_EQ(file.ReadInteger("Ignored"), std::nullopt);
}

TEST_F(SettingsFileTest, ADamagedFileIsKeptAsideAndDefaultsAreUsed) {
    const std::string texts[] = {
        "[Hardware\\Keyboard]\n\"Port Mask\" = 1\n\"Port Bits\" = \"25", // truncated
        std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),                // not TOML
        "[a]\nx = 1\n[a]\nx = 2\n",                                      // table twice
        "[\"Hardware\\\\Keyboard\"]\n\"Port Bits\" = 99999999999999999999\n",
    };
    for (const std::string& text : texts) {
        WriteText(Path(), text);
        SettingsFile file(Path());
        EXPECT_EQ(file.Load(), SettingsFileStatus::Damaged) << text;
        EXPECT_NE(file.Message().find("settings.toml.bad"), std::string::npos) << file.Message();
        EXPECT_EQ(ReadOptionsSettings(file), OptionsSettings{});
        EXPECT_EQ(ReadText(Path().string() + ".bad"), text);
        EXPECT_TRUE(file.Save());
        EXPECT_EQ(ReadText(Path().string() + ".bad"), text); // saving leaves it alone
    }
}

TEST_F(SettingsFileTest, ACrashBeforeTheRenameLeavesTheOldFile) {
    SettingsFile file(Path());
    file.Load();
    OptionsSettings options;
    options.memoryModel = 2;
    WriteOptionsSettings(file, options);
    ASSERT_TRUE(file.Save());
    const std::string saved = ReadText(Path());

    options.memoryModel = 5;
    WriteOptionsSettings(file, options);
    const auto temporary = file.WriteTemporary();
    ASSERT_TRUE(temporary);
    // The program dies here: the new contents lie in the temporary file only.
    EXPECT_EQ(ReadText(Path()), saved);
    SettingsFile restarted(Path());
    ASSERT_EQ(restarted.Load(), SettingsFileStatus::Loaded);
    EXPECT_EQ(ReadOptionsSettings(restarted).memoryModel, 2);

    // The next run saves over the stale temporary file.
    WriteOptionsSettings(restarted, options);
    ASSERT_TRUE(restarted.Save());
    SettingsFile third(Path());
    third.Load();
    EXPECT_EQ(ReadOptionsSettings(third).memoryModel, 5);
}

TEST_F(SettingsFileTest, AFailedSaveLeavesTheOldFile) {
    WriteText(Path(), "[\"Hardware\\\\Memory\"]\nModel = 1\n");
    fs::create_directory(Path().string() + ".tmp"); // the temporary file cannot be created
    SettingsFile file(Path());
    file.Load();
    WriteOptionsSettings(file, {});
    EXPECT_FALSE(file.Save());
    EXPECT_EQ(ReadText(Path()), "[\"Hardware\\\\Memory\"]\nModel = 1\n");
}

} // namespace
} // namespace vespin
