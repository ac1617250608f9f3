// The emulation thread on a real thread. Memory is all zeros, so the processor runs NOPs:
// PC advances by one and T by 4 per call, which makes every stop point predictable.
#include "core/emul_thread.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include <pthread.h>

#include <gtest/gtest.h>

#include "core/frame_timer.h"
#include "core/machine.h"

namespace vespin {
namespace {

class CountingDisplay : public DisplaySink {
  public:
    std::atomic<int> frames{0};
    void PresentFrame(std::span<const uint8_t>, const Palette&) override { ++frames; }
};

class EmulThreadTest : public ::testing::Test {
  protected:
    std::unique_ptr<MachineState> machine = std::make_unique<MachineState>();
    MachineState& m = *machine;
    CountingDisplay display;

    void SetUp() override {
        m.synchronisedSpeed = 0;
        m.host.display = &display;
        m.regs.PC = 0x8000;
    }
    // Busy-waits (no sleeping) until the emulation thread has completed `frames` frames.
    void WaitForFrames(uint32_t frames) const {
        while (m.frameCounter.load() < frames)
            std::this_thread::yield();
    }
};

TEST_F(EmulThreadTest, StopsByItselfAtTheRunToAddress) {
    m.runToAddress = 0x8010;
    std::string name;
    int starts = 0, ends = 0;
    uint8_t runningAtEnd = 0;
    EmulThreadHandlers handlers;
    handlers.onStart = [&] {
        char buffer[16] = {};
        pthread_getname_np(pthread_self(), buffer, sizeof buffer);
        name = buffer;
        ++starts;
    };
    handlers.onEnd = [&] {
        ++ends;
        runningAtEnd = m.threadRunning.load();
    };
    TEmulThread thread(m, handlers);
    thread.Wait();
    EXPECT_EQ(m.regs.PC, 0x8010);
    EXPECT_EQ(m.regs.T, 16 * 4);
    EXPECT_EQ(m.runFlag.load(), 0);
    EXPECT_EQ(m.threadRunning.load(), 0);
    EXPECT_EQ(runningAtEnd, 1);
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(name, "Emulator");
}

TEST_F(EmulThreadTest, RunToTheCurrentPcRunsUntilPcComesBack) {
    m.runToAddress = 0x8000;
    TEmulThread thread(m);
    thread.Wait();
    EXPECT_EQ(m.regs.PC, 0x8000);
    // 65536 NOPs of 4 T-states: three whole frames and the rest.
    EXPECT_EQ(m.frameCounter.load(), 65536u * 4 / 71680);
    EXPECT_EQ(m.regs.T, 65536 * 4 % 71680);
}

TEST_F(EmulThreadTest, RunToZeroNeverStopsByItself) {
    TEmulThread thread(m);
    WaitForFrames(2); // PC has passed 0x0000 at least once by then
    thread.StopAndWait();
    EXPECT_EQ(m.threadRunning.load(), 0);
    EXPECT_GE(m.frameCounter.load(), 2u);
    EXPECT_GE(display.frames.load(), 2);
}

TEST_F(EmulThreadTest, PauseFreezesTheMachineAndResumesWithTheSameT) {
    m.regs.T = 1000;
    m.runToAddress = 0x8001; // one instruction if it ran at all
    m.pause = 1;
    {
        TEmulThread thread(m);
        // The paused thread cannot reach the run-to address; only Stop ends it.
    }
    EXPECT_EQ(m.regs.PC, 0x8000);
    EXPECT_EQ(m.regs.T, 1000);
    EXPECT_EQ(m.frameCounter.load(), 0u);

    m.pause = 0;
    TEmulThread thread(m);
    thread.Wait();
    EXPECT_EQ(m.regs.PC, 0x8001);
    EXPECT_EQ(m.regs.T, 1004);
}

TEST_F(EmulThreadTest, ResetHoldResetsEveryCallWhileFramesGoOn) {
    m.resetHold = 1;
    m.regs.SP = 0x1234;
    TEmulThread thread(m);
    WaitForFrames(3);
    thread.StopAndWait();
    EXPECT_EQ(m.regs.PC, 0);
    EXPECT_EQ(m.regs.SP, 0xFFFF);
    EXPECT_EQ(m.regs.T % 4, 0);          // 4 T-states a call
    EXPECT_GE(display.frames.load(), 3); // the screen keeps being presented
}

TEST_F(EmulThreadTest, SynchronisedSpeedWaitsForTimerTicks) {
    m.host.display = nullptr;
    m.synchronisedSpeed = 1;
    FrameTimer timer(m.frameCounter);
    m.host.timer = &timer;
    timer.Start();
    TEmulThread thread(m);
    WaitForFrames(3);
    thread.StopAndWait();
    timer.Stop();
    // Each frame end waits for a tick it has not seen yet.
    EXPECT_LE(m.frameCounter.load(), timer.Ticks() + 1);
}

} // namespace
} // namespace vespin
