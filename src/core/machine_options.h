// The hardware options the machine core reads at every access: port decodes and the
// Beta 128 switches. The options dialog edits them live; the settings store persists them.
#pragma once

#include <cstdint>

namespace vespin {

// A device with address bits b and mask m answers port p when ((p ^ b) & m) == 0: the mask
// selects the address lines that are decoded, the bits give their required values.
struct PortDecode {
    bool enabled = true;
    uint16_t bits = 0;
    uint16_t mask = 0;

    bool Matches(uint16_t port) const { return enabled && ((port ^ bits) & mask) == 0; }
};

struct MachineOptions {
    PortDecode keyboard{true, 0x00FE, 0x0001};
    PortDecode kempstonJoystick{true, 0x001F, 0x00A9};
    bool kempstonMouse = false;
    bool attributePort = true;       // unanswered reads of port 0xFF give the floating bus
    bool attributeAllUnused = false; // ... and so do all other unanswered reads
    bool dosPortAccess = false;      // Beta 128 ports decoded outside the TR-DOS ROM too
};

} // namespace vespin
