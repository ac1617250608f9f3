// What follows every executed instruction: the screen and the tape catch up to T.
// Inline so that an idle renderer and a stopped tape cost one comparison each.
#pragma once

#include "core/machine.h"

namespace vespin {

inline void AfterInstruction(MachineState& m) {
    const int32_t t = m.regs.T;
    if (t >= m.screen.nextPaperT) UpdatePaper(m, t);
    if (m.tape.running) TapeTick(m, t);
}

} // namespace vespin
