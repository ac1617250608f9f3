// Number formatting shared by every debugger view: upper-case hexadecimal, zero-padded decimal
// and binary, and the printable-character cell of the memory dump.
#pragma once

#include <cstdint>
#include <string>

namespace vespin {

std::string Hex2(uint8_t v);
std::string Hex4(uint16_t v);
std::string Hex8(uint32_t v);
std::string HexShort(uint32_t v); // "#" and the digits without leading zeros
std::string HashHex4(uint16_t v); // "#" and four digits, as the dialogs' hints show a value
std::string Dec3(uint8_t v);
std::string Dec5(uint16_t v);
std::string DecShort(uint32_t v);
std::string Bin8(uint8_t v);
std::string Bin16(uint16_t v);
std::string PrintableChar(uint8_t v); // the byte itself from 32 up, else "."

// Operand formats of the disassembler and the memory views: decimal or hexadecimal.
inline std::string ByteOperand(uint8_t v, bool decimal) {
    return decimal ? Dec3(v) : Hex2(v);
}
inline std::string WordOperand(uint16_t v, bool decimal) {
    return decimal ? Dec5(v) : Hex4(v);
}

} // namespace vespin
