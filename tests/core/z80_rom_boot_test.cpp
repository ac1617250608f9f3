// The 48K BASIC ROM on the executor: from reset it tests and clears RAM, sets up the system
// variables, takes the frame interrupts in IM 1 and prints its copyright line at the bottom of the
// screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/machine.h"
#include "core/reset.h"
#include "core/z80.h"
#include "support/testdata.h"

namespace vespin {
namespace {

constexpr uint16_t kFont = 0x3D00;   // the ROM's character set, 8 bytes from the space on
constexpr uint8_t kCopyright = 0x7F; // the ROM prints its copyright sign as this character

// The character at a text cell of the screen, found by its bitmap in the ROM's font; '?' when
// none matches.
char CharacterAt(const MachineState& m, int row, int column) {
    const auto cell = static_cast<uint16_t>(0x4000 + (row & 0x18) * 256 + (row & 7) * 32 + column);
    for (int ch = 0x20; ch <= 0x7F; ++ch) {
        bool same = true;
        for (int line = 0; line < 8 && same; ++line)
            same = ReadByte(m, static_cast<uint16_t>(cell + line * 256)) ==
                   ReadByte(m, static_cast<uint16_t>(kFont + (ch - 0x20) * 8 + line));
        if (same) return ch == kCopyright ? '@' : static_cast<char>(ch);
    }
    return '?';
}

TEST(Z80RomBoot, The48KRomPrintsItsCopyrightLine) {
    const auto path = test::TestDataPath("roms/48.rom");
    VESPIN_REQUIRE_TESTDATA(path);
    const std::vector<uint8_t> rom = test::ReadTestFile(path);
    ASSERT_EQ(rom.size(), kPageSize);

    MachineState m;
    std::copy(rom.begin(), rom.end(), m.memory.Rom(RomSlot::Basic48));
    m.resetKind = ResetKind::Mode48;
    m.synchronisedSpeed = 0;
    ResetMachine(m);
    const uint32_t frames = 150; // three seconds of the machine
    while (m.frameCounter.load() < frames)
        ExecuteInstruction(m);

    std::string line;
    for (int column = 0; column < 32; ++column)
        line += CharacterAt(m, 23, column);
    EXPECT_EQ(line, "@ 1982 Sinclair Research Ltd    ");
    // The IM 1 handler counts every accepted frame interrupt in the system variable FRAMES:
    // from now on one a frame. Both readings are taken just as a frame's interrupt has been
    // accepted, before its handler counts it.
    EXPECT_EQ(m.regs.IM, 1);
    const auto framesVariable = [&m] { return ReadWord(m, 0x5C78) | ReadByte(m, 0x5C7A) << 16; };
    const unsigned before = framesVariable();
    while (m.frameCounter.load() < frames + 50)
        ExecuteInstruction(m);
    EXPECT_EQ(framesVariable() - before, 50u);
}

} // namespace
} // namespace vespin
