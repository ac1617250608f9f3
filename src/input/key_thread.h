// The key thread: blocks on the host keyboard, fetches its events and runs the host key tables
// for each, while the emulation runs (enabled) and the program has the focus (active). Events
// fetched at other times are dropped.
//
// It writes the keyboard matrix, the Kempston joystick byte, the pause, reset-hold and
// synchronised-speed flags and the window requests; all of them are atomics or the matrix's
// writer lock, so the emulation thread never waits on it for longer than one matrix update.
#pragma once

#include <atomic>
#include <bitset>
#include <cstdint>
#include <functional>
#include <optional>
#include <thread>

#include "input/key_actions.h"
#include "input/keyboard_device.h"

namespace vespin {

struct MachineState;
struct WindowRequests;

// The 20 ms timer's tick counter, read for the double-press rule of the reset keys.
using TickSource = std::function<uint32_t()>;

class TKeyThread {
  public:
    TKeyThread(MachineState& machine, TKeyboardDevice& keyboard, WindowRequests& requests,
               TickSource ticks);
    ~TKeyThread();
    TKeyThread(const TKeyThread&) = delete;
    TKeyThread& operator=(const TKeyThread&) = delete;

    // Runs the loop on a thread of its own until destruction. Without it, Service does the same
    // work on the caller's thread.
    void Start();
    // One pass of the loop without blocking: resynchronise if asked, then fetch and handle
    // every queued event.
    void Service();

    // Set while the emulation runs.
    void SetEnabled(bool enabled);
    // The program gained the focus: become active, and resynchronise the matrix with the keys
    // held now if it was not active before. The resynchronisation waits until Escape is no
    // longer held, so that the Escape that stopped a run does not stop the next one.
    void ActivateKeys();
    void DeactivateKeys();
    bool Active() const { return active_.load(); }

    // Runs the table entry of one key event, as the loop does for host events.
    void HandleKeyEvent(KeyEvent event);

  private:
    void Run(const KeyAction& action, uint8_t scanCode);
    void HoldReset(uint8_t baseKind);
    void StopEmulation();
    void Resynchronise(const HeldKeys& held);
    bool TryResynchronise();

    MachineState& m_;
    TKeyboardDevice& keyboard_;
    WindowRequests& requests_;
    TickSource ticks_;
    const KeyActionTables& tables_;
    std::atomic<uint8_t> enabled_{0};
    std::atomic<uint8_t> active_{0};
    std::atomic<uint8_t> resyncPending_{0};
    // Key thread only. The host keys whose press action holds Spectrum keys now: a host key
    // counts once in the press counters, whichever layer its key-up goes to (see Run).
    std::bitset<256> holding_;
    std::optional<uint32_t> lastResetTick_;
    std::thread thread_;
};

} // namespace vespin
