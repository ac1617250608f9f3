// The call sequence of ExecuteInstruction: pause, frame end, reset hold, interrupt acceptance
// and its 24 T-state window, the EI gate, HALT, R counting and prefix chains.
#include <gtest/gtest.h>

#include "core/reset.h"
#include "z80_test_machine.h"

namespace vespin {
namespace {

using test::Z80Test;

struct InterruptCase {
    const char* what;
    int32_t t;
    uint8_t iff1;
    uint8_t gate;
    bool accepted;
};

class InterruptWindow : public Z80Test, public ::testing::WithParamInterface<InterruptCase> {};

// An interrupt is accepted before an instruction only while T < 24, IFF1 = 1 and the gate is
// open; acceptance pushes PC, clears both flip-flops and costs 13 T-states in IM 1.
TEST_P(InterruptWindow, AcceptsOnlyInsideTheWindow) {
    const InterruptCase& c = GetParam();
    Program({0x00});
    m.regs.T = c.t;
    m.regs.IFF1 = m.regs.IFF2 = c.iff1;
    m.regs.InterruptGate = c.gate;
    m.regs.IM = 1;
    const uint8_t r = m.regs.R;
    const int32_t spent = Step();
    if (c.accepted) {
        EXPECT_EQ(m.regs.PC, 0x0038);
        EXPECT_EQ(spent, 13);
        EXPECT_EQ(ReadWord(m, m.regs.SP), 0x8000);
        EXPECT_EQ(m.regs.IFF1 | m.regs.IFF2, 0);
        EXPECT_EQ(m.regs.R, r) << "acceptance fetches no opcode";
    } else {
        EXPECT_EQ(m.regs.PC, 0x8001);
        EXPECT_EQ(spent, 4);
    }
}

INSTANTIATE_TEST_SUITE_P(Z80, InterruptWindow,
                         ::testing::Values(InterruptCase{"frame start", 0, 1, 1, true},
                                           InterruptCase{"last T of the line", 23, 1, 1, true},
                                           InterruptCase{"line released", 24, 1, 1, false},
                                           InterruptCase{"disabled", 0, 0, 1, false},
                                           InterruptCase{"gate closed by EI", 0, 1, 0, false}),
                         [](const auto& info) {
                             std::string name = info.param.what;
                             for (char& ch : name)
                                 if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return name;
                         });

TEST_F(Z80Test, Im2ReadsTheVectorAtIAndFFAndIm0ActsAsIm1) {
    Program({0x00});
    Poke(0x3BFF, {0x34, 0x12});
    m.regs.I = 0x3B;
    m.regs.IM = 2;
    m.regs.IFF1 = m.regs.InterruptGate = 1;
    m.regs.T = 0;
    EXPECT_EQ(Step(), 19);
    EXPECT_EQ(m.regs.PC, 0x1234);

    m.regs.PC = 0x8000;
    m.regs.IM = 0;
    m.regs.IFF1 = 1;
    m.regs.T = 0;
    EXPECT_EQ(Step(), 13);
    EXPECT_EQ(m.regs.PC, 0x0038);
}

// The frame end runs first when T has reached the frame length; the new frame's interrupt is
// then accepted in the same call.
TEST_F(Z80Test, FrameEndComesBeforeTheNewFramesInterrupt) {
    Program({0x00});
    m.regs.T = m.frameLength + 2;
    m.regs.IFF1 = m.regs.InterruptGate = 1;
    Step();
    EXPECT_EQ(m.frameCounter.load(), 1u);
    EXPECT_EQ(m.regs.T, 2 + 13);
    EXPECT_EQ(m.regs.PC, 0x0038);
}

// EI at the very start of a frame: the instruction after it runs, then the interrupt is taken.
TEST_F(Z80Test, EiDelaysTheInterruptByOneInstruction) {
    Program({0xFB, 0x00, 0x00});
    m.regs.T = 0;
    Step(2);
    EXPECT_EQ(m.regs.PC, 0x8002);
    Step();
    EXPECT_EQ(m.regs.PC, 0x0038);
    EXPECT_EQ(ReadWord(m, m.regs.SP), 0x8002);
}

// HALT re-executes (4 T-states, one R increment a pass) until the interrupt, which returns
// behind it.
TEST_F(Z80Test, HaltWaitsForTheInterruptAndReturnsBehindIt) {
    Program({0x76});
    m.regs.IFF1 = m.regs.IFF2 = 1;
    m.regs.InterruptGate = 1;
    EXPECT_EQ(Step(3), 12);
    EXPECT_EQ(m.regs.PC, 0x8000);
    EXPECT_EQ(m.regs.R, 3);
    EXPECT_EQ(m.cpuStopped.load(), 0);
    m.regs.T = 10;
    Step();
    EXPECT_EQ(m.regs.PC, 0x0038);
    EXPECT_EQ(ReadWord(m, m.regs.SP), 0x8001);
}

TEST_F(Z80Test, HaltWithInterruptsDisabledReportsTheStop) {
    Program({0x76});
    Step(2);
    EXPECT_EQ(m.cpuStopped.load(), 1);
    EXPECT_EQ(m.regs.PC, 0x8000);
}

TEST_F(Z80Test, PauseRunsNothing) {
    Program({0x00});
    m.pause = 1;
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(m.regs.PC, 0x8000);
    EXPECT_EQ(m.regs.R, 0);
}

TEST_F(Z80Test, HeldResetResetsOnEveryCallAt4TStates) {
    Program({0x00});
    m.regs.T = 100;
    m.resetHold = 1;
    EXPECT_EQ(Step(2), 8);
    EXPECT_EQ(m.regs.PC, 0x0000);
    EXPECT_EQ(m.regs.SP, 0xFFFF);
}

// Each opcode fetch counts R once: three NOPs and ED 5F are five fetches.
TEST_F(Z80Test, LdARAfterResetAndThreeNops) {
    ResetMachine(m);
    const uint8_t program[] = {0x00, 0x00, 0x00, 0xED, 0x5F};
    for (uint16_t a = 0; a < sizeof program; ++a)
        *ByteAddress(m.memory, a) = program[a];
    m.regs.T = Z80Test::kQuietT;
    Step(4);
    EXPECT_EQ(m.regs.A, 5);
}

// R counts in 7 bits; bit 7 is what LD R,A stored.
TEST_F(Z80Test, RKeepsBit7WhileTheLowBitsWrap) {
    Program({0xED, 0x4F, 0xED, 0x5F});
    m.regs.A = 0xFF;
    Step(2);
    EXPECT_EQ(m.regs.A, 0x81); // R = 0x7F + 2 fetches, bit 7 kept
}

// DD DD 21 nn nn: the first prefix alone is one call of 4 T-states that keeps the next prefix
// from an interrupt; the second call executes LD IX,nn. R grows by 3 in all.
TEST_F(Z80Test, PrefixChainIsExecutedOnePrefixPerCall) {
    Program({0xDD, 0xDD, 0x21, 0x34, 0x12});
    EXPECT_EQ(Step(), 4);
    EXPECT_EQ(m.regs.PC, 0x8001);
    EXPECT_EQ(m.regs.InterruptGate, 0);
    m.regs.IFF1 = 1;
    m.regs.T = 0; // even inside the INT window the chain goes on
    EXPECT_EQ(Step(), 14);
    EXPECT_EQ(m.regs.IX, 0x1234);
    EXPECT_EQ(m.regs.R, 3);
}

TEST_F(Z80Test, DdFdUsesTheLastPrefix) {
    Program({0xDD, 0xFD, 0x21, 0x34, 0x12});
    EXPECT_EQ(Step(2), 18);
    EXPECT_EQ(m.regs.IY, 0x1234);
    EXPECT_EQ(m.regs.IX, 0);
}

// A single step is one call: inside the window it only accepts the interrupt.
TEST_F(Z80Test, StepInsideTheWindowOnlyAcceptsTheInterrupt) {
    Program({0x3E, 0x42}); // LD A,0x42
    m.regs.T = 5;
    m.regs.IFF1 = m.regs.InterruptGate = 1;
    m.regs.A = 0;
    Step();
    EXPECT_EQ(m.regs.A, 0);
    EXPECT_EQ(m.regs.PC, 0x0038);
}

struct LoadAICase {
    int32_t startT;
    uint8_t iff2;
    uint8_t pv;
};

class LoadAIAtFrameEnd : public Z80Test, public ::testing::WithParamInterface<LoadAICase> {};

// LD A,I and LD A,R copy IFF2 into P/V, but not when they end at or past T 71680: the
// interrupt that follows would have cleared IFF2 first. The limit is fixed, whatever the frame
// length option says.
TEST_P(LoadAIAtFrameEnd, PvFollowsIff2UnlessTheFrameEnds) {
    const LoadAICase& c = GetParam();
    m.frameLength = 80000;
    for (uint8_t op : {0x57, 0x5F}) {
        m.regs.PC = 0x8000;
        Program({0xED, op});
        m.regs.IFF2 = c.iff2;
        m.regs.T = c.startT;
        Step();
        EXPECT_EQ(m.regs.F & flag::PV, c.pv) << "ED " << int{op};
    }
}

INSTANTIATE_TEST_SUITE_P(Z80, LoadAIAtFrameEnd,
                         ::testing::Values(LoadAICase{71670, 1, flag::PV}, LoadAICase{71671, 1, 0},
                                           LoadAICase{75000, 1, 0}, LoadAICase{71000, 0, 0}));

} // namespace
} // namespace vespin
