// The CB group: rotates and shifts, BIT, RES and SET on a register or (HL), and their indexed
// forms DD CB d op / FD CB d op.
//
// The opcode's fields select everything: bits 7-6 the kind, bits 5-3 the operation or bit
// number, bits 2-0 the operand (B, C, D, E, H, L, (HL), A).
#include "core/z80_access.h"
#include "core/z80_alu.h"
#include "core/z80_groups.h"

namespace vespin::z80 {

namespace {

// Rotate, shift, RES or SET of v; BIT is handled by the callers as it writes nothing back.
uint8_t Transform(Z80RegisterSet& r, uint8_t op, uint8_t v) {
    const unsigned field = (op >> 3) & 7;
    switch (op >> 6) {
    case 0: return RotateShift(r, field, v);
    case 2: return U8(v & ~(1u << field));
    default: return U8(v | 1u << field);
    }
}

} // namespace

// 8 T-states on a register, 12 for BIT b,(HL), 15 for the others on (HL). BIT b,(HL) copies
// bits 5 and 3 from the byte read.
void ExecuteCB(MachineState& m) {
    Z80RegisterSet& r = m.regs;
    r.R++;
    const uint8_t op = FetchByte(m);
    const unsigned field = (op >> 3) & 7;
    const bool isBit = (op >> 6) == 1;
    if ((op & 7) == 6) {
        const uint16_t address = r.HL();
        const uint8_t v = ReadByte(m.memory, address);
        if (isBit) {
            Bit(r, field, v, v);
            r.T += 12;
        } else {
            WriteByte(m.memory, address, Transform(r, op, v));
            r.T += 15;
        }
        return;
    }
    uint8_t& reg = Reg8(r, op);
    if (isBit) {
        Bit(r, field, reg, reg);
    } else {
        reg = Transform(r, op, reg);
    }
    r.T += 8;
}

// The word after CB holds the displacement, then the operation; R is not counted for either.
// BIT takes bits 5 and 3 from the high byte of the address (16 T-states, 20 with the prefix);
// the others write the result back and, unless the operand field is 6, also into the register
// the field names (19 T-states, 23 with the prefix).
void ExecuteIndexedCB(MachineState& m, uint16_t index) {
    Z80RegisterSet& r = m.regs;
    const uint16_t address = FetchIndexAddress(m, index);
    const uint8_t op = FetchByte(m);
    const uint8_t v = ReadByte(m.memory, address);
    if ((op >> 6) == 1) {
        Bit(r, (op >> 3) & 7, v, High(address));
        r.T += 16;
        return;
    }
    const uint8_t result = Transform(r, op, v);
    WriteByte(m.memory, address, result);
    if ((op & 7) != 6) Reg8(r, op) = result;
    r.T += 19;
}

} // namespace vespin::z80
