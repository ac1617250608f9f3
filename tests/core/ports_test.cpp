#include <gtest/gtest.h>

#include "core/machine.h"
#include "core/ports.h"

namespace vespin {
namespace {

TEST(PortOut, KeyboardPortDecodesOnlyA0) {
    for (uint16_t port : {0x00FE, 0xFFFE, 0x12FE, 0x7FFC}) {
        MachineState m;
        PortOut(m, port, 0x12);
        EXPECT_EQ(m.lastKeyboardPort, 0x12) << std::hex << port;
        EXPECT_EQ(m.screen.borderColour, 2) << std::hex << port;
    }
    MachineState m;
    PortOut(m, 0x00FF, 0x12);
    EXPECT_EQ(m.lastKeyboardPort, 0);
}

TEST(PortOut, OnePortCanReachSeveralDevices) {
    // 0x7FFC matches the keyboard (A0 = 0) and the paging port (A15 = A1 = 0).
    MachineState m;
    PortOut(m, 0x7FFC, 0x17);
    EXPECT_EQ(m.lastKeyboardPort, 0x17);
    EXPECT_EQ(m.memory.paging.PagingLatch, 0x17);

    // 0x1FFD also matches the 0x7FFD decode: the paging latch is written first.
    MachineState s;
    s.memory.model = MemoryModel::Scorpion256;
    PortOut(s, 0x1FFD, 0x10);
    EXPECT_EQ(s.memory.paging.PagingLatch, 0x10);
    EXPECT_EQ(s.memory.paging.ExtendedLatch, 0x10);
    EXPECT_EQ(s.memory.paging.HighBank, 8);
}

TEST(PortOut, LockedPagingIgnoresWrites) {
    MachineState m;
    PortOut(m, 0x7FFD, 0x30);
    PortOut(m, 0x7FFD, 0x10);
    EXPECT_EQ(m.memory.paging.PagingLatch, 0x30);
}

TEST(Ay, SelectWriteReadBackThroughPorts) {
    MachineState m;
    PortOut(m, 0xFFFD, 0x07);
    PortOut(m, 0xBFFD, 0x38);
    EXPECT_EQ(m.ay.reg[7], 0x38);
    EXPECT_EQ(PortIn(m, 0xFFFD), 0x38);
    PortOut(m, 0xFFFD, 0x11); // register 17 selects register 1
    PortOut(m, 0xBFFD, 0xFF);
    EXPECT_EQ(PortIn(m, 0xFFFD), 0xFF);
    EXPECT_EQ(m.ay.reg[1], 0xFF);
}

TEST(Ay, TrdosActiveHidesTheChip) {
    MachineState m;
    m.memory.paging.TrdosActive = 1;
    PortOut(m, 0xFFFD, 0x07);
    PortOut(m, 0xBFFD, 0x38);
    EXPECT_EQ(m.ay.reg[7], 0);
    // 0xFD & 0x83 = 0x81: neither the AY nor a Beta 128 register answers.
    m.options.attributePort = false;
    EXPECT_EQ(PortIn(m, 0xFFFD), 0xFF);
}

TEST(PortIn, KempstonJoystickUnlessBetaPortsAreDecoded) {
    MachineState m;
    m.kempston.joystick = 0x05;
    EXPECT_EQ(PortIn(m, 0x001F), 0x05);
    m.options.dosPortAccess = true; // now 0x1F is the VG93 status register
    EXPECT_EQ(PortIn(m, 0x001F), ReadVg93Register(m, Vg93Register::CommandStatus));
}

TEST(PortIn, KempstonMouseIgnoresA9) {
    MachineState m;
    m.options.kempstonMouse = true;
    m.kempston.mouseX = 0x11;
    m.kempston.mouseY = 0x22;
    m.kempston.mouseButtons = 0xFE;
    EXPECT_EQ(PortIn(m, 0xFBDF), 0x11);
    EXPECT_EQ(PortIn(m, 0xF9DF), 0x11);
    EXPECT_EQ(PortIn(m, 0xFFDF), 0x22);
    EXPECT_EQ(PortIn(m, 0xFDDF), 0x22);
    EXPECT_EQ(PortIn(m, 0xFADF), 0xFE);
}

TEST(PortIn, UnansweredReads) {
    MachineState m;
    m.options.attributePort = false;
    EXPECT_EQ(PortIn(m, 0x40FF), 0xFF);
    m.options.attributePort = true;
    EXPECT_EQ(PortIn(m, 0x40FF), ReadFloatingBus(m));
}

TEST(PortIn, InPortFlagsKeepsCarry) {
    MachineState m;
    m.regs.SetBC(0xFFFD);
    m.ay.reg[0] = 0x00;
    m.regs.F = 0xFF;
    EXPECT_EQ(InPortFlags(m), 0x00);
    EXPECT_EQ(m.regs.F, flag::Z | flag::PV | flag::C);
}

} // namespace
} // namespace vespin
