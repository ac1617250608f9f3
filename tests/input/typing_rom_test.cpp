// Typing into the real 48K BASIC ROM: the scripted strokes go through the matrix and the
// keyboard port, and BASIC's own keyboard scan and editor turn them into a program line.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "core/frame.h"
#include "core/machine.h"
#include "core/reset.h"
#include "core/z80.h"
#include "input/typing.h"
#include "support/testdata.h"

namespace vespin {
namespace {

constexpr uint16_t kProg = 23635; // system variable: start of the BASIC program

class BasicTyping : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto path = test::TestDataPath("roms/48.rom");
        VESPIN_REQUIRE_TESTDATA(path);
        const std::vector<uint8_t> rom = test::ReadTestFile(path);
        ASSERT_EQ(rom.size(), kPageSize);
        std::copy(rom.begin(), rom.end(), m->memory.Rom(RomSlot::Basic48));
        m->synchronisedSpeed = 0;
        m->resetKind = ResetKind::Mode48;
        ResetMachine(*m);
    }

    void Run(uint32_t frames, const std::vector<KeyStroke>& strokes) {
        for (uint32_t end = frame + frames; frame < end; ++frame) {
            ApplyKeyStrokes(strokes, m->keys, frame);
            while (m->regs.T < m->frameLength)
                ExecuteInstruction(*m);
            FrameEnd(*m);
        }
    }

    std::vector<uint8_t> Peek(uint16_t address, size_t length) const {
        std::vector<uint8_t> bytes;
        for (size_t i = 0; i < length; ++i)
            bytes.push_back(ReadByte(*m, address + i));
        return bytes;
    }

    std::unique_ptr<MachineState> m = std::make_unique<MachineState>();
    uint32_t frame = 0;
};

TEST_F(BasicTyping, TypedLineIsStoredTokenisedAndRuns) {
    std::vector<KeyStroke> strokes;
    ASSERT_EQ(TypeText("10p1\\n", 100, strokes), std::nullopt);
    ASSERT_EQ(TypeText("r\\n", 200, strokes), std::nullopt);

    Run(200, strokes);
    const uint16_t prog = ReadWord(*m, kProg);
    // Line 10, 9 bytes: PRINT, "1", the hidden five-byte number 1, ENTER.
    const std::vector<uint8_t> line = {0x00, 0x0A, 0x09, 0x00, 0xF5, 0x31, 0x0E,
                                       0x00, 0x00, 0x01, 0x00, 0x00, 0x0D};
    EXPECT_EQ(Peek(prog, line.size()), line);

    // RUN prints 1 at the top left: the character's eight pixel rows are in the screen's
    // first character cell, one display line of 256 bytes apart.
    Run(200, strokes);
    const std::vector<uint8_t> digitOne = {0x00, 0x18, 0x28, 0x08, 0x08, 0x08, 0x3E, 0x00};
    std::vector<uint8_t> cell;
    for (uint16_t row = 0; row < 8; ++row)
        cell.push_back(ReadByte(*m, 0x4000 + 256 * row));
    EXPECT_EQ(cell, digitOne);
}

} // namespace
} // namespace vespin
