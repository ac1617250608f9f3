// Text typed into the debugger's fields: the expression evaluator and the find pattern must
// answer a value or an error for any input, and the disassembler must decode any bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/memory.h"
#include "debugger/disassembler.h"
#include "debugger/expression.h"
#include "debugger/find_form.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const vespin::Z80RegisterSet regs;
    try {
        vespin::EvaluateExpression(text, regs);
    } catch (const vespin::ExpressionError&) {
    }
    std::vector<uint8_t> pattern;
    vespin::ParseFindPattern(text, regs, pattern);

    static vespin::Memory mem;
    for (size_t i = 0; i < size && i < 16; ++i) {
        *vespin::ByteAddress(mem, static_cast<uint16_t>(0xFFF8 + i)) = data[i];
    }
    uint16_t address = 0xFFF8;
    for (int line = 0; line < 4; ++line) {
        const uint16_t start = address;
        vespin::DisassembleLine(mem, address, size % 2 == 0);
        if (static_cast<uint16_t>(address - start) != vespin::InstructionLength(mem, start)) {
            __builtin_trap();
        }
    }
    return 0;
}
