#include "core/frame.h"

#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "core/frame_timer.h"
#include "core/machine.h"

namespace vespin {
namespace {

class CountingDisplay : public DisplaySink {
  public:
    int frames = 0;
    void PresentFrame(std::span<const uint8_t> bitmap, const Palette&) override {
        EXPECT_EQ(bitmap.size(), size_t(kFrameWidth * kFrameHeight));
        ++frames;
    }
};

// A sound device whose play position moves one segment further at every read, so a wait for
// it always ends.
class ScriptedAudio : public AudioDevice {
  public:
    std::vector<uint32_t> writes;
    mutable uint32_t position = 0;
    mutable int reads = 0;
    void Start() override {}
    void Stop() override {}
    void Write(uint32_t offset, std::span<const uint8_t> samples) override {
        EXPECT_EQ(samples.size(), size_t(kSamplesPerFrame));
        writes.push_back(offset);
    }
    uint32_t PlayPosition() const override {
        ++reads;
        position = (position + 441) % kSoundRingBytes;
        return position;
    }
};

class FrameEndTest : public ::testing::Test {
  protected:
    std::unique_ptr<MachineState> machine = std::make_unique<MachineState>();
    MachineState& m = *machine;
    CountingDisplay display;
    ScriptedAudio audio;
    FrameTimer timer{m.frameCounter}; // not started: its ticks are driven by hand

    void SetUp() override {
        m.host.display = &display;
        m.host.audio = &audio;
        m.host.timer = &timer;
    }
    void EndFrame() {
        m.regs.T = m.frameLength;
        FrameEnd(m);
    }
};

TEST_F(FrameEndTest, CarriesTheOvershootAndCountsTheFrame) {
    struct Case {
        int32_t frameLength, t, after;
    };
    const Case cases[] = {{71680, 71683, 3}, {71680, 71680, 0}, {69888, 69907, 19}};
    for (const Case& c : cases) {
        m.frameLength = c.frameLength;
        m.regs.T = c.t;
        const uint32_t frames = m.frameCounter;
        FrameEnd(m);
        EXPECT_EQ(m.regs.T, c.after);
        EXPECT_EQ(m.frameCounter, frames + 1);
    }
}

TEST_F(FrameEndTest, SynchronisedFramesSubmitWaitAndPresentEveryFrame) {
    for (int i = 0; i < 4; ++i)
        EndFrame();
    EXPECT_EQ(display.frames, 4);
    EXPECT_EQ(audio.writes, (std::vector<uint32_t>{0, 882, 1764, 0}));
    EXPECT_GT(audio.reads, 0); // paced by the play position
}

TEST_F(FrameEndTest, SingleStepDoesNotWait) {
    m.singleStep = 1;
    EndFrame();
    EXPECT_EQ(audio.reads, 0);
    EXPECT_EQ(display.frames, 1);
}

TEST_F(FrameEndTest, UnsynchronisedFramesArePresentedOncePerTimerTick) {
    m.synchronisedSpeed = 0;
    EndFrame();
    EndFrame();
    EXPECT_EQ(display.frames, 0); // no tick since the start
    timer.Tick();
    EndFrame();
    EndFrame();
    EXPECT_EQ(display.frames, 1);
    EXPECT_EQ(audio.writes.size(), 1u); // sound goes with the presented frame
    EXPECT_EQ(audio.reads, 0);          // and nothing waits
    timer.Tick();
    timer.Tick();
    EndFrame();
    EXPECT_EQ(display.frames, 2);
    EXPECT_EQ(m.host.lastPresentedTick, 3u);
}

TEST_F(FrameEndTest, WithoutTimerEveryFrameIsPresentedAndNothingWaits) {
    m.host.timer = nullptr;
    m.host.audio = nullptr;
    for (uint8_t synchronised : {0, 1}) {
        m.synchronisedSpeed = synchronised;
        display.frames = 0;
        for (int i = 0; i < 3; ++i)
            EndFrame();
        EXPECT_EQ(display.frames, 3) << int(synchronised);
    }
}

TEST(FrameTimerRing, FramesPerSecondIsTheSumOfTheLastTenSamples) {
    std::atomic<uint32_t> frames{0};
    FrameTimer timer(frames);
    // Each case: frames emulated per 100 ms for a number of 100 ms samples, then the figure.
    struct Case {
        uint32_t framesPerSample;
        int samples;
        uint32_t fps;
    };
    const Case cases[] = {
        {5, 10, 50}, {5, 3, 50}, {20, 4, 5 * 6 + 20 * 4}, {0, 10, 0}, {7, 1, 7},
    };
    for (const Case& c : cases) {
        for (int sample = 0; sample < c.samples; ++sample) {
            for (int tick = 0; tick < 5; ++tick) {
                if (tick == 2) frames += c.framesPerSample;
                timer.Tick();
            }
        }
        EXPECT_EQ(timer.FramesPerSecond(), c.fps);
    }
    EXPECT_EQ(timer.Ticks(), 5u * 28);
}

TEST(FrameTimerRing, NoNewTickReportsEachTickOnce) {
    std::atomic<uint32_t> frames{0};
    FrameTimer timer(frames);
    EXPECT_TRUE(timer.NoNewTick());
    timer.Tick();
    EXPECT_FALSE(timer.NoNewTick());
    EXPECT_TRUE(timer.NoNewTick());
    timer.Tick();
    timer.Tick();
    EXPECT_FALSE(timer.NoNewTick());
    EXPECT_TRUE(timer.NoNewTick());
}

TEST(FrameTimerThread, TicksUntilStopped) {
    std::atomic<uint32_t> frames{0};
    FrameTimer timer(frames);
    timer.Start();
    EXPECT_TRUE(timer.Running());
    uint32_t seen = timer.WaitForTickAfter(0);
    EXPECT_GE(seen, 1u);
    seen = timer.WaitForTickAfter(seen);
    EXPECT_GE(seen, 2u);
    timer.Stop();
    EXPECT_FALSE(timer.Running());
    const uint32_t stopped = timer.Ticks();
    EXPECT_EQ(timer.WaitForTickAfter(stopped), stopped); // returns at once when stopped
}

} // namespace
} // namespace vespin
