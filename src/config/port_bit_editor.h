// The address bit editor of the port options: the 16 address lines of a port decode shown
// from A15 to A0 in two groups of eight, "-" for a line the device ignores, "1" or "0" for a
// line it decodes with the value it requires.
#pragma once

#include <cstdint>
#include <string>

#include "core/machine_options.h"

namespace vespin {

// "--------  1-1-1001" style text: 8 characters, a space, 8 characters.
std::string PortBitsText(const PortDecode& decode);

// A click on character index (0 is A15, 8 the space, 16 is A0) cycles that line
// "-" -> "0" -> "1" -> "-". A click on the space or outside the text changes nothing.
// Returns whether the decode changed.
bool ClickPortBit(PortDecode& decode, int index);

} // namespace vespin
