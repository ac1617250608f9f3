#include <numeric>

#include <gtest/gtest.h>

#include "core/machine.h"
#include "core/ports.h"
#include "core/reset.h"
#include "core/z80.h"
#include "media/tape_player.h"
#include "tape_fixtures.h"

namespace vespin {
namespace {

using namespace vespin::test;
using Pulses = std::vector<int64_t>;

constexpr int64_t kMs = kDefaultFrameLength / 20; // 3584 T-states

void Load(MachineState& m, TapeKind kind, const Bytes& bytes) {
    DescribedTape t;
    ASSERT_EQ(ParseTapeImage(kind, bytes, BlockInfoMode::Hexadecimal, t), "");
    m.tape.image = std::move(t.image);
    m.tape.currentBlock = 0;
}

struct Change {
    int64_t t;
    uint8_t level;
};

struct Recording {
    std::vector<Change> changes; // every change of the EAR level, in T-states since Play
    int64_t stoppedAt = -1;      // when the tape stopped itself
    int32_t maxPercent = -1;
};

// Drives the player as the executor does: instructions of `step` T-states, T wrapping at the
// frame length, Tick after each while the tape runs.
Recording RunTape(MachineState& m, int step = 1, int64_t limit = int64_t(1) << 32) {
    Recording r;
    uint8_t level = m.tape.earByte;
    for (int64_t now = 0; now < limit;) {
        if (!m.tape.playing) {
            r.stoppedAt = now;
            break;
        }
        now += step;
        m.regs.T += step;
        if (m.regs.T >= m.frameLength) m.regs.T -= m.frameLength;
        if (m.tape.running) TapeTick(m, m.regs.T);
        if (m.tape.earByte != level) {
            level = m.tape.earByte;
            r.changes.push_back({now, level});
        }
        r.maxPercent = std::max(r.maxPercent, m.tape.progressPercent.load());
    }
    return r;
}

Recording PlayAndRun(MachineState& m, int step = 1) {
    TapePlay(m);
    return RunTape(m, step);
}

// Times between level changes, the first measured from Play.
Pulses PulsesOf(const Recording& r) {
    Pulses p;
    int64_t last = 0;
    for (const Change& c : r.changes) {
        p.push_back(c.t - last);
        last = c.t;
    }
    return p;
}

int64_t Sum(const Pulses& p) {
    return std::accumulate(p.begin(), p.end(), int64_t(0));
}

Pulses Repeat(int64_t pulse, int n) {
    return Pulses(size_t(n), pulse);
}

Pulses Join(std::initializer_list<Pulses> parts) {
    Pulses out;
    for (const Pulses& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// Two pulses per bit, most significant first; `used` bits of the last byte.
Pulses BitPulses(const Bytes& bytes, int zero, int one, int used = 8) {
    Pulses p;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const int bits = i + 1 == bytes.size() ? used : 8;
        for (int b = 0; b < bits; ++b) {
            const int len = (bytes[i] << b) & 0x80 ? one : zero;
            p.push_back(len);
            p.push_back(len);
        }
    }
    return p;
}

const Bytes kHeader = HeaderPayload(0, "HELLO", 26, 10, 26);

Pulses StandardBlockPulses(const Bytes& payload) {
    const int pilots = payload[0] == 0 ? 8064 : 3224;
    return Join({Repeat(2168, pilots), {667, 735}, BitPulses(payload, 855, 1710)});
}

TEST(TapePlayer, StandardHeaderBlockPulseTrainAndPause) {
    MachineState m;
    Load(m, TapeKind::Tap, TapBlock(kHeader));
    m.tape.earByte = 0x40; // the level left by an earlier tape: it drops 1 ms into the pause
    const Recording r = PlayAndRun(m);
    const Pulses expected = StandardBlockPulses(kHeader);
    ASSERT_EQ(expected.size(), 8064u + 2 + 19 * 16);
    Pulses pulses = PulsesOf(r);
    ASSERT_EQ(pulses.size(), expected.size() + 1);
    EXPECT_EQ(pulses.back(), kMs + 1); // the level goes low just past 1 ms into the pause
    EXPECT_EQ(r.changes.back().level, 0);
    pulses.pop_back();
    EXPECT_EQ(pulses, expected);
    // One second of pause follows the last edge, then the tape stops on its last block.
    EXPECT_EQ(r.stoppedAt, Sum(expected) + 50 * kDefaultFrameLength);
    EXPECT_EQ(m.tape.currentBlock, 0);
    EXPECT_EQ(m.tape.progressPercent, -1);
    EXPECT_TRUE(m.tape.captionRefresh);
}

TEST(TapePlayer, EdgesStayExactAcrossFrameWrapsWithLongInstructions) {
    MachineState m;
    Load(m, TapeKind::Tap, TapBlock(kHeader));
    m.regs.T = kDefaultFrameLength - 10;
    const Recording r = PlayAndRun(m, 23);
    const Pulses expected = StandardBlockPulses(kHeader);
    ASSERT_EQ(r.changes.size(), expected.size());
    // Each edge is seen by the first instruction that ends at or after it; overshoot is
    // carried into the next pulse, so the error never grows.
    int64_t ideal = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
        ideal += expected[i];
        ASSERT_GE(r.changes[i].t, ideal) << i;
        ASSERT_LT(r.changes[i].t, ideal + 23) << i;
    }
}

TEST(TapePlayer, DataBlockReportsProgressAndFinishedTapeReplaysItsLastBlock) {
    MachineState m;
    const Bytes data = DataPayload(Bytes(100, 0x5A));
    Load(m, TapeKind::Tap, Cat({TapBlock(kHeader), TapBlock(data)}));
    const Recording first = PlayAndRun(m);
    // A second of silence, then the data block's first pilot pulse.
    Pulses dataPulses = StandardBlockPulses(data);
    dataPulses.front() += 50 * kDefaultFrameLength;
    EXPECT_EQ(PulsesOf(first), Join({StandardBlockPulses(kHeader), dataPulses}));
    EXPECT_GE(first.maxPercent, 90);
    EXPECT_LE(first.maxPercent, 100);
    EXPECT_EQ(m.tape.currentBlock, 1);

    const Recording again = PlayAndRun(m);
    EXPECT_EQ(PulsesOf(again), StandardBlockPulses(data));
}

struct TzxCase {
    const char* what;
    Bytes tzx;
    Pulses pulses;
};
void PrintTo(const TzxCase& c, std::ostream* os) {
    *os << c.what;
}

class TzxPulses : public testing::TestWithParam<TzxCase> {};

TEST_P(TzxPulses, PulseTrainThenStop) {
    const TzxCase& c = GetParam();
    MachineState m;
    Load(m, TapeKind::Tzx, c.tzx);
    const Recording r = PlayAndRun(m);
    EXPECT_EQ(PulsesOf(r), c.pulses) << c.what;
    EXPECT_EQ(r.stoppedAt, Sum(c.pulses)) << c.what;
}

const TurboTimings kTurbo{1000, 300, 400, 200, 500, 5, 3, 0};
const Pulses kTurboPulses = Join({Repeat(1000, 5), {300, 400}, BitPulses({0xA0}, 200, 500, 3)});

INSTANTIATE_TEST_SUITE_P(
    Blocks, TzxPulses,
    testing::Values(
        TzxCase{"turbo block with 3 used bits", Tzx({Turbo(kTurbo, {0xA0})}), kTurboPulses},
        TzxCase{"turbo block without pilot starts with sync",
                Tzx({Turbo({1000, 300, 400, 200, 500, 0, 8, 0}, {0x00})}),
                Join({{300, 400}, Repeat(200, 16)})},
        TzxCase{"standard block", Tzx({Standard(DataPayload({0x81}), 0)}),
                StandardBlockPulses(DataPayload({0x81}))},
        TzxCase{"pure tone, pulse sequence, pure data",
                Tzx({PureTone(700, 4), PulseSequence({100, 200, 300}),
                     PureData(250, 600, 8, 0, {0x80})}),
                Join({Repeat(700, 4), {100, 200, 300}, {600, 600}, Repeat(250, 14)})},
        TzxCase{"empty tone and sequence give no pulses",
                Tzx({PureTone(700, 0), PulseSequence({}), PureTone(100, 1)}),
                {100}},
        TzxCase{"pause 0: the next block follows with no gap",
                Tzx({Turbo(kTurbo, {0xA0}), PureTone(123, 2)}), Join({kTurboPulses, {123, 123}})},
        TzxCase{"a data block's pause: low after 1 ms, the next block after the pause",
                Tzx({Turbo({1000, 300, 400, 200, 500, 5, 3, 10}, {0xA0}), PureTone(123, 1)}),
                Join({kTurboPulses, {kMs + 1, 10 * kMs + 123 - (kMs + 1)}})},
        TzxCase{"pause block is one long pulse",
                Tzx({PureTone(100, 1), Pause(10), PureTone(100, 1)}),
                {100, 10 * kMs, 100}},
        TzxCase{"loop of three", Tzx({LoopStart(3), PureTone(100, 1), LoopEnd()}), Repeat(100, 3)},
        TzxCase{"jump over a block", Tzx({Jump(2), PureTone(999, 1), PureTone(100, 1)}), {100}},
        TzxCase{"texts, groups and messages are passed over",
                Tzx({ShortTextBlock(0x21, "g"),
                     ShortTextBlock(0x30, "x"),
                     Message(0, "m"),
                     {0x22},
                     PureTone(100, 1)}),
                {100}},
        TzxCase{"a jump to itself stops instead of hanging",
                Tzx({PureTone(100, 1), Jump(0), PureTone(100, 1)}),
                {100}},
        TzxCase{"a jump back over an empty data block stops instead of hanging",
                Tzx({PureTone(100, 1), PureData(1, 2, 8, 0, {}), Jump(-1)}),
                {100}},
        TzxCase{"a jump off the tape stops",
                Tzx({PureTone(100, 1), Jump(-5), PureTone(100, 1)}),
                {100}}));

TEST(TapePlayer, LoopCountZeroPlays65536Times) {
    MachineState m;
    Load(m, TapeKind::Tzx, Tzx({LoopStart(0), PureTone(100, 1), LoopEnd()}));
    TapePlay(m);
    EXPECT_EQ(RunTape(m, 50).changes.size(), 65536u);
}

TEST(TapePlayer, StopTapeIf48KStopsOnlyALockedMachine) {
    const Bytes tzx = Tzx({PureTone(100, 1), StopIf48K(), PureTone(200, 1)});
    MachineState m128;
    Load(m128, TapeKind::Tzx, tzx);
    EXPECT_EQ(PulsesOf(PlayAndRun(m128)), (Pulses{100, 200}));

    MachineState m48;
    m48.memory.paging.PagingLatch = 0x30; // paging locked
    Load(m48, TapeKind::Tzx, tzx);
    EXPECT_EQ(PulsesOf(PlayAndRun(m48)), (Pulses{100}));
    EXPECT_EQ(m48.tape.currentBlock, 2);
    EXPECT_EQ(PulsesOf(PlayAndRun(m48)), (Pulses{200})); // Play goes on after it
}

TEST(TapePlayer, StopBlockAndSelectionStopTheTape) {
    MachineState m;
    Load(m, TapeKind::Tzx,
         Tzx({PureTone(100, 1), Pause(0), Message(5, "hi"), Select({{1, "a"}}), PureTone(100, 1)}));
    EXPECT_EQ(PulsesOf(PlayAndRun(m)), (Pulses{100}));
    EXPECT_EQ(m.tape.currentBlock, 2);
    EXPECT_EQ(m.tape.pendingSelectionBlock, -1);

    EXPECT_EQ(PulsesOf(PlayAndRun(m)), Pulses{});
    EXPECT_EQ(m.tape.pendingMessageBlock, 2);
    EXPECT_EQ(m.tape.pendingSelectionBlock, 3);
    EXPECT_EQ(m.tape.currentBlock, 3); // stopped on the selection block
    EXPECT_EQ(ReadTzxMessage(m.tape.image, m.tape.image.BlockStart(2)).text, "hi");
    const TapeSelection s = ReadTzxSelection(m.tape.image, m.tape.image.BlockStart(3));
    EXPECT_EQ(s.texts, std::vector<std::string>{"a"});
    EXPECT_EQ(s.offsets, std::vector<int16_t>{1});
}

TEST(TapePlayer, WindowRequestsAreCarriedOutByTheNextTick) {
    MachineState m;
    Load(m, TapeKind::Tzx, Tzx({PureTone(100, 1000)}));
    RequestTapePlay(m.tape);
    EXPECT_TRUE(m.tape.running);
    EXPECT_FALSE(m.tape.playing);
    TapeTick(m, m.regs.T);
    EXPECT_TRUE(m.tape.playing);

    RunTape(m, 1, 150);
    EXPECT_EQ(m.tape.earByte, 0x40);
    EXPECT_EQ(PortIn(m, 0xFEFE) & 0x40, 0x40); // the EAR level is bit 6 of keyboard reads
    EXPECT_EQ(m.sound.level, 64);              // and the tape-input part of the sound level

    RequestTapeStop(m.tape);
    TapeTick(m, m.regs.T);
    EXPECT_FALSE(m.tape.playing);
    EXPECT_FALSE(m.tape.running);
    EXPECT_EQ(m.tape.earByte, 0x40); // kept while stopped
}

TEST(TapePlayer, OnlyTheRomLoadersDiPressesPlay) {
    MachineState m;
    m.resetKind = ResetKind::Mode48;
    ResetMachine(m);
    auto& rom = m.memory.rom[size_t(RomSlot::Basic48)];
    rom[0x0100] = 0xF3; // DI
    rom[0x0559] = 0xF3;
    Load(m, TapeKind::Tap, TapBlock(kHeader));
    m.regs.PC = 0x0100;
    ExecuteInstruction(m);
    EXPECT_FALSE(m.tape.playing);
    m.regs.PC = 0x0559;
    ExecuteInstruction(m);
    EXPECT_TRUE(m.tape.playing);
}

TEST(TapePlayer, PlayNeedsATapeAndDoesNothingWhilePlaying) {
    MachineState m;
    TapePlayButtonClick(m);
    EXPECT_FALSE(m.tape.playing);
    EXPECT_FALSE(m.tape.running);

    Load(m, TapeKind::Tzx, Tzx({PureTone(100, 3)}));
    TapePlayButtonClick(m);
    RunTape(m, 1, 150);
    TapePlayButtonClick(m); // would restart the block if it were not ignored
    EXPECT_EQ(PulsesOf(RunTape(m)).size(), 2u);
}

} // namespace
} // namespace vespin
