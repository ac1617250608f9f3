// TR-DOS commands on a booted disk: the catalog listing and a SAVE that LOAD reads back. The
// commands are entered through the BASIC editor by handing it key codes the way the ROM's
// keyboard interrupt does (LAST-K and bit 5 of FLAGS), keywords as their tokens.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/frame.h"
#include "core/machine.h"
#include "core/reset.h"
#include "core/z80.h"
#include "disk_image_fixture.h"
#include "media/rom_set.h"
#include "support/testdata.h"

namespace vespin::test {
namespace {

constexpr uint16_t kLastK = 23560;
constexpr uint16_t kFlags = 23611;
constexpr uint8_t kRandomize = 0xF9, kUsr = 0xC0, kRem = 0xEA, kCat = 0xCF, kSave = 0xF8,
                  kLoad = 0xEF, kCode = 0xAF, kEnter = 0x0D;

class TrdosCommands : public ::testing::Test {
  protected:
    void SetUp() override { Boot("disks/generated/testdisk.trd"); }

    // Boots TR-DOS with a writable copy of a shared disk in the drive (the shared files are
    // read-only and would write-protect the disk).
    void Boot(const std::string& disk) {
        const auto rom = TestDataPath("roms/Pentagon.Rom");
        const auto image = TestDataPath(disk);
        VESPIN_REQUIRE_TESTDATA(rom);
        VESPIN_REQUIRE_TESTDATA(image);
        machine = std::make_unique<MachineState>();
        m = machine.get();
        m->synchronisedSpeed = 0;
        const RomSettings roms{rom.string() + ":1", rom.string() + ":0", rom.string() + ":2"};
        ASSERT_EQ(LoadRomSet(m->memory, FileSearchDirs{}, roms), "");
        const std::string copy = dir.Write(image.filename().string(), ReadTestFile(image));
        FileSearchDirs dirs;
        DiskImageOptions options;
        RecordingDiskUi ui;
        ASSERT_TRUE(LoadDiskImage(DiskImageContext{dirs, options, ui}, copy, m->beta.disk));
        ASSERT_FALSE(m->beta.disk.writeProtected);
        m->resetKind = ResetKind::Trdos128;
        ResetMachine(*m);
        Frames(300); // a boot program has run, or TR-DOS waits for a command
    }

    void Frames(int n) {
        for (int i = 0; i < n; ++i) {
            while (m->regs.T < m->frameLength)
                ExecuteInstruction(*m);
            FrameEnd(*m);
        }
    }

    void Type(const std::vector<uint8_t>& keys) {
        for (uint8_t key : keys) {
            WriteByte(*m, kLastK, key);
            WriteByte(*m, kFlags, static_cast<uint8_t>(ReadByte(*m, kFlags) | 0x20));
            Frames(3);
        }
        Frames(150);
    }

    // One BASIC line after the TR-DOS "RANDOMIZE USR 15619: REM :" prefix, then ENTER.
    void TrdosCommand(const std::vector<uint8_t>& command) {
        std::vector<uint8_t> keys = {kRandomize, kUsr, '1', '5', '6', '1', '9', ':', kRem, ':'};
        keys.insert(keys.end(), command.begin(), command.end());
        keys.push_back(kEnter);
        Type(keys);
    }

    // The screen as text, matching each character cell against the 48K ROM's font.
    std::string ScreenText() {
        const auto& font = m->memory.rom[static_cast<size_t>(RomSlot::Basic48)];
        std::string text;
        for (int row = 0; row < 24; ++row) {
            for (int column = 0; column < 32; ++column) {
                char found = '?';
                for (int ch = 32; ch < 128 && found == '?'; ++ch) {
                    bool same = true;
                    for (int line = 0; line < 8 && same; ++line) {
                        const int address =
                            0x4000 + (row / 8) * 2048 + line * 256 + (row % 8) * 32 + column;
                        same = ReadByte(*m, static_cast<uint16_t>(address)) ==
                               font[static_cast<size_t>(0x3D00 + (ch - 32) * 8 + line)];
                    }
                    if (same) found = static_cast<char>(ch);
                }
                text += found;
            }
            text += '\n';
        }
        return text;
    }

    TempDir dir;
    std::unique_ptr<MachineState> machine;
    MachineState* m = nullptr;
};

TEST_F(TrdosCommands, CatalogListsTheFiles) {
    TrdosCommand({kCat});
    const std::string screen = ScreenText();
    for (const char* name : {"boot", "mcok", "hello", "pattern"}) {
        EXPECT_NE(screen.find(name), std::string::npos) << name << "\n" << screen;
    }
    EXPECT_NE(screen.find("TESTDISK"), std::string::npos) << screen;
}

TEST_F(TrdosCommands, SavedCodeLoadsBack) {
    // 41 bytes of mcok at 32768 go out as "copy" and come back after being wiped.
    std::vector<uint8_t> original;
    for (uint16_t a = 0x8000; a < 0x8029; ++a)
        original.push_back(ReadByte(*m, a));
    TrdosCommand(
        {kSave, '"', 'c', 'o', 'p', 'y', '"', kCode, '3', '2', '7', '6', '8', ',', '4', '1'});
    for (uint16_t a = 0x8000; a < 0x8029; ++a)
        WriteByte(*m, a, 0);
    TrdosCommand({kLoad, '"', 'c', 'o', 'p', 'y', '"', kCode});
    std::vector<uint8_t> loaded;
    for (uint16_t a = 0x8000; a < 0x8029; ++a)
        loaded.push_back(ReadByte(*m, a));
    EXPECT_EQ(loaded, original) << ScreenText();
    TrdosCommand({kCat});
    EXPECT_NE(ScreenText().find("copy"), std::string::npos) << ScreenText();
}

// At the A> prompt of a disk without a boot program, LOAD "success" runs the disk's program.
TEST_F(TrdosCommands, RealDiskLoadsItsProgram) {
    Boot("disks/real/success-uncompressed.udi");
    Type({kLoad, '"', 's', 'u', 'c', 'c', 'e', 's', 's', '"', kEnter});
    Frames(200);
    EXPECT_NE(ScreenText().find("Congraturation! You sucsess!"), std::string::npos) << ScreenText();
}

} // namespace
} // namespace vespin::test
