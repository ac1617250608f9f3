#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "core/machine.h"
#include "media/z80_snapshot.h"
#include "snapshot_fixtures.h"

namespace vespin {
namespace {

using test::CopyOf;

constexpr const char* kInvalid = "Invalid Z80 snapshot file!";

TEST(UnpackZ80Block, RunLengthCoding) {
    struct Case {
        const char* name;
        std::vector<uint8_t> in;
        size_t n;
        std::vector<uint8_t> out; // what is stored, also when decoding fails
        bool fails;
    };
    const Case cases[] = {
        {"plain bytes", {1, 2, 3}, 3, {1, 2, 3}, false},
        {"run", {0xED, 0xED, 3, 0xAA}, 3, {0xAA, 0xAA, 0xAA}, false},
        {"empty run produces nothing", {0xED, 0xED, 0, 0x41, 7, 8}, 2, {7, 8}, false},
        {"lone ED and its follower", {0xED, 0x41}, 2, {0xED, 0x41}, false},
        {"ED as the last byte is plain", {9, 0xED}, 2, {9, 0xED}, false},
        {"run past the end stores what fits", {1, 0xED, 0xED, 5, 0}, 4, {1, 0, 0, 0}, true},
        {"input ends inside a run", {0xED, 0xED, 2}, 2, {0, 0}, true},
        {"input ends before the block", {1, 2}, 3, {1, 2, 0}, true},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> out(c.n);
        size_t pos = 0;
        std::optional<std::string> error;
        try {
            UnpackZ80Block(c.in, pos, out);
        } catch (const SnapshotError& e) {
            error = e.what();
        }
        EXPECT_EQ(out, c.out) << c.name;
        EXPECT_EQ(error.has_value(), c.fails) << c.name;
        if (error) {
            EXPECT_EQ(*error, kInvalid) << c.name;
        } else {
            EXPECT_EQ(pos, c.in.size()) << c.name;
        }
    }
}

// A version 2 or 3 file: header, additional header of the given length, then the blocks.
struct Block {
    uint8_t page;
    std::vector<uint8_t> data; // stored as given
    uint16_t length = 0;       // 0: the data's size
};

std::vector<uint8_t> LaterZ80(uint8_t extraLength, uint8_t mode, uint8_t latch,
                              const std::vector<Block>& blocks) {
    std::vector<uint8_t> f(32 + extraLength);
    f[0] = 0x12, f[1] = 0x34; // A, F
    f[8] = 0x00, f[9] = 0x80; // SP
    f[11] = 0x7F;             // R
    f[12] = 0x0F;             // border 7, bit 7 of R
    f[21] = 0x56, f[22] = 0x78;
    f[27] = 0xFF, f[28] = 0x00, f[29] = 0xFE;
    f[30] = extraLength;
    f[32] = 0x34, f[33] = 0x12; // PC
    f[34] = mode;
    f[35] = latch;
    for (const Block& b : blocks) {
        const uint16_t length = b.length ? b.length : static_cast<uint16_t>(b.data.size());
        f.push_back(static_cast<uint8_t>(length));
        f.push_back(static_cast<uint8_t>(length >> 8));
        f.push_back(b.page);
        f.insert(f.end(), b.data.begin(), b.data.end());
    }
    return f;
}

// A block that codes 16384 copies of v (with a trailing literal to make runs odd-sized).
std::vector<uint8_t> FilledBlock(uint8_t v) {
    std::vector<uint8_t> d;
    for (int i = 0; i < 64; ++i)
        d.insert(d.end(), {0xED, 0xED, 0xFF, v});
    d.insert(d.end(), {0xED, 0xED, 0x40, v});
    return d;
}

TEST(Z80Snapshot, HeaderFields) {
    MachineState m;
    LoadZ80(m, LaterZ80(23, 0, 0, {}));
    EXPECT_EQ(m.regs.AF(), 0x1234);
    EXPECT_EQ(m.regs.AF_, 0x5678);
    EXPECT_EQ(m.regs.PC, 0x1234);
    EXPECT_EQ(m.regs.SP, 0x8000);
    EXPECT_EQ(m.regs.VisibleR(), 0xFF);
    EXPECT_EQ(m.regs.R7, 0x80);
    EXPECT_EQ(m.regs.IFF1, 1);
    EXPECT_EQ(m.regs.IFF2, 0);
    EXPECT_EQ(m.regs.IM, 2);
    EXPECT_EQ(m.screen.borderColour, 7);
}

TEST(Z80Snapshot, HardwareModeByVersion) {
    enum Kind { k48, k128, kSamRam };
    struct Case {
        uint8_t extraLength, mode;
        Kind kind;
    };
    const Case cases[] = {{23, 0, k48},  {23, 1, k48},  {23, 2, kSamRam}, {23, 3, k128},
                          {23, 4, k128}, {54, 0, k48},  {54, 2, kSamRam}, {54, 3, k48},
                          {54, 4, k128}, {55, 7, k128}, {54, 9, k128},    {54, 0x80, k48}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.extraLength) << "/" << int(c.mode));
        MachineState m;
        WritePort7FFD(m.memory, 0x20); // locked, 128K ROM
        m.memory.Bank(1)[0] = 0x11;
        m.memory.Bank(2)[0] = 0x22;
        const auto before = CopyOf(m);
        // Page 4 is bank 2 on a 48K snapshot, bank 1 on a 128K one.
        const auto file = LaterZ80(c.extraLength, c.mode, 0x13, {{4, FilledBlock(0x44)}});
        try {
            LoadZ80(m, file);
            EXPECT_NE(c.kind, kSamRam);
        } catch (const SnapshotError& e) {
            EXPECT_EQ(c.kind, kSamRam);
            EXPECT_STREQ(e.what(), "Sorry! SamRam Hardware Mode not supported yet!");
            EXPECT_TRUE(CopyOf(m) == before);
            continue;
        }
        const bool is128 = c.kind == k128;
        EXPECT_EQ(m.memory.paging.PagingLatch, is128 ? 0x13 : 0x30);
        EXPECT_EQ(m.memory.paging.Low, LowSource::Basic48);
        EXPECT_EQ(m.memory.Bank(1)[100], is128 ? 0x44 : 0);
        EXPECT_EQ(m.memory.Bank(2)[100], is128 ? 0 : 0x44);
    }
}

