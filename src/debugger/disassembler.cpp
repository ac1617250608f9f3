#include "debugger/disassembler.h"

#include <array>

#include "debugger/number_format.h"

namespace vespin {

namespace {

using Templates64 = std::array<std::string_view, 64>;

// Operand registers by bits 2-0 (and bits 5-3 as a destination).
constexpr std::array<std::string_view, 8> kRegister{"B", "C", "D", "E", "rH", "rL", "x", "A"};
// Registers of the indexed #CB group, where the result is also copied to a plain register.
constexpr std::array<std::string_view, 8> kBitRegister{"B", "C", "D", "E", "H", "L", "x", "A"};
constexpr std::array<std::string_view, 8> kArithmetic{"ADD A,", "ADC A,", "SUB ", "SBC ",
                                                      "AND ",   "XOR ",   "OR ",  "CP "};
constexpr std::array<std::string_view, 8> kShift{"RLC", "RRC", "RL",  "RR",
                                                 "SLA", "SRA", "SLI", "SRL"};
constexpr std::array<std::string_view, 4> kBitOperation{"", "BIT", "RES", "SET"};
constexpr std::array<std::string_view, 8> kBitNumber{"0", "1", "2", "3", "4", "5", "6", "7"};

constexpr Templates64 kOpcodes00{
    "NOP",       "LD BC,w",  "LD (BC),A", "INC BC", "INC B",  "DEC B",  "LD B,b",  "RLCA",
    "EX AF,AF'", "ADD i,BC", "LD A,(BC)", "DEC BC", "INC C",  "DEC C",  "LD C,b",  "RRCA",
    "DJNZ j",    "LD DE,w",  "LD (DE),A", "INC DE", "INC D",  "DEC D",  "LD D,b",  "RLA",
    "JR j",      "ADD i,DE", "LD A,(DE)", "DEC DE", "INC E",  "DEC E",  "LD E,b",  "RRA",
    "JR NZ,j",   "LD i,w",   "LD (w),i",  "INC i",  "INC rH", "DEC rH", "LD rH,b", "DAA",
    "JR Z,j",    "ADD i,i",  "LD i,(w)",  "DEC i",  "INC rL", "DEC rL", "LD rL,b", "CPL",
    "JR NC,j",   "LD SP,w",  "LD (w),A",  "INC SP", "INC x",  "DEC x",  "LD x,b",  "SCF",
    "JR C,j",    "ADD i,SP", "LD A,(w)",  "DEC SP", "INC A",  "DEC A",  "LD A,b",  "CCF",
};

// #CB, #DD, #ED and #FD are prefixes decoded elsewhere.
constexpr Templates64 kOpcodesC0{
    "RET NZ", "POP BC",  "JP NZ,w", "JP w",      "CALL NZ,w", "PUSH BC", "ADD A,b", "RST 00",
    "RET Z",  "RET",     "JP Z,w",  "",          "CALL Z,w",  "CALL w",  "ADC A,b", "RST 08",
    "RET NC", "POP DE",  "JP NC,w", "OUT (b),A", "CALL NC,w", "PUSH DE", "SUB b",   "RST 10",
    "RET C",  "EXX",     "JP C,w",  "IN A,(b)",  "CALL C,w",  "",        "SBC A,b", "RST 18",
    "RET PO", "POP i",   "JP PO,w", "EX (SP),i", "CALL PO,w", "PUSH i",  "AND b",   "RST 20",
    "RET PE", "JP i",    "JP PE,w", "EX DE,HL",  "CALL PE,w", "",        "XOR b",   "RST 28",
    "RET P",  "POP AF",  "JP P,w",  "DI",        "CALL P,w",  "PUSH AF", "OR b",    "RST 30",
    "RET M",  "LD SP,i", "JP M,w",  "EI",        "CALL M,w",  "",        "CP b",    "RST 38",
};

constexpr Templates64 kOpcodesED40{
    "IN B,(C)", "OUT (C),B", "SBC HL,BC", "LD (w),BC", "NEG", "RETN", "IM 0", "LD I,A",
    "IN C,(C)", "OUT (C),C", "ADC HL,BC", "LD BC,(w)", "NEG", "RETI", "IM 0", "LD R,A",
    "IN D,(C)", "OUT (C),D", "SBC HL,DE", "LD (w),DE", "NEG", "RETN", "IM 1", "LD A,I",
    "IN E,(C)", "OUT (C),E", "ADC HL,DE", "LD DE,(w)", "NEG", "RETN", "IM 2", "LD A,R",
    "IN H,(C)", "OUT (C),H", "SBC HL,HL", "LD (w),HL", "NEG", "RETN", "IM 0", "RRD",
    "IN L,(C)", "OUT (C),L", "ADC HL,HL", "LD HL,(w)", "NEG", "RETN", "IM 0", "RLD",
    "IN (C)",   "OUT (C),0", "SBC HL,SP", "LD (w),SP", "NEG", "RETN", "IM 1", "NOP",
    "IN A,(C)", "OUT (C),A", "ADC HL,SP", "LD SP,(w)", "NEG", "RETN", "IM 2", "NOP",
};

// Indexed by (bits 1-0) + 4 x (bits 4-3) of the second byte.
constexpr std::array<std::string_view, 16> kBlock{
    "LDI",  "CPI",  "INI",  "OUTI", "LDD",  "CPD",  "IND",  "OUTD",
    "LDIR", "CPIR", "INIR", "OTIR", "LDDR", "CPDR", "INDR", "OTDR",
};

// Length by first byte: 1 to 3 decided by that byte, 2 for #CB, 4 for #DD and #FD, 5 for #ED.
constexpr std::array<uint8_t, 256> kLength = [] {
    std::array<uint8_t, 256> t{};
    constexpr uint8_t k00[64] = {
        1, 3, 1, 1, 1, 1, 2, 1, 1, 1, 1, 1, 1, 1, 2, 1, 2, 3, 1, 1, 1, 1,
        2, 1, 2, 1, 1, 1, 1, 1, 2, 1, 2, 3, 3, 1, 1, 1, 2, 1, 2, 1, 3, 1,
        1, 1, 2, 1, 2, 3, 3, 1, 1, 1, 2, 1, 2, 1, 3, 1, 1, 1, 2, 1,
    };
    constexpr uint8_t kC0[64] = {
        1, 1, 3, 3, 3, 1, 2, 1, 1, 1, 3, 2, 3, 3, 2, 1, 1, 1, 3, 2, 3, 1,
        2, 1, 1, 1, 3, 2, 3, 4, 2, 1, 1, 1, 3, 1, 3, 1, 2, 1, 1, 1, 3, 1,
        3, 5, 2, 1, 1, 1, 3, 1, 3, 1, 2, 1, 1, 1, 3, 1, 3, 4, 2, 1,
    };
    for (int i = 0; i < 256; ++i)
        t[static_cast<size_t>(i)] = 1;
    for (int i = 0; i < 64; ++i) {
        t[static_cast<size_t>(i)] = k00[i];
        t[static_cast<size_t>(0xC0 + i)] = kC0[i];
    }
    return t;
}();

void Put(LineBuilder& b, uint8_t& column, char c) {
    if (column >= b.text.size()) b.text.resize(column + 1u, ' ');
    b.text[column++] = c;
}

void PutText(LineBuilder& b, uint8_t& column, std::string_view s) {
    for (char c : s)
        Put(b, column, c);
}

void PutByteColumn(LineBuilder& b, uint8_t v) {
    PutText(b, b.byteColumn, Hex2(v));
    ++b.byteColumn;
}

uint8_t FetchByte(LineBuilder& b) {
    const uint8_t v = ReadByte(b.memory, b.address);
    ++b.address;
    PutByteColumn(b, v);
    return v;
}

std::string_view IndexLetter(IndexMode mode) {
    switch (mode) {
    case IndexMode::HL: return "";
    case IndexMode::IX: return "X";
    case IndexMode::IY: return "Y";
    }
    return "";
}

void ExpandPlaceholder(LineBuilder& b, char p) {
    switch (p) {
    case 'b': AppendTemplate(b, ByteOperand(FetchByte(b), b.decimal)); break;
    case 'j': {
        const auto d = static_cast<int8_t>(FetchByte(b));
        AppendTemplate(b, WordOperand(static_cast<uint16_t>(b.address + d), b.decimal));
        break;
    }
    case 'i': AppendTemplate(b, b.indexMode == IndexMode::HL ? "HL" : "Ir"); break;
    case 'r': AppendTemplate(b, IndexLetter(b.indexMode)); break;
    case 'x': {
        if (b.indexMode == IndexMode::HL) {
            AppendTemplate(b, "(HL)");
            break;
        }
        const uint8_t d = FetchByte(b);
        AppendTemplate(b, d < 0x80 ? "(i+" : "(i-");
        AppendTemplate(b, ByteOperand(d < 0x80 ? d : static_cast<uint8_t>(256 - d), b.decimal));
        AppendTemplate(b, ")");
        break;
    }
    default: { // 'w' and any other letter: a little-endian word
        const uint8_t lo = FetchByte(b);
        const uint8_t hi = FetchByte(b);
        AppendTemplate(b, WordOperand(static_cast<uint16_t>(hi << 8 | lo), b.decimal));
        break;
    }
    }
}

// The name of a #CB operation up to its register: "BIT 3," or "RLC ".
void AppendBitOperation(LineBuilder& b, uint8_t op) {
    if (op >= 0x40) {
        AppendTemplate(b, kBitOperation[op >> 6]);
        AppendTemplate(b, " ");
        AppendTemplate(b, kBitNumber[(op >> 3) & 7]);
        AppendTemplate(b, ",");
    } else {
        AppendTemplate(b, kShift[(op >> 3) & 7]);
        AppendTemplate(b, " ");
    }
}

void DecodeBitGroup(LineBuilder& b) {
    const uint8_t op = FetchByte(b);
    AppendBitOperation(b, op);
    AppendTemplate(b, kRegister[op & 7]);
}

void DecodeExtendedGroup(LineBuilder& b) {
    const uint8_t op = FetchByte(b);
    if (op >= 0x40 && op < 0x80) {
        AppendTemplate(b, kOpcodesED40[op & 0x3F]);
    } else if ((op & 0xE4) == 0xA0) {
        AppendTemplate(b, kBlock[(op & 3) + 4 * ((op >> 3) & 3)]);
    } else {
        AppendTemplate(b, "NOP");
    }
}

// #DD/#FD #CB d op: the operation byte comes after the displacement, and the undocumented
// forms also copy the result to a plain register ("RLC B,(IX+05)").
void DecodeIndexBitGroup(LineBuilder& b) {
    const uint8_t op = ReadByte(b.memory, static_cast<uint16_t>(b.address + 1));
    AppendBitOperation(b, op);
    AppendTemplate(b, kBitRegister[op & 7]);
    if ((op & 7) != 6) AppendTemplate(b, ",x");
    PutByteColumn(b, op);
    ++b.address;
}

void DecodeLoadOrArithmetic(LineBuilder& b, uint8_t op) {
    if (op < 0x80) {
        AppendTemplate(b, "LD ");
        AppendTemplate(b, kRegister[(op >> 3) & 7]);
        AppendTemplate(b, ",");
    } else {
        AppendTemplate(b, kArithmetic[(op >> 3) & 7]);
    }
    AppendTemplate(b, kRegister[op & 7]);
}

void DecodeIndexGroup(LineBuilder& b) {
    const uint8_t op = ReadByte(b.memory, b.address);
    ++b.address;
    if (op == 0xDD || op == 0xFD || op == 0xED) {
        // A prefix followed by a prefix: only the first is consumed, as a NOP.
        --b.address;
        AppendTemplate(b, "NOP");
        return;
    }
    PutByteColumn(b, op);
    switch (op) {
    case 0x66: AppendTemplate(b, "LD H,x"); return;
    case 0x6E: AppendTemplate(b, "LD L,x"); return;
    case 0x74: AppendTemplate(b, "LD x,H"); return;
    case 0x75: AppendTemplate(b, "LD x,L"); return;
    case 0x76: AppendTemplate(b, "HALT"); return;
    case 0xCB: DecodeIndexBitGroup(b); return;
    default: break;
    }
    if (op < 0x40) {
        AppendTemplate(b, kOpcodes00[op]);
    } else if (op < 0xC0) {
        DecodeLoadOrArithmetic(b, op);
    } else {
        AppendTemplate(b, kOpcodesC0[op & 0x3F]);
    }
}

void DecodeInstruction(LineBuilder& b) {
    const uint8_t op = FetchByte(b);
    if (op < 0x40) {
        AppendTemplate(b, kOpcodes00[op]);
    } else if (op == 0x76) {
        AppendTemplate(b, "HALT");
    } else if (op < 0xC0) {
        DecodeLoadOrArithmetic(b, op);
    } else if (op == 0xCB) {
        DecodeBitGroup(b);
    } else if (op == 0xDD || op == 0xFD) {
        b.indexMode = op == 0xDD ? IndexMode::IX : IndexMode::IY;
        DecodeIndexGroup(b);
    } else if (op == 0xED) {
        DecodeExtendedGroup(b);
    } else {
        AppendTemplate(b, kOpcodesC0[op & 0x3F]);
    }
}

LineBuilder& Decode(LineBuilder& b) {
    AppendTemplate(b, Hex4(b.address));
    b.textColumn = kMnemonicColumn;
    DecodeInstruction(b);
    return b;
}

} // namespace

void AppendTemplate(LineBuilder& b, std::string_view tmpl) {
    for (char c : tmpl) {
        if (c >= 'a' && c <= 'z') {
            ExpandPlaceholder(b, c);
        } else {
            Put(b, b.textColumn, c);
        }
    }
}

std::string DisassembleLine(const Memory& mem, uint16_t& address, bool decimal) {
    LineBuilder b(mem, address, decimal);
    return Decode(b).text;
}

std::string DisassembleMnemonic(const Memory& mem, uint16_t address, bool decimal) {
    LineBuilder b(mem, address, decimal);
    std::string mnemonic = Decode(b).text.substr(kMnemonicColumn);
    mnemonic.erase(mnemonic.find_last_not_of(' ') + 1);
    return mnemonic;
}

int InstructionLength(const Memory& mem, uint16_t address) {
    const uint8_t op = ReadByte(mem, address);
    const uint8_t n = ReadByte(mem, static_cast<uint16_t>(address + 1));
    switch (kLength[op]) {
    case 5: return (n & 0xC7) == 0x43 ? 4 : 2; // LD (nn),rr and LD rr,(nn)
    case 4: break;
    default: return kLength[op];
    }
    // After #DD or #FD.
    if (n < 0x40) {
        if (n == 0x34 || n == 0x35) return 3; // INC/DEC (IX+d)
        if (n == 0x36) return 4;              // LD (IX+d),n
        return kLength[n] + 1;
    }
    if (n < 0x80) {
        if ((n & 0xF8) == 0x70) return n == 0x76 ? 2 : 3;
        return (n & 7) == 6 ? 3 : 2;
    }
    if (n < 0xC0) return (n & 7) == 6 ? 3 : 2;
    if (n == 0xDD || n == 0xED || n == 0xFD) return 1;
    if (n == 0xCB) return 4;
    return kLength[n] + 1;
}

bool JumpTarget(const Memory& mem, uint16_t address, uint16_t next, uint16_t& target) {
    const uint8_t op = ReadByte(mem, address);
    switch (op) {
    case 0x10:
    case 0x18:
    case 0x20:
    case 0x28:
    case 0x30:
    case 0x38:
        target = static_cast<uint16_t>(
            next + static_cast<int8_t>(ReadByte(mem, static_cast<uint16_t>(address + 1))));
        return true;
    case 0xC2:
    case 0xC3:
    case 0xC4:
    case 0xCA:
    case 0xCC:
    case 0xCD:
    case 0xD2:
    case 0xD4:
    case 0xDA:
    case 0xDC:
    case 0xE2:
    case 0xE4:
    case 0xEA:
    case 0xEC:
    case 0xF2:
    case 0xF4:
    case 0xFA:
    case 0xFC: target = ReadWord(mem, static_cast<uint16_t>(address + 1)); return true;
    default: break;
    }
    if ((op & 0xC7) == 0xC7) { // RST
        target = op & 0x38;
        return true;
    }
    return false;
}

} // namespace vespin
