// Operand access shared by the executor's instruction groups: fetching from PC, the stack,
// condition codes and the 8-bit register numbering of the opcode fields.
#pragma once

#include <cstdint>

#include "core/machine.h"

namespace vespin::z80 {

inline uint8_t FetchByte(MachineState& m) {
    return ReadByte(m.memory, m.regs.PC++);
}
inline uint16_t FetchWord(MachineState& m) {
    const uint16_t v = ReadWord(m.memory, m.regs.PC);
    m.regs.PC = static_cast<uint16_t>(m.regs.PC + 2);
    return v;
}
// The signed displacement of an (IX+d) operand added to the index value, wrapped to 16 bits.
inline uint16_t FetchIndexAddress(MachineState& m, uint16_t index) {
    const auto d = static_cast<int8_t>(FetchByte(m));
    return static_cast<uint16_t>(index + d);
}

inline void Push(MachineState& m, uint16_t v) {
    m.regs.SP = static_cast<uint16_t>(m.regs.SP - 2);
    WriteWord(m.memory, m.regs.SP, v);
}
inline uint16_t Pop(MachineState& m) {
    const uint16_t v = ReadWord(m.memory, m.regs.SP);
    m.regs.SP = static_cast<uint16_t>(m.regs.SP + 2);
    return v;
}

// EX (SP),HL / IX / IY.
inline void ExchangeWithStack(MachineState& m, uint16_t& value) {
    const uint16_t old = ReadWord(m.memory, m.regs.SP);
    WriteWord(m.memory, m.regs.SP, value);
    value = old;
}

// Condition codes in opcode order (bits 5-3): NZ, Z, NC, C, PO, PE, P, M.
inline bool Condition(const Z80RegisterSet& r, unsigned cc) {
    static constexpr uint8_t kFlag[4] = {flag::Z, flag::C, flag::PV, flag::S};
    return ((r.F & kFlag[(cc >> 1) & 3]) != 0) == ((cc & 1) != 0);
}

// Registers by their 3-bit opcode field: B, C, D, E, H, L, (HL), A. Field 6 is memory and has
// no entry; callers handle it before they look a register up.
inline constexpr uint8_t Z80RegisterSet::*kReg8[8] = {&Z80RegisterSet::B,
                                                      &Z80RegisterSet::C,
                                                      &Z80RegisterSet::D,
                                                      &Z80RegisterSet::E,
                                                      &Z80RegisterSet::H,
                                                      &Z80RegisterSet::L,
                                                      nullptr,
                                                      &Z80RegisterSet::A};

inline uint8_t& Reg8(Z80RegisterSet& r, unsigned field) {
    return r.*kReg8[field & 7];
}

// The halves of an index register.
inline uint8_t High(uint16_t v) {
    return static_cast<uint8_t>(v >> 8);
}
inline uint8_t Low(uint16_t v) {
    return static_cast<uint8_t>(v);
}
inline void SetHigh(uint16_t& v, uint8_t b) {
    v = static_cast<uint16_t>((v & 0x00FF) | b << 8);
}
inline void SetLow(uint16_t& v, uint8_t b) {
    v = static_cast<uint16_t>((v & 0xFF00) | b);
}

} // namespace vespin::z80
