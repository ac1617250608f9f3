#include "debugger/disassembler.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace vespin {
namespace {

void Poke(Memory& mem, uint16_t address, std::initializer_list<uint8_t> bytes) {
    for (uint8_t b : bytes)
        *ByteAddress(mem, address++) = b;
}

// A line as the decoder lays it out: at least 32 columns.
std::string Line(std::string text) {
    if (text.size() < kLineWidth) text.resize(kLineWidth, ' ');
    return text;
}

struct MnemonicCase {
    std::initializer_list<uint8_t> bytes;
    const char* mnemonic;
    int length;
};

// The program's own spellings, prefixes and undocumented forms, in hexadecimal mode.
TEST(Disassembler, Mnemonics) {
    const MnemonicCase cases[] = {
        {{0x00}, "NOP", 1},
        {{0x01, 0x34, 0x12}, "LD BC,1234", 3},
        {{0x08}, "EX AF,AF'", 1},
        {{0x76}, "HALT", 1},
        {{0x96}, "SUB (HL)", 1},
        {{0x9A}, "SBC D", 1},
        {{0xDE, 0x05}, "SBC A,05", 2},
        {{0xD3, 0xFE}, "OUT (FE),A", 2},
        {{0xDB, 0xFE}, "IN A,(FE)", 2},
        {{0xCF}, "RST 08", 1},
        {{0xE9}, "JP HL", 1},
        {{0xCB, 0x30}, "SLI B", 2},
        {{0xCB, 0x46}, "BIT 0,(HL)", 2},
        {{0xCB, 0xFF}, "SET 7,A", 2},
        {{0xED, 0x70}, "IN (C)", 2},
        {{0xED, 0x71}, "OUT (C),0", 2},
        {{0xED, 0x77}, "NOP", 2},
        {{0xED, 0x7F}, "NOP", 2},
        {{0xED, 0x00}, "NOP", 2},
        {{0xED, 0xA4}, "NOP", 2},
        {{0xED, 0xB0}, "LDIR", 2},
        {{0xED, 0xA3}, "OUTI", 2},
        {{0xED, 0xBB}, "OTDR", 2},
        {{0xED, 0x43, 0x34, 0x12}, "LD (1234),BC", 4},
        {{0xED, 0x7B, 0x34, 0x12}, "LD SP,(1234)", 4},
        {{0xDD, 0xE9}, "JP IX", 2},
        {{0xFD, 0xE9}, "JP IY", 2},
        {{0xDD, 0x46, 0xFE}, "LD B,(IX-02)", 3},
        {{0xDD, 0x86, 0x80}, "ADD A,(IX-80)", 3},
        {{0xDD, 0x44}, "LD B,XH", 2},
        {{0xFD, 0x6C}, "LD YL,YH", 2},
        {{0xDD, 0x66, 0x05}, "LD H,(IX+05)", 3},
        {{0xDD, 0x74, 0x05}, "LD (IX+05),H", 3},
        {{0xDD, 0x76}, "HALT", 2},
        {{0xDD, 0x36, 0x05, 0xAA}, "LD (IX+05),AA", 4},
        {{0xDD, 0x34, 0x7F}, "INC (IX+7F)", 3},
        {{0xDD, 0x21, 0x34, 0x12}, "LD IX,1234", 4},
        {{0xFD, 0x22, 0x34, 0x12}, "LD (1234),IY", 4},
        {{0xDD, 0x29}, "ADD IX,IX", 2},
        {{0xDD, 0x24}, "INC XH", 2},
        {{0xDD, 0xE1}, "POP IX", 2},
        {{0xDD, 0xE3}, "EX (SP),IX", 2},
        {{0xFD, 0xF9}, "LD SP,IY", 2},
        {{0xDD, 0xEB}, "EX DE,HL", 2},
        {{0xDD, 0x00}, "NOP", 2},
        {{0xDD, 0xCD, 0x34, 0x12}, "CALL 1234", 4},
        {{0xDD, 0xCB, 0x05, 0x06}, "RLC (IX+05)", 4},
        {{0xDD, 0xCB, 0x05, 0x00}, "RLC B,(IX+05)", 4},
        {{0xFD, 0xCB, 0xFF, 0xC7}, "SET 0,A,(IY-01)", 4},
        {{0xFD, 0xCB, 0x02, 0x76}, "BIT 6,(IY+02)", 4},
        // A prefix before a prefix is a one-byte NOP; the next line starts at the second one.
        {{0xDD, 0xDD, 0x21}, "NOP", 1},
        {{0xDD, 0xED, 0xB0}, "NOP", 1},
        {{0xFD, 0xDD, 0x21}, "NOP", 1},
    };
    Memory mem;
    for (const MnemonicCase& c : cases) {
        Poke(mem, 0x8000, c.bytes);
        SCOPED_TRACE(c.mnemonic);
        EXPECT_EQ(DisassembleMnemonic(mem, 0x8000, false), c.mnemonic);
        uint16_t address = 0x8000;
        DisassembleLine(mem, address, false);
        EXPECT_EQ(address, 0x8000 + c.length);
        EXPECT_EQ(InstructionLength(mem, 0x8000), c.length);
    }
}

TEST(Disassembler, LineLayout) {
    Memory mem;
    Poke(mem, 0x8000, {0xDD, 0xCB, 0x05, 0x06, 0xFD, 0xDD});
    uint16_t address = 0x8000;
    EXPECT_EQ(DisassembleLine(mem, address, false), Line("8000 DD CB 05 06 RLC (IX+05)"));
    // The second prefix is not shown among the bytes.
    EXPECT_EQ(DisassembleLine(mem, address, true), Line("8004 FD          NOP"));
    EXPECT_EQ(address, 0x8005);
}

TEST(Disassembler, DecimalMode) {
    Memory mem;
    Poke(mem, 0x8000, {0x01, 0x34, 0x12});
    Poke(mem, 0x8010, {0xDD, 0x86, 0x80});
    Poke(mem, 0x8020, {0xDD, 0xCB, 0x80, 0x40});
    Poke(mem, 0x8030, {0x3E, 0xFF});
    uint16_t address = 0x8000;
    EXPECT_EQ(DisassembleLine(mem, address, true), Line("8000 01 34 12    LD BC,04660"));
    EXPECT_EQ(DisassembleMnemonic(mem, 0x8010, true), "ADD A,(IX-128)");
    EXPECT_EQ(DisassembleMnemonic(mem, 0x8030, true), "LD A,255");
    // The longest mnemonic, 16 characters, is shown whole: the line grows past 32 columns.
    address = 0x8020;
    EXPECT_EQ(DisassembleLine(mem, address, true), Line("8020 DD CB 80 40 BIT 0,B,(IX-128)"));
}

TEST(Disassembler, RelativeJumpsWrap) {
    Memory mem;
    mem.paging.RomWritable = 1;
    WriteByte(mem, 0xFFFE, 0x18);
    WriteByte(mem, 0xFFFF, 0x7F);
    WriteByte(mem, 0x0000, 0x18);
    WriteByte(mem, 0x0001, 0xFE);
    WriteByte(mem, 0x0002, 0x10);
    WriteByte(mem, 0x0003, 0x80);
    EXPECT_EQ(DisassembleMnemonic(mem, 0xFFFE, false), "JR 007F");
    EXPECT_EQ(DisassembleMnemonic(mem, 0x0000, false), "JR 0000");
    EXPECT_EQ(DisassembleMnemonic(mem, 0x0002, false), "DJNZ FF84");
    // An instruction that runs over #FFFF reads on from #0000.
    uint16_t address = 0xFFFF;
    WriteByte(mem, 0xFFFF, 0xC3);
    EXPECT_EQ(DisassembleLine(mem, address, false), Line("FFFF C3 18 FE    JP FE18"));
    EXPECT_EQ(address, 0x0002);
}

// The decoder consumes exactly InstructionLength bytes for every first and second byte, with
// several following bytes, and for every displacement and operation of the indexed bit group.
TEST(Disassembler, DecoderAgreesWithLengthTable) {
    Memory mem;
    int mismatches = 0;
    for (int b1 = 0; b1 < 256; ++b1) {
        for (int b2 = 0; b2 < 256; ++b2) {
            for (uint8_t b3 : {0x00, 0x43, 0x80, 0xCB, 0xDD}) {
                Poke(mem, 0x9000, {uint8_t(b1), uint8_t(b2), b3, 0xED, 0xDD});
                uint16_t address = 0x9000;
                DisassembleLine(mem, address, false);
                if (address - 0x9000 != InstructionLength(mem, 0x9000) && ++mismatches < 10) {
                    ADD_FAILURE() << std::hex << b1 << " " << b2 << " " << int(b3);
                }
            }
        }
    }
    for (uint8_t prefix : {0xDD, 0xFD}) {
        for (int d = 0; d < 256; ++d) {
            for (int op = 0; op < 256; ++op) {
                Poke(mem, 0x9000, {prefix, 0xCB, uint8_t(d), uint8_t(op)});
                uint16_t address = 0x9000;
                const std::string line = DisassembleLine(mem, address, true);
                if (address != 0x9004 && ++mismatches < 10) ADD_FAILURE() << line;
                if (InstructionLength(mem, 0x9000) != 4 && ++mismatches < 10) ADD_FAILURE();
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(Disassembler, JumpTargets) {
    Memory mem;
    Poke(mem, 0x8000, {0x20, 0xFC, 0xCD, 0x34, 0x12, 0xFF, 0xC9, 0xC7});
    uint16_t target = 0;
    EXPECT_TRUE(JumpTarget(mem, 0x8000, 0x8002, target));
    EXPECT_EQ(target, 0x7FFE);
    EXPECT_TRUE(JumpTarget(mem, 0x8002, 0x8005, target));
    EXPECT_EQ(target, 0x1234);
    EXPECT_TRUE(JumpTarget(mem, 0x8005, 0x8006, target));
    EXPECT_EQ(target, 0x38);
    EXPECT_FALSE(JumpTarget(mem, 0x8006, 0x8007, target)); // RET
    EXPECT_TRUE(JumpTarget(mem, 0x8007, 0x8008, target));
    EXPECT_EQ(target, 0x00);
}

} // namespace
} // namespace vespin
