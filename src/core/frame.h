// The frame clock: what happens when T reaches the frame length.
#pragma once

namespace vespin {

struct MachineState;

// In this order: sound and border catch up to T, the disk controller's frame step, the frame's
// sound goes to the host, the wait for real time (synchronised speed only), the picture is
// presented (every frame when synchronised, else at most once per 20 ms timer tick), the beams
// restart, the mouse is polled, and T -= frame length carries the overshoot into the next frame.
void FrameEnd(MachineState& m);

} // namespace vespin
