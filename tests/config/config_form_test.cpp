#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <unistd.h>

#include "config/config_form.h"
#include "config/memory_settings_store.h"
#include "config/port_bit_editor.h"
#include "core/frame.h"
#include "core/reset.h"
#include "core/z80.h"
#include "support/testdata.h"

namespace vespin {
namespace {

namespace fs = std::filesystem;

// Stands in for the desktop program: the options go into a machine as they would at a frame
// end, the rest is recorded.
struct FakeHost : TConfigHost {
    explicit FakeHost(FileSearchDirs* dirs) : dirs(dirs) {}

    FileSearchDirs* dirs;
    std::unique_ptr<MachineState> machine = std::make_unique<MachineState>();
    ScreenPanelSettings screen;
    BorderSizes border{-1, -1, -1, -1};
    WarningAnswer answer = WarningAnswer::Ok;
    std::vector<std::string> warnings;

    void ApplyHardware(const OptionsSettings& o) override { ApplyHardwareOptions(*machine, o); }
    void ApplyScreen(const ScreenPanelSettings& s) override {
        screen = s;
        ApplyScreenOptions(machine->screen, s);
    }
    void ApplyBorder(const BorderSizes& b) override { border = b; }
    void ApplySound(const OptionsSettings& o) override { ApplySoundOptions(machine->sound, o); }
    std::string LoadRoms(const RomSettings& roms) override {
        return LoadRomSet(machine->memory, *dirs, roms);
    }
    std::array<uint8_t, 3> SoundBits() const {
        const TSoundOutput& s = machine->sound;
        return {s.speakerBit, s.tapeInBit, s.tapeOutBit};
    }
    WarningAnswer AskWarning(std::string_view caption, std::string_view text) override {
        warnings.push_back(std::string(caption) + "|" + std::string(text));
        return answer;
    }
};

class ConfigFormTest : public testing::Test {
  protected:
    TConfigForm& Form() {
        if (!form_) form_ = std::make_unique<TConfigForm>(store_, host_, dirs_, screen_);
        return *form_;
    }

