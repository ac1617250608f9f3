#include "video/screen.h"

#include "core/machine.h"

namespace vespin {

void SetBorderColour(MachineState& m, uint8_t value) {
    m.screen.borderColour = value & 7;
}

void UpdatePaper(MachineState&, int32_t) {}

uint8_t ReadFloatingBus(const MachineState&) {
    return 0xFF;
}

} // namespace vespin
