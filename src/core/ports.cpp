#include "core/ports.h"

#include "core/flags.h"
#include "core/machine.h"

namespace vespin {

namespace {

// Beta 128 interface: A7 = 0, A1 = A0 = 1 for the VG93 registers, A6-A5 select which;
// A7 = A1 = A0 = 1 for the system register.
bool IsVg93Port(uint16_t p) {
    return (p & 0x83) == 0x03;
}
bool IsBetaSystemPort(uint16_t p) {
    return (p & 0x83) == 0x83;
}
Vg93Register Vg93RegisterOf(uint16_t p) {
    return static_cast<Vg93Register>((p >> 5) & 3);
}

// AY: A15 = 1, A13 = 1, A5 = 1, A1 = 0, A0 = 1; A14 = 1 selects a register, A14 = 0 is data.
bool IsAyDataPort(uint16_t p) {
    return ((p ^ 0xBFFD) & 0xE023) == 0;
}
bool IsAySelectPort(uint16_t p) {
    return ((p ^ 0xFFFD) & 0xE023) == 0;
}

// Scorpion 0x1FFD: A15 = A14 = 0, A12 = 1, A5 = 1, A2 = 1, A1 = 0, A0 = 1.
bool Is1FFDPort(uint16_t p) {
    return ((p ^ 0x1FFD) & 0xD027) == 0;
}

// Kempston mouse, A9 ignored.
constexpr uint16_t kMouseMask = 0xFDFF;
constexpr uint16_t kMouseX = 0xFBDF & kMouseMask;
constexpr uint16_t kMouseY = 0xFFDF & kMouseMask;
constexpr uint16_t kMouseButtons = 0xFADF & kMouseMask;

bool BetaPortsDecoded(const MachineState& m) {
    return m.memory.paging.TrdosActive || m.options.dosPortAccess;
}

} // namespace

void PortOut(MachineState& m, uint16_t p, uint8_t v) {
    if (m.options.keyboard.Matches(p)) {
        m.lastKeyboardPort = v;
        SpeakerPortWrite(m, v);
        SetBorderColour(m, v);
    }
    if (((p ^ m.port7FFDBits) & m.port7FFDMask) == 0) WritePort7FFD(m.memory, v);
    if (Is1FFDPort(p)) WritePort1FFD(m.memory, v);
    if (BetaPortsDecoded(m)) {
        if (IsVg93Port(p)) WriteVg93Register(m, Vg93RegisterOf(p), v);
        if (IsBetaSystemPort(p)) WriteBetaSystemRegister(m, v);
    } else {
        if (IsAyDataPort(p)) WriteAyRegister(m.ay, v);
        if (IsAySelectPort(p)) SelectAyRegister(m.ay, v);
    }
}

uint8_t PortIn(MachineState& m, uint16_t p) {
    uint8_t r = 0xFF;
    bool answered = false;
    auto answer = [&](uint8_t value) {
        r &= value;
        answered = true;
    };

    if (m.options.keyboard.Matches(p)) answer(ReadHalfRows(m.keys, p) | m.tape.earByte);

    if (BetaPortsDecoded(m)) {
        if (IsBetaSystemPort(p)) answer(ReadBetaSystemRegister(m));
        if (IsVg93Port(p)) answer(ReadVg93Register(m, Vg93RegisterOf(p)));
    } else {
        if (IsAySelectPort(p)) answer(ReadAyRegister(m.ay));
        if (m.options.kempstonJoystick.Matches(p)) answer(m.kempston.joystick);
        if (m.options.kempstonMouse) {
            switch (p & kMouseMask) {
            case kMouseX: answer(m.kempston.mouseX); break;
            case kMouseY: answer(m.kempston.mouseY); break;
            case kMouseButtons: answer(m.kempston.mouseButtons); break;
            default: break;
            }
        }
    }

    if (!answered && m.options.attributePort &&
        ((p & 0xFF) == 0xFF || m.options.attributeAllUnused)) {
        r = ReadFloatingBus(m);
    }
    return r;
}

uint8_t InPortFlags(MachineState& m) {
    const uint8_t value = PortIn(m, m.regs.BC());
    m.regs.F = static_cast<uint8_t>((m.regs.F & flag::C) | SzpFlags(value));
    return value;
}

} // namespace vespin
