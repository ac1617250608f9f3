#include <gtest/gtest.h>

#include "core/machine.h"
#include "core/ports.h"
#include "core/reset.h"

namespace vespin {
namespace {

void Reset(MachineState& m, ResetKind kind) {
    m.resetKind = kind;
    ResetMachine(m);
}

TEST(Reset, RegistersAndWhatIsKept) {
    MachineState m;
    m.regs.SetHL(0x1234);
    m.regs.SetDE(0x5678);
    m.regs.IM = 2;
    m.regs.IFF1 = m.regs.IFF2 = 1;
    m.regs.PC = 0x8000;
    m.regs.SetR(0xC5);
    m.regs.T = 500;
    WriteByte(m, 0x8000, 0x42);
    Reset(m, ResetKind::Mode128);
    EXPECT_EQ(m.regs.PC, 0);
    EXPECT_EQ(m.regs.SP, 0xFFFF);
    EXPECT_EQ(m.regs.AF(), 0xFFFF);
    EXPECT_EQ(m.regs.IM, 0);
    EXPECT_EQ(m.regs.IFF1 | m.regs.IFF2, 0);
    EXPECT_EQ(m.regs.VisibleR(), 0);
    EXPECT_EQ(m.regs.HL(), 0x1234);
    EXPECT_EQ(m.regs.DE(), 0x5678);
    EXPECT_EQ(m.regs.T, 500);
    EXPECT_EQ(ReadByte(m, 0x8000), 0x42);
}

TEST(Reset, Mode48LocksPagingMode128DoesNot) {
    MachineState m;
    Reset(m, ResetKind::Mode48);
    EXPECT_EQ(m.memory.paging.window[0], m.memory.Rom(RomSlot::Basic48));
    PortOut(m, 0x7FFD, 0x17);
    EXPECT_EQ(m.memory.paging.HighBank, 0);

    Reset(m, ResetKind::Mode128);
    EXPECT_EQ(m.memory.paging.window[0], m.memory.Rom(RomSlot::Rom128));
    PortOut(m, 0x7FFD, 0x17);
    EXPECT_EQ(m.memory.paging.HighBank, 7);
    EXPECT_EQ(m.memory.paging.window[0], m.memory.Rom(RomSlot::Basic48));
}

TEST(Reset, TrdosKinds) {
    MachineState m;
    Reset(m, ResetKind::Trdos128);
    EXPECT_EQ(m.memory.paging.TrdosActive, 1);
    EXPECT_EQ(m.memory.paging.window[0], m.memory.Rom(RomSlot::Trdos));
    EXPECT_NE(m.memory.paging.PagingLatch & 0x10, 0);
    // The first instruction at 0x4000 or above brings the 48K BASIC ROM back.
    SwitchTrdosRom(m.memory, 0x4000);
    EXPECT_EQ(m.memory.paging.window[0], m.memory.Rom(RomSlot::Basic48));

    // With TR-DOS disabled, kind 1 is kind 0.
    MachineState d;
    d.memory.trdosEnabled = false;
    Reset(d, ResetKind::Trdos48);
    EXPECT_EQ(d.memory.paging.TrdosActive, 0);
    EXPECT_EQ(d.memory.paging.window[0], d.memory.Rom(RomSlot::Basic48));
    EXPECT_EQ(d.memory.paging.PagingLatch, 0x30);
}

TEST(Reset, FromInsideTrdosToMode48) {
    MachineState m;
    Reset(m, ResetKind::Trdos48);
    Reset(m, ResetKind::Mode48);
    EXPECT_EQ(m.memory.paging.TrdosActive, 0);
    EXPECT_EQ(m.memory.paging.window[0], m.memory.Rom(RomSlot::Basic48));
}

TEST(Reset, Pentagon1024Mode48SelectsBank8WithoutLock) {
    MachineState m;
    m.memory.model = MemoryModel::Pentagon1024;
    Reset(m, ResetKind::Mode48);
    EXPECT_EQ(m.memory.paging.HighBank, 8);
    PortOut(m, 0x7FFD, 0x01);
    EXPECT_EQ(m.memory.paging.HighBank, 1);
}

TEST(Reset, ScorpionLeavesRamAtZero) {
    MachineState m;
    m.memory.model = MemoryModel::Scorpion256;
    PortOut(m, 0x1FFD, 0x01);
    Reset(m, ResetKind::Mode128);
    EXPECT_EQ(m.memory.paging.ExtendedLatch, 0);
    EXPECT_EQ(m.memory.paging.RomWritable, 0);
    EXPECT_EQ(m.memory.paging.window[0], m.memory.Rom(RomSlot::Rom128));
}

} // namespace
} // namespace vespin
