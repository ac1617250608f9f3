// The Z80's arithmetic and logic with its flag rules, shared by every instruction group.
//
// Flags are computed in one pass: S, Z, bits 5 and 3 and parity come from the table in flags.h,
// half carry from bit 4 of (a ^ b ^ result), overflow from the signs of operands and result.
// Bits 5 and 3 (F5, F3) are copies of the result except where noted (CP takes them from the
// operand, 16-bit arithmetic from the high byte, the block group from its own sum).
#pragma once

#include <cstdint>

#include "core/flags.h"
#include "core/z80_registers.h"

namespace vespin::z80 {

constexpr uint8_t kKeepSzp = flag::S | flag::Z | flag::PV;
constexpr uint8_t kUndocumented = flag::F5 | flag::F3;

inline uint8_t U8(unsigned v) {
    return static_cast<uint8_t>(v);
}

// Overflow of a + b = res (or a - b = res with b inverted by the caller) moved into P/V.
inline uint8_t AddOverflow(unsigned a, unsigned b, unsigned res) {
    return U8(((a ^ ~b) & (a ^ res) & 0x80) >> 5);
}
inline uint8_t SubOverflow(unsigned a, unsigned b, unsigned res) {
    return U8(((a ^ b) & (a ^ res) & 0x80) >> 5);
}

// ADD A,v and ADC A,v (carry = 0 or 1).
inline void Add8(Z80RegisterSet& r, uint8_t v, unsigned carry = 0) {
    const unsigned a = r.A;
    const unsigned res = a + v + carry;
    r.A = U8(res);
    r.F = U8(SzFlags(U8(res)) | ((a ^ v ^ res) & flag::H) | AddOverflow(a, v, res) |
             ((res >> 8) & flag::C));
}

// A - v - carry with the flags of SUB; the caller decides whether A takes the result.
inline uint8_t Subtract8(Z80RegisterSet& r, uint8_t v, unsigned carry) {
    const unsigned a = r.A;
    const unsigned res = a - v - carry;
    r.F = U8(SzFlags(U8(res)) | ((a ^ v ^ res) & flag::H) | SubOverflow(a, v, res) | flag::N |
             ((res >> 8) & flag::C));
    return U8(res);
}

inline void Sub8(Z80RegisterSet& r, uint8_t v, unsigned carry = 0) {
    r.A = Subtract8(r, v, carry);
}

// CP v: the flags of A - v, with bits 5 and 3 copied from the operand.
inline void Cp8(Z80RegisterSet& r, uint8_t v) {
    Subtract8(r, v, 0);
    r.F = U8((r.F & ~kUndocumented) | (v & kUndocumented));
}

inline void And8(Z80RegisterSet& r, uint8_t v) {
    r.A &= v;
    r.F = U8(SzpFlags(r.A) | flag::H);
}
inline void Xor8(Z80RegisterSet& r, uint8_t v) {
    r.A ^= v;
    r.F = SzpFlags(r.A);
}
inline void Or8(Z80RegisterSet& r, uint8_t v) {
    r.A |= v;
    r.F = SzpFlags(r.A);
}

// The eight ALU operations in opcode order (bits 5-3 of 0x80-0xBF and 0xC6-0xFE).
inline void Alu8(Z80RegisterSet& r, unsigned operation, uint8_t v) {
    switch (operation & 7) {
    case 0: Add8(r, v); break;
    case 1: Add8(r, v, r.F & flag::C); break;
    case 2: Sub8(r, v); break;
    case 3: Sub8(r, v, r.F & flag::C); break;
    case 4: And8(r, v); break;
    case 5: Xor8(r, v); break;
    case 6: Or8(r, v); break;
    default: Cp8(r, v); break;
    }
}

inline uint8_t Inc8(Z80RegisterSet& r, uint8_t v) {
    const uint8_t res = U8(v + 1);
    r.F = U8((r.F & flag::C) | SzFlags(res) | ((res & 0x0F) == 0 ? flag::H : 0) |
             (res == 0x80 ? flag::PV : 0));
    return res;
}
inline uint8_t Dec8(Z80RegisterSet& r, uint8_t v) {
    const uint8_t res = U8(v - 1);
    r.F = U8((r.F & flag::C) | SzFlags(res) | flag::N | ((v & 0x0F) == 0 ? flag::H : 0) |
             (v == 0x80 ? flag::PV : 0));
    return res;
}

// ADD HL,rr (and ADD IX/IY,rr): H from bit 11, C from bit 15, bits 5 and 3 from the high byte.
inline uint16_t Add16(Z80RegisterSet& r, uint16_t a, uint16_t b) {
    const unsigned res = unsigned{a} + b;
    r.F = U8((r.F & kKeepSzp) | ((res >> 8) & kUndocumented) | (((a ^ b ^ res) >> 8) & flag::H) |
             (res >> 16));
    return static_cast<uint16_t>(res);
}

// ADC HL,rr and SBC HL,rr: every flag from the 16-bit result.
inline uint8_t Flags16(unsigned a, unsigned b, unsigned res, uint8_t overflow) {
    const unsigned hi = (res >> 8) & 0xFF;
    return U8((hi & (flag::S | kUndocumented)) | ((res & 0xFFFF) == 0 ? flag::Z : 0) |
              (((a ^ b ^ res) >> 8) & flag::H) | overflow | ((res >> 16) & flag::C));
}
inline void Adc16(Z80RegisterSet& r, uint16_t b) {
    const unsigned a = r.HL();
    const unsigned res = a + b + (r.F & flag::C);
    r.F = Flags16(a, b, res, U8(((a ^ ~unsigned{b}) & (a ^ res) & 0x8000) >> 13));
    r.SetHL(static_cast<uint16_t>(res));
}
inline void Sbc16(Z80RegisterSet& r, uint16_t b) {
    const unsigned a = r.HL();
    const unsigned res = a - b - (r.F & flag::C);
    r.F = U8(Flags16(a, b, res, U8(((a ^ b) & (a ^ res) & 0x8000) >> 13)) | flag::N);
    r.SetHL(static_cast<uint16_t>(res));
}

// RLCA, RRCA, RLA, RRA: S, Z and P/V kept, C the bit shifted out, bits 5 and 3 from the new A.
inline void RotateAFlags(Z80RegisterSet& r, unsigned carry) {
    r.F = U8((r.F & kKeepSzp) | (r.A & kUndocumented) | carry);
}
inline void Rlca(Z80RegisterSet& r) {
    const unsigned c = r.A >> 7;
    r.A = U8(r.A << 1 | c);
    RotateAFlags(r, c);
}
inline void Rrca(Z80RegisterSet& r) {
    const unsigned c = r.A & 1;
    r.A = U8(r.A >> 1 | c << 7);
    RotateAFlags(r, c);
}
inline void Rla(Z80RegisterSet& r) {
    const unsigned c = r.A >> 7;
    r.A = U8(r.A << 1 | (r.F & flag::C));
    RotateAFlags(r, c);
}
inline void Rra(Z80RegisterSet& r) {
    const unsigned c = r.A & 1;
    r.A = U8(r.A >> 1 | (r.F & flag::C) << 7);
    RotateAFlags(r, c);
}

inline void Cpl(Z80RegisterSet& r) {
    r.A = U8(~r.A);
    r.F = U8((r.F & (kKeepSzp | flag::C)) | (r.A & kUndocumented) | flag::H | flag::N);
}
inline void Scf(Z80RegisterSet& r) {
    r.F = U8((r.F & kKeepSzp) | (r.A & kUndocumented) | flag::C);
}
inline void Ccf(Z80RegisterSet& r) {
    const unsigned c = r.F & flag::C;
    r.F = U8((r.F & kKeepSzp) | (r.A & kUndocumented) | (c ? flag::H : flag::C));
}

// DAA: 0x06 corrects the low digit, 0x60 the high one; C is set by the high correction and never
// cleared; H is the carry or borrow out of bit 3 of the correction itself.
inline void Daa(Z80RegisterSet& r) {
    const unsigned a = r.A;
    unsigned correction = 0;
    uint8_t carry = r.F & flag::C;
    if ((r.F & flag::H) || (a & 0x0F) > 9) correction = 0x06;
    if (carry || a >= 0x9A) {
        correction |= 0x60;
        carry = flag::C;
    }
    const unsigned res = (r.F & flag::N) ? a - correction : a + correction;
    r.A = U8(res);
    r.F = U8(SzpFlags(r.A) | ((a ^ correction ^ res) & flag::H) | (r.F & flag::N) | carry);
}

// The CB group's rotates and shifts in opcode order (bits 5-3): RLC, RRC, RL, RR, SLA, SRA,
// SLL, SRL. C is the bit shifted out; S, Z, P/V and bits 5 and 3 from the result; H = N = 0.
inline uint8_t RotateShift(Z80RegisterSet& r, unsigned operation, uint8_t v) {
    unsigned res = 0;
    unsigned carry = 0;
    switch (operation & 7) {
    case 0: carry = v >> 7, res = v << 1 | carry; break;
    case 1: carry = v & 1, res = v >> 1 | carry << 7; break;
    case 2: carry = v >> 7, res = v << 1 | (r.F & flag::C); break;
    case 3: carry = v & 1, res = v >> 1 | (r.F & flag::C) << 7; break;
    case 4: carry = v >> 7, res = v << 1; break;
    case 5: carry = v & 1, res = (v >> 1) | (v & 0x80); break;
    case 6: carry = v >> 7, res = v << 1 | 1; break;
    default: carry = v & 1, res = v >> 1; break;
    }
    r.F = U8(SzpFlags(U8(res)) | carry);
    return U8(res);
}

// BIT b: Z and P/V set when the bit is clear, S only for bit 7 set, H = 1, C kept; bits 5 and 3
// come from `undocumented` (the tested value, or the high byte of an indexed address).
inline void Bit(Z80RegisterSet& r, unsigned bit, uint8_t v, uint8_t undocumented) {
    const unsigned tested = v & (1u << (bit & 7));
    r.F = U8((r.F & flag::C) | flag::H | (undocumented & kUndocumented) |
             (tested ? (tested & flag::S) : flag::Z | flag::PV));
}

// RLD and RRD: S, Z, P/V and bits 5 and 3 from the new A, H = N = 0, C kept.
inline void DigitRotateFlags(Z80RegisterSet& r) {
    r.F = U8((r.F & flag::C) | SzpFlags(r.A));
}

} // namespace vespin::z80
