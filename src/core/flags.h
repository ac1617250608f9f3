// Flag tables shared by the executor and the port map.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/z80_registers.h"

namespace vespin {

// S, Z, bits 5 and 3 of a byte, and P/V set when its parity is even.
inline constexpr std::array<uint8_t, 256> kSzpTable = [] {
    std::array<uint8_t, 256> t{};
    for (int v = 0; v < 256; ++v) {
        int bits = 0;
        for (int b = v; b != 0; b >>= 1)
            bits += b & 1;
        uint8_t f = static_cast<uint8_t>(v & (flag::S | flag::F5 | flag::F3));
        if (v == 0) f |= flag::Z;
        if ((bits & 1) == 0) f |= flag::PV;
        t[static_cast<size_t>(v)] = f;
    }
    return t;
}();

// S, Z and bits 5 and 3 of a byte (no parity).
inline constexpr uint8_t SzFlags(uint8_t v) {
    return static_cast<uint8_t>(kSzpTable[v] & ~flag::PV);
}
inline constexpr uint8_t SzpFlags(uint8_t v) {
    return kSzpTable[v];
}

} // namespace vespin
