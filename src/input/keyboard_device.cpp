#include "input/keyboard_device.h"

namespace vespin {

void TKeyboardDevice::Push(uint8_t scanCode, bool down) {
    {
        std::lock_guard lock(mutex_);
        if (closed_ || (down && held_[scanCode])) return;
        held_[scanCode] = down;
        ++pushed_;
        if (count_ == kCapacity) {
            lost_ = true;
        } else {
            ring_[(head_ + count_) % kCapacity] = {scanCode, down};
            ++count_;
        }
    }
    wake_.notify_one();
}

bool TKeyboardDevice::Wait() {
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [&] { return closed_ || woken_ || count_ > 0 || lost_; });
    woken_ = false;
    return !closed_;
}

void TKeyboardDevice::Wake() {
    {
        std::lock_guard lock(mutex_);
        woken_ = true;
    }
    wake_.notify_one();
}

void TKeyboardDevice::Close() {
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
    }
    wake_.notify_all();
    handled_.notify_all();
}

KeyEventBatch TKeyboardDevice::ReadKeyEvents() {
    std::lock_guard lock(mutex_);
    KeyEventBatch batch;
    while (batch.count < kKeyEventBatch && count_ > 0) {
        batch.events[batch.count++] = ring_[head_];
        head_ = (head_ + 1) % kCapacity;
        --count_;
    }
    fetched_ += batch.count;
    batch.lost = lost_;
    batch.sequence = fetched_;
    return batch;
}

HeldKeys TKeyboardDevice::TakeHeldKeys(uint64_t& sequence) {
    std::lock_guard lock(mutex_);
    head_ = 0;
    count_ = 0;
    lost_ = false;
    fetched_ = pushed_;
    sequence = pushed_;
    return held_;
}

void TKeyboardDevice::MarkHandled(uint64_t sequence) {
    {
        std::lock_guard lock(mutex_);
        if (sequence > handledSeq_) handledSeq_ = sequence;
    }
    handled_.notify_all();
}

void TKeyboardDevice::WaitHandled() {
    std::unique_lock lock(mutex_);
    const uint64_t target = pushed_;
    handled_.wait(lock, [&] { return closed_ || handledSeq_ >= target; });
}

} // namespace vespin
