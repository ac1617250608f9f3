// The emulated Z80's register set and its T-state clock.
//
// Pairs are kept as their two 8-bit halves (F/A, C/B, E/D, L/H) and read or written as pairs
// through the accessors; IX and IY are 16-bit with their halves reachable through accessors.
// R is incremented as a whole byte; only its low seven bits count, bit 7 is kept apart in R7.
#pragma once

#include <cstdint>

namespace vespin {

namespace flag {
constexpr uint8_t S = 0x80;
constexpr uint8_t Z = 0x40;
constexpr uint8_t F5 = 0x20; // undocumented copy of bit 5
constexpr uint8_t H = 0x10;
constexpr uint8_t F3 = 0x08; // undocumented copy of bit 3
constexpr uint8_t PV = 0x04;
constexpr uint8_t N = 0x02;
constexpr uint8_t C = 0x01;
} // namespace flag

struct Z80RegisterSet {
    uint8_t F = 0xFF, A = 0xFF;
    uint8_t C = 0, B = 0;
    uint8_t E = 0, D = 0;
    uint8_t L = 0, H = 0;
    uint16_t IX = 0, IY = 0;
    uint8_t IFF1 = 0, IFF2 = 0;
    uint8_t I = 0;
    uint8_t IM = 0;
    uint8_t R = 0;
    uint8_t R7 = 0;            // the kept bit 7 of R: 0x00 or 0x80
    uint8_t InterruptGate = 0; // 1 when an interrupt may be accepted before the next instruction
    uint16_t PC = 0, SP = 0xFFFF;
    uint16_t AF_ = 0, BC_ = 0, DE_ = 0, HL_ = 0;
    int32_t T = 0; // T-states since the start of the current frame

    uint16_t AF() const { return static_cast<uint16_t>(A << 8 | F); }
    uint16_t BC() const { return static_cast<uint16_t>(B << 8 | C); }
    uint16_t DE() const { return static_cast<uint16_t>(D << 8 | E); }
    uint16_t HL() const { return static_cast<uint16_t>(H << 8 | L); }
    void SetAF(uint16_t v) { A = v >> 8, F = v & 0xFF; }
    void SetBC(uint16_t v) { B = v >> 8, C = v & 0xFF; }
    void SetDE(uint16_t v) { D = v >> 8, E = v & 0xFF; }
    void SetHL(uint16_t v) { H = v >> 8, L = v & 0xFF; }

    // R as a program sees it: the counted low seven bits and the kept bit 7.
    uint8_t VisibleR() const { return static_cast<uint8_t>((R & 0x7F) | R7); }
    // How loaders and the register editor store R: both the counter and the kept bit.
    void SetR(uint8_t v) { R = v, R7 = v & 0x80; }
};

} // namespace vespin
