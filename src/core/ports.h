// The port map: every IN and OUT of the processor, decoded against each device's rule.
// Several devices may answer one address: reads are combined as on a wired-AND bus, writes
// reach every device that matches.
#pragma once

#include <cstdint>

namespace vespin {

struct MachineState;

void PortOut(MachineState& m, uint16_t port, uint8_t value);
uint8_t PortIn(MachineState& m, uint16_t port);
// IN r,(C): PortIn of port BC, then S, Z, P/V (parity) and bits 3 and 5 from the value,
// H = N = 0, C kept. Returns the value.
uint8_t InPortFlags(MachineState& m);

} // namespace vespin
