// Kempston joystick and mouse: the bytes the input ports answer with (the port decode itself is
// the port map's) and the mouse's per-frame update from the host mouse.
//
// Joystick byte, active high: bit 0 right, bit 1 left, bit 2 down, bit 3 up, bit 4 fire. The key
// thread writes it; the emulation thread reads it.
//
// Mouse: X and Y positions wrap modulo 256, Y grows upwards. The buttons byte is active low
// (left 1, right 2 or the reverse when swapped, middle 4); with wheel support its high nibble
// carries the wheel counter. Only the emulation thread touches the mouse bytes.
#pragma once

#include <atomic>
#include <cstdint>

namespace vespin {

namespace joy {
constexpr uint8_t Right = 0x01;
constexpr uint8_t Left = 0x02;
constexpr uint8_t Down = 0x04;
constexpr uint8_t Up = 0x08;
constexpr uint8_t Fire = 0x10;
} // namespace joy

// The mouse options besides "Enabled" (which the port map reads from MachineOptions). The
// options dialog edits them while the machine runs, and Alt + left click toggles the swap from
// the emulation thread, hence atomics.
struct KempstonMouseOptions {
    std::atomic<bool> swapButtons{false};
    std::atomic<bool> wheelSupport{false};
    std::atomic<bool> wheelDirection{false}; // set: the wheel counts the other way
};

struct KempstonState {
    std::atomic<uint8_t> joystick{0};

    uint8_t mouseX = 0;
    uint8_t mouseY = 0;
    uint8_t mouseButtons = 0xFF;
    uint8_t mouseWheel = 0;
    bool swapLatch = false; // Alt + left click toggles the swap once per click
    KempstonMouseOptions mouseOptions;

    // Mouse capture: the emulator holds the host mouse. Turned on and off by the user (double
    // click on the picture, Alt + M, full screen); the main window acquires or releases the host
    // mouse when it changes.
    std::atomic<uint8_t> mouseCapture{0};
    std::atomic<uint8_t> mouseAcquired{0};
    // Set by the windows while the program has the focus and the screen window is active.
    std::atomic<uint8_t> screenActive{0};
};

} // namespace vespin
