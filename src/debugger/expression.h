// The integer expressions typed into every address, length and register field of the debugger:
// decimal, "#" hexadecimal and "%" binary numbers, register names, + - * /, unary minus and
// parentheses, on signed 32-bit values that wrap.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "core/z80_registers.h"

namespace vespin {

// Raised with the text shown to the user.
class ExpressionError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Evaluates the text (upper-case letters are accepted) with register names read from regs.
// Throws ExpressionError.
int32_t EvaluateExpression(std::string_view text, const Z80RegisterSet& regs);

} // namespace vespin
