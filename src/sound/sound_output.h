// Beeper, tape sound and the frame's sample buffer.
#pragma once

#include <cstdint>

namespace vespin {

struct MachineState;

struct TSoundOutput {
    uint8_t level = 0; // OR of the bit values of the sources that are high
};

// Port 0xFE writes: the speaker (bit 4) and tape output (bit 3) levels change at the current T.
void SpeakerPortWrite(MachineState& m, uint8_t value);
// Tape signal edges: the tape-input source follows the EAR level at the current T.
void SetTapeInputLevel(MachineState& m, bool high);

} // namespace vespin
