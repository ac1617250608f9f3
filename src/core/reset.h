// Machine reset: the processor registers and the paging return to their power-on state in
// one of four reset kinds. RAM, the other registers, T, the border, the AY, disk and tape keep
// their state.
#pragma once

namespace vespin {

struct MachineState;

void ResetMachine(MachineState& m);

const char* ResetKindName(int kind);

} // namespace vespin
