// Host keys on Linux to the scan codes of the host key tables. Linux input (evdev) numbers the
// main block, the function keys F1-F12 and the keypad as the PC's set-1 scan codes; the keys a
// PC sends with the 0xE0 prefix (cursor block, right Ctrl and Alt, keypad Enter and /, Pause)
// have codes of their own and map to set-1 + 0x80. Under X11 with the usual evdev keymap a
// native keycode is the evdev code + 8.
#pragma once

#include <cstdint>

namespace vespin {

// The table scan code of a Linux input key code, or 0 for a key the tables have no use for.
uint8_t ScanCodeOfEvdevKey(uint32_t evdevCode);

} // namespace vespin
