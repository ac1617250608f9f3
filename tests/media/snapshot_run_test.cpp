// Snapshots of real programs, loaded and run on the whole machine with real ROMs.
#include <gtest/gtest.h>

#include <cstring>

#include "core/frame.h"
#include "core/machine.h"
#include "core/z80.h"
#include "media/rom_set.h"
#include "media/sna.h"
#include "media/snapshot.h"
#include "snapshot_fixtures.h"
#include "support/testdata.h"

namespace vespin {
namespace {

namespace fs = std::filesystem;

const fs::path kRom = test::TestDataPath("roms/Pentagon.Rom");

// A machine with the shared test ROM set, running unsynchronised.
bool PrepareMachine(MachineState& m) {
    m.synchronisedSpeed = 0;
    RomSettings roms{kRom.string() + ":1", kRom.string() + ":0", kRom.string() + ":2"};
    return LoadRomSet(m.memory, {}, roms).empty();
}

void RunFrames(MachineState& m, int frames) {
    for (int i = 0; i < frames; ++i) {
        while (m.regs.T < m.frameLength)
            ExecuteInstruction(m);
        FrameEnd(m);
    }
}

// The text of one of the 24 character rows of the displayed screen, read against the font of
// the 48K BASIC ROM; '?' where a cell matches no character.
std::string ScreenRow(MachineState& m, int row) {
    const uint8_t* font = m.memory.Rom(RomSlot::Basic48) + 0x3D00;
    const uint8_t* screen = m.memory.paging.ScreenPage;
    std::string text;
    for (int col = 0; col < 32; ++col) {
        char found = '?';
        for (int ch = 0; ch < 96 && found == '?'; ++ch) {
            bool same = true;
            for (int line = 0; line < 8 && same; ++line) {
                const int offset = ((row & 0x18) << 8) | ((row & 7) << 5) | col | (line << 8);
                same = screen[offset] == font[ch * 8 + line];
            }
            if (same) found = static_cast<char>(' ' + ch);
        }
        text += found;
    }
    return text;
}

class SnapshotRun : public testing::Test {
  protected:
    void SetUp() override {
        VESPIN_REQUIRE_TESTDATA(kRom);
        ASSERT_TRUE(PrepareMachine(m_));
    }
    MachineState m_;
};

TEST_F(SnapshotRun, BenchmarkProgramRunsToItsReport) {
    const fs::path file = test::TestDataPath("snapshots/generated/newbench.sna");
    VESPIN_REQUIRE_TESTDATA(file);
    MachineState& m = m_;
    test::RecordingMessages messages;
    ASSERT_TRUE(LoadSnapshotFile(m, {}, file.string(), messages));
    RunFrames(m, 150);
    EXPECT_EQ(ScreenRow(m, 1).substr(0, 17), "Program: newbench");
    EXPECT_EQ(ScreenRow(m, 23).substr(0, 9), "0 OK, 0:1");
}

TEST_F(SnapshotRun, A128kGameSavedWhileRunningLoadsBackIdentically) {
    const fs::path file = test::TestDataPath("snapshots/real/7threality.sna");
    VESPIN_REQUIRE_TESTDATA(file);
    MachineState& m = m_;
    LoadSna(m, test::ReadTestFile(file));
    RunFrames(m, 50);
    m.regs.T = 0; // a loaded SNA starts its frame at 0
    const auto saved = BuildSna128(m);
    EXPECT_EQ(saved.size(), kSna128WithPagedBank2Or5Size); // bank 5 is paged at 0xC000

    MachineState loaded;
    ASSERT_TRUE(PrepareMachine(loaded));
    LoadSna(loaded, saved);
    const auto a = test::CopyOf(m), b = test::CopyOf(loaded);
    EXPECT_EQ(a.regs, b.regs);
    EXPECT_EQ(a.paging, b.paging);
    for (int bank = 0; bank < 8; ++bank)
        EXPECT_EQ(0, std::memcmp(m.memory.Bank(bank), loaded.memory.Bank(bank), kPageSize));
}

} // namespace
} // namespace vespin
