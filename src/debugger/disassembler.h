// The Z80 disassembler: one table-driven decoder in which every mnemonic is a template whose
// lower-case letters are placeholders expanded while further bytes are read. Memory is read
// through the memory engine as currently paged, without side effects.
//
// Line layout: columns 0-3 the address (always hexadecimal), from column 5 each instruction
// byte as two digits and a blank (at most four bytes), from column 17 the mnemonic. The line is
// at least 32 columns; a longer mnemonic extends it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/memory.h"

namespace vespin {

enum class IndexMode : uint8_t { HL = 0, IX = 1, IY = 2 };

constexpr int kLineWidth = 32;
constexpr int kByteColumn = 5;
constexpr int kMnemonicColumn = 17;

// One line under construction.
struct LineBuilder {
    LineBuilder(const Memory& mem, uint16_t& addr, bool dec)
        : memory(mem), address(addr), decimal(dec) {}

    std::string text = std::string(kLineWidth, ' ');
    uint8_t byteColumn = kByteColumn;
    uint8_t textColumn = 0;
    IndexMode indexMode = IndexMode::HL;
    const Memory& memory;
    uint16_t& address; // next byte to read; advanced past every byte consumed
    bool decimal;
};

// Expands one template into the builder: characters below 'a' are copied, lower-case letters
// are placeholders (b byte, w word, j relative target, i HL/IX/IY, r index letter, x (HL) or
// indexed operand).
void AppendTemplate(LineBuilder& b, std::string_view tmpl);

// The whole line of the instruction at address; advances address to the next instruction.
std::string DisassembleLine(const Memory& mem, uint16_t& address, bool decimal);

// Only the mnemonic of the instruction at address.
std::string DisassembleMnemonic(const Memory& mem, uint16_t address, bool decimal);

// Length in bytes (1 to 4) of the instruction at address, from the length table.
int InstructionLength(const Memory& mem, uint16_t address);

// Where a jump, call or restart at address goes, for "Jump Immediate"; next is the address of
// the following instruction. Returns false when the instruction has no target.
bool JumpTarget(const Memory& mem, uint16_t address, uint16_t next, uint16_t& target);

} // namespace vespin
