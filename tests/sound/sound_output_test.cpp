#include "sound/sound_output.h"

#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "core/frame.h"
#include "core/machine.h"

namespace vespin {
namespace {

class SoundTest : public ::testing::Test {
  protected:
    std::unique_ptr<MachineState> machine = std::make_unique<MachineState>();
    MachineState& m = *machine;
    TSoundOutput& s = m.sound;

    void PortAt(int32_t t, uint8_t value) {
        m.regs.T = t;
        SpeakerPortWrite(m, value);
    }
    void TapeAt(int32_t t, bool high) {
        m.regs.T = t;
        SetTapeInputLevel(m, high);
    }
};

// One frame from silence: events at T-states, then the frame is sampled to its end.
struct Event {
    int32_t t;
    enum Kind { Port, Tape } kind;
    uint8_t value;
};
struct Expect {
    int index;
    uint8_t sample;
};
struct FrameCase {
    const char* name;
    std::vector<Event> events;
    std::vector<Expect> samples;
};

TEST_F(SoundTest, SamplesAverageTheLevelOverTheirPeriods) {
    const FrameCase cases[] = {
        {"speaker high all frame", {{0, Event::Port, 0x10}}, {{0, 128}, {500, 128}, {881, 128}}},
        {"speaker and tape input",
         {{0, Event::Port, 0x10}, {0, Event::Tape, 1}},
         {{0, 192}, {881, 192}}},
        {"tape output", {{0, Event::Port, 0x08}}, {{0, 32}, {881, 32}}},
        // The first sample spans T 0..81: high from 41 gives 41 x 128 / 82.
        {"speaker from T 41", {{41, Event::Port, 0x10}}, {{0, 64}, {1, 128}}},
        // The second sample spans 82..162 (81 T-states), the third starts at 163.
        {"speaker from T 82", {{82, Event::Port, 0x10}}, {{0, 0}, {1, 128}}},
        {"speaker from T 163", {{163, Event::Port, 0x10}}, {{1, 0}, {2, 128}}},
        // The last sample spans 71599..71679 and is closed at 71680.
        {"speaker from T 71599", {{71599, Event::Port, 0x10}}, {{880, 0}, {881, 128}}},
        // A port write keeps the tape input; a tape edge keeps speaker and tape output.
        {"port write keeps tape input", {{0, Event::Tape, 1}, {0, Event::Port, 0x00}}, {{0, 64}}},
        {"tape edge keeps speaker",
         {{0, Event::Port, 0x18}, {0, Event::Tape, 1}, {0, Event::Tape, 0}},
         {{0, 160}}},
    };
    for (const FrameCase& c : cases) {
        auto fresh = std::make_unique<MachineState>();
        for (const Event& e : c.events) {
            fresh->regs.T = e.t;
            if (e.kind == Event::Port)
                SpeakerPortWrite(*fresh, e.value);
            else
                SetTapeInputLevel(*fresh, e.value != 0);
        }
        const TSoundOutput& out = fresh->sound;
        UpdateSound(fresh->sound, kSoundFrameT);
        for (const Expect& x : c.samples) {
            EXPECT_EQ(out.frame[static_cast<size_t>(x.index)], x.sample)
                << c.name << ", sample " << x.index;
        }
        EXPECT_EQ(out.position, 0) << c.name;
        EXPECT_EQ(out.index, 0) << c.name;
    }
}

TEST_F(SoundTest, FrameHasExactly882SamplesWithPeriodsOf82And81) {
    // A level that toggles at every T-state boundary of the samples shows where they close.
    s.level = 128;
    std::vector<int32_t> ends;
    int lastIndex = 0;
    for (int32_t t = 1; t <= kSoundFrameT; ++t) {
        UpdateSound(s, t);
        if (s.index != lastIndex || s.position == 0) ends.push_back(t);
        lastIndex = s.index;
    }
    ASSERT_EQ(ends.size(), 882u);
    EXPECT_EQ(ends[0], 82);
    EXPECT_EQ(ends[1], 163);
    EXPECT_EQ(ends.back(), kSoundFrameT);
    for (size_t i = 1; i < ends.size(); ++i) {
        const int32_t period = ends[i] - ends[i - 1];
        ASSERT_TRUE(period == 81 || period == 82) << "sample " << i << " spans " << period;
    }
}

TEST_F(SoundTest, AllVolumesZeroIsSilence) {
    SetVolumes(s, 0, 0, 0);
    PortAt(0, 0x18);
    TapeAt(100, true);
    PortAt(200, 0x10);
    UpdateSound(s, kSoundFrameT);
    for (uint8_t sample : s.frame)
        ASSERT_EQ(sample, 0);
    EXPECT_EQ(s.history, 0); // the level never changed
}

TEST_F(SoundTest, VolumePositionsGiveOneBitEach) {
    const std::pair<int, uint8_t> cases[] = {{0, 0}, {1, 1}, {6, 32}, {8, 128}, {9, 0}, {-1, 0}};
    for (const auto& [position, bit] : cases)
        EXPECT_EQ(VolumeBit(position), bit) << position;
}

TEST_F(SoundTest, ChangeInTheInstructionCrossingTheFrameEndClosesTheFrame) {
    PortAt(71000, 0x10);
    PortAt(71685, 0x00); // the frame's last instruction ended at 71685
    EXPECT_TRUE(s.crossedFrame);
    EXPECT_EQ(s.frame[881], 128);
    EXPECT_EQ(s.index, 0);
    EXPECT_EQ(s.position, 5);

    m.synchronisedSpeed = 0;
    m.regs.T = 71690;
    FrameEnd(m); // must not sample again: the sampler is already in the new frame
    EXPECT_FALSE(s.crossedFrame);
    EXPECT_EQ(s.position, 5);
    EXPECT_EQ(m.regs.T, 10);
}

TEST_F(SoundTest, FrameEndCompletesTheBufferForThreeFramesAfterAChange) {
    m.synchronisedSpeed = 0;
    PortAt(1000, 0x10);
    for (int frame = 0; frame < 3; ++frame) {
        m.regs.T = 71680 + frame; // overshoot carried into the next frame
        FrameEnd(m);
        EXPECT_EQ(s.frame[881], 128) << frame;
    }
    EXPECT_EQ(s.history & 7, 0);
    // Left alone now: the sampler no longer moves.
    const int32_t position = s.position;
    m.regs.T = 71680;
    FrameEnd(m);
    EXPECT_EQ(s.position, position);
}

TEST_F(SoundTest, ShorterFramesStillCloseEveryBuffer) {
    m.synchronisedSpeed = 0;
    m.frameLength = 69888;
    for (int frame = 0; frame < 3; ++frame) {
        PortAt(1000, 0x10);
        PortAt(5000, 0x00);
        m.regs.T = 69890;
        FrameEnd(m);
        EXPECT_EQ(s.frame[0], 0) << frame;
        EXPECT_EQ(s.frame[20], 128) << frame; // T-states 1626..1706
        EXPECT_EQ(s.frame[100], 0) << frame;  // T-states 8128..8208
        EXPECT_EQ(s.position, 0) << frame;
    }
}

TEST(PlayCursor, WaitingWindowFollowsTheWriteOffset) {
    struct Case {
        uint32_t w, p;
        int32_t delay;
        bool reached;
    };
    const Case cases[] = {
        {882, 881, 0, false},    {882, 882, 0, true},    {882, 1763, 0, true},
        {882, 1764, 0, false},   {1764, 1763, 0, false}, {1764, 1764, 0, true},
        {1764, 2645, 0, true},   {0, 0, 0, true},        {0, 881, 0, true},
        {0, 882, 0, false},      {0, 2645, 0, false},    {882, 782, 100, true},
        {882, 1664, 100, false}, {0, 2546, 100, true},   {0, 2545, 100, false},
        {0, 781, 100, true},     {0, 782, 100, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlayCursorReached(c.w, c.p, c.delay), c.reached)
            << "W " << c.w << " P " << c.p << " D " << c.delay;
    }
}

} // namespace
} // namespace vespin
