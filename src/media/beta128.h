// The Beta 128 disk interface: the VG93 controller's registers and the system register.
#pragma once

#include <cstdint>

namespace vespin {

struct MachineState;

enum class Vg93Register : uint8_t { CommandStatus = 0, Track = 1, Sector = 2, Data = 3 };

struct Beta128 {
    uint8_t placeholder = 0;
};

void WriteVg93Register(MachineState& m, Vg93Register reg, uint8_t value);
uint8_t ReadVg93Register(MachineState& m, Vg93Register reg);
void WriteBetaSystemRegister(MachineState& m, uint8_t value);
uint8_t ReadBetaSystemRegister(MachineState& m);
// Catches the controller up at the end of every frame.
void Vg93FrameStep(MachineState& m);

} // namespace vespin
