#include "core/z80.h"

#include "core/after_instruction.h"
#include "core/frame.h"
#include "core/machine.h"
#include "core/reset.h"

namespace vespin {

void ExecuteInstruction(MachineState& m) {
    if (m.pause.load(std::memory_order_relaxed) == 1) return;
    if (m.regs.T >= m.frameLength) FrameEnd(m);
    if (m.resetHold.load(std::memory_order_relaxed)) {
        ResetMachine(m);
        m.regs.T += 4;
        AfterInstruction(m);
        return;
    }
    // The instruction set is being written; until then every opcode is a NOP.
    m.regs.R++;
    m.regs.InterruptGate = 1;
    SwitchTrdosRom(m.memory, m.regs.PC);
    m.regs.PC++;
    m.regs.T += 4;
    AfterInstruction(m);
}

} // namespace vespin