    MemorySettingsStore store_;
    FileSearchDirs dirs_;
    FakeHost host_{&dirs_};
    ScreenPanelSettings screen_;
    std::unique_ptr<TConfigForm> form_;
};

TEST(FlashFrequency, TextGivesFramesPerPhase) {
    const std::pair<const char*, int32_t> cases[] = {
        {"3", 8},  {"0", 5}, {"text", 5}, {"100", 1}, {"2.5", 10},
        {"25", 1}, {"", 5},  {"-4", 5},   {"3x", 5},  {"12.5", 2},
    };
    for (const auto& [text, period] : cases)
        EXPECT_EQ(FlashPeriodFromText(text), period) << text;
    EXPECT_EQ(FlashFrequencyText(10), "2.5");
    EXPECT_EQ(FlashFrequencyText(8), "3.125");
}

TEST_F(ConfigFormTest, FlashFrequencyReachesTheScreen) {
    EXPECT_EQ(Form().FlashText(), "2.5"); // the stored 10 frames per phase
    Form().FlashFrequencyChange("3");
    EXPECT_EQ(host_.machine->screen.flashFrequency, 8);
    Form().FlashFrequencyChange("abc");
    EXPECT_EQ(host_.screen.flashFrequency, 5);
}

TEST_F(ConfigFormTest, StartsWithTheTvPresetAndTheStoredHardware) {
    store_.OpenKey("Hardware\\Keyboard", true);
    store_.WriteInteger("Port Mask", 0x8001);
    store_.WriteInteger("Port Bits", 0x00FE);
    store_.WriteBool("Enabled", true);
    store_.OpenKey("Hardware\\Memory", true);
    store_.WriteInteger("Model", 3);
    Form();
    const BorderEditor& border = Form().Border();
    EXPECT_EQ(host_.border, (BorderSizes{40, 36, 46, 26}));
    EXPECT_EQ(border.PresetText(), "Pentagon128 on TV");
    EXPECT_FALSE(border.EdgeEnabled(BorderEdge::Left));
    EXPECT_FALSE(border.SymmetryEnabled());
    EXPECT_STREQ(border.ButtonCaption(), "&Delete");
    EXPECT_FALSE(border.ButtonEnabled());
    EXPECT_FALSE(border.HorizontalSymmetric());

    const MachineState& m = *host_.machine;
    EXPECT_EQ(m.memory.model, MemoryModel::Pentagon1024);
    EXPECT_TRUE(m.options.keyboard.Matches(0x00FE));
    EXPECT_FALSE(m.options.keyboard.Matches(0x80FE)); // A15 now decoded
    EXPECT_EQ(host_.SoundBits(), (std::array<uint8_t, 3>{0x80, 0x40, 0x20}));
}

TEST_F(ConfigFormTest, BorderEditsAreValidatedAndSavedAsPresets) {
    Form().Show(ConfigPage::Video);
    Form().PresetSelect(0);
    EXPECT_EQ(host_.border, (BorderSizes{64, 64, 48, 48}));
    EXPECT_TRUE(Form().Border().HorizontalSymmetric() && Form().Border().VerticalSymmetric());

    Form().PresetTextChange("Mine");
    const BorderEditor& border = Form().Border();
    EXPECT_STREQ(border.ButtonCaption(), "&Save");
    EXPECT_TRUE(border.EdgeEnabled(BorderEdge::Left));
    EXPECT_FALSE(border.EdgeEnabled(BorderEdge::Right)); // follows Left while symmetric
    Form().HorizontalSymmetricClick(false);
    Form().VerticalSymmetricClick(false);

    Form().BorderEdgeChange(BorderEdge::Left, "70");
    EXPECT_TRUE(border.EdgeBad(BorderEdge::Left));
    EXPECT_FALSE(Form().OkEnabled());
    EXPECT_FALSE(border.ButtonEnabled());
    EXPECT_FALSE(Form().SetPage(ConfigPage::Sound));
    EXPECT_EQ(host_.border, (BorderSizes{64, 64, 48, 48})); // the old border stays

    for (const char* bad : {"", "-1", "4a", " 4"}) {
        Form().BorderEdgeChange(BorderEdge::Upper, bad);
        EXPECT_TRUE(border.EdgeBad(BorderEdge::Upper)) << bad;
    }
    Form().BorderEdgeChange(BorderEdge::Upper, "49");
    EXPECT_TRUE(border.EdgeBad(BorderEdge::Upper));
    Form().BorderEdgeChange(BorderEdge::Upper, "48");
    Form().BorderEdgeChange(BorderEdge::Left, "64");
    Form().BorderEdgeChange(BorderEdge::Lower, "0");
    EXPECT_TRUE(Form().OkEnabled());
    EXPECT_EQ(host_.border, (BorderSizes{64, 64, 48, 0}));

    Form().HorizontalSymmetricClick(true);
    Form().BorderEdgeChange(BorderEdge::Left, "12");
    EXPECT_EQ(border.EdgeText(BorderEdge::Right), "12");
    EXPECT_EQ(host_.border, (BorderSizes{12, 12, 48, 0}));

    Form().BorderButtonClick(); // "&Save"
    EXPECT_EQ(border.PresetNames(),
              (std::vector<std::string>{"Maximum", "Pentagon128 on TV", "Mine"}));
    EXPECT_STREQ(border.ButtonCaption(), "&Delete");
    EXPECT_TRUE(border.ButtonEnabled());
    EXPECT_EQ(ReadBorderPreset(store_, "Mine").lower, "0");
    Form().WriteSettings(); // at program end

    // The next start comes up with the saved preset.
    FakeHost next{&dirs_};
    TConfigForm again(store_, next, dirs_, screen_);
    EXPECT_EQ(again.Border().PresetIndex(), 2);
    EXPECT_EQ(next.border, (BorderSizes{12, 12, 48, 0}));
    EXPECT_TRUE(again.Border().EdgeEnabled(BorderEdge::Left));

    again.BorderButtonClick(); // "&Delete"
    EXPECT_EQ(again.Border().PresetNames().size(), 2u);
    EXPECT_STREQ(again.Border().ButtonCaption(), "&Save");
    EXPECT_TRUE(ReadBorderPresetNames(store_).empty());

    for (const char* bad : {"", "a\\b"}) {
        again.PresetTextChange(bad);
        EXPECT_TRUE(again.Border().PresetBad()) << bad;
        EXPECT_FALSE(again.OkEnabled()) << bad;
    }
    again.PresetTextChange("Maximum"); // a built-in name locks the fields
    EXPECT_FALSE(again.Border().EdgeEnabled(BorderEdge::Left));
    EXPECT_FALSE(again.Border().ButtonEnabled());
}

TEST(PortBitEditor, ClicksCycleALine) {
    PortDecode joystick{true, 0x001F, 0x00A9};
    EXPECT_EQ(PortBitsText(joystick), "-------- 0-0-1--1");
    PortDecode decode{true, 0, 0};
    const std::pair<int, const char*> clicks[] = {
        {0, "0------- --------"}, // A15 joins the mask with 0
        {0, "1------- --------"}, {16, "1------- -------0"}, {8, "1------- -------0"}, // the space
        {0, "-------- -------0"}, {17, "-------- -------0"}, // beyond the text
    };
    for (const auto& [index, text] : clicks) {
        ClickPortBit(decode, index);
        EXPECT_EQ(PortBitsText(decode), text) << index;
    }
    EXPECT_EQ(decode.mask, 0x0001);
    EXPECT_EQ(decode.bits, 0x0000);
}

TEST_F(ConfigFormTest, PortEditorsChangeTheDecodeLive) {
    EXPECT_EQ(Form().PortBitsText(PortEditor::Keyboard), "-------- -------0");
    Form().PortBitClick(PortEditor::Keyboard, 16); // A0 must now be 1
    EXPECT_EQ(Form().PortBitsText(PortEditor::Keyboard), "-------- -------1");
    EXPECT_TRUE(host_.machine->options.keyboard.Matches(0x00FF));
    EXPECT_FALSE(host_.machine->options.keyboard.Matches(0x00FE));

    Form().CheckBoxClick(ConfigCheckBox::KeyboardEnabled, false);
    EXPECT_FALSE(host_.machine->options.keyboard.Matches(0x00FF));
    Form().PortBitClick(PortEditor::Keyboard, 16); // ignored while disabled
    EXPECT_EQ(Form().PortBitsText(PortEditor::Keyboard), "-------- -------1");
}

TEST_F(ConfigFormTest, VolumeSlidersNeverShareABit) {
    EXPECT_EQ(Form().VolumeChange(VolumeSource::TapeIn, 8), 7);  // onto the speaker
    EXPECT_EQ(Form().VolumeChange(VolumeSource::TapeOut, 8), 6); // past both
    EXPECT_EQ(Form().VolumeChange(VolumeSource::Speaker, 3), 3);
    EXPECT_EQ(Form().VolumeChange(VolumeSource::TapeOut, 0), 0);
    EXPECT_EQ(Form().VolumeChange(VolumeSource::Speaker, 0), 0); // silence is shared
    EXPECT_EQ(Form().VolumeChange(VolumeSource::TapeOut, 12), 8);
    EXPECT_EQ(host_.SoundBits(), (std::array<uint8_t, 3>{0x00, 0x40, 0x80}));
}

TEST_F(ConfigFormTest, DependentBoxesFollowTheirParents) {
    Form().CheckBoxClick(ConfigCheckBox::DosPortAccess, true);
    EXPECT_TRUE(host_.machine->options.dosPortAccess);
    Form().CheckBoxClick(ConfigCheckBox::TrdosEnabled, false);
    EXPECT_FALSE(Form().CheckBoxChecked(ConfigCheckBox::DosPortAccess));
    EXPECT_FALSE(Form().CheckBoxEnabled(ConfigCheckBox::DosPortAccess));
    EXPECT_FALSE(host_.machine->options.dosPortAccess);
    EXPECT_FALSE(host_.machine->memory.trdosEnabled);

    struct Rule {
        ConfigCheckBox parent, child;
    };
    for (const Rule& r : {Rule{ConfigCheckBox::DirectMemory, ConfigCheckBox::Interlaced},
                          Rule{ConfigCheckBox::AttributePort, ConfigCheckBox::AttributeAllUnused},
                          Rule{ConfigCheckBox::MouseEnabled, ConfigCheckBox::MouseSwapButtons},
                          Rule{ConfigCheckBox::MouseWheel, ConfigCheckBox::MouseWheelInvert}}) {
        Form().CheckBoxClick(ConfigCheckBox::MouseEnabled, true);
        Form().CheckBoxClick(r.parent, true);
        EXPECT_TRUE(Form().CheckBoxEnabled(r.child));
        Form().CheckBoxClick(r.parent, false);
        EXPECT_FALSE(Form().CheckBoxEnabled(r.child));
        const bool before = Form().CheckBoxChecked(r.child);
        Form().CheckBoxClick(r.child, !before); // ignored while disabled
        EXPECT_EQ(Form().CheckBoxChecked(r.child), before);
    }
    Form().CheckBoxClick(ConfigCheckBox::MouseWheel, true);
    Form().CheckBoxClick(ConfigCheckBox::MouseEnabled, false);
    EXPECT_FALSE(Form().CheckBoxEnabled(ConfigCheckBox::MouseWheelInvert));
}

TEST_F(ConfigFormTest, CancelPutsEveryOptionBack) {
    Form().Show(ConfigPage::Video);
    const OptionsSettings before = Form().Options();
    Form().CheckBoxClick(ConfigCheckBox::GrayPalette, true);
    EXPECT_TRUE(host_.screen.grayPalette);
    const Palette colour = ScreenState().palette;
    EXPECT_NE(host_.machine->screen.palette[11].red, colour[11].red);
    Form().FlashFrequencyChange("25");
    Form().PresetSelect(0);
    Form().ChoiceChange(ConfigChoice::MemoryModel, 4);
    Form().ChoiceChange(ConfigChoice::VideoMode, 2);
    Form().ChoiceChange(ConfigChoice::SynchDelay, 100);
    Form().PortBitClick(PortEditor::Joystick, 0);
    Form().VolumeChange(VolumeSource::Speaker, 1);
    Form().RomFileChange(RomSlot::Trdos, "other.rom");
    Form().CheckBoxClick(ConfigCheckBox::TrdosEnabled, false);
    EXPECT_EQ(host_.machine->memory.model, MemoryModel::Scorpion256);

    Form().Close();
    EXPECT_FALSE(Form().Shown());
    EXPECT_EQ(Form().Options(), before);
    EXPECT_EQ(Form().Screen(), screen_);
    EXPECT_EQ(host_.screen, screen_);
    EXPECT_EQ(host_.machine->screen.palette[11].red, colour[11].red); // colours back at once
    EXPECT_EQ(host_.machine->screen.flashFrequency, 10);
    EXPECT_EQ(Form().FlashText(), "2.5");
    EXPECT_EQ(host_.border, (BorderSizes{40, 36, 46, 26}));
    EXPECT_EQ(host_.machine->memory.model, MemoryModel::Spectrum128);
    EXPECT_TRUE(host_.machine->memory.trdosEnabled);
    EXPECT_TRUE(host_.machine->options.kempstonJoystick.Matches(0x001F));
    EXPECT_EQ(host_.SoundBits(), (std::array<uint8_t, 3>{0x80, 0x40, 0x20}));
    EXPECT_EQ(host_.machine->sound.synchDelay, 0);
}

class RomCheckTest : public ConfigFormTest {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("vespin_romcheck_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        dirs_.startDir = dir_;
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Pages filled with their own number, so any page that lands can be told apart.
    void WritePagedFile(const std::string& name, int pages) {
        std::ofstream out(dir_ / name, std::ios::binary);
        for (int page = 0; page < pages; ++page)
            out << std::string(kPageSize, static_cast<char>(0xA0 + page));
    }
    void UseRoms(const char* rom48, const char* rom128, const char* romDos) {
        Form().RomFileChange(RomSlot::Basic48, rom48);
        Form().RomFileChange(RomSlot::Rom128, rom128);
        Form().RomFileChange(RomSlot::Trdos, romDos);
    }
    uint8_t RomByte(RomSlot slot, size_t offset) {
        return host_.machine->memory.rom[static_cast<size_t>(slot)][offset];
    }

    fs::path dir_;
};

TEST_F(RomCheckTest, ThePageNumberSelectsA16KBlock) {
    const fs::path pentagon = test::TestDataPath("roms/Pentagon.Rom");
    VESPIN_REQUIRE_TESTDATA(pentagon);
    const std::vector<uint8_t> file = test::ReadTestFile(pentagon);
    Form().Show(ConfigPage::Roms);
    const std::string name = pentagon.string();
    UseRoms((name + ":1").c_str(), (name + ":0").c_str(), (name + ":2").c_str());
    EXPECT_EQ(Form().OkClick(), RomCheckResult::Loaded);
    EXPECT_TRUE(Form().Accepted());
    EXPECT_FALSE(Form().Shown());
    const auto& rom = host_.machine->memory.rom;
    EXPECT_TRUE(std::equal(rom[2].begin(), rom[2].end(), file.begin() + 32768));
    EXPECT_TRUE(std::equal(rom[0].begin(), rom[0].end(), file.begin() + 16384));
    EXPECT_TRUE(std::equal(rom[1].begin(), rom[1].end(), file.begin()));
    Form().Close(); // accepted: nothing comes back
    EXPECT_EQ(Form().RomFile(RomSlot::Trdos), name + ":2");
}

// One text line of the screen, read back through the character set of the 48K ROM.
std::string ScreenLine(MachineState& m, int row) {
    std::string text;
    for (int column = 0; column < 32; ++column) {
        char found = '?';
        for (int c = 0x20; c < 0x80 && found == '?'; ++c) {
            bool same = true;
            for (int line = 0; line < 8 && same; ++line) {
                const auto address = static_cast<uint16_t>(0x4000 + ((row & 0x18) << 8) +
                                                           (line << 8) + ((row & 7) << 5) + column);
                same = ReadByte(m, address) ==
                       ReadByte(m, static_cast<uint16_t>(0x3D00 + (c - 0x20) * 8 + line));
            }
            if (same) found = static_cast<char>(c);
        }
        text += found;
    }
    return text;
}

TEST_F(RomCheckTest, TheDefaultRomSettingsBootTheMachine) {
    const fs::path roms = test::TestDataPath("roms/Pentagon.Rom");
    VESPIN_REQUIRE_TESTDATA(roms);
    dirs_.startDir = roms.parent_path(); // "Pentagon.Rom" is found through the start-up folder
    store_.OpenKey("StartUp", true);
    store_.WriteInteger("Reset", 0); // "48k Mode"
    store_.WriteInteger("Mode", 1);
    ASSERT_EQ(Form().CheckRoms(), RomCheckResult::Loaded);

    MachineState& m = *host_.machine;
    m.synchronisedSpeed = 0;
    ResetMachine(m);
    for (int frame = 0; frame < 150; ++frame) {
        while (m.regs.T < m.frameLength)
            ExecuteInstruction(m);
        FrameEnd(m);
    }
    EXPECT_EQ(ScreenLine(m, 23), "\x7F 1982 Sinclair Research Ltd    ");
}

TEST_F(RomCheckTest, ADriveLetterColonIsPartOfTheName) {
    WritePagedFile("C:set.rom", 3); // a legal file name here
    UseRoms("C:set.rom", "C:set.rom:1", "set.rom:2");
    EXPECT_EQ(Form().CheckRoms(), RomCheckResult::ChooseRoms); // there is no file "set.rom"
    EXPECT_TRUE(Form().Shown()); // as at start-up: the dialog opens on "ROM's"
    EXPECT_EQ(Form().Page(), ConfigPage::Roms);
    Form().Close();
    WritePagedFile("set.rom", 3);
    EXPECT_EQ(Form().CheckRoms(), RomCheckResult::Loaded);
    EXPECT_EQ(RomByte(RomSlot::Basic48, 0), 0xA0);
    EXPECT_EQ(RomByte(RomSlot::Rom128, 0), 0xA1);
    EXPECT_EQ(RomByte(RomSlot::Trdos, kPageSize - 1), 0xA2);
}

TEST_F(RomCheckTest, AFailedLoadAsksAndKeepsTheImagesThatWereLoaded) {
    WritePagedFile("set.rom", 2);
    UseRoms("set.rom:0", "set.rom:1", "set.rom:0");
    ASSERT_EQ(Form().CheckRoms(), RomCheckResult::Loaded);

    Form().Show(ConfigPage::Roms);
    UseRoms("set.rom:1", "set.rom:0", "set.rom:2"); // there is no third page
    host_.answer = WarningAnswer::Ok;
    EXPECT_EQ(Form().OkClick(), RomCheckResult::ChooseRoms);
    ASSERT_EQ(host_.warnings.size(), 1u);
    EXPECT_EQ(host_.warnings[0], "Warning!|ROM Image files missed or not defined!\nPlease select "
                                 "all ROM Image Files to run emulator.");
    EXPECT_TRUE(Form().Shown());
    EXPECT_FALSE(Form().Accepted());
    EXPECT_EQ(RomByte(RomSlot::Basic48, 0), 0xA0); // none of the new set went in
    EXPECT_EQ(RomByte(RomSlot::Rom128, 0), 0xA1);

    host_.answer = WarningAnswer::Cancel;
    UseRoms("set.rom:1", "missing.rom", "set.rom:0");
    EXPECT_EQ(Form().OkClick(), RomCheckResult::QuitProgram);
}

TEST_F(RomCheckTest, AMissingBootFileBlocksOk) {
    Form().BootFileChange("boot.B");
    EXPECT_TRUE(Form().BootFileBad());
    EXPECT_FALSE(Form().OkEnabled());
    WritePagedFile("boot.B", 1);
    Form().BootFileChange("boot.B");
    EXPECT_TRUE(Form().OkEnabled());
    Form().BootFileChange("");
    EXPECT_TRUE(Form().OkEnabled());
}

TEST_F(ConfigFormTest, ChosenRomFilesRememberTheirFolderAndAreWrittenBack) {
    Form().RomFileChosen(RomSlot::Rom128, "/opt/roms/128.rom");
    EXPECT_EQ(Form().RomDefaultPath(RomSlot::Rom128), "/opt/roms");
    Form().ChoiceChange(ConfigChoice::StartReset, 3);
    Form().ChoiceChange(ConfigChoice::StartReset, 4); // not a reset kind
    Form().WriteSettings();
    const OptionsSettings stored = ReadOptionsSettings(store_);
    EXPECT_EQ(stored, Form().Options());
    EXPECT_EQ(stored.rom128File, "/opt/roms/128.rom");
    EXPECT_EQ(stored.startReset, 3);
    EXPECT_EQ(host_.machine->resetKind, ResetKind::Trdos128);
}

} // namespace
} // namespace vespin
