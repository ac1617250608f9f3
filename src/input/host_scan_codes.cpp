#include "input/host_scan_codes.h"

#include <array>

namespace vespin {

namespace {

// evdev codes 1..88 are set-1 codes, except 84 and 85 which a PC keyboard does not send.
constexpr uint32_t kLastPlainCode = 88; // F12

struct ExtendedKey {
    uint32_t evdev;
    uint8_t scan;
};
constexpr std::array<ExtendedKey, 19> kExtendedKeys = {{
    {96, 0x9C},  // keypad Enter
    {97, 0x9D},  // right Ctrl
    {98, 0xB5},  // keypad /
    {99, 0xB7},  // Print Screen
    {100, 0xB8}, // right Alt
    {102, 0xC7}, // Home
    {103, 0xC8}, // cursor up
    {104, 0xC9}, // Page Up
    {105, 0xCB}, // cursor left
    {106, 0xCD}, // cursor right
    {107, 0xCF}, // End
    {108, 0xD0}, // cursor down
    {109, 0xD1}, // Page Down
    {110, 0xD2}, // Insert
    {111, 0xD3}, // Delete
    {119, 0xC5}, // Pause
    {125, 0xDB}, // left Windows key
    {126, 0xDC}, // right Windows key
    {127, 0xDD}, // menu key
}};

} // namespace

uint8_t ScanCodeOfEvdevKey(uint32_t evdevCode) {
    if (evdevCode >= 1 && evdevCode <= kLastPlainCode && evdevCode != 84 && evdevCode != 85) {
        return static_cast<uint8_t>(evdevCode);
    }
    for (const ExtendedKey& k : kExtendedKeys) {
        if (k.evdev == evdevCode) return k.scan;
    }
    return 0;
}

} // namespace vespin
