// Kempston joystick and mouse.
#pragma once

#include <cstdint>

namespace vespin {

struct KempstonState {
    uint8_t joystick = 0; // fire and directions, 1 = active
    uint8_t mouseX = 0;
    uint8_t mouseY = 0;
    uint8_t mouseButtons = 0xFF;
};

} // namespace vespin
