// The instruction executor: one call runs the pause and frame checks, a pass of a held reset,
// an interrupt acceptance or one instruction, then lets the screen and the tape catch up.
//
// Timing: every instruction adds its documented duration to T whatever it touches; there is no
// contended memory or I/O. Memory goes through the inline window lookup of the memory engine,
// ports through the port map.
#include "core/z80.h"

#include <array>

#include "core/after_instruction.h"
#include "core/frame.h"
#include "core/machine.h"
#include "core/ports.h"
#include "core/reset.h"
#include "core/z80_access.h"
#include "core/z80_alu.h"
#include "core/z80_groups.h"

namespace vespin {

namespace z80 {

namespace {

// The 48K ROM's tape loader starts with DI at 0x0559: executing it presses Play.
constexpr uint16_t kLoaderDiEnd = 0x055A;

// T-states of each unprefixed opcode; a conditional jump, call or return lists its duration for
// an unmet condition and adds the rest when taken. The prefixes (0) are timed by their groups,
// IN A,(n) (0) after its port read.
constexpr std::array<uint8_t, 256> kDuration = {
    4, 10, 7,  6,  4,  4,  7,  4,  4,  11, 7,  6, 4,  4,  7, 4,  // 00
    8, 10, 7,  6,  4,  4,  7,  4,  12, 11, 7,  6, 4,  4,  7, 4,  // 10
    7, 10, 16, 6,  4,  4,  7,  4,  7,  11, 16, 6, 4,  4,  7, 4,  // 20
    7, 10, 13, 6,  11, 11, 10, 4,  7,  11, 13, 6, 4,  4,  7, 4,  // 30
    4, 4,  4,  4,  4,  4,  7,  4,  4,  4,  4,  4, 4,  4,  7, 4,  // 40
    4, 4,  4,  4,  4,  4,  7,  4,  4,  4,  4,  4, 4,  4,  7, 4,  // 50
    4, 4,  4,  4,  4,  4,  7,  4,  4,  4,  4,  4, 4,  4,  7, 4,  // 60
    7, 7,  7,  7,  7,  7,  4,  7,  4,  4,  4,  4, 4,  4,  7, 4,  // 70
    4, 4,  4,  4,  4,  4,  7,  4,  4,  4,  4,  4, 4,  4,  7, 4,  // 80
    4, 4,  4,  4,  4,  4,  7,  4,  4,  4,  4,  4, 4,  4,  7, 4,  // 90
    4, 4,  4,  4,  4,  4,  7,  4,  4,  4,  4,  4, 4,  4,  7, 4,  // A0
    4, 4,  4,  4,  4,  4,  7,  4,  4,  4,  4,  4, 4,  4,  7, 4,  // B0
    5, 10, 10, 10, 10, 11, 7,  11, 5,  10, 10, 0, 10, 17, 7, 11, // C0
    5, 10, 10, 11, 10, 11, 7,  11, 5,  4,  10, 0, 10, 0,  7, 11, // D0
    5, 10, 10, 19, 10, 11, 7,  11, 5,  4,  10, 4, 10, 0,  7, 11, // E0
    5, 10, 10, 4,  10, 11, 7,  11, 5,  6,  10, 4, 10, 0,  7, 11, // F0
};

void JumpRelative(MachineState& m) {
    const auto d = static_cast<int8_t>(FetchByte(m));
    m.regs.PC = static_cast<uint16_t>(m.regs.PC + d);
}
// JR cc and DJNZ: 5 more T-states when the jump is taken.
void JumpRelativeIf(MachineState& m, bool taken) {
    if (taken) {
        JumpRelative(m);
        m.regs.T += 5;
    } else {
        m.regs.PC++;
    }
}
void JumpIf(MachineState& m, bool taken) {
    const uint16_t target = FetchWord(m);
    if (taken) m.regs.PC = target;
}
void Call(MachineState& m, uint16_t target) {
    Push(m, m.regs.PC);
    m.regs.PC = target;
}
// CALL cc: 17 T-states taken, 10 not.
void CallIf(MachineState& m, bool taken) {
    const uint16_t target = FetchWord(m);
    if (taken) {
        Call(m, target);
        m.regs.T += 7;
    }
}
// RET cc: 11 T-states taken, 5 not.
void ReturnIf(MachineState& m, bool taken) {
    if (taken) {
        m.regs.PC = Pop(m);
        m.regs.T += 6;
    }
}
void Swap(uint16_t& a, uint16_t& b) {
    const uint16_t t = a;
    a = b;
    b = t;
}
void ExchangeAlternates(Z80RegisterSet& r) {
    uint16_t bc = r.BC(), de = r.DE(), hl = r.HL();
    Swap(bc, r.BC_);
    Swap(de, r.DE_);
    Swap(hl, r.HL_);
    r.SetBC(bc), r.SetDE(de), r.SetHL(hl);
}

// HALT: the processor re-executes the HALT (4 T-states and one R increment a pass) until an
// interrupt steps PC past it. With interrupts disabled nothing will, so the stop is reported.
void Halt(MachineState& m) {
    if (m.regs.IFF1 == 0) m.cpuStopped.store(1, std::memory_order_relaxed);
    m.regs.PC--;
}

} // namespace

// Forced inline into both callers, so that the hot path from ExecuteInstruction has no call.
[[gnu::always_inline]] inline void RunOpcode(MachineState& m, uint8_t op) {
    Z80RegisterSet& r = m.regs;
    r.T += kDuration[op];
    switch (op) {
    case 0x00: break;
    case 0x01: r.SetBC(FetchWord(m)); break;
    case 0x02: WriteByte(m.memory, r.BC(), r.A); break;
    case 0x03: r.SetBC(static_cast<uint16_t>(r.BC() + 1)); break;
    case 0x04: r.B = Inc8(r, r.B); break;
    case 0x05: r.B = Dec8(r, r.B); break;
    case 0x06: r.B = FetchByte(m); break;
    case 0x07: Rlca(r); break;
    case 0x08: {
        uint16_t af = r.AF();
        Swap(af, r.AF_);
        r.SetAF(af);
        break;
    }
    case 0x09: r.SetHL(Add16(r, r.HL(), r.BC())); break;
    case 0x0A: r.A = ReadByte(m.memory, r.BC()); break;
    case 0x0B: r.SetBC(static_cast<uint16_t>(r.BC() - 1)); break;
    case 0x0C: r.C = Inc8(r, r.C); break;
    case 0x0D: r.C = Dec8(r, r.C); break;
    case 0x0E: r.C = FetchByte(m); break;
    case 0x0F: Rrca(r); break;

    case 0x10: JumpRelativeIf(m, --r.B != 0); break;
    case 0x11: r.SetDE(FetchWord(m)); break;
    case 0x12: WriteByte(m.memory, r.DE(), r.A); break;
    case 0x13: r.SetDE(static_cast<uint16_t>(r.DE() + 1)); break;
    case 0x14: r.D = Inc8(r, r.D); break;
    case 0x15: r.D = Dec8(r, r.D); break;
    case 0x16: r.D = FetchByte(m); break;
    case 0x17: Rla(r); break;
    case 0x18: JumpRelative(m); break;
    case 0x19: r.SetHL(Add16(r, r.HL(), r.DE())); break;
    case 0x1A: r.A = ReadByte(m.memory, r.DE()); break;
    case 0x1B: r.SetDE(static_cast<uint16_t>(r.DE() - 1)); break;
    case 0x1C: r.E = Inc8(r, r.E); break;
    case 0x1D: r.E = Dec8(r, r.E); break;
    case 0x1E: r.E = FetchByte(m); break;
    case 0x1F: Rra(r); break;

    case 0x20: JumpRelativeIf(m, Condition(r, 0)); break;
    case 0x21: r.SetHL(FetchWord(m)); break;
    case 0x22: WriteWord(m.memory, FetchWord(m), r.HL()); break;
    case 0x23: r.SetHL(static_cast<uint16_t>(r.HL() + 1)); break;
    case 0x24: r.H = Inc8(r, r.H); break;
    case 0x25: r.H = Dec8(r, r.H); break;
    case 0x26: r.H = FetchByte(m); break;
    case 0x27: Daa(r); break;
    case 0x28: JumpRelativeIf(m, Condition(r, 1)); break;
    case 0x29: r.SetHL(Add16(r, r.HL(), r.HL())); break;
    case 0x2A: r.SetHL(ReadWord(m.memory, FetchWord(m))); break;
    case 0x2B: r.SetHL(static_cast<uint16_t>(r.HL() - 1)); break;
    case 0x2C: r.L = Inc8(r, r.L); break;
    case 0x2D: r.L = Dec8(r, r.L); break;
    case 0x2E: r.L = FetchByte(m); break;
    case 0x2F: Cpl(r); break;

    case 0x30: JumpRelativeIf(m, Condition(r, 2)); break;
    case 0x31: r.SP = FetchWord(m); break;
    case 0x32: WriteByte(m.memory, FetchWord(m), r.A); break;
    case 0x33: r.SP++; break;
    case 0x34: WriteByte(m.memory, r.HL(), Inc8(r, ReadByte(m.memory, r.HL()))); break;
    case 0x35: WriteByte(m.memory, r.HL(), Dec8(r, ReadByte(m.memory, r.HL()))); break;
    case 0x36: WriteByte(m.memory, r.HL(), FetchByte(m)); break;
    case 0x37: Scf(r); break;
    case 0x38: JumpRelativeIf(m, Condition(r, 3)); break;
    case 0x39: r.SetHL(Add16(r, r.HL(), r.SP)); break;
    case 0x3A: r.A = ReadByte(m.memory, FetchWord(m)); break;
    case 0x3B: r.SP--; break;
    case 0x3C: r.A = Inc8(r, r.A); break;
    case 0x3D: r.A = Dec8(r, r.A); break;
    case 0x3E: r.A = FetchByte(m); break;
    case 0x3F: Ccf(r); break;

    case 0x76: Halt(m); break;
    case 0x40: break; // LD B,B
    case 0x41: r.B = r.C; break;
    case 0x42: r.B = r.D; break;
    case 0x43: r.B = r.E; break;
    case 0x44: r.B = r.H; break;
    case 0x45: r.B = r.L; break;
    case 0x46: r.B = ReadByte(m.memory, r.HL()); break;
    case 0x47: r.B = r.A; break;
    case 0x48: r.C = r.B; break;
    case 0x49: break; // LD C,C
    case 0x4A: r.C = r.D; break;
    case 0x4B: r.C = r.E; break;
    case 0x4C: r.C = r.H; break;
    case 0x4D: r.C = r.L; break;
    case 0x4E: r.C = ReadByte(m.memory, r.HL()); break;
    case 0x4F: r.C = r.A; break;
    case 0x50: r.D = r.B; break;
    case 0x51: r.D = r.C; break;
    case 0x52: break; // LD D,D
    case 0x53: r.D = r.E; break;
    case 0x54: r.D = r.H; break;
    case 0x55: r.D = r.L; break;
    case 0x56: r.D = ReadByte(m.memory, r.HL()); break;
    case 0x57: r.D = r.A; break;
    case 0x58: r.E = r.B; break;
    case 0x59: r.E = r.C; break;
    case 0x5A: r.E = r.D; break;
    case 0x5B: break; // LD E,E
    case 0x5C: r.E = r.H; break;
    case 0x5D: r.E = r.L; break;
    case 0x5E: r.E = ReadByte(m.memory, r.HL()); break;
    case 0x5F: r.E = r.A; break;
    case 0x60: r.H = r.B; break;
    case 0x61: r.H = r.C; break;
    case 0x62: r.H = r.D; break;
    case 0x63: r.H = r.E; break;
    case 0x64: break; // LD H,H
    case 0x65: r.H = r.L; break;
    case 0x66: r.H = ReadByte(m.memory, r.HL()); break;
    case 0x67: r.H = r.A; break;
    case 0x68: r.L = r.B; break;
    case 0x69: r.L = r.C; break;
    case 0x6A: r.L = r.D; break;
    case 0x6B: r.L = r.E; break;
    case 0x6C: r.L = r.H; break;
    case 0x6D: break; // LD L,L
    case 0x6E: r.L = ReadByte(m.memory, r.HL()); break;
    case 0x6F: r.L = r.A; break;
    case 0x70: WriteByte(m.memory, r.HL(), r.B); break;
    case 0x71: WriteByte(m.memory, r.HL(), r.C); break;
    case 0x72: WriteByte(m.memory, r.HL(), r.D); break;
    case 0x73: WriteByte(m.memory, r.HL(), r.E); break;
    case 0x74: WriteByte(m.memory, r.HL(), r.H); break;
    case 0x75: WriteByte(m.memory, r.HL(), r.L); break;
    case 0x77: WriteByte(m.memory, r.HL(), r.A); break;
    case 0x78: r.A = r.B; break;
    case 0x79: r.A = r.C; break;
    case 0x7A: r.A = r.D; break;
    case 0x7B: r.A = r.E; break;
    case 0x7C: r.A = r.H; break;
    case 0x7D: r.A = r.L; break;
    case 0x7E: r.A = ReadByte(m.memory, r.HL()); break;
    case 0x7F: break; // LD A,A
    case 0x80: Add8(r, r.B); break;
    case 0x81: Add8(r, r.C); break;
    case 0x82: Add8(r, r.D); break;
    case 0x83: Add8(r, r.E); break;
    case 0x84: Add8(r, r.H); break;
    case 0x85: Add8(r, r.L); break;
    case 0x86: Add8(r, ReadByte(m.memory, r.HL())); break;
    case 0x87: Add8(r, r.A); break;
    case 0x88: Add8(r, r.B, r.F & flag::C); break;
    case 0x89: Add8(r, r.C, r.F & flag::C); break;
    case 0x8A: Add8(r, r.D, r.F & flag::C); break;
    case 0x8B: Add8(r, r.E, r.F & flag::C); break;
    case 0x8C: Add8(r, r.H, r.F & flag::C); break;
    case 0x8D: Add8(r, r.L, r.F & flag::C); break;
    case 0x8E: Add8(r, ReadByte(m.memory, r.HL()), r.F & flag::C); break;
    case 0x8F: Add8(r, r.A, r.F & flag::C); break;
    case 0x90: Sub8(r, r.B); break;
    case 0x91: Sub8(r, r.C); break;
    case 0x92: Sub8(r, r.D); break;
    case 0x93: Sub8(r, r.E); break;
    case 0x94: Sub8(r, r.H); break;
    case 0x95: Sub8(r, r.L); break;
    case 0x96: Sub8(r, ReadByte(m.memory, r.HL())); break;
    case 0x97: Sub8(r, r.A); break;
    case 0x98: Sub8(r, r.B, r.F & flag::C); break;
    case 0x99: Sub8(r, r.C, r.F & flag::C); break;
    case 0x9A: Sub8(r, r.D, r.F & flag::C); break;
    case 0x9B: Sub8(r, r.E, r.F & flag::C); break;
    case 0x9C: Sub8(r, r.H, r.F & flag::C); break;
    case 0x9D: Sub8(r, r.L, r.F & flag::C); break;
    case 0x9E: Sub8(r, ReadByte(m.memory, r.HL()), r.F & flag::C); break;
    case 0x9F: Sub8(r, r.A, r.F & flag::C); break;
    case 0xA0: And8(r, r.B); break;
    case 0xA1: And8(r, r.C); break;
    case 0xA2: And8(r, r.D); break;
    case 0xA3: And8(r, r.E); break;
    case 0xA4: And8(r, r.H); break;
    case 0xA5: And8(r, r.L); break;
    case 0xA6: And8(r, ReadByte(m.memory, r.HL())); break;
    case 0xA7: And8(r, r.A); break;
    case 0xA8: Xor8(r, r.B); break;
    case 0xA9: Xor8(r, r.C); break;
    case 0xAA: Xor8(r, r.D); break;
    case 0xAB: Xor8(r, r.E); break;
    case 0xAC: Xor8(r, r.H); break;
    case 0xAD: Xor8(r, r.L); break;
    case 0xAE: Xor8(r, ReadByte(m.memory, r.HL())); break;
    case 0xAF: Xor8(r, r.A); break;
    case 0xB0: Or8(r, r.B); break;
    case 0xB1: Or8(r, r.C); break;
    case 0xB2: Or8(r, r.D); break;
    case 0xB3: Or8(r, r.E); break;
    case 0xB4: Or8(r, r.H); break;
    case 0xB5: Or8(r, r.L); break;
    case 0xB6: Or8(r, ReadByte(m.memory, r.HL())); break;
    case 0xB7: Or8(r, r.A); break;
    case 0xB8: Cp8(r, r.B); break;
    case 0xB9: Cp8(r, r.C); break;
    case 0xBA: Cp8(r, r.D); break;
    case 0xBB: Cp8(r, r.E); break;
    case 0xBC: Cp8(r, r.H); break;
    case 0xBD: Cp8(r, r.L); break;
    case 0xBE: Cp8(r, ReadByte(m.memory, r.HL())); break;
    case 0xBF: Cp8(r, r.A); break;

    case 0xC0: ReturnIf(m, Condition(r, 0)); break;
    case 0xC1: r.SetBC(Pop(m)); break;
    case 0xC2: JumpIf(m, Condition(r, 0)); break;
    case 0xC3: r.PC = FetchWord(m); break;
    case 0xC4: CallIf(m, Condition(r, 0)); break;
    case 0xC5: Push(m, r.BC()); break;
    case 0xC6: Add8(r, FetchByte(m)); break;
    case 0xC7: Call(m, 0x00); break;
    case 0xC8: ReturnIf(m, Condition(r, 1)); break;
    case 0xC9: r.PC = Pop(m); break;
    case 0xCA: JumpIf(m, Condition(r, 1)); break;
    case 0xCB: ExecuteCB(m); break;
    case 0xCC: CallIf(m, Condition(r, 1)); break;
    case 0xCD: Call(m, FetchWord(m)); break;
    case 0xCE: Add8(r, FetchByte(m), r.F & flag::C); break;
    case 0xCF: Call(m, 0x08); break;

    case 0xD0: ReturnIf(m, Condition(r, 2)); break;
    case 0xD1: r.SetDE(Pop(m)); break;
    case 0xD2: JumpIf(m, Condition(r, 2)); break;
    case 0xD3: PortOut(m, static_cast<uint16_t>(r.A << 8 | FetchByte(m)), r.A); break;
    case 0xD4: CallIf(m, Condition(r, 2)); break;
    case 0xD5: Push(m, r.DE()); break;
    case 0xD6: Sub8(r, FetchByte(m)); break;
    case 0xD7: Call(m, 0x10); break;
    case 0xD8: ReturnIf(m, Condition(r, 3)); break;
    case 0xD9: ExchangeAlternates(r); break;
    case 0xDA: JumpIf(m, Condition(r, 3)); break;
    case 0xDB: // the port is read at the instruction's start T, then its 11 T-states pass
        r.A = PortIn(m, static_cast<uint16_t>(r.A << 8 | FetchByte(m)));
        r.T += 11;
        break;
    case 0xDC: CallIf(m, Condition(r, 3)); break;
    case 0xDD: ExecuteDD(m); break;
    case 0xDE: Sub8(r, FetchByte(m), r.F & flag::C); break;
    case 0xDF: Call(m, 0x18); break;

    case 0xE0: ReturnIf(m, Condition(r, 4)); break;
    case 0xE1: r.SetHL(Pop(m)); break;
    case 0xE2: JumpIf(m, Condition(r, 4)); break;
    case 0xE3: {
        uint16_t hl = r.HL();
        ExchangeWithStack(m, hl);
        r.SetHL(hl);
        break;
    }
    case 0xE4: CallIf(m, Condition(r, 4)); break;
    case 0xE5: Push(m, r.HL()); break;
    case 0xE6: And8(r, FetchByte(m)); break;
    case 0xE7: Call(m, 0x20); break;
    case 0xE8: ReturnIf(m, Condition(r, 5)); break;
    case 0xE9: r.PC = r.HL(); break;
    case 0xEA: JumpIf(m, Condition(r, 5)); break;
    case 0xEB: {
        const uint16_t de = r.DE();
        r.SetDE(r.HL());
        r.SetHL(de);
        break;
    }
    case 0xEC: CallIf(m, Condition(r, 5)); break;
    case 0xED: ExecuteED(m); break;
    case 0xEE: Xor8(r, FetchByte(m)); break;
    case 0xEF: Call(m, 0x28); break;

    case 0xF0: ReturnIf(m, Condition(r, 6)); break;
    case 0xF1: r.SetAF(Pop(m)); break;
    case 0xF2: JumpIf(m, Condition(r, 6)); break;
    case 0xF3:
        if (r.PC == kLoaderDiEnd) TapePlayButtonClick(m);
        r.IFF1 = r.IFF2 = 0;
        break;
    case 0xF4: CallIf(m, Condition(r, 6)); break;
    case 0xF5: Push(m, r.AF()); break;
    case 0xF6: Or8(r, FetchByte(m)); break;
    case 0xF7: Call(m, 0x30); break;
    case 0xF8: ReturnIf(m, Condition(r, 7)); break;
    case 0xF9: r.SP = r.HL(); break;
    case 0xFA: JumpIf(m, Condition(r, 7)); break;
    case 0xFB: // the gate keeps the interrupt off until the instruction after EI has run
        r.IFF1 = r.IFF2 = 1;
        r.InterruptGate = 0;
        break;
    case 0xFC: CallIf(m, Condition(r, 7)); break;
    case 0xFD: ExecuteFD(m); break;
    case 0xFE: Cp8(r, FetchByte(m)); break;
    case 0xFF: Call(m, 0x38); break;
    }
}

void ExecuteUnprefixed(MachineState& m, uint8_t op) {
    RunOpcode(m, op);
}

namespace {

// The INT line is held for the first 24 T-states of a frame. A HALT being re-executed is
// stepped over so that the return address lies behind it. IM 0 behaves as IM 1 (the bus
// carries 0xFF, RST 38); IM 2 reads the vector at I * 256 + 0xFF.
void AcceptInterrupt(MachineState& m) {
    Z80RegisterSet& r = m.regs;
    if (ReadByte(m.memory, r.PC) == 0x76) r.PC++;
    r.IFF1 = r.IFF2 = 0;
    Push(m, r.PC);
    if (r.IM == 2) {
        r.PC = ReadWord(m.memory, static_cast<uint16_t>(r.I << 8 | 0xFF));
        r.T += 19;
    } else {
        r.PC = 0x0038;
        r.T += 13;
    }
}

} // namespace

} // namespace z80

void ExecuteInstruction(MachineState& m) {
    Z80RegisterSet& r = m.regs;
    if (m.pause.load(std::memory_order_relaxed) == 1) [[unlikely]]
        return;
    if (r.T >= m.frameLength) [[unlikely]]
        FrameEnd(m);
    if (m.resetHold.load(std::memory_order_relaxed)) [[unlikely]] {
        ResetMachine(m);
        r.T += 4;
        AfterInstruction(m);
        return;
    }
    if (r.T < kInterruptLength && r.IFF1 && r.InterruptGate) [[unlikely]] {
        // The screen and the tape catch up after the next instruction.
        z80::AcceptInterrupt(m);
        return;
    }
    r.R++;
    r.InterruptGate = 1;
    SwitchTrdosRom(m.memory, r.PC);
    z80::RunOpcode(m, z80::FetchByte(m));
    AfterInstruction(m);
}

} // namespace vespin
