// The executor's instruction groups. ExecuteInstruction fetches the first opcode byte and hands
// it to ExecuteUnprefixed; the prefixes 0xCB, 0xED, 0xDD and 0xFD continue in their own group,
// which fetches the following bytes and adds the instruction's remaining T-states.
#pragma once

#include <cstdint>

namespace vespin {

struct MachineState;

namespace z80 {

// One unprefixed opcode whose byte has been fetched; also the fallback of the DD/FD groups for
// opcodes without an index form (their prefix T-states already counted).
void ExecuteUnprefixed(MachineState& m, uint8_t op);

void ExecuteCB(MachineState& m);
void ExecuteED(MachineState& m);
void ExecuteDD(MachineState& m);
void ExecuteFD(MachineState& m);
// DD CB d op / FD CB d op, given the index register's value.
void ExecuteIndexedCB(MachineState& m, uint16_t index);

} // namespace z80
} // namespace vespin
