// The frame clock: what happens when T reaches the frame length.
#pragma once

namespace vespin {

struct MachineState;

// Catches the devices up, paces to real time, presents the picture, resets the beams and
// starts the next frame (T -= frame length).
void FrameEnd(MachineState& m);

} // namespace vespin
