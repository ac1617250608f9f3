// The ED group: port I/O through C, 16-bit ADC/SBC and loads, NEG, RETN/RETI, IM, the I and R
// transfers, RLD/RRD and the block instructions. Opcodes without an instruction are 8 T-state
// no-operations.
#include <array>

#include "core/ports.h"
#include "core/z80_access.h"
#include "core/z80_alu.h"
#include "core/z80_groups.h"

namespace vespin::z80 {

namespace {

// LD A,I and LD A,R clear P/V when they end at or beyond this T: the interrupt the next call
// accepts would have cleared IFF2 on the real chip before P/V was sampled. It is the fixed
// frame of 71680 T-states, not the configured frame length.
constexpr int32_t kFixedFrameLength = 71680;

// Extra T-states of a block instruction that repeats.
constexpr int32_t kRepeatTime = 5;

// T-states of each ED opcode (the ED byte included). IN r,(C) and the block input group (0)
// add theirs after the port read.
constexpr std::array<uint8_t, 256> kDuration = [] {
    std::array<uint8_t, 256> t{};
    t.fill(8);
    for (unsigned row = 0x40; row < 0x80; row += 8) {
        t[row + 0] = 0;                           // IN r,(C)
        t[row + 1] = 12;                          // OUT (C),r
        t[row + 2] = 15;                          // SBC/ADC HL,rr
        t[row + 3] = 20;                          // LD (nn),rr / LD rr,(nn)
        t[row + 5] = 14;                          // RETN / RETI
        t[row + 7] = row < 0x60 ? 9 : t[row + 7]; // LD I,A LD R,A LD A,I LD A,R
    }
    t[0x67] = t[0x6F] = 18; // RRD, RLD
    for (unsigned op :
         {0xA0u, 0xA1u, 0xA3u, 0xA8u, 0xA9u, 0xABu, 0xB0u, 0xB1u, 0xB3u, 0xB8u, 0xB9u, 0xBBu})
        t[op] = 16;
    t[0xA2] = t[0xAA] = t[0xB2] = t[0xBA] = 0; // INI, IND, INIR, INDR
    return t;
}();

// The pair named by bits 5-4 of ADC/SBC/LD rr: BC, DE, HL, SP.
uint16_t Pair(const Z80RegisterSet& r, uint8_t op) {
    switch ((op >> 4) & 3) {
    case 0: return r.BC();
    case 1: return r.DE();
    case 2: return r.HL();
    default: return r.SP;
    }
}
void SetPair(Z80RegisterSet& r, uint8_t op, uint16_t v) {
    switch ((op >> 4) & 3) {
    case 0: r.SetBC(v); break;
    case 1: r.SetDE(v); break;
    case 2: r.SetHL(v); break;
    default: r.SP = v; break;
    }
}

// LD A,I and LD A,R: S, Z, bits 5 and 3 from A, P/V = IFF2, H = N = 0, C kept.
void LoadAFlags(Z80RegisterSet& r) {
    r.F = U8((r.F & flag::C) | SzFlags(r.A) | (r.IFF2 ? flag::PV : 0));
    if (r.T >= kFixedFrameLength) r.F &= U8(~flag::PV);
}

// Bit 3 of the direction (0x08 in the opcode) selects decrement.
uint16_t Step(uint16_t v, uint8_t op) {
    return static_cast<uint16_t>((op & 0x08) ? v - 1 : v + 1);
}

// Repeating forms (bit 4 of the opcode) run again on the next call: PC back onto the ED byte.
void RepeatIf(MachineState& m, uint8_t op, bool more) {
    if ((op & 0x10) && more) {
        m.regs.PC = static_cast<uint16_t>(m.regs.PC - 2);
        m.regs.T += kRepeatTime;
    }
}

// LDI, LDD, LDIR, LDDR. Bits 3 and 5 come from bits 3 and 1 of the byte plus A.
void BlockTransfer(MachineState& m, uint8_t op) {
    Z80RegisterSet& r = m.regs;
    const uint8_t v = ReadByte(m.memory, r.HL());
    WriteByte(m.memory, r.DE(), v);
    r.SetDE(Step(r.DE(), op));
    r.SetHL(Step(r.HL(), op));
    r.SetBC(static_cast<uint16_t>(r.BC() - 1));
    const unsigned n = U8(v + r.A);
    r.F = U8((r.F & (flag::S | flag::Z | flag::C)) | (n & flag::F3) | ((n << 4) & flag::F5) |
             (r.BC() != 0 ? flag::PV : 0));
    RepeatIf(m, op, r.BC() != 0);
}

// CPI, CPD, CPIR, CPDR: the flags of CP except bits 3 and 5 (from A - byte - H) and P/V
// (BC not 0); the repeating forms stop at a match.
void BlockCompare(MachineState& m, uint8_t op) {
    Z80RegisterSet& r = m.regs;
    const uint8_t v = ReadByte(m.memory, r.HL());
    const unsigned d = U8(r.A - v);
    const unsigned h = (r.A ^ v ^ d) & flag::H;
    const unsigned n = U8(d - (h >> 4));
    r.SetHL(Step(r.HL(), op));
    r.SetBC(static_cast<uint16_t>(r.BC() - 1));
    r.F = U8((r.F & flag::C) | (SzFlags(U8(d)) & (flag::S | flag::Z)) | h | flag::N |
             (n & flag::F3) | ((n << 4) & flag::F5) | (r.BC() != 0 ? flag::PV : 0));
    RepeatIf(m, op, r.BC() != 0 && d != 0);
}

// Block I/O flags: N = 1, Z from the decremented B, the others kept.
void BlockIoFlags(Z80RegisterSet& r) {
    r.F = U8((r.F & ~flag::Z) | flag::N | (r.B == 0 ? flag::Z : 0));
}

// INI, IND, INIR, INDR: the port is read with B not yet decremented, then 16 T-states pass.
void BlockInput(MachineState& m, uint8_t op) {
    Z80RegisterSet& r = m.regs;
    const uint8_t v = PortIn(m, r.BC());
    r.T += 16;
    WriteByte(m.memory, r.HL(), v);
    r.SetHL(Step(r.HL(), op));
    r.B--;
    BlockIoFlags(r);
    RepeatIf(m, op, r.B != 0);
}

// OUTI, OUTD, OTIR, OTDR: 16 T-states pass first (kDuration), then the byte goes out to the
// port whose high byte is B before its decrement.
void BlockOutput(MachineState& m, uint8_t op) {
    Z80RegisterSet& r = m.regs;
    const uint8_t v = ReadByte(m.memory, r.HL());
    r.SetHL(Step(r.HL(), op));
    PortOut(m, r.BC(), v);
    r.B--;
    BlockIoFlags(r);
    RepeatIf(m, op, r.B != 0);
}

} // namespace

void ExecuteED(MachineState& m) {
    Z80RegisterSet& r = m.regs;
    r.R++;
    const uint8_t op = FetchByte(m);
    r.T += kDuration[op];
    switch (op) {
    case 0x40:
    case 0x48:
    case 0x50:
    case 0x58:
    case 0x60:
    case 0x68:
    case 0x78:
        Reg8(r, op >> 3) = InPortFlags(m);
        r.T += 12;
        break;
    case 0x70: // IN (C): flags only
        InPortFlags(m);
        r.T += 12;
        break;
    case 0x41:
    case 0x49:
    case 0x51:
    case 0x59:
    case 0x61:
    case 0x69:
    case 0x79: PortOut(m, r.BC(), Reg8(r, op >> 3)); break;
    case 0x71: PortOut(m, r.BC(), 0); break;
    case 0x42:
    case 0x52:
    case 0x62:
    case 0x72: Sbc16(r, Pair(r, op)); break;
    case 0x4A:
    case 0x5A:
    case 0x6A:
    case 0x7A: Adc16(r, Pair(r, op)); break;
    case 0x43:
    case 0x53:
    case 0x63:
    case 0x73: WriteWord(m.memory, FetchWord(m), Pair(r, op)); break;
    case 0x4B:
    case 0x5B:
    case 0x6B:
    case 0x7B: SetPair(r, op, ReadWord(m.memory, FetchWord(m))); break;
    case 0x44:
    case 0x4C:
    case 0x54:
    case 0x5C:
    case 0x64:
    case 0x6C:
    case 0x74:
    case 0x7C: {
        const uint8_t a = r.A;
        r.A = 0;
        Sub8(r, a);
        break;
    }
    case 0x45:
    case 0x4D:
    case 0x55:
    case 0x5D:
    case 0x65:
    case 0x6D:
    case 0x75:
    case 0x7D:
        r.PC = Pop(m);
        r.IFF1 = r.IFF2;
        break;
    case 0x46:
    case 0x4E:
    case 0x66:
    case 0x6E: r.IM = 0; break;
    case 0x56:
    case 0x76: r.IM = 1; break;
    case 0x5E:
    case 0x7E: r.IM = 2; break;
    case 0x47: r.I = r.A; break;
    case 0x4F: r.SetR(r.A); break;
    case 0x57:
        r.A = r.I;
        LoadAFlags(r);
        break;
    case 0x5F:
        r.A = r.VisibleR();
        LoadAFlags(r);
        break;
    case 0x67: { // RRD: A's low nibble -> (HL) high, (HL) high -> low, (HL) low -> A
        const uint8_t v = ReadByte(m.memory, r.HL());
        WriteByte(m.memory, r.HL(), U8(r.A << 4 | v >> 4));
        r.A = U8((r.A & 0xF0) | (v & 0x0F));
        DigitRotateFlags(r);
        break;
    }
    case 0x6F: { // RLD: (HL) low -> high, A's low nibble -> (HL) low, (HL) high -> A
        const uint8_t v = ReadByte(m.memory, r.HL());
        WriteByte(m.memory, r.HL(), U8(v << 4 | (r.A & 0x0F)));
        r.A = U8((r.A & 0xF0) | v >> 4);
        DigitRotateFlags(r);
        break;
    }
    case 0xA0:
    case 0xA8:
    case 0xB0:
    case 0xB8: BlockTransfer(m, op); break;
    case 0xA1:
    case 0xA9:
    case 0xB1:
    case 0xB9: BlockCompare(m, op); break;
    case 0xA2:
    case 0xAA:
    case 0xB2:
    case 0xBA: BlockInput(m, op); break;
    case 0xA3:
    case 0xAB:
    case 0xB3:
    case 0xBB: BlockOutput(m, op); break;
    default: break; // no instruction: 8 T-states
    }
}

} // namespace vespin::z80
