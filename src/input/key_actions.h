// The host key tables: what each host key does on key-down and key-up, in the plain layer and
// while a host Alt key is held. Host keys are PC set-1 scan codes, 0x80 added for the extended
// keys (cursor block, right Alt, keypad Enter and /). Most keys press one Spectrum key or a
// shifted pair so that PC punctuation and cursor keys type what their caps show; some drive the
// Kempston joystick; the rest are the emulator's hot keys.
#pragma once

#include <array>
#include <cstdint>

namespace vespin {

enum class KeyOp : uint8_t {
    None,
    PressKeys,    // press Spectrum keys a, then b (b = kNoKey for a single key)
    ReleaseKeys,  // release the same keys
    JoystickOn,   // set joystick bits a
    JoystickOff,  // clear joystick bits a
    AltOn,        // enter the Alt layer
    AltOff,       // leave it
    Escape,       // close the pop-up menu, or stop the emulation and leave full screen
    LoadDisk,     // ask for "Load &Disk Image..."
    LoadSnapshot, // ask for "Load &Snapshot..."
    ToggleSpeed,  // synchronised speed on/off
    Reset128,     // hold the machine in reset, 128K kinds (TR-DOS on a quick second press)
    Reset48,      // the same with the 48K kinds
    ResetRelease, // let the machine out of reset
    TogglePause,
    TapeReader,     // ask for "&Tape Reader Panel"
    FullScreen,     // toggle full screen
    ShowFps,        // toggle "Show FPS"
    MouseCapture,   // toggle the mouse capture outside full screen
    BackToDebugger, // stop, leave full screen, bring the main window to the front
    CloseProgram,
};

constexpr uint8_t kNoKey = 0xFF;

struct KeyAction {
    KeyOp op = KeyOp::None;
    uint8_t a = kNoKey;
    uint8_t b = kNoKey;
};

using KeyActionTable = std::array<KeyAction, 256>;

struct KeyActionTables {
    KeyActionTable press;
    KeyActionTable release;
    KeyActionTable altPress;
    KeyActionTable altRelease;
};

// Host scan codes the key thread treats specially.
namespace scan {
constexpr uint8_t Escape = 0x01;
constexpr uint8_t LeftAlt = 0x38;
constexpr uint8_t RightAlt = 0xB8;
} // namespace scan

const KeyActionTables& HostKeyTables();

} // namespace vespin
