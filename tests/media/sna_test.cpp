#include <gtest/gtest.h>

#include <cstring>

#include "core/machine.h"
#include "media/sna.h"
#include "snapshot_fixtures.h"

namespace vespin {
namespace {

using test::CopyOf;
using test::FillMachine;

// A 48K file: header with the given SP, interrupt byte and border, RAM filled with a pattern.
std::vector<uint8_t> Sna48(uint16_t sp, uint8_t interrupt = 0x04, uint8_t border = 0x02) {
    std::vector<uint8_t> f(kSna48Size);
    for (size_t i = 27; i < f.size(); ++i)
        f[i] = static_cast<uint8_t>(i * 7);
    f[19] = interrupt;
    f[20] = 0x81;
    f[23] = static_cast<uint8_t>(sp);
    f[24] = static_cast<uint8_t>(sp >> 8);
    f[25] = 1;
    f[26] = border;
    return f;
}

TEST(Sna, SaveAndLoad128kKeepsRegistersPagingAndEveryBank) {
    // Bank 0 paged, screen 7 shown; banks 5 and 2 paged, which the file stores twice.
    for (uint8_t latch : {0x10, 0x0F, 0x15, 0x02}) {
        SCOPED_TRACE(latch);
        MachineState saved;
        FillMachine(saved, latch);
        WritePort7FFD(saved.memory, latch);
        saved.regs.T = 0;
        saved.lastKeyboardPort = 0x13;
        SetBorderColour(saved, 3);
        const auto file = BuildSna128(saved);
        const bool pagedTwice = (latch & 7) == 2 || (latch & 7) == 5;
        EXPECT_EQ(file.size(), pagedTwice ? kSna128WithPagedBank2Or5Size : kSna128Size);

        MachineState loaded;
        FillMachine(loaded, 99);
        WritePort7FFD(loaded.memory, 0x37); // locked: the snapshot's latch must still apply
        loaded.regs.T = 1234;
        LoadSna(loaded, file);

        auto a = CopyOf(saved), b = CopyOf(loaded);
        EXPECT_EQ(a.regs, b.regs);
        EXPECT_EQ(a.paging, b.paging);
        EXPECT_EQ(a.border, b.border);
        for (int bank = 0; bank < 8; ++bank)
            EXPECT_EQ(0, std::memcmp(saved.memory.Bank(bank), loaded.memory.Bank(bank), kPageSize))
                << "bank " << bank;
        EXPECT_EQ(loaded.borderHistory, 3);
    }
}

TEST(Sna, Save48kPushesPcIntoTheFileOnlyAndLoadsBack) {
    MachineState saved;
    FillMachine(saved, 1);
    WritePort7FFD(saved.memory, 0x30);
    saved.regs.T = 0;
    const auto before = CopyOf(saved);
    const auto file = BuildSna48(saved);
    ASSERT_EQ(file.size(), kSna48Size);
    EXPECT_TRUE(CopyOf(saved) == before) << "saving changed the machine";
    EXPECT_EQ(file[23] | file[24] << 8, 0x8ABA);
    EXPECT_EQ(file[27 + 0x8ABA - 0x4000], 0xEF);
    EXPECT_EQ(file[27 + 0x8ABB - 0x4000], 0xCD);

    MachineState loaded;
    LoadSna(loaded, file);
    EXPECT_EQ(CopyOf(loaded).regs, before.regs);
    auto expected = test::Visible48k(saved);
    expected[0x8ABA - 0x4000] = 0xEF; // the pushed PC stays below SP, as after a RETN
    expected[0x8ABB - 0x4000] = 0xCD;
    EXPECT_EQ(test::Visible48k(loaded), expected);
}

TEST(Sna, Load48kPopsPcWithWrapAndLocksThe48kRom) {
    struct Case {
        uint16_t sp;
        uint16_t spAfter;
        MemoryModel model;
        uint8_t latch;
    };
    // SP = 0xFFFF: the low byte comes from 0xFFFF, the high byte from the ROM at 0x0000. On the
    // Pentagon 1024k latch bit 5 selects a bank, so the 48K paging leaves it clear there.
    const Case cases[] = {{0xFFFF, 0x0001, MemoryModel::Spectrum128, 0x30},
                          {0x8000, 0x8002, MemoryModel::Pentagon512, 0x30},
                          {0x8000, 0x8002, MemoryModel::Pentagon1024, 0x10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sp);
        auto f = Sna48(c.sp);
        MachineState m;
        m.memory.model = c.model;
        m.memory.rom[static_cast<size_t>(RomSlot::Basic48)][0] = 0x12;
        m.memory.paging.TrdosActive = 1; // a 48K snapshot always runs in the BASIC ROM
        LoadSna(m, f);
        const size_t low = 27 + static_cast<size_t>(c.sp - 0x4000);
        const uint16_t pc = c.sp == 0xFFFF ? static_cast<uint16_t>(0x1200 | f[low])
                                           : static_cast<uint16_t>(f[low] | f[low + 1] << 8);
        EXPECT_EQ(m.regs.PC, pc);
        EXPECT_EQ(m.regs.SP, c.spAfter);
        EXPECT_EQ(m.memory.paging.PagingLatch, c.latch);
        EXPECT_EQ(m.memory.paging.Low, LowSource::Basic48);
        EXPECT_EQ(m.memory.paging.TrdosActive, 0);
        EXPECT_EQ(m.memory.paging.window[3], m.memory.Bank(0));
    }
}

TEST(Sna, HeaderFieldsInterruptByteRAndBorder) {
    struct Case {
        uint8_t interrupt, iff;
    };
    for (const Case c : {Case{0x04, 1}, Case{0x00, 0}, Case{0xFB, 0}, Case{0xFF, 1}}) {
        MachineState m;
        LoadSna(m, Sna48(0x8000, c.interrupt, 0xFE));
        EXPECT_EQ(m.regs.IFF1, c.iff) << int(c.interrupt);
        EXPECT_EQ(m.regs.IFF2, c.iff) << int(c.interrupt);
        EXPECT_EQ(m.regs.R, 0x81);
        EXPECT_EQ(m.regs.R7, 0x80);
        EXPECT_EQ(m.regs.IM, 1);
        EXPECT_EQ(m.screen.borderColour, 6);
        EXPECT_EQ(m.lastKeyboardPort & 7, 6);
    }
}

TEST(Sna, TrdosFlagPagesTheDosRomOnlyWhenTheInterfaceIsEnabled) {
    MachineState saved;
    WritePort7FFD(saved.memory, 0x10);
    saved.memory.paging.TrdosActive = 1;
    const auto file = BuildSna128(saved);
    EXPECT_EQ(file[49182], 1);
    for (bool enabled : {true, false}) {
        MachineState m;
        m.memory.trdosEnabled = enabled;
        LoadSna(m, file);
        EXPECT_EQ(m.memory.paging.TrdosActive, enabled ? 1 : 0);
        EXPECT_EQ(m.memory.paging.Low, enabled ? LowSource::Trdos : LowSource::Basic48);
    }
}

TEST(Sna, BadFilesAreRefusedAndLeaveTheMachineAlone) {
    MachineState source;
    WritePort7FFD(source.memory, 0x15);
    auto twice = BuildSna128(source); // 147487 bytes, bank 5 paged
    auto missingBank = twice;
    missingBank.resize(kSna128Size); // right size, but the latch asks for a sixth bank
    const std::vector<std::vector<uint8_t>> files = {
        {},
        std::vector<uint8_t>(27),
        std::vector<uint8_t>(kSna48Size - 1),
        std::vector<uint8_t>(kSna48Size + 1),
        std::vector<uint8_t>(kSna128Size + 1),
        std::vector<uint8_t>(kSna128WithPagedBank2Or5Size + 1),
        missingBank};
    for (const auto& f : files) {
        MachineState m;
        FillMachine(m, 5);
        const auto before = CopyOf(m);
        try {
            LoadSna(m, f);
            ADD_FAILURE() << "accepted " << f.size() << " bytes";
        } catch (const SnapshotError& e) {
            EXPECT_STREQ(e.what(), "This file is not SNA format snapshot file, check it!");
        }
        EXPECT_TRUE(CopyOf(m) == before) << f.size() << " bytes";
    }
}

} // namespace
} // namespace vespin
