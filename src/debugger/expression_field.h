// An address or value field that validates on every change: on success the low 16 bits of the
// value and the hint "#" with four digits in black; on any error the hint "Error!" in red, the
// field yellow and the dialog's OK button disabled.
#pragma once

#include <cstdint>
#include <string>

#include "core/z80_registers.h"

namespace vespin {

struct ExpressionField {
    std::string text;
    uint16_t value = 0;
    bool valid = false;
    std::string hint = "Error!";

    void Set(const std::string& newText, const Z80RegisterSet& regs);
};

} // namespace vespin
