// A machine with 64 KB of flat RAM for executor tests: the Scorpion's port 0x1FFD maps RAM
// bank 0 at 0x0000 and bank 1 is paged at 0xC000. T starts outside the frame's interrupt window.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

#include "core/machine.h"
#include "core/z80.h"

namespace vespin::test {

class Z80Test : public ::testing::Test {
  protected:
    static constexpr int32_t kQuietT = 1000; // past the 24 T-states of the INT line

    Z80Test() {
        m.memory.model = MemoryModel::Scorpion256;
        m.memory.trdosEnabled = false;
        WritePort1FFD(m.memory, 0x01);
        WritePort7FFD(m.memory, 0x01);
        m.regs.T = kQuietT;
        m.regs.SP = 0xF000;
        m.regs.PC = 0x8000;
    }

    // Places bytes at the address (wrapping at 16 bits).
    void Poke(uint16_t address, std::initializer_list<uint8_t> bytes) {
        for (uint8_t b : bytes)
            WriteByte(m, address++, b);
    }
    // Places a program at PC.
    void Program(std::initializer_list<uint8_t> bytes) { Poke(m.regs.PC, bytes); }

    // Runs calls of ExecuteInstruction; returns the T-states they took.
    int32_t Step(int calls = 1) {
        const int32_t before = m.regs.T;
        for (int k = 0; k < calls; ++k)
            ExecuteInstruction(m);
        return m.regs.T - before;
    }

    MachineState m;
};

} // namespace vespin::test
