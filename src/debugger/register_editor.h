// TRegEditF, the register editor: changes one 16-bit register or pair through an expression
// field; and TCPUStoppedF, the notice shown while the machine runs halted with interrupts off.
#pragma once

#include <cstdint>
#include <string>

#include "core/z80_registers.h"
#include "debugger/expression_field.h"

namespace vespin {

enum class EditableRegister : uint8_t { PC, SP, IX, IY, HL, DE, BC, AF, HL_, DE_, BC_, AF_ };

// The name shown in the caption: "PC", ..., "AF'".
const char* RegisterName(EditableRegister r);
uint16_t ReadRegister(const Z80RegisterSet& regs, EditableRegister r);
void WriteRegister(Z80RegisterSet& regs, EditableRegister r, uint16_t v);

class TRegEditF {
  public:
    explicit TRegEditF(Z80RegisterSet& regs) : regs_(regs) {}

    void OpenRegisterEditor(EditableRegister r);
    // Called on every change of the field RegE.
    void SetText(const std::string& text);
    // "OK": writes the value and answers true; false while OK is disabled.
    bool Ok();

    const std::string& Caption() const { return caption_; }
    const std::string& Text() const { return field_.text; }
    const std::string& Hint() const { return field_.hint; }
    bool OkEnabled() const { return field_.valid; }
    bool HintRed() const { return !field_.valid; }
    bool Yellow() const { return !field_.valid; }

  private:
    Z80RegisterSet& regs_;
    EditableRegister register_ = EditableRegister::PC;
    ExpressionField field_;
    std::string caption_ = "Register editor";
};

class TCPUStoppedF {
  public:
    static constexpr const char* kCaption = "Warning!";
    static constexpr const char* kText =
        "CPU stopped! Interrupts disabled and HALT instruction encountered.";

    enum class Choice : uint8_t { Debugger, Reset, Reanimate };

    // The notice is due while the machine runs, cpuStopped is set, it is not already on
    // screen and "Do&n't show this message again" is not ticked.
    bool Due(bool running, bool cpuStopped) const {
        return running && cpuStopped && !visible && !dontShow;
    }

    bool visible = false;
    bool dontShow = false; // "Disable StoppedCPU" under "Environment\"
};

} // namespace vespin
