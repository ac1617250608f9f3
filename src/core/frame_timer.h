// The 20 ms frame timer: a thread that ticks against steady_clock deadlines (so ticks do not
// drift with the time each one takes), counts ticks, and every fifth tick (100 ms) stores the
// frames emulated since the previous store into a ring of ten slots. The ring's sum is the
// frames-per-second figure: frames emulated during the last second.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace vespin {

class FrameTimer {
  public:
    static constexpr auto kTickPeriod = std::chrono::milliseconds(20);

    // Reads the machine's frame counter for the frames-per-second ring.
    explicit FrameTimer(const std::atomic<uint32_t>& frameCounter);
    ~FrameTimer();
    FrameTimer(const FrameTimer&) = delete;
    FrameTimer& operator=(const FrameTimer&) = delete;

    void Start();
    void Stop();
    bool Running() const { return running_.load(std::memory_order_acquire); }

    uint32_t Ticks() const { return ticks_.load(std::memory_order_acquire); }
    uint32_t FramesPerSecond() const { return fps_.load(std::memory_order_relaxed); }

    // 1 when the tick counter still equals the value saved at the previous query; otherwise
    // saves the counter and returns 0. Called by one thread, the emulation thread.
    bool NoNewTick();

    // Blocks until the tick counter differs from seen (or the timer stops); returns the counter.
    uint32_t WaitForTickAfter(uint32_t seen);

    // One tick, as the timer thread runs it; public so the ring can be driven step by step.
    void Tick();

  private:
    void Run();

    const std::atomic<uint32_t>& frameCounter_;
    std::atomic<uint32_t> ticks_{0};
    std::atomic<uint32_t> fps_{0};
    std::atomic<uint32_t> queriedTick_{0};
    std::atomic<bool> running_{false};

    // Owned by the ticking thread.
    std::array<uint32_t, 10> ring_{};
    uint32_t ringPosition_ = 0;
    uint32_t ringSum_ = 0;
    uint32_t savedFrames_ = 0;

    // Guards the stop request; the ticking thread also ticks under it, so that stop requests
    // reach the ticking thread and ticks reach WaitForTickAfter without being missed.
    std::mutex stopMutex_;
    std::condition_variable signal_;
    bool stopRequested_ = false;
    std::thread thread_;
};

} // namespace vespin
