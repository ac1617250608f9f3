// TR-DOS boots the generated disk in each format: the boot program prints its line, loads its
// machine code through the controller and runs it (which turns the border green).
#include <gtest/gtest.h>

#include <memory>

#include "core/frame.h"
#include "core/machine.h"
#include "core/reset.h"
#include "core/z80.h"
#include "disk_image_fixture.h"
#include "media/rom_set.h"
#include "support/testdata.h"

namespace vespin::test {
namespace {

// The 41 bytes of mcok.C as the disk holds them.
constexpr uint8_t kMcok[] = {0x3E, 0x02, 0xCD, 0x01, 0x16, 0x21, 0x1A, 0x80, 0x7E, 0xB7, 0x28,
                             0x04, 0xD7, 0x23, 0x18, 0xF8, 0x3E, 0x04, 0xD3, 0xFE, 0x3E, 0x20,
                             0x32, 0x48, 0x5C, 0xC9, 0x16, 0x00, 0x00, 'P',  'A',  'S',  'M',
                             'O',  ' ',  'M',  'C',  ' ',  'O',  'K',  0x00};

// True when character row `row` of the screen has any ink pixels.
bool RowHasInk(const MachineState& m, int row) {
    for (int line = 0; line < 8; ++line) {
        const int address = 0x4000 + (row / 8) * 2048 + line * 256 + (row % 8) * 32;
        for (int column = 0; column < 32; ++column) {
            if (ReadByte(m, static_cast<uint16_t>(address + column)) != 0) return true;
        }
    }
    return false;
}

TEST(DiskBoot, GeneratedDiskBootsInEveryFormatWithTrdos503And504T) {
    const auto rom = TestDataPath("roms/Pentagon.Rom");
    VESPIN_REQUIRE_TESTDATA(rom);
    const auto trdos503 = TestDataPath("roms/trdos503.rom");
    VESPIN_REQUIRE_TESTDATA(trdos503);
    for (const std::string& dos : {rom.string() + ":2", trdos503.string()})
        for (const char* name : {"testdisk.trd", "testdisk.scl", "testdisk.fdi", "testdisk.udi"}) {
            SCOPED_TRACE(dos + " " + name);
            const auto disk = TestDataPath(std::string("disks/generated/") + name);
            VESPIN_REQUIRE_TESTDATA(disk);
            auto machine = std::make_unique<MachineState>();
            MachineState& m = *machine;
            m.synchronisedSpeed = 0;
            const RomSettings roms{rom.string() + ":1", rom.string() + ":0", dos};
            ASSERT_EQ(LoadRomSet(m.memory, FileSearchDirs{}, roms), "");

            FileSearchDirs dirs;
            DiskImageOptions options;
            RecordingDiskUi ui;
            ASSERT_TRUE(
                LoadDiskImage(DiskImageContext{dirs, options, ui}, disk.string(), m.beta.disk));
            m.resetKind = ResetKind::Trdos128;
            ResetMachine(m);
            for (int frame = 0; frame < 500; ++frame) { // 5.03 steps at 30 ms
                while (m.regs.T < m.frameLength)
                    ExecuteInstruction(m);
                FrameEnd(m);
            }
            for (size_t i = 0; i < sizeof kMcok; ++i) {
                ASSERT_EQ(ReadByte(m, static_cast<uint16_t>(0x8000 + i)), kMcok[i]) << i;
            }
            EXPECT_EQ(m.screen.borderColour, 4);
            EXPECT_TRUE(RowHasInk(m, 2)); // "TRD BOOT OK"
            // mcok's print loop stops at the zero row of its own AT 0,0: line 0 stays empty.
            EXPECT_FALSE(RowHasInk(m, 0));
            EXPECT_TRUE(ui.errors.empty());
        }
}

} // namespace
} // namespace vespin::test
