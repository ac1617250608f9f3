// Instruction rules where the executor is easy to get wrong: DAA, the fixed results of SBC A,A
// and XOR A, bits 3 and 5 of CP, BIT and the indexed forms, index halves against H and L, and
// the block instructions' passes, flags and port addresses.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "z80_test_machine.h"

namespace vespin {
namespace {

using test::Z80Test;

constexpr uint16_t kOperand = 0x9000; // HL points here in the flag cases

struct FlagCase {
    const char* what;
    uint8_t a, f, operand;
    std::vector<uint8_t> program;
    int calls;
    uint8_t expectA, expectF;
};

class Flags : public Z80Test, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(Flags, ResultAndFlags) {
    const FlagCase& c = GetParam();
    for (size_t k = 0; k < c.program.size(); ++k)
        WriteByte(m, static_cast<uint16_t>(0x8000 + k), c.program[k]);
    m.regs.A = c.a;
    m.regs.F = c.f;
    m.regs.SetHL(kOperand);
    WriteByte(m, kOperand, c.operand);
    Step(c.calls);
    EXPECT_EQ(m.regs.A, c.expectA) << c.what;
    EXPECT_EQ(m.regs.F, c.expectF) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Z80, Flags,
    ::testing::Values(
        // 0x99 + 0x99 = 0x32 with H and C; DAA adds 0x66 and keeps C.
        FlagCase{"DAA after ADD A,0x99", 0x99, 0x00, 0, {0xC6, 0x99, 0x27}, 2, 0x98, 0x89},
        FlagCase{"DAA after SUB keeps N", 0x10, 0x00, 0, {0xD6, 0x01, 0x27}, 2, 0x09, 0x0E},
        FlagCase{"SBC A,A with carry", 0x37, 0x01, 0, {0x9F}, 1, 0xFF, 0xBB},
        FlagCase{"SBC A,A without carry", 0x37, 0x00, 0, {0x9F}, 1, 0x00, 0x42},
        FlagCase{"XOR A", 0x5A, 0xFF, 0, {0xAF}, 1, 0x00, 0x44},
        // 0x30 - 0x08 = 0x28, but bits 5 and 3 come from the operand 0x08.
        FlagCase{"CP (HL)", 0x30, 0x00, 0x08, {0xBE}, 1, 0x30, 0x1A},
        FlagCase{"NEG of 0x80 overflows", 0x80, 0x00, 0, {0xED, 0x44}, 1, 0x80, 0x87},
        FlagCase{"SCF copies bits 3 and 5 from A", 0x28, 0xC4, 0, {0x37}, 1, 0x28, 0xED},
        FlagCase{"CCF moves C into H", 0x00, 0x01, 0, {0x3F}, 1, 0x00, 0x10},
        FlagCase{"CPL", 0x0F, 0x00, 0, {0x2F}, 1, 0xF0, 0x32},
        // Bit 0 of 0x28 is clear: Z, P/V and H, with bits 5 and 3 from the byte read.
        FlagCase{"BIT 0,(HL)", 0x00, 0x00, 0x28, {0xCB, 0x46}, 1, 0x00, 0x7C},
        FlagCase{"BIT 7,A sets S", 0x80, 0x01, 0, {0xCB, 0x7F}, 1, 0x80, 0x91},
        FlagCase{"SLL shifts in a 1", 0x80, 0x00, 0, {0xCB, 0x37}, 1, 0x01, 0x01}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& ch : name)
            if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

TEST_F(Z80Test, PushAfPopBcSwapsByteOrderIntoBC) {
    Program({0xF5, 0xC1});
    m.regs.A = 0x12, m.regs.F = 0x34;
    EXPECT_EQ(Step(2), 21);
    EXPECT_EQ(m.regs.C, 0x34);
    EXPECT_EQ(m.regs.B, 0x12);
}

// (IX+d) forms keep H and L as the register operand; only the plain forms use the halves.
TEST_F(Z80Test, IndexFormsUseHAndLOrTheIndexHalves) {
    Program({0xDD, 0x66, 0x05,   // LD H,(IX+5)
             0xDD, 0x60,         // LD IXh,B
             0xDD, 0x7E, 0xFD}); // LD A,(IX-3)
    m.regs.IX = 0x9000;
    m.regs.B = 0x00;
    Poke(0x9005, {0x77});
    Poke(0xFFFD, {0x66});
    EXPECT_EQ(Step(), 19);
    EXPECT_EQ(m.regs.H, 0x77);
    EXPECT_EQ(m.regs.IX, 0x9000);
    EXPECT_EQ(Step(), 8);
    EXPECT_EQ(m.regs.IX, 0x0000);
    Step(); // 0x0000 - 3 wraps to 0xFFFD
    EXPECT_EQ(m.regs.A, 0x66);
}

// Opcodes without an index form run unprefixed, 4 T-states later.
TEST_F(Z80Test, PrefixWithoutIndexFormRunsThePlainInstruction) {
    Program({0xDD, 0x00, 0xDD, 0xEB});
    m.regs.SetDE(0x1111), m.regs.SetHL(0x2222), m.regs.IX = 0x3333;
    EXPECT_EQ(Step(), 8);
    EXPECT_EQ(Step(), 8);
    EXPECT_EQ(m.regs.DE(), 0x2222);
    EXPECT_EQ(m.regs.HL(), 0x1111);
    EXPECT_EQ(m.regs.IX, 0x3333);
    EXPECT_EQ(m.regs.R, 4);
}

TEST_F(Z80Test, IndexedRotateWritesMemoryAndCopiesIntoTheRegisterField) {
    m.regs.IY = 0x9000;
    Poke(0x9004, {0x81});
    Program({0xFD, 0xCB, 0x04, 0x06,   // RLC (IY+4)
             0xFD, 0xCB, 0x04, 0x00}); // RLC (IY+4),B
    // Every register but F and PC.
    const auto others = [](const Z80RegisterSet& r) {
        return std::tuple(r.A, r.BC(), r.DE(), r.HL(), r.IX, r.IY, r.SP, r.I, r.AF_, r.BC_, r.DE_,
                          r.HL_);
    };
    const auto before = others(m.regs);
    EXPECT_EQ(Step(), 23);
    EXPECT_EQ(ReadByte(m, 0x9004), 0x03);
    EXPECT_EQ(m.regs.F, 0x05); // C from bit 7, parity even
    EXPECT_EQ(others(m.regs), before);
    EXPECT_EQ(m.regs.R, 2);
    Step();
    EXPECT_EQ(ReadByte(m, 0x9004), 0x06);
    EXPECT_EQ(m.regs.B, 0x06);
}

// Every DD CB d 40-47 tests bit 0; bits 5 and 3 come from the high byte of IX+d.
TEST_F(Z80Test, IndexedBitTakesBits5And3FromTheAddress) {
    m.regs.IX = 0x2810;
    Poke(0x2800, {0x01});
    for (uint8_t op : {0x46, 0x40, 0x47}) {
        m.regs.PC = 0x8000;
        Program({0xDD, 0xCB, 0xF0, op});
        m.regs.F = 0;
        EXPECT_EQ(Step(), 20);
        EXPECT_EQ(m.regs.F, flag::H | flag::F5 | flag::F3) << int{op};
    }
}

TEST_F(Z80Test, UnassignedEdOpcodesAre8TStateNoOperations) {
    Program({0xED, 0x77, 0xED, 0xFF});
    const Z80RegisterSet before = m.regs;
    EXPECT_EQ(Step(2), 16);
    EXPECT_EQ(m.regs.PC, 0x8004);
    EXPECT_EQ(m.regs.AF(), before.AF());
}

struct LdirCase {
    uint16_t bc;
    int passes;
    int32_t time;
};

class Ldir : public Z80Test, public ::testing::WithParamInterface<LdirCase> {};

// Each pass is one call: 21 T-states with PC back on the ED, 16 for the last. BC = 0 means
// 65536 passes. P/V is set while BC is not 0.
TEST_P(Ldir, PassesAndTiming) {
    const LdirCase& c = GetParam();
    Program({0xED, 0xB0});
    m.regs.SetHL(0x4000), m.regs.SetDE(0x4000), m.regs.SetBC(c.bc);
    Poke(0x4000, {0xAB});
    int passes = 0;
    int32_t time = 0;
    while (m.regs.PC == 0x8000) {
        time += Step();
        ++passes;
        if (m.regs.T > 60000) m.regs.T = Z80Test::kQuietT; // stay clear of frame ends
    }
    EXPECT_EQ(passes, c.passes);
    if (c.time != 0) {
        EXPECT_EQ(time, c.time);
    }
    EXPECT_EQ(m.regs.BC(), 0);
    EXPECT_EQ(m.regs.F & flag::PV, 0);
}

INSTANTIATE_TEST_SUITE_P(Z80, Ldir,
                         ::testing::Values(LdirCase{1, 1, 16}, LdirCase{3, 3, 58},
                                           LdirCase{0, 65536, 0}));

TEST_F(Z80Test, LdirCopiesAndSetsBits5And3FromByteplusA) {
    Program({0xED, 0xB0});
    Poke(0x9000, {0x11, 0x22});
    m.regs.SetHL(0x9000), m.regs.SetDE(0xA000), m.regs.SetBC(2);
    m.regs.A = 0x00;
    m.regs.F = flag::S | flag::Z | flag::C;
    Step(2);
    EXPECT_EQ(ReadByte(m, 0xA000), 0x11);
    EXPECT_EQ(ReadByte(m, 0xA001), 0x22);
    // 0x22 + 0: bit 1 -> F5, bit 3 clear -> F3 clear.
    EXPECT_EQ(m.regs.F, flag::S | flag::Z | flag::C | flag::F5);
}

// CPIR stops at the first match with Z set and P/V still set while BC is not 0.
TEST_F(Z80Test, CpirStopsAtTheFirstMatch) {
    Program({0xED, 0xB1});
    Poke(0x9000, {'A', 'B', 'C', 'C'});
    m.regs.SetHL(0x9000), m.regs.SetBC(10);
    m.regs.A = 'C';
    EXPECT_EQ(Step(3), 21 + 21 + 16);
    EXPECT_EQ(m.regs.PC, 0x8002);
    EXPECT_EQ(m.regs.HL(), 0x9003);
    EXPECT_EQ(m.regs.BC(), 7);
    EXPECT_EQ(m.regs.F & (flag::Z | flag::PV | flag::N), flag::Z | flag::PV | flag::N);
}

// INIR reads the port with B before the pass's decrement (the AY's register port answers at
// 0xE1FD and 0xE0FD, nothing at 0xDFFD); it sets N, and Z after the last pass, and keeps the
// other flags.
TEST_F(Z80Test, InirReadsWithUndecrementedBAndSetsOnlyZAndN) {
    Program({0xED, 0xB2});
    m.ay.latch = 3;
    m.ay.reg[3] = 0x5A;
    m.regs.SetBC(0xE1FD), m.regs.SetHL(0x9000);
    m.regs.F = flag::S | flag::F5 | flag::H | flag::F3 | flag::PV | flag::C;
    EXPECT_EQ(Step(2), 42);
    EXPECT_EQ(ReadByte(m, 0x9000), 0x5A);
    EXPECT_EQ(ReadByte(m, 0x9001), 0x5A);
    EXPECT_EQ(ReadByte(m, 0x9002), 0x00);
    EXPECT_EQ(m.regs.F, 0xBF);
    int passes = 2;
    for (; m.regs.PC == 0x8000; ++passes)
        Step();
    EXPECT_EQ(passes, 0xE1);
    EXPECT_EQ(ReadByte(m, 0x9002), 0xFF);
    EXPECT_EQ(m.regs.F, 0xFF);
}

// OTIR writes with B before the decrement: its first two passes reach the AY's data port at
// 0xA1FD and 0xA0FD; 0x9FFD would not.
TEST_F(Z80Test, OtirWritesWithUndecrementedB) {
    Program({0xED, 0xB3});
    Poke(0x9000, {0x11, 0x22});
    m.ay.latch = 2;
    m.regs.SetBC(0xA1FD), m.regs.SetHL(0x9000);
    Step(2);
    EXPECT_EQ(m.ay.reg[2], 0x22);
    EXPECT_EQ(m.regs.B, 0x9F);
    EXPECT_EQ(m.regs.F & (flag::Z | flag::N), flag::N);
}

} // namespace
} // namespace vespin
