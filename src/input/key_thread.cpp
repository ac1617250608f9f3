#include "input/key_thread.h"

#include "core/machine.h"
#include "input/window_requests.h"

namespace vespin {

namespace {

// A second press of a reset key within one second (50 ticks of 20 ms) asks for TR-DOS.
constexpr uint32_t kDoublePressTicks = 50;

} // namespace

TKeyThread::TKeyThread(MachineState& machine, TKeyboardDevice& keyboard, WindowRequests& requests,
                       TickSource ticks)
    : m_(machine), keyboard_(keyboard), requests_(requests), ticks_(std::move(ticks)),
      tables_(HostKeyTables()) {}

TKeyThread::~TKeyThread() {
    if (thread_.joinable()) {
        keyboard_.Close();
        thread_.join();
    }
}

void TKeyThread::Start() {
    thread_ = std::thread([this] {
        while (keyboard_.Wait())
            Service();
    });
}

void TKeyThread::SetEnabled(bool enabled) {
    enabled_.store(enabled ? 1 : 0);
}

void TKeyThread::ActivateKeys() {
    if (active_.exchange(1) == 0) {
        resyncPending_.store(1);
        keyboard_.Wake();
    }
}

void TKeyThread::DeactivateKeys() {
    active_.store(0);
}

void TKeyThread::Service() {
    if (resyncPending_.load() && !TryResynchronise()) return;
    for (;;) {
        const KeyEventBatch batch = keyboard_.ReadKeyEvents();
        const bool handling = enabled_.load() && active_.load();
        if (batch.lost) {
            // The host dropped events: the matrix can no longer follow them one by one.
            if (handling) {
                resyncPending_.store(1);
                if (!TryResynchronise()) return;
            } else {
                uint64_t sequence = 0;
                keyboard_.TakeHeldKeys(sequence);
                keyboard_.MarkHandled(sequence);
            }
            continue;
        }
        if (batch.count == 0) return;
        if (handling) {
            for (const KeyEvent& event : batch.Events())
                HandleKeyEvent(event);
        }
        keyboard_.MarkHandled(batch.sequence);
    }
}

bool TKeyThread::TryResynchronise() {
    uint64_t sequence = 0;
    const HeldKeys held = keyboard_.TakeHeldKeys(sequence);
    // While Escape is held the queued events are dropped; its key-up wakes the thread again.
    if (!held[scan::Escape]) {
        resyncPending_.store(0);
        Resynchronise(held);
    }
    keyboard_.MarkHandled(sequence);
    return !resyncPending_.load();
}

void TKeyThread::Resynchronise(const HeldKeys& held) {
    ClearMatrix(m_.keys);
    holding_.reset();
    m_.kempston.joystick.store(0);
    const bool alt = held[scan::LeftAlt] || held[scan::RightAlt];
    m_.keys.altLayer.store(alt ? 1 : 0);
    const KeyActionTable& table = alt ? tables_.altPress : tables_.press;
    for (size_t code = 0; code < held.size(); ++code) {
        if (held[code]) Run(table[code], static_cast<uint8_t>(code));
    }
}

void TKeyThread::HandleKeyEvent(KeyEvent event) {
    const bool alt = m_.keys.altLayer.load() != 0;
    const KeyActionTable& table = event.down ? (alt ? tables_.altPress : tables_.press)
                                             : (alt ? tables_.altRelease : tables_.release);
    Run(table[event.scanCode], event.scanCode);
}

void TKeyThread::StopEmulation() {
    m_.runFlag.store(0);
    requests_.leaveFullScreen.store(1);
}

void TKeyThread::HoldReset(uint8_t baseKind) {
    const uint32_t now = ticks_ ? ticks_() : 0;
    const bool quick = lastResetTick_ && now - *lastResetTick_ < kDoublePressTicks;
    lastResetTick_ = now;
    m_.resetKind = static_cast<ResetKind>(baseKind | (quick ? 1 : 0));
    m_.resetHold.store(1);
}

// A host key presses its Spectrum keys once and releases them once. When its key-down or
// key-up went to the Alt layer instead (Alt pressed or released in between), the other half
// is skipped: a letter left down that way is released by its next press and release, and a
// key-up whose key-down never reached the matrix cannot release a Spectrum key that another
// host key holds (Shift and a cursor key share CAPS SHIFT).
void TKeyThread::Run(const KeyAction& action, uint8_t scanCode) {
    switch (action.op) {
    case KeyOp::None: break;
    case KeyOp::PressKeys:
        if (holding_[scanCode]) break;
        holding_[scanCode] = true;
        PressKey(m_.keys, action.a);
        if (action.b != kNoKey) PressKey(m_.keys, action.b);
        break;
    case KeyOp::ReleaseKeys:
        if (!holding_[scanCode]) break;
        holding_[scanCode] = false;
        ReleaseKey(m_.keys, action.a);
        if (action.b != kNoKey) ReleaseKey(m_.keys, action.b);
        break;
    case KeyOp::JoystickOn: m_.kempston.joystick.fetch_or(action.a); break;
    case KeyOp::JoystickOff: m_.kempston.joystick.fetch_and(static_cast<uint8_t>(~action.a)); break;
    case KeyOp::AltOn: m_.keys.altLayer.store(1); break;
    case KeyOp::AltOff: m_.keys.altLayer.store(0); break;
    case KeyOp::Escape:
        if (requests_.popupMenuOpen.exchange(0) == 0) StopEmulation();
        break;
    case KeyOp::LoadDisk: requests_.loadDiskImage.store(1); break;
    case KeyOp::LoadSnapshot: requests_.loadSnapshot.store(1); break;
    case KeyOp::ToggleSpeed: m_.synchronisedSpeed.fetch_xor(1); break;
    case KeyOp::Reset128: HoldReset(static_cast<uint8_t>(ResetKind::Mode128)); break;
    case KeyOp::Reset48: HoldReset(static_cast<uint8_t>(ResetKind::Mode48)); break;
    case KeyOp::ResetRelease: m_.resetHold.store(0); break;
    case KeyOp::TogglePause: m_.pause.fetch_xor(1); break;
    case KeyOp::TapeReader: requests_.tapeReaderPanel.store(1); break;
    case KeyOp::FullScreen: requests_.toggleFullScreen.store(1); break;
    case KeyOp::ShowFps: requests_.toggleShowFps.store(1); break;
    case KeyOp::MouseCapture:
        if (!requests_.fullScreen.load()) m_.kempston.mouseCapture.fetch_xor(1);
        break;
    case KeyOp::BackToDebugger:
        StopEmulation();
        requests_.mainWindowToFront.store(1);
        break;
    case KeyOp::CloseProgram: requests_.closeProgram.store(1); break;
    }
}

} // namespace vespin
