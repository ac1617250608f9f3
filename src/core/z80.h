// The Z80 instruction executor.
#pragma once

namespace vespin {

struct MachineState;

// Executes one instruction, accepts one interrupt, or performs one pass of a held reset, and
// advances T by its duration.
void ExecuteInstruction(MachineState& m);

} // namespace vespin
