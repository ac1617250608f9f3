// zexdoc and zexall, the CP/M instruction exercisers, run on the executor with a minimal CP/M:
// the program at 0x0100, the BDOS entry at 0x0005 trapped for its two print calls and answered
// by a RET placed there, the top of the TPA in the word at 0x0006, and a jump to 0x0000 as the
// end. Each exerciser prints one line per instruction group ending in "OK" or "ERROR".
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/machine.h"
#include "core/z80.h"
#include "support/testdata.h"

namespace vespin {
namespace {

constexpr uint16_t kLoadAddress = 0x0100;
constexpr uint16_t kBdos = 0x0005;
constexpr uint16_t kTopOfMemory = 0xFE00;

// 64 KB of RAM: the Scorpion's 0x1FFD bit 0 maps RAM bank 0, writable, at 0x0000.
void MapFlatRam(MachineState& m) {
    m.memory.model = MemoryModel::Scorpion256;
    m.memory.trdosEnabled = false;
    WritePort1FFD(m.memory, 0x01);
    WritePort7FFD(m.memory, 0x01); // bank 1 at 0xC000, so that no bank shows twice
}

// Runs a CP/M program to its jump to 0x0000 and returns what it printed.
std::string RunCpmProgram(const std::vector<uint8_t>& program) {
    MachineState m;
    MapFlatRam(m);
    for (size_t i = 0; i < program.size(); ++i)
        WriteByte(m, static_cast<uint16_t>(kLoadAddress + i), program[i]);
    WriteByte(m, kBdos, 0xC9); // RET
    // The exercisers enable interrupts between tests; the frame interrupt (IM 0, RST 38) finds
    // a handler that only returns.
    WriteByte(m, 0x0038, 0xFB); // EI
    WriteByte(m, 0x0039, 0xC9); // RET
    WriteWord(m, 0x0006, kTopOfMemory);
    m.regs.PC = kLoadAddress;
    m.regs.SP = kTopOfMemory;

    std::string out;
    Z80RegisterSet& r = m.regs;
    for (;;) {
        if (r.PC == 0x0000) break;
        if (r.PC == kBdos) {
            if (r.C == 2) out += static_cast<char>(r.E);
            if (r.C == 9) {
                for (uint16_t a = r.DE(); ReadByte(m, a) != '$'; ++a)
                    out += static_cast<char>(ReadByte(m, a));
            }
        }
        ExecuteInstruction(m);
        // A CP/M machine has no screen or sound: the frame is wrapped here, before the frame
        // end would draw and submit them, which keeps the 46 billion T-states of a run quick.
        // The interrupt at each frame start still comes.
        if (r.T >= m.frameLength) r.T -= m.frameLength;
    }
    return out;
}

struct Results {
    std::vector<std::string> passed;
    std::vector<std::string> failed;
};

// Splits the output into result lines; the name is the text before the run of dots.
Results ParseResults(const std::string& out) {
    Results results;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line, '\n')) {
        // CP/M ends lines with LF CR: the CR opens the next line.
        const auto first = line.find_first_not_of('\r');
        line.erase(0, first == std::string::npos ? line.size() : first);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        const auto dots = line.find("..");
        const std::string name = line.substr(0, dots);
        if (line.ends_with("OK")) results.passed.push_back(name);
        if (line.find("ERROR") != std::string::npos) results.failed.push_back(name);
    }
    return results;
}

std::vector<uint8_t> LoadProgram(const char* name) {
    return test::ReadTestFile(test::TestDataPath(std::string("z80tests/") + name));
}

// Both exercisers have 67 groups.
constexpr size_t kGroups = 67;

TEST(Zex, ZexdocPassesEveryGroup) {
    const auto path = test::TestDataPath("z80tests/zexdoc.com");
    VESPIN_REQUIRE_TESTDATA(path);
    const std::string out = RunCpmProgram(LoadProgram("zexdoc.com"));
    const Results results = ParseResults(out);
    EXPECT_EQ(results.passed.size(), kGroups) << out;
    EXPECT_TRUE(results.failed.empty()) << out;
}

// zexall also checks bits 3 and 5 of F. Groups where this executor deliberately differs from
// the chip, with the rule that makes the difference.
const std::map<std::string, std::string> kZexallDifferences = {
    {"bit n,<b,c,d,e,h,l,(hl),a>",
     "BIT n,(HL) copies bits 3 and 5 from the byte read; the chip takes them from its internal "
     "address latch (MEMPTR), which is not emulated"},
};

TEST(Zex, ZexallPassesEveryGroupButTheListed) {
    const auto path = test::TestDataPath("z80tests/zexall.com");
    VESPIN_REQUIRE_TESTDATA(path);
    const std::string out = RunCpmProgram(LoadProgram("zexall.com"));
    const Results results = ParseResults(out);
    EXPECT_EQ(results.passed.size(), kGroups - kZexallDifferences.size()) << out;
    std::vector<std::string> unexpected;
    for (const std::string& name : results.failed)
        if (!kZexallDifferences.contains(name)) unexpected.push_back(name);
    EXPECT_TRUE(unexpected.empty()) << out;
    EXPECT_EQ(results.failed.size(), kZexallDifferences.size()) << out;
}

} // namespace
} // namespace vespin
