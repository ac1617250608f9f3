// The Spectrum keyboard matrix: eight half-rows of five keys.
#pragma once

#include <cstdint>

namespace vespin {

struct TKeyMatrix {
    uint8_t placeholder = 0;
};

// The keyboard byte for a read of port p: bits 0-4 the keys of the half-rows selected by the
// high address byte (0 = pressed), bits 5 and 7 set, bit 6 clear (the EAR bit is ORed in by
// the port map).
uint8_t ReadHalfRows(const TKeyMatrix& matrix, uint16_t port);

} // namespace vespin
