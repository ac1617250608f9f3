// AY-3-8912 register file: a 4-bit register latch and sixteen registers stored exactly as
// written. The chip produces no sound here; programs select, write and read back registers.
// A machine reset clears neither the latch nor the registers.
#pragma once

#include <array>
#include <cstdint>

namespace vespin {

struct AyRegisters {
    uint8_t latch = 0;
    std::array<uint8_t, 16> reg{};
};

inline void SelectAyRegister(AyRegisters& ay, uint8_t value) {
    ay.latch = value & 0x0F;
}

inline void WriteAyRegister(AyRegisters& ay, uint8_t value) {
    // Register 13 (envelope shape) restarts the envelope on every write, so it is stored even
    // when equal; the others change only when the value differs.
    if (ay.latch != 13 && ay.reg[ay.latch] == value) return;
    ay.reg[ay.latch] = value;
}

inline uint8_t ReadAyRegister(const AyRegisters& ay) {
    return ay.reg[ay.latch];
}

} // namespace vespin
