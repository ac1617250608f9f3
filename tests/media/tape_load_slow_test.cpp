// Tapes loaded through the real ROM loader: the bytes that land in memory and what the loaded
// programs print.
#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "core/frame.h"
#include "core/machine.h"
#include "core/reset.h"
#include "core/z80.h"
#include "media/tape_player.h"
#include "support/testdata.h"

namespace vespin {
namespace {

using test::TestDataPath;

std::string Tape(const std::string& name) {
    return TestDataPath("tapes/" + name).string();
}

void LoadRom(MachineState& m, RomSlot slot, const char* file) {
    const auto bytes = test::ReadTestFile(TestDataPath(std::string("roms/") + file));
    ASSERT_EQ(bytes.size(), kPageSize) << file;
    std::copy(bytes.begin(), bytes.end(), m.memory.rom[size_t(slot)].begin());
}

std::unique_ptr<MachineState> Machine(ResetKind kind) {
    auto m = std::make_unique<MachineState>();
    m->synchronisedSpeed = 0;
    // The 128K editor calls into its own 48K BASIC page, which differs from the 48K machine's.
    LoadRom(*m, RomSlot::Basic48, kind == ResetKind::Mode48 ? "48.rom" : "128-1.rom");
    LoadRom(*m, RomSlot::Rom128, "128-0.rom");
    LoadRom(*m, RomSlot::Trdos, "trdos503.rom");
    m->memory.trdosEnabled = false;
    m->resetKind = kind;
    ResetMachine(*m);
    return m;
}

using FrameHook = std::function<void(MachineState&)>;

void RunFrames(MachineState& m, int frames, const FrameHook& hook = {}) {
    for (int f = 0; f < frames; ++f) {
        if (hook) hook(m);
        while (m.regs.T < m.frameLength)
            ExecuteInstruction(m);
        FrameEnd(m);
    }
}

// Hands keys to the ROM's editor the way its keyboard interrupt does: the code in LAST_K
// (0x5C08) and bit 5 of FLAGS (0x5C3B) set; the editor clears the bit when it takes the key.
FrameHook TypeKeys(std::vector<uint8_t> keys) {
    auto next = std::make_shared<size_t>(0);
    return [keys, next](MachineState& m) {
        if (*next >= keys.size() || (ReadByte(m, 0x5C3B) & 0x20)) return;
        WriteByte(m, 0x5C08, keys[(*next)++]);
        WriteByte(m, 0x5C3B, ReadByte(m, 0x5C3B) | 0x20);
    };
}

constexpr uint8_t kLoadToken = 0xEF;
const std::vector<uint8_t> kLoadQuotes = {kLoadToken, '"', '"', 0x0D};

// One character row of the screen read back through the 48K ROM's font; '?' where no glyph
// matches.
std::string ScreenRow(const MachineState& m, int row) {
    const auto& font = m.memory.rom[size_t(RomSlot::Basic48)];
    std::string text;
    for (int col = 0; col < 32; ++col) {
        char found = '?';
        for (int ch = 32; ch < 128 && found == '?'; ++ch) {
            bool same = true;
            for (int line = 0; line < 8 && same; ++line) {
                const uint16_t a =
                    uint16_t(0x4000 + ((row & 0x18) << 8) + ((row & 7) << 5) + col + (line << 8));
                same = ReadByte(m, a) == font[size_t(0x3D00 + (ch - 32) * 8 + line)];
            }
            if (same) found = char(ch);
        }
        text += found;
    }
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

// The ROM's LD-BYTES (0x0556) called directly for every standard block of a tape: each must
// load with its checksum right and leave exactly the block's bytes in memory.
TEST(TapeRomLoad, LdBytesReadsEveryStandardBlock) {
    const char* files[] = {
        "generated/hello.tap", "generated/hello.tzx",       "generated/mcok.tap",
        "generated/mcok.tzx",  "real/aydetect.tap",         "real/AYtest_v0.2.tap",
        "real/circulos.tzx",   "real/explodingplanets.tzx",
    };
    for (const char* file : files) {
        SCOPED_TRACE(file);
        VESPIN_REQUIRE_TESTDATA(Tape(file));
        auto mp = Machine(ResetKind::Mode48);
        MachineState& m = *mp;
        ASSERT_EQ(InsertTapeFile(m, Tape(file)), "");
        const TapeImage& img = m.tape.image;
        int loaded = 0;
        for (int32_t b = 0; b < img.BlockCount(); ++b) {
            uint32_t start = img.BlockStart(b);
            if (img.kind == TapeKind::Tzx) {
                if (img.data[start] != 0x10) continue;
                start += 3;
            }
            const uint32_t length = img.data[start] | img.data[start + 1] << 8;
            const uint8_t flag = img.data[start + 2];
            const uint16_t dest = 0x8000;
            const uint16_t sentinel = 0x3FF0;
            m.regs.SP = 0x7FF0;
            WriteWord(m, m.regs.SP, sentinel);
            m.regs.A = flag;
            m.regs.F = 0x01; // carry: load rather than verify
            m.regs.SetDE(uint16_t(length - 2));
            m.regs.IX = dest;
            m.regs.PC = 0x0556;
            for (int frame = 0; frame < 5000 && m.regs.PC != sentinel; ++frame) {
                while (m.regs.T < m.frameLength && m.regs.PC != sentinel)
                    ExecuteInstruction(m);
                if (m.regs.T >= m.frameLength) FrameEnd(m);
            }
            ASSERT_EQ(m.regs.PC, sentinel) << "block " << b;
            EXPECT_EQ(m.regs.F & 0x01, 1) << "block " << b << " failed to load";
            for (uint32_t i = 0; i + 2 < length; ++i) {
                ASSERT_EQ(ReadByte(m, uint16_t(dest + i)), img.data[start + 3 + i])
                    << "block " << b << " byte " << i;
            }
            ++loaded;
        }
        EXPECT_GE(loaded, 2);
    }
}

// FNV-1a over memory read through the current paging.
uint64_t MemoryHash(const MachineState& m, std::initializer_list<std::pair<int, int>> ranges) {
    uint64_t h = 0xCBF29CE484222325u;
    for (auto [from, to] : ranges) {
        for (int a = from; a < to; ++a)
            h = (h ^ ReadByte(m, uint16_t(a))) * 0x100000001B3u;
    }
    return h;
}

struct AutostartCase {
    const char* file;
    ResetKind kind;
    int frames;
    std::vector<std::pair<int, std::string>> rows; // character rows read back from the screen
    int border;                                    // -1: not checked
};
void PrintTo(const AutostartCase& c, std::ostream* os) {
    *os << c.file;
}

class TapeAutostart : public testing::TestWithParam<AutostartCase> {};

// Types LOAD "" on 48K BASIC, or ENTER on the 128K menu's "Tape Loader" (its first item); the
// ROM's loader starts the tape and the program starts itself.
std::unique_ptr<MachineState> LoadThroughRom(const AutostartCase& c) {
    auto m = Machine(c.kind);
    EXPECT_EQ(InsertTapeFile(*m, Tape(c.file)), "");
    RunFrames(*m, 150); // start-up: the RAM test and the copyright message, or the menu
    const auto keys = c.kind == ResetKind::Mode48 ? kLoadQuotes : std::vector<uint8_t>{0x0D};
    RunFrames(*m, c.frames, TypeKeys(keys));
    return m;
}

TEST_P(TapeAutostart, LoadsRunsAndPrints) {
    const AutostartCase& c = GetParam();
    VESPIN_REQUIRE_TESTDATA(Tape(c.file));
    const auto m = LoadThroughRom(c);
    for (const auto& [row, text] : c.rows)
        EXPECT_EQ(ScreenRow(*m, row), text) << "row " << row;
    if (c.border >= 0) {
        EXPECT_EQ(m->screen.borderColour, c.border);
    }
}

// hello: 10 PRINT "HELLO": 20 BORDER 2. The loader's messages begin with a carriage return, so
// "Program: HELLO" stands on row 1 and the program's output on row 2.
const std::vector<std::pair<int, std::string>> kHelloRows = {
    {1, "Program: HELLO"}, {2, "HELLO"}, {23, "0 OK, 20:1"}};
// mcok's code sets the border green and BORDCR, but its print loop ends at the first zero byte,
// which is the row of its own AT 0,0: it prints nothing (see the CODE test below).
const std::vector<std::pair<int, std::string>> kMcokTapRows = {
    {0, ""}, {1, "Bytes: mcok.tap"}, {23, "0 OK, 40:1"}};
const std::vector<std::pair<int, std::string>> kMcokTzxRows = {
    {0, ""}, {1, "Bytes: mcok.tzx"}, {23, "0 OK, 40:1"}};

INSTANTIATE_TEST_SUITE_P(
    Tapes, TapeAutostart,
    testing::Values(
        AutostartCase{"generated/hello.tap", ResetKind::Mode48, 1000, kHelloRows, 2},
        AutostartCase{"generated/hello.tzx", ResetKind::Mode48, 1000, kHelloRows, 2},
        AutostartCase{"generated/hello.tap", ResetKind::Mode128, 1000, kHelloRows, 2},
        AutostartCase{"generated/hello.tzx", ResetKind::Mode128, 1000, kHelloRows, 2},
        AutostartCase{"generated/mcok.tap", ResetKind::Mode48, 1200, kMcokTapRows, 4},
        AutostartCase{"generated/mcok.tzx", ResetKind::Mode48, 1200, kMcokTzxRows, 4},
        AutostartCase{"real/circulos.tzx",
                      ResetKind::Mode48,
                      5000,
                      {{10, "    QUIERES VOLVER A COMENZAR ?"}, {11, "               S/N"}},
                      -1},
        AutostartCase{"real/aydetect.tap", ResetKind::Mode48, 2000, {{0, "YM2149"}}, -1},
        AutostartCase{"real/AYtest_v0.2.tap",
                      ResetKind::Mode128,
                      5000,
                      {{0, "Please, choose device"}, {4, " Beeper/TapeOut"}},
                      -1},
        // "DESEAS INSTRUCCIONES S/N ?" in the game's own font: only the question mark is the
        // ROM's glyph.
        AutostartCase{"real/explodingplanets.tzx",
                      ResetKind::Mode48,
                      12000,
                      {{10, " ?????? ????????????? ??? ?"}},
                      -1}));

TEST(TapeAutostartCode, McokCodeLandsAndRuns) {
    const AutostartCase c{"generated/mcok.tap", ResetKind::Mode48, 1200, {}, 4};
    VESPIN_REQUIRE_TESTDATA(Tape(c.file));
    const auto m = LoadThroughRom(c);
    const auto tap = test::ReadTestFile(Tape(c.file));
    // The CODE block is the tape's last: 41 bytes after its length word and flag.
    const size_t code = tap.size() - 1 - 41;
    for (uint16_t i = 0; i < 41; ++i)
        ASSERT_EQ(ReadByte(*m, uint16_t(0x8000 + i)), tap[code + i]);
    EXPECT_EQ(ReadByte(*m, 23624), 0x20); // BORDCR written by the code
}

// snap2tzx's own turbo loader (pilot 1700, sync 450/450, bits 200/400 T) rebuilds the snapshot
// it was made from: all of RAM above the screen equals newbench.z80 apart from the FRAMES
// counter and the top of the stack, which change as the program runs.
TEST(TapeAutostartCode, TurboLoaderRebuildsItsSnapshot) {
    const AutostartCase c{"generated/newbench-snap2tzx.tzx", ResetKind::Mode48, 1500, {}, -1};
    VESPIN_REQUIRE_TESTDATA(Tape(c.file));
    const auto m = LoadThroughRom(c);
    EXPECT_EQ(m->tape.currentBlock, 3); // played to its last (turbo) block
    EXPECT_EQ(MemoryHash(*m, {{0x5B00, 0x5C78}, {0x5C7B, 0xFF00}}), 0x114833A314DF4ED8u);
}

} // namespace
} // namespace vespin