TEST(Z80Snapshot, BlocksOfOtherPagesAreSkippedAndPlainBlocksCopied) {
    std::vector<uint8_t> plain(kPageSize, 0xED); // would be runs if it were decoded
    plain[0] = 0x01;
    const auto file = LaterZ80(54, 0, 0,
                               {{0, {0xED, 0xED, 0x10, 0x99}}, // ROM page: skipped
                                {8, plain, 0xFFFF},
                                {5, FilledBlock(0x55)},
                                {11, std::vector<uint8_t>(40, 0xAB)}}); // interface page
    MachineState m;
    LoadZ80(m, file);
    EXPECT_EQ(std::vector<uint8_t>(m.memory.Bank(5), m.memory.Bank(5) + kPageSize), plain);
    EXPECT_EQ(ReadByte(m, 0xC000), 0x55);
    EXPECT_EQ(ReadByte(m, 0xFFFF), 0x55);
    EXPECT_EQ(ReadByte(m, 0x8000), 0x00); // no block for bank 2: RAM keeps its contents
}

TEST(Z80Snapshot, MalformedFilesAreInvalidAndLeaveTheMachineAlone) {
    const auto good = LaterZ80(
        54, 4, 0x10, {{3, FilledBlock(1)}, {8, std::vector<uint8_t>(kPageSize, 2), 0xFFFF}});
    const size_t secondBlock = 32 + 54 + 3 + FilledBlock(1).size();
    std::vector<std::vector<uint8_t>> bad;
    // Every cut inside the headers and the first block header, then every 97th inside the data.
    for (size_t size = 0; size < good.size(); size += size < 32 + 54 + 8 ? 1 : 97) {
        if (size == 32 + 54 || size == secondBlock) continue; // ends between blocks: valid
        bad.emplace_back(good.begin(), good.begin() + static_cast<long>(size));
    }
    auto shortBlock = good; // a coded block whose own bytes end before 16384 are produced
    shortBlock[32 + 54] = static_cast<uint8_t>(FilledBlock(1).size() - 4);
    bad.push_back(shortBlock);
    auto negativeHeader = good;
    negativeHeader[31] = 0x80;
    bad.push_back(negativeHeader);
    std::vector<uint8_t> v1(30 + 100, 0); // version 1, plain, far too short
    v1[6] = 1;
    bad.push_back(v1);
    v1[12] = 0x20; // version 1, coded, data runs out
    bad.push_back(v1);

    MachineState m;
    test::FillMachine(m, 3);
    const auto before = CopyOf(m);
    for (const auto& f : bad) {
        try {
            LoadZ80(m, f);
            ADD_FAILURE() << "accepted a file of " << f.size() << " bytes";
        } catch (const SnapshotError& e) {
            EXPECT_STREQ(e.what(), kInvalid) << f.size();
        }
        ASSERT_TRUE(CopyOf(m) == before) << f.size() << " bytes";
    }
}

} // namespace
} // namespace vespin
