// The DD and FD groups: the instructions of the unprefixed set that have an index form, with IX
// (after DD) or IY (after FD) in place of HL, its halves in place of H and L, and (IX+d) in place
// of (HL). Opcodes without an index form run as unprefixed instructions, 4 T-states later.
#include <array>

#include "core/z80_access.h"
#include "core/z80_alu.h"
#include "core/z80_groups.h"

namespace vespin::z80 {

namespace {

// T-states of each index form beyond the prefix's 4; 0 for opcodes without one.
constexpr std::array<uint8_t, 256> kDuration = [] {
    std::array<uint8_t, 256> t{};
    for (unsigned op = 0x40; op < 0xC0; ++op) {
        const unsigned dst = (op >> 3) & 7, src = op & 7;
        const bool memory = op < 0x80 ? (dst == 6 || src == 6) && op != 0x76 : src == 6;
        const bool half =
            op < 0x80 ? dst == 4 || dst == 5 || src == 4 || src == 5 : src == 4 || src == 5;
        if (memory) {
            t[op] = 15; // LD r,(IX+d), LD (IX+d),r, ALU A,(IX+d): 19 in all
        } else if (half) {
            t[op] = 4; // on IXh or IXl: 8
        }
    }
    t[0x09] = t[0x19] = t[0x29] = t[0x39] = 11; // ADD IX,rr
    t[0x21] = 10;                               // LD IX,nn
    t[0x22] = t[0x2A] = 16;                     // LD (nn),IX and LD IX,(nn)
    t[0x23] = t[0x2B] = 6;                      // INC IX, DEC IX
    t[0x24] = t[0x25] = t[0x2C] = t[0x2D] = 4;  // INC/DEC IXh, IXl
    t[0x26] = t[0x2E] = 7;                      // LD IXh,n and LD IXl,n
    t[0x34] = t[0x35] = 19;                     // INC/DEC (IX+d)
    t[0x36] = 15;                               // LD (IX+d),n
    t[0xE1] = 10;                               // POP IX
    t[0xE3] = 19;                               // EX (SP),IX
    t[0xE5] = 11;                               // PUSH IX
    t[0xE9] = 4;                                // JP (IX)
    t[0xF9] = 6;                                // LD SP,IX
    return t;
}();

void ExecuteIndexed(MachineState& m, uint16_t& x) {
    Z80RegisterSet& r = m.regs;
    r.R++;
    r.T += 4; // the prefix
    const uint8_t op = FetchByte(m);
    switch (op) {
    case 0xDD:
    case 0xFD:
        // A chain of prefixes: the next call fetches the following prefix afresh, so each costs
        // 4 T-states and one R increment, and no interrupt comes between them.
        r.PC--;
        r.R--;
        r.InterruptGate = 0;
        return;
    case 0xCB: ExecuteIndexedCB(m, x); return;
    case 0xED: ExecuteED(m); return;
    case 0x76: // HALT: the next call executes it unprefixed
        r.PC--;
        r.T += 4;
        return;
    default: break;
    }
    r.T += kDuration[op];
    switch (op) {
    case 0x09: x = Add16(r, x, r.BC()); break;
    case 0x19: x = Add16(r, x, r.DE()); break;
    case 0x21: x = FetchWord(m); break;
    case 0x22: WriteWord(m.memory, FetchWord(m), x); break;
    case 0x23: x++; break;
    case 0x24: SetHigh(x, Inc8(r, High(x))); break;
    case 0x25: SetHigh(x, Dec8(r, High(x))); break;
    case 0x26: SetHigh(x, FetchByte(m)); break;
    case 0x29: x = Add16(r, x, x); break;
    case 0x2A: x = ReadWord(m.memory, FetchWord(m)); break;
    case 0x2B: x--; break;
    case 0x2C: SetLow(x, Inc8(r, Low(x))); break;
    case 0x2D: SetLow(x, Dec8(r, Low(x))); break;
    case 0x2E: SetLow(x, FetchByte(m)); break;
    case 0x34: {
        const uint16_t a = FetchIndexAddress(m, x);
        WriteByte(m.memory, a, Inc8(r, ReadByte(m.memory, a)));
        break;
    }
    case 0x35: {
        const uint16_t a = FetchIndexAddress(m, x);
        WriteByte(m.memory, a, Dec8(r, ReadByte(m.memory, a)));
        break;
    }
    case 0x36: { // the displacement comes before the immediate byte
        const uint16_t a = FetchIndexAddress(m, x);
        WriteByte(m.memory, a, FetchByte(m));
        break;
    }
    case 0x39: x = Add16(r, x, r.SP); break;
    case 0x44: r.B = High(x); break;
    case 0x45: r.B = Low(x); break;
    case 0x46: r.B = ReadByte(m.memory, FetchIndexAddress(m, x)); break;
    case 0x4C: r.C = High(x); break;
    case 0x4D: r.C = Low(x); break;
    case 0x4E: r.C = ReadByte(m.memory, FetchIndexAddress(m, x)); break;
    case 0x54: r.D = High(x); break;
    case 0x55: r.D = Low(x); break;
    case 0x56: r.D = ReadByte(m.memory, FetchIndexAddress(m, x)); break;
    case 0x5C: r.E = High(x); break;
    case 0x5D: r.E = Low(x); break;
    case 0x5E: r.E = ReadByte(m.memory, FetchIndexAddress(m, x)); break;
    case 0x60: SetHigh(x, r.B); break;
    case 0x61: SetHigh(x, r.C); break;
    case 0x62: SetHigh(x, r.D); break;
    case 0x63: SetHigh(x, r.E); break;
    case 0x64: break; // LD IXh,IXh
    case 0x65: SetHigh(x, Low(x)); break;
    case 0x66: r.H = ReadByte(m.memory, FetchIndexAddress(m, x)); break;
    case 0x67: SetHigh(x, r.A); break;
    case 0x68: SetLow(x, r.B); break;
    case 0x69: SetLow(x, r.C); break;
    case 0x6A: SetLow(x, r.D); break;
    case 0x6B: SetLow(x, r.E); break;
    case 0x6C: SetLow(x, High(x)); break;
    case 0x6D: break; // LD IXl,IXl
    case 0x6E: r.L = ReadByte(m.memory, FetchIndexAddress(m, x)); break;
    case 0x6F: SetLow(x, r.A); break;
    case 0x70: WriteByte(m.memory, FetchIndexAddress(m, x), r.B); break;
    case 0x71: WriteByte(m.memory, FetchIndexAddress(m, x), r.C); break;
    case 0x72: WriteByte(m.memory, FetchIndexAddress(m, x), r.D); break;
    case 0x73: WriteByte(m.memory, FetchIndexAddress(m, x), r.E); break;
    case 0x74: WriteByte(m.memory, FetchIndexAddress(m, x), r.H); break;
    case 0x75: WriteByte(m.memory, FetchIndexAddress(m, x), r.L); break;
    case 0x77: WriteByte(m.memory, FetchIndexAddress(m, x), r.A); break;
    case 0x7C: r.A = High(x); break;
    case 0x7D: r.A = Low(x); break;
    case 0x7E: r.A = ReadByte(m.memory, FetchIndexAddress(m, x)); break;
    case 0x84: Add8(r, High(x)); break;
    case 0x85: Add8(r, Low(x)); break;
    case 0x86: Add8(r, ReadByte(m.memory, FetchIndexAddress(m, x))); break;
    case 0x8C: Add8(r, High(x), r.F & flag::C); break;
    case 0x8D: Add8(r, Low(x), r.F & flag::C); break;
    case 0x8E: Add8(r, ReadByte(m.memory, FetchIndexAddress(m, x)), r.F & flag::C); break;
    case 0x94: Sub8(r, High(x)); break;
    case 0x95: Sub8(r, Low(x)); break;
    case 0x96: Sub8(r, ReadByte(m.memory, FetchIndexAddress(m, x))); break;
    case 0x9C: Sub8(r, High(x), r.F & flag::C); break;
    case 0x9D: Sub8(r, Low(x), r.F & flag::C); break;
    case 0x9E: Sub8(r, ReadByte(m.memory, FetchIndexAddress(m, x)), r.F & flag::C); break;
    case 0xA4: And8(r, High(x)); break;
    case 0xA5: And8(r, Low(x)); break;
    case 0xA6: And8(r, ReadByte(m.memory, FetchIndexAddress(m, x))); break;
    case 0xAC: Xor8(r, High(x)); break;
    case 0xAD: Xor8(r, Low(x)); break;
    case 0xAE: Xor8(r, ReadByte(m.memory, FetchIndexAddress(m, x))); break;
    case 0xB4: Or8(r, High(x)); break;
    case 0xB5: Or8(r, Low(x)); break;
    case 0xB6: Or8(r, ReadByte(m.memory, FetchIndexAddress(m, x))); break;
    case 0xBC: Cp8(r, High(x)); break;
    case 0xBD: Cp8(r, Low(x)); break;
    case 0xBE: Cp8(r, ReadByte(m.memory, FetchIndexAddress(m, x))); break;
    case 0xE1: x = Pop(m); break;
    case 0xE3: ExchangeWithStack(m, x); break;
    case 0xE5: Push(m, x); break;
    case 0xE9: r.PC = x; break;
    case 0xF9: r.SP = x; break;
    default: ExecuteUnprefixed(m, op); break;
    }
}

} // namespace

void ExecuteDD(MachineState& m) {
    ExecuteIndexed(m, m.regs.IX);
}

void ExecuteFD(MachineState& m) {
    ExecuteIndexed(m, m.regs.IY);
}

} // namespace vespin::z80
