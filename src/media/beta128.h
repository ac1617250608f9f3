// The Beta 128 disk interface: the VG93 controller, its system register on port 0xFF and the
// disk in the drive. The port map calls the register functions below with the processor's
// frame T-state; each access first brings the controller up to that time.
#pragma once

#include <cstdint>

#include "media/disk_surface.h"
#include "media/vg93.h"

namespace vespin {

struct MachineState;

enum class Vg93Register : uint8_t { CommandStatus = 0, Track = 1, Sector = 2, Data = 3 };

struct Beta128 {
    Vg93 vg93;
    DiskSurface disk;
};

// Register accesses at frame T-state `now`.
void WriteVg93Register(Beta128& b, Vg93Register reg, uint8_t value, int32_t now,
                       int32_t frameLength);
uint8_t ReadVg93Register(Beta128& b, Vg93Register reg, int32_t now, int32_t frameLength);
void WriteBetaSystemRegister(Beta128& b, uint8_t value, int32_t now, int32_t frameLength);
uint8_t ReadBetaSystemRegister(Beta128& b, int32_t now, int32_t frameLength);

// The same on the machine, at its current T.
void WriteVg93Register(MachineState& m, Vg93Register reg, uint8_t value);
uint8_t ReadVg93Register(MachineState& m, Vg93Register reg);
void WriteBetaSystemRegister(MachineState& m, uint8_t value);
uint8_t ReadBetaSystemRegister(MachineState& m);
// Catches the controller up at the end of every frame.
void Vg93FrameStep(MachineState& m);

// The status register as a read would return it, without clearing INTRQ or catching up.
uint8_t PeekVg93Status(const Beta128& b);

} // namespace vespin
