#include "core/frame_timer.h"

#include <chrono>

namespace vespin {

FrameTimer::FrameTimer(const std::atomic<uint32_t>& frameCounter) : frameCounter_(frameCounter) {}

FrameTimer::~FrameTimer() {
    Stop();
}

void FrameTimer::Start() {
    if (thread_.joinable()) return;
    {
        std::lock_guard lock(stopMutex_);
        stopRequested_ = false;
    }
    savedFrames_ = frameCounter_.load(std::memory_order_relaxed);
    running_.store(true, std::memory_order_release);
    thread_ = std::thread([this] { Run(); });
}

void FrameTimer::Stop() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard lock(stopMutex_);
        stopRequested_ = true;
    }
    signal_.notify_all();
    thread_.join();
    running_.store(false, std::memory_order_release);
}

bool FrameTimer::NoNewTick() {
    const uint32_t now = Ticks();
    if (now == queriedTick_.load(std::memory_order_relaxed)) return true;
    queriedTick_.store(now, std::memory_order_relaxed);
    return false;
}

uint32_t FrameTimer::WaitForTickAfter(uint32_t seen) {
    std::unique_lock lock(stopMutex_);
    // The ticking thread changes the counter and the stop request under this mutex.
    signal_.wait(lock, [&] { return Ticks() != seen || stopRequested_ || !Running(); });
    return Ticks();
}

void FrameTimer::Tick() {
    const uint32_t tick = ticks_.load(std::memory_order_relaxed) + 1;
    if (tick % 5 == 0) {
        const uint32_t frames = frameCounter_.load(std::memory_order_relaxed);
        ringSum_ -= ring_[ringPosition_];
        ring_[ringPosition_] = frames - savedFrames_;
        ringSum_ += ring_[ringPosition_];
        savedFrames_ = frames;
        ringPosition_ = (ringPosition_ + 1) % ring_.size();
        fps_.store(ringSum_, std::memory_order_relaxed);
    }
    ticks_.store(tick, std::memory_order_release);
}

void FrameTimer::Run() {
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + kTickPeriod;
    std::unique_lock lock(stopMutex_);
    while (!signal_.wait_until(lock, deadline, [this] { return stopRequested_; })) {
        Tick();
        signal_.notify_all();
        deadline += kTickPeriod;
        // After a long host stall start afresh rather than firing the missed ticks in a burst.
        if (Clock::now() > deadline + 5 * kTickPeriod) deadline = Clock::now() + kTickPeriod;
    }
}

} // namespace vespin
