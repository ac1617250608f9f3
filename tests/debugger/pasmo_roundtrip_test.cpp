// Independent check of the disassembler: the whole 48K ROM is disassembled linearly from #0000
// in decimal mode, the text is translated into the assembler's spelling and assembled again by
// pasmo, and every instruction's bytes are compared with the ROM.
//
// There is no separation of code and data: every line is checked, data included, which is
// stricter. A line whose bytes differ is accepted only when it is another encoding of the same
// instruction (redundant index prefixes, #ED duplicates of NEG/RETN/IM, #ED #63 for LD (nn),HL,
// the one-byte NOP of a prefix before a prefix): the assembler's bytes must then disassemble to
// the same text. Forms pasmo cannot write (IN (C), OUT (C),0, the indexed bit operations that
// also copy to a register) are kept as DEFB and covered by the table tests.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "debugger/disassembler.h"
#include "support/testdata.h"

namespace vespin {
namespace {

namespace fs = std::filesystem;

struct Line {
    uint16_t address;
    int length;
    std::string mnemonic;
};

// The assembler's spelling of the debugger's mnemonics.
std::string ToPasmo(std::string text) {
    struct Rename {
        std::string from, to;
    };
    static const Rename kWhole[] = {
        {"JP HL", "JP (HL)"}, {"JP IX", "JP (IX)"}, {"JP IY", "JP (IY)"}};
    for (const Rename& r : kWhole) {
        if (text == r.from) return r.to;
    }
    if (text.rfind("SLI ", 0) == 0) text.replace(0, 3, "SLL");
    if (text.rfind("RST ", 0) == 0) return text + "h"; // restart numbers are hexadecimal
    if (text.rfind("SBC ", 0) == 0 && text.find(',') == std::string::npos) {
        text.insert(4, "A,"); // "SBC r" is "SBC A,r"
    }
    static const Rename kHalves[] = {{"XH", "IXH"}, {"XL", "IXL"}, {"YH", "IYH"}, {"YL", "IYL"}};
    for (const Rename& r : kHalves) {
        for (size_t p = text.find(r.from); p != std::string::npos; p = text.find(r.from, p + 2)) {
            const bool tokenStart = p == 0 || text[p - 1] == ' ' || text[p - 1] == ',';
            if (!tokenStart) continue;
            text.replace(p, 2, r.to);
            ++p;
        }
    }
    return text;
}

bool PasmoCannotWrite(const Memory& mem, const Line& line) {
    if (line.mnemonic == "IN (C)" || line.mnemonic == "OUT (C),0") return true;
    const uint8_t b0 = ReadByte(mem, line.address);
    const uint8_t b1 = ReadByte(mem, static_cast<uint16_t>(line.address + 1));
    const uint8_t b3 = ReadByte(mem, static_cast<uint16_t>(line.address + 3));
    return (b0 == 0xDD || b0 == 0xFD) && b1 == 0xCB && (b3 & 7) != 6;
}

std::string DefineBytes(const Memory& mem, const Line& line) {
    std::string s = "DEFB ";
    for (int i = 0; i < line.length; ++i) {
        if (i) s += ",";
        s += std::to_string(ReadByte(mem, static_cast<uint16_t>(line.address + i)));
    }
    return s;
}

std::vector<uint8_t> Assemble(const fs::path& dir, const std::string& source) {
    const fs::path asmFile = dir / "rom.asm";
    const fs::path binFile = dir / "rom.bin";
    fs::remove(binFile);
    std::ofstream(asmFile) << source;
    const std::string command =
        "pasmo --bin '" + asmFile.string() + "' '" + binFile.string() + "' > /dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return {};
    return test::ReadTestFile(binFile);
}

TEST(DisassemblerPasmo, RomReassemblesToItsBytes) {
    const fs::path romPath = test::TestDataPath("roms/48.rom");
    VESPIN_REQUIRE_TESTDATA(romPath);
    if (std::system("command -v pasmo > /dev/null 2>&1") != 0) {
        if (test::RunningOnCi()) FAIL() << "pasmo is not installed";
        GTEST_SKIP() << "pasmo is not installed";
    }
    const std::vector<uint8_t> rom = test::ReadTestFile(romPath);
    ASSERT_EQ(rom.size(), kPageSize);
    Memory mem;
    std::copy(rom.begin(), rom.end(), mem.Rom(RomSlot::Basic48));
    mem.paging.Low = LowSource::Basic48;
    MapWindows(mem);

    std::vector<Line> lines;
    std::ostringstream source;
    int kept = 0;
    for (uint32_t a = 0; a < kPageSize;) {
        Line line{static_cast<uint16_t>(a), InstructionLength(mem, static_cast<uint16_t>(a)),
                  DisassembleMnemonic(mem, static_cast<uint16_t>(a), true)};
        source << " ORG " << a << "\n ";
        if (PasmoCannotWrite(mem, line)) {
            source << DefineBytes(mem, line) << "\n";
            ++kept;
        } else {
            source << ToPasmo(line.mnemonic) << "\n";
        }
        a += static_cast<uint32_t>(line.length);
        lines.push_back(line);
    }
    const fs::path dir = fs::temp_directory_path() / ("vespin_pasmo_" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::vector<uint8_t> assembled = Assemble(dir, source.str());
    ASSERT_GE(assembled.size(), kPageSize) << "pasmo failed on " << dir / "rom.asm";

    int exact = 0;
    int aliases = 0;
    for (const Line& line : lines) {
        bool same = true;
        for (int i = 0; i < line.length && same; ++i) {
            same = assembled[line.address + static_cast<size_t>(i)] == rom[line.address + i];
        }
        if (same) {
            ++exact;
            continue;
        }
        // Another encoding: assemble the line alone and disassemble what pasmo wrote.
        const std::vector<uint8_t> alone = Assemble(dir, " ORG " + std::to_string(line.address) +
                                                             "\n " + ToPasmo(line.mnemonic) + "\n");
        Memory other;
        std::copy(alone.begin(), alone.end(), other.Rom(RomSlot::Basic48) + line.address);
        other.paging.Low = LowSource::Basic48;
        MapWindows(other);
        ++aliases;
        EXPECT_EQ(DisassembleMnemonic(other, line.address, true), line.mnemonic)
            << "at " << line.address << " pasmo wrote other bytes for " << line.mnemonic;
    }
    fs::remove_all(dir);
    std::cout << lines.size() << " lines: " << exact << " reassembled exactly, " << aliases
              << " other encodings, " << kept << " kept as bytes\n";
    EXPECT_EQ(exact + aliases, static_cast<int>(lines.size()));
}

} // namespace
} // namespace vespin
