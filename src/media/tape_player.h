// Tape playback: the pulse generator that drives the EAR input.
#pragma once

#include <cstdint>

namespace vespin {

struct MachineState;

struct TapePlayer {
    bool running = false; // Tick is called after every instruction only while set
    uint8_t earByte = 0;  // the EAR level as bit 6 of the keyboard byte
};

// Advances the pulse generator to T-state t.
void TapeTick(MachineState& m, int32_t t);
// The tape reader's Play button, also pressed by the ROM loader's DI at 0x0559.
void TapePlayButtonClick(MachineState& m);

} // namespace vespin
