#include <gtest/gtest.h>

#include "core/machine.h"
#include "core/ports.h"
#include "core/reset.h"

namespace vespin {
namespace {

TEST(Memory, BanksFiveTwoZeroFormOne48KRange) {
    Memory mem;
    EXPECT_EQ(mem.Bank(2), mem.Bank(5) + kPageSize);
    EXPECT_EQ(mem.Bank(0), mem.Bank(5) + 2 * kPageSize);
    EXPECT_EQ(mem.Bank(1), mem.Bank(5) + 3 * kPageSize);
    EXPECT_EQ(mem.Bank(63), mem.Bank(5) + 63 * kPageSize);
}

TEST(Memory, RomWritesAreDroppedAndWordsWrap) {
    MachineState m;
    m.memory.rom[1][0] = 0x12;
    WriteByte(m, 0x0000, 0x99);
    EXPECT_EQ(ReadByte(m, 0x0000), 0x12);
    WriteByte(m, 0xFFFF, 0x34);
    EXPECT_EQ(ReadWord(m, 0xFFFF), 0x1234);
}

} // namespace
} // namespace vespin
