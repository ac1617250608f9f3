// The host keyboard as the key thread sees it: a bounded queue of key events (set-1 scan codes
// with up/down, in the order they happened) that a host pushes into, a blocking wait that wakes
// when events are queued, and the set of keys held right now for resynchronising the matrix.
//
// A host whose events outrun the queue loses the newest events; the held-key set is still kept
// exact, and the next fetch reports the loss so that the key thread rebuilds the matrix from
// the held keys instead of leaving a Spectrum key stuck down.
#pragma once

#include <array>
#include <bitset>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>

namespace vespin {

struct KeyEvent {
    uint8_t scanCode = 0;
    bool down = false;
};

constexpr size_t kKeyEventBatch = 10; // events fetched at a time

struct KeyEventBatch {
    std::array<KeyEvent, kKeyEventBatch> events{};
    size_t count = 0;
    bool lost = false;     // events were dropped since the previous fetch
    uint64_t sequence = 0; // number of events pushed up to and including this batch

    std::span<const KeyEvent> Events() const { return {events.data(), count}; }
};

using HeldKeys = std::bitset<256>;

class TKeyboardDevice {
  public:
    static constexpr size_t kCapacity = 64;

    // Host side: a key went down or up. Repeated key-downs of a held key (host auto-repeat) are
    // not queued: the Spectrum has its own auto-repeat.
    void Push(uint8_t scanCode, bool down);

    // Key thread side. Wait blocks until events are queued or Wake is called; it returns false
    // once Close has been called.
    bool Wait();
    void Wake();
    void Close();
    // Fetches up to kKeyEventBatch queued events.
    KeyEventBatch ReadKeyEvents();
    // The keys held now; drops every queued event, which the held set already reflects.
    HeldKeys TakeHeldKeys(uint64_t& sequence);

    // Completion tracking: the key thread reports the sequence it has handled; WaitHandled blocks
    // until everything pushed before the call is handled.
    void MarkHandled(uint64_t sequence);
    void WaitHandled();

  private:
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable handled_;
    std::array<KeyEvent, kCapacity> ring_{};
    size_t head_ = 0;
    size_t count_ = 0;
    HeldKeys held_;
    bool lost_ = false;
    bool woken_ = false;
    bool closed_ = false;
    uint64_t pushed_ = 0;  // events accepted by Push, queued or lost
    uint64_t fetched_ = 0; // events taken out of the queue or lost
    uint64_t handledSeq_ = 0;
};

} // namespace vespin
