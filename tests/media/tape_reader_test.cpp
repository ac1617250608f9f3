#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "core/machine.h"
#include "media/tape_player.h"
#include "media/tape_reader.h"
#include "tape_fixtures.h"

namespace vespin {
namespace {

using namespace vespin::test;
using Lines = std::vector<std::string>;

class TapeReaderTest : public testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("vespin_tape_reader_" +
                std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string Write(const std::string& name, const Bytes& bytes) {
        return WriteFile(dir_, name, bytes).string();
    }

    // Lets the emulation thread run `t` T-states, then the window's timer fire once.
    void Emulate(
        int64_t t, const BlockSelectorRunner& runner = [](TBlockSelectorF&) {}) {
        for (int64_t i = 0; i < t; i += 10) {
            m.regs.T = (m.regs.T + 10) % m.frameLength;
            if (m.tape.running) TapeTick(m, m.regs.T);
        }
        reader.TimerTick(runner);
    }

    std::filesystem::path dir_;
    MachineState m;
    TTapeReader reader{m};
};

// A TZX whose second block owns three lines.
const Bytes kTzx = Tzx(
    {PureTone(100, 2), Select({{1, "Side A"}, {2, "Side B"}}), PureTone(100, 2), PureTone(200, 2)});

TEST_F(TapeReaderTest, LocationChangeOpensOrShowsTheErrorInRed) {
    reader.SetLocation(Write("t.tzx", kTzx));
    EXPECT_FALSE(reader.ListRed());
    EXPECT_EQ(reader.Lines().size(), 6u);
    EXPECT_EQ(reader.SelectedLine(), 0);
    const TapeReaderControls& c = reader.Controls();
    EXPECT_TRUE(c.playEnabled && c.playVisible && c.ejectEnabled);
    EXPECT_FALSE(c.stopVisible || c.rewindEnabled);

    const struct {
        std::string location;
        std::string line;
    } errors[] = {
        {"", ""},
        {(dir_ / "none.tap").string(), "Error! Tape image file not found!"},
        {Write("v2.tzx", TzxHeader(2, 0)),
         "Error! TZX tape image file has unsupported version (not like 1.xx)!"},
    };
    for (const auto& e : errors) {
        reader.SetLocation(e.location);
        EXPECT_EQ(reader.Lines(), Lines{e.line}) << e.location;
        EXPECT_TRUE(reader.ListRed());
        EXPECT_FALSE(c.playEnabled || c.rewindEnabled || c.ejectEnabled || c.stopVisible);
        EXPECT_EQ(m.tape.image.kind, TapeKind::None);
    }
    reader.PlayButtonClick();
    EXPECT_FALSE(m.tape.running);
}

TEST_F(TapeReaderTest, ListSelectionPicksTheOwningBlockAndDownMovesByBlocks) {
    reader.SetLocation(Write("t.tzx", kTzx));
    // Lines: 0 tone, 1-3 select block, 4 tone, 5 tone.
    const struct {
        int line;
        int block;
        bool rewind;
    } clicks[] = {{3, 1, true}, {4, 2, true}, {0, 0, false}, {2, 1, true}};
    for (const auto& c : clicks) {
        reader.BlockListClick(c.line);
        EXPECT_EQ(m.tape.currentBlock, c.block) << c.line;
        EXPECT_EQ(reader.Controls().rewindEnabled, c.rewind) << c.line;
    }
    EXPECT_TRUE(reader.BlockListDownKey());
    EXPECT_EQ(m.tape.currentBlock, 2);
    EXPECT_EQ(reader.SelectedLine(), 4);
    EXPECT_TRUE(reader.BlockListDownKey());
    EXPECT_TRUE(reader.BlockListDownKey()); // no block follows: stays, still consumed
    EXPECT_EQ(m.tape.currentBlock, 3);

    reader.RewindButtonClick();
    EXPECT_EQ(m.tape.currentBlock, 0);
    EXPECT_FALSE(reader.Controls().rewindEnabled);

    // In a TAP list every line is a block and Down is left to the list.
    reader.SetLocation(Write("t.tap", Cat({TapBlock({1, 2}), TapBlock({3, 4})})));
    reader.BlockListClick(1);
    EXPECT_EQ(m.tape.currentBlock, 1);
    EXPECT_FALSE(reader.BlockListDownKey());
}

TEST_F(TapeReaderTest, ModeChangeRebuildsTheListOnlyWhenTheModeChanges) {
    reader.SetLocation(Write("t.tap", Cat({TapBlock(DataPayload({1})), TapBlock({3, 4})})));
    reader.BlockListClick(1);
    reader.SetBlockInfoMode(BlockInfoMode::Hexadecimal); // already in force: nothing happens
    EXPECT_EQ(m.tape.currentBlock, 1);
    reader.SetBlockInfoMode(BlockInfoMode::None);
    EXPECT_EQ(m.tape.currentBlock, 0);
    EXPECT_EQ(reader.Lines(), (Lines{"Data Block", "Nonstandard"}));
    EXPECT_EQ(reader.WriteSettings().blockInfoMode, 2);
}

TEST_F(TapeReaderTest, SettingsOpenTheTapeAndPullTheWindowOntoTheDesktop) {
    const std::string tape = Write("t.tap", TapBlock(DataPayload({1})));
    const struct {
        int x, y, left, top;
    } cases[] = {{100, 200, 100, 200}, {985, 200, 20, 200}, {984, 718, 984, 718}, {0, 719, 0, 20}};
    for (const auto& c : cases) {
        TapeReaderSettings s;
        s.location = tape;
        s.blockInfoMode = 1;
        s.x = c.x;
        s.y = c.y;
        reader.ReadSettings(s, 1024, 768);
        EXPECT_EQ(reader.Left(), c.left);
        EXPECT_EQ(reader.Top(), c.top);
    }
    EXPECT_EQ(reader.Lines(), Lines{"Data Block, Length 1"});
    EXPECT_EQ(reader.WriteSettings().location, tape);
    reader.Show();
    reader.Close();
    EXPECT_FALSE(reader.WriteSettings().enabled);
}

TEST_F(TapeReaderTest, EjectEmptiesTheLocation) {
    reader.SetLocation(Write("t.tzx", kTzx));
    reader.EjectButtonClick();
    EXPECT_EQ(reader.Location(), "");
    EXPECT_EQ(reader.Lines(), Lines{""});
    EXPECT_TRUE(reader.ListRed());
    EXPECT_FALSE(reader.Controls().ejectEnabled);
}

TEST_F(TapeReaderTest, TimerFollowsPlaybackButtonsCaptionAndCurrentBlock) {
    const Bytes data = DataPayload(Bytes(200, 0));
    reader.SetLocation(Write("t.tap", Cat({TapBlock(DataPayload({})), TapBlock(data)})));
    reader.PlayButtonClick();
    Emulate(10);
    const TapeReaderControls& c = reader.Controls();
    EXPECT_TRUE(c.stopVisible);
    EXPECT_FALSE(c.playVisible || c.rewindEnabled || c.ejectEnabled || c.listEnabled ||
                 c.locationEnabled || c.selectFileEnabled);

    // Through the first block and its pause, then some way into the data block.
    Emulate(3224 * 2168 + 2000 + 32 * 1710 + 50 * 71680 + 3224 * 2168 + 100 * 16 * 855);
    EXPECT_EQ(reader.SelectedLine(), 1);
    EXPECT_TRUE(reader.Caption().starts_with("Tape Reader ("));
    EXPECT_TRUE(reader.Caption().ends_with("%)"));

    reader.StopButtonClick();
    Emulate(10);
    EXPECT_EQ(reader.Caption(), "Tape Reader");
    EXPECT_TRUE(c.playVisible && c.ejectEnabled && c.listEnabled && c.rewindEnabled);
    EXPECT_FALSE(c.stopVisible);
}

TEST_F(TapeReaderTest, MessageBlockOpensTheMessageWindowWhileTheTapeGoesOn) {
    reader.SetLocation(
        Write("m.tzx", Tzx({Message(5, "Side 1\rPress a key"), PureTone(1000, 100)})));
    reader.PlayButtonClick();
    Emulate(10);
    TTzxMessager& msg = reader.Messager();
    EXPECT_TRUE(msg.Visible());
    EXPECT_EQ(msg.MemoLines(), (Lines{"Side 1", "Press a key"}));
    for (int s = 0; s < 4; ++s)
        msg.TimerTick();
    EXPECT_TRUE(msg.Visible());
    msg.TimerTick();
    EXPECT_FALSE(msg.Visible());
    EXPECT_TRUE(m.tape.playing);
}

TEST(TzxMessager, ZeroSecondsStaysUntilClosed) {
    TTzxMessager msg;
    msg.ShowMessage(0, "hello");
    for (int s = 0; s < 100; ++s)
        msg.TimerTick();
    EXPECT_TRUE(msg.Visible());
    msg.Close();
    EXPECT_FALSE(msg.Visible());
}

TEST_F(TapeReaderTest, SelectionJumpsAndPlaysOrStaysStoppedWhenCancelled) {
    reader.SetLocation(Write("t.tzx", kTzx));
    reader.PlayButtonClick();
    Lines offered;
    Emulate(1000, [&](TBlockSelectorF& dlg) { // the tone, then the select block stops the tape
        offered = dlg.Texts();
        dlg.CancelButtonClick();
    });
    EXPECT_EQ(offered, (Lines{"Side A", "Side B"}));
    EXPECT_FALSE(m.tape.playing);
    EXPECT_EQ(m.tape.currentBlock, 1);
    EXPECT_TRUE(reader.Controls().playVisible);

    reader.PlayButtonClick();
    Emulate(10, [](TBlockSelectorF& dlg) {
        dlg.ListClick(1);
        dlg.OkButtonClick();
    });
    EXPECT_EQ(m.tape.currentBlock, 3); // the select block plus 2
    Emulate(10);
    EXPECT_TRUE(m.tape.playing);
    EXPECT_EQ(reader.SelectedLine(), 5);
}

// The window's thread and the emulation thread share only atomics: run both at once (checked by
// the thread sanitizer build) and end with the state the last button asked for.
TEST_F(TapeReaderTest, ButtonsWhileTheEmulationThreadRuns) {
    reader.SetLocation(Write("m.tzx", Tzx({Message(1, "hi"), PureTone(300, 60000)})));
    std::atomic<bool> done{false};
    std::thread emulation([&] {
        while (!done.load()) {
            m.regs.T = (m.regs.T + 7) % m.frameLength;
            if (m.tape.running) TapeTick(m, m.regs.T);
        }
    });
    for (int i = 0; i < 2000; ++i) {
        if (i % 2) {
            reader.StopButtonClick();
        } else {
            reader.PlayButtonClick();
        }
        reader.TimerTick([](TBlockSelectorF&) {});
    }
    reader.StopButtonClick();
    while (m.tape.running.load())
        std::this_thread::yield();
    done = true;
    emulation.join();
    reader.TimerTick([](TBlockSelectorF&) {});
    EXPECT_FALSE(m.tape.playing);
    EXPECT_TRUE(reader.Controls().playVisible);
}

} // namespace
} // namespace vespin
