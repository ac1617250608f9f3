#include "debugger/register_editor.h"

#include <array>

#include "debugger/number_format.h"

namespace vespin {

namespace {

constexpr std::array<const char*, 12> kNames{"PC", "SP", "IX",  "IY",  "HL",  "DE",
                                             "BC", "AF", "HL'", "DE'", "BC'", "AF'"};

} // namespace

const char* RegisterName(EditableRegister r) {
    return kNames[static_cast<size_t>(r)];
}

uint16_t ReadRegister(const Z80RegisterSet& regs, EditableRegister r) {
    switch (r) {
    case EditableRegister::PC: return regs.PC;
    case EditableRegister::SP: return regs.SP;
    case EditableRegister::IX: return regs.IX;
    case EditableRegister::IY: return regs.IY;
    case EditableRegister::HL: return regs.HL();
    case EditableRegister::DE: return regs.DE();
    case EditableRegister::BC: return regs.BC();
    case EditableRegister::AF: return regs.AF();
    case EditableRegister::HL_: return regs.HL_;
    case EditableRegister::DE_: return regs.DE_;
    case EditableRegister::BC_: return regs.BC_;
    case EditableRegister::AF_: return regs.AF_;
    }
    return 0;
}

void WriteRegister(Z80RegisterSet& regs, EditableRegister r, uint16_t v) {
    switch (r) {
    case EditableRegister::PC: regs.PC = v; break;
    case EditableRegister::SP: regs.SP = v; break;
    case EditableRegister::IX: regs.IX = v; break;
    case EditableRegister::IY: regs.IY = v; break;
    case EditableRegister::HL: regs.SetHL(v); break;
    case EditableRegister::DE: regs.SetDE(v); break;
    case EditableRegister::BC: regs.SetBC(v); break;
    case EditableRegister::AF: regs.SetAF(v); break;
    case EditableRegister::HL_: regs.HL_ = v; break;
    case EditableRegister::DE_: regs.DE_ = v; break;
    case EditableRegister::BC_: regs.BC_ = v; break;
    case EditableRegister::AF_: regs.AF_ = v; break;
    }
}

void TRegEditF::OpenRegisterEditor(EditableRegister r) {
    register_ = r;
    caption_ = std::string("Register editor - ") + RegisterName(r);
    SetText(HashHex4(ReadRegister(regs_, r)));
}

void TRegEditF::SetText(const std::string& text) {
    field_.Set(text, regs_);
}

bool TRegEditF::Ok() {
    if (!field_.valid) return false;
    WriteRegister(regs_, register_, field_.value);
    return true;
}

} // namespace vespin
