#include "media/beta128.h"

#include "core/machine.h"

namespace vespin {

void WriteVg93Register(MachineState&, Vg93Register, uint8_t) {}
uint8_t ReadVg93Register(MachineState&, Vg93Register) {
    return 0xFF;
}
void WriteBetaSystemRegister(MachineState&, uint8_t) {}
uint8_t ReadBetaSystemRegister(MachineState&) {
    return 0xFF;
}
void Vg93FrameStep(MachineState&) {}

} // namespace vespin
