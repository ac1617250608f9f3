#include "core/frame.h"

#include "core/machine.h"

namespace vespin {

void FrameEnd(MachineState& m) {
    Vg93FrameStep(m);
    m.regs.T -= m.frameLength;
    m.frameCounter.fetch_add(1, std::memory_order_relaxed);
}

} // namespace vespin
