#include <gtest/gtest.h>

#include "core/machine.h"

namespace vespin {
namespace {

TEST(Memory, BanksFiveTwoZeroFormOne48KRange) {
    Memory mem;
    EXPECT_EQ(mem.Bank(2), mem.Bank(5) + kPageSize);
    EXPECT_EQ(mem.Bank(0), mem.Bank(5) + 2 * kPageSize);
    EXPECT_EQ(mem.Bank(1), mem.Bank(5) + 3 * kPageSize);
    EXPECT_EQ(mem.Bank(3), mem.Bank(5) + 4 * kPageSize);
    EXPECT_EQ(mem.Bank(6), mem.Bank(5) + 6 * kPageSize);
    EXPECT_EQ(mem.Bank(63), mem.Bank(5) + 63 * kPageSize);
}

TEST(Memory, RomWritesAreDroppedAndWordsWrap) {
    MachineState m;
    m.memory.rom[1][0] = 0x12;
    WriteByte(m, 0x0000, 0x99);
    EXPECT_EQ(ReadByte(m, 0x0000), 0x12);
    WriteByte(m, 0xFFFF, 0x34);
    EXPECT_EQ(ReadWord(m, 0xFFFF), 0x1234);
    WriteWord(m, 0xFFFF, 0xABCD); // the high byte lands on the ROM and is dropped
    EXPECT_EQ(ReadByte(m, 0xFFFF), 0xCD);
    EXPECT_EQ(ReadByte(m, 0x0000), 0x12);
}

TEST(Memory, MiddleWindowIsAlwaysBanksFiveAndTwo) {
    Memory mem;
    WriteByte(mem, 0x4000, 1);
    WriteByte(mem, 0x8000, 2);
    WritePort7FFD(mem, 0x05);
    WriteByte(mem, 0xC000, 3);
    EXPECT_EQ(mem.Bank(2)[0], 2);
    // Bank 5 at 0xC000 is the same storage as 0x4000.
    EXPECT_EQ(mem.Bank(5)[0], 3);
    EXPECT_EQ(ReadByte(mem, 0x4000), 3);
}

struct PagingCase {
    const char* name;
    MemoryModel model;
    uint8_t port1FFD; // written first on the Scorpion models
    uint8_t port7FFD;
    int highBank;
};

class PagingModels : public ::testing::TestWithParam<PagingCase> {};

TEST_P(PagingModels, HighWindowBank) {
    const PagingCase& c = GetParam();
    Memory mem;
    mem.model = c.model;
    WritePort1FFD(mem, c.port1FFD);
    WritePort7FFD(mem, c.port7FFD);
    EXPECT_EQ(mem.paging.HighBank, c.highBank);
    EXPECT_EQ(mem.paging.window[3], mem.Bank(c.highBank));
}

INSTANTIATE_TEST_SUITE_P(
    Table, PagingModels,
    ::testing::Values(
        PagingCase{"Spectrum128_bits0to2", MemoryModel::Spectrum128, 0, 0x07, 7},
        PagingCase{"Spectrum128_ignores_bit6", MemoryModel::Spectrum128, 0, 0x47, 7},
        PagingCase{"Pentagon256_bit6", MemoryModel::Pentagon256, 0, 0x43, 11},
        PagingCase{"Pentagon256_ignores_bit7", MemoryModel::Pentagon256, 0, 0x83, 3},
        PagingCase{"Pentagon512_C7", MemoryModel::Pentagon512, 0, 0xC7, 31},
        PagingCase{"Pentagon1024_30", MemoryModel::Pentagon1024, 0, 0x30, 8},
        PagingCase{"Pentagon1024_E7", MemoryModel::Pentagon1024, 0, 0xE7, 63},
        PagingCase{"Scorpion256_1FFD_bit4", MemoryModel::Scorpion256, 0x10, 0x02, 10},
        PagingCase{"Scorpion256_ignores_C0", MemoryModel::Scorpion256, 0xD0, 0x02, 10},
        PagingCase{"Scorpion1024_all", MemoryModel::Scorpion1024, 0xD0, 0x07, 63},
        PagingCase{"Spectrum128_ignores_1FFD", MemoryModel::Spectrum128, 0x10, 0x02, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Paging, Bit5LocksExceptOnPentagon1024) {
    for (int model = 0; model <= 5; ++model) {
        Memory mem;
        mem.model = static_cast<MemoryModel>(model);
        WritePort7FFD(mem, 0x20);
        WritePort7FFD(mem, 0x13);
        const bool locks = mem.model != MemoryModel::Pentagon1024;
        EXPECT_EQ(mem.paging.PagingLatch, locks ? 0x20 : 0x13) << "model " << model;
    }
}

TEST(Paging, RomSelectAndScreenPage) {
    Memory mem;
    WritePort7FFD(mem, 0x10);
    EXPECT_EQ(mem.paging.window[0], mem.Rom(RomSlot::Basic48));
    EXPECT_EQ(mem.paging.ScreenPage, mem.Bank(5));
    WritePort7FFD(mem, 0x0F);
    EXPECT_EQ(mem.paging.window[0], mem.Rom(RomSlot::Rom128));
    EXPECT_EQ(mem.paging.ScreenPage, mem.Bank(7));
    // Bank 7 written through the high window is the displayed page at once.
    WriteByte(mem, 0xC000, 0xAA);
    EXPECT_EQ(mem.paging.ScreenPage[0], 0xAA);
}

TEST(Paging, ScorpionRamAtZeroIsWritableAndRomComesBack) {
    Memory mem;
    mem.model = MemoryModel::Scorpion1024;
    WritePort7FFD(mem, 0x10);
    WritePort1FFD(mem, 0x11);
    EXPECT_EQ(mem.paging.window[0], mem.Bank(0));
    EXPECT_EQ(mem.paging.HighBank, 8);
    WriteByte(mem, 0x0010, 0x5A);
    EXPECT_EQ(mem.Bank(0)[0x10], 0x5A);
    // A 0x7FFD write keeps RAM at zero while 0x1FFD bit 0 is set.
    WritePort7FFD(mem, 0x00);
    EXPECT_EQ(mem.paging.window[0], mem.Bank(0));
    WritePort1FFD(mem, 0x00);
    EXPECT_EQ(mem.paging.window[0], mem.Rom(RomSlot::Rom128));
    WriteByte(mem, 0x0010, 0x00);
    EXPECT_EQ(mem.Bank(0)[0x10], 0x5A);
}

TEST(Paging, TrdosRomSwitch) {
    Memory mem;
    // With the 128K ROM selected, a jump into 0x3Dxx does not switch.
    SwitchTrdosRom(mem, 0x3D2F);
    EXPECT_EQ(mem.paging.TrdosActive, 0);
    WritePort7FFD(mem, 0x10);
    SwitchTrdosRom(mem, 0x3D2F);
    EXPECT_EQ(mem.paging.TrdosActive, 1);
    EXPECT_EQ(mem.paging.window[0], mem.Rom(RomSlot::Trdos));
    // Below 0x4000 the TR-DOS ROM stays.
    SwitchTrdosRom(mem, 0x0100);
    EXPECT_EQ(mem.paging.TrdosActive, 1);
    // A paging write while in TR-DOS changes the bank and screen but not the low window.
    WritePort7FFD(mem, 0x0F);
    EXPECT_EQ(mem.paging.window[0], mem.Rom(RomSlot::Trdos));
    EXPECT_EQ(mem.paging.HighBank, 7);
    // Leaving returns to the 48K BASIC ROM whatever bit 4 now says.
    SwitchTrdosRom(mem, 0x4000);
    EXPECT_EQ(mem.paging.TrdosActive, 0);
    EXPECT_EQ(mem.paging.window[0], mem.Rom(RomSlot::Basic48));
}

TEST(Paging, TrdosSwitchOffWhenDisabled) {
    Memory mem;
    mem.trdosEnabled = false;
    WritePort7FFD(mem, 0x10);
    SwitchTrdosRom(mem, 0x3D00);
    EXPECT_EQ(mem.paging.TrdosActive, 0);
}

} // namespace
} // namespace vespin
