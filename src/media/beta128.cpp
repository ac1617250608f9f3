#include "media/beta128.h"

#include "core/machine.h"

namespace vespin {

void WriteVg93Register(Beta128& b, Vg93Register reg, uint8_t value, int32_t now,
                       int32_t frameLength) {
    Vg93CatchUp(b.vg93, b.disk, now, frameLength);
    switch (reg) {
    case Vg93Register::CommandStatus: Vg93WriteCommand(b.vg93, value); break;
    case Vg93Register::Track: Vg93WriteTrack(b.vg93, value); break;
    case Vg93Register::Sector: Vg93WriteSector(b.vg93, value); break;
    case Vg93Register::Data: Vg93WriteData(b.vg93, value); break;
    }
}

uint8_t ReadVg93Register(Beta128& b, Vg93Register reg, int32_t now, int32_t frameLength) {
    Vg93CatchUp(b.vg93, b.disk, now, frameLength);
    switch (reg) {
    case Vg93Register::CommandStatus: return Vg93ReadStatus(b.vg93, b.disk.writeProtected);
    case Vg93Register::Track: return b.vg93.track;
    case Vg93Register::Sector: return b.vg93.sector;
    case Vg93Register::Data: return Vg93ReadData(b.vg93);
    }
    return 0xFF;
}

void WriteBetaSystemRegister(Beta128& b, uint8_t value, int32_t now, int32_t frameLength) {
    Vg93CatchUp(b.vg93, b.disk, now, frameLength);
    Vg93WriteSystem(b.vg93, value);
}

uint8_t ReadBetaSystemRegister(Beta128& b, int32_t now, int32_t frameLength) {
    Vg93CatchUp(b.vg93, b.disk, now, frameLength);
    return Vg93PeekSystem(b.vg93);
}

void WriteVg93Register(MachineState& m, Vg93Register reg, uint8_t value) {
    WriteVg93Register(m.beta, reg, value, m.regs.T, m.frameLength);
}

uint8_t ReadVg93Register(MachineState& m, Vg93Register reg) {
    return ReadVg93Register(m.beta, reg, m.regs.T, m.frameLength);
}

void WriteBetaSystemRegister(MachineState& m, uint8_t value) {
    WriteBetaSystemRegister(m.beta, value, m.regs.T, m.frameLength);
}

uint8_t ReadBetaSystemRegister(MachineState& m) {
    return ReadBetaSystemRegister(m.beta, m.regs.T, m.frameLength);
}

void Vg93FrameStep(MachineState& m) {
    Vg93EndFrame(m.beta.vg93, m.beta.disk, m.regs.T, m.frameLength);
}

uint8_t PeekVg93Status(const Beta128& b) {
    return Vg93PeekStatus(b.vg93, b.disk.writeProtected);
}

} // namespace vespin
