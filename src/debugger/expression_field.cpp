#include "debugger/expression_field.h"

#include "debugger/expression.h"
#include "debugger/number_format.h"

namespace vespin {

void ExpressionField::Set(const std::string& newText, const Z80RegisterSet& regs) {
    text = newText;
    try {
        value = static_cast<uint16_t>(EvaluateExpression(text, regs));
        valid = true;
        hint = HashHex4(value);
    } catch (const ExpressionError&) {
        valid = false;
        hint = "Error!";
    }
}

} // namespace vespin
