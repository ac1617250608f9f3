// The FUSE core test vectors run on the executor: each case sets registers and memory, runs
// whole instructions until its T-state count is reached, and compares registers, I, R, the
// interrupt flip-flops, IM, the halted state, the T-states taken and the memory it changed.
// MEMPTR and the bus-event lines are not compared: there is no MEMPTR here and no contention.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/machine.h"
#include "core/z80.h"
#include "support/testdata.h"

namespace vespin {
namespace {

struct MemoryBlock {
    uint16_t address = 0;
    std::vector<uint8_t> bytes;
};

struct CpuState {
    // AF BC DE HL AF' BC' DE' HL' IX IY SP PC (MEMPTR is read and dropped).
    std::array<uint16_t, 12> words{};
    unsigned i = 0, r = 0, iff1 = 0, iff2 = 0, im = 0, halted = 0;
    int tstates = 0;
    std::vector<MemoryBlock> memory;
};

// Memory lines "addr byte byte ... -1"; a line that is "-1" alone (input) or blank (expected)
// ends the record.
std::vector<MemoryBlock> ReadMemoryBlocks(std::istream& in) {
    std::vector<MemoryBlock> blocks;
    std::string line;
    while (std::getline(in, line) && !line.empty() && line != "-1") {
        std::istringstream fields(line);
        std::string token;
        MemoryBlock block;
        fields >> token;
        block.address = static_cast<uint16_t>(std::stoul(token, nullptr, 16));
        while (fields >> token && token != "-1")
            block.bytes.push_back(static_cast<uint8_t>(std::stoul(token, nullptr, 16)));
        blocks.push_back(block);
    }
    return blocks;
}

void ReadRegisterLines(std::istream& in, const std::string& first, CpuState& s) {
    std::istringstream words(first);
    std::string token;
    for (uint16_t& w : s.words) {
        words >> token;
        w = static_cast<uint16_t>(std::stoul(token, nullptr, 16));
    }
    std::string line;
    std::getline(in, line);
    std::istringstream state(line);
    state >> std::hex >> s.i >> s.r >> std::dec >> s.iff1 >> s.iff2 >> s.im >> s.halted >>
        s.tstates;
}

std::map<std::string, CpuState> ReadInputs(std::istream& in) {
    std::map<std::string, CpuState> cases;
    std::string name, line;
    while (std::getline(in, name)) {
        if (name.empty()) continue;
        CpuState s;
        std::getline(in, line);
        ReadRegisterLines(in, line, s);
        s.memory = ReadMemoryBlocks(in);
        cases[name] = s;
    }
    return cases;
}

// Bus-event lines start with blanks; the register line follows them.
std::map<std::string, CpuState> ReadExpected(std::istream& in) {
    std::map<std::string, CpuState> cases;
    std::string name, line;
    while (std::getline(in, name)) {
        if (name.empty()) continue;
        CpuState s;
        while (std::getline(in, line) && !line.empty() && line[0] == ' ') {
        }
        ReadRegisterLines(in, line, s);
        s.memory = ReadMemoryBlocks(in);
        cases[name] = s;
    }
    return cases;
}

// Case start T: past the 24 T-states in which a frame's interrupt is accepted.
constexpr int32_t kStartT = 1000;

void MapFlatRam(MachineState& m) {
    WritePort1FFD(m.memory, 0x01); // RAM bank 0 at 0x0000
    WritePort7FFD(m.memory, 0x01); // RAM bank 1 at 0xC000
}

// Runs one case; returns a description of every difference (empty when it passes).
std::string RunCase(const CpuState& in, const CpuState& expected) {
    MachineState m;
    m.memory.model = MemoryModel::Scorpion256;
    m.memory.trdosEnabled = false;
    MapFlatRam(m);
    for (const MemoryBlock& b : in.memory)
        for (size_t k = 0; k < b.bytes.size(); ++k)
            WriteByte(m, static_cast<uint16_t>(b.address + k), b.bytes[k]);

    Z80RegisterSet& r = m.regs;
    r.SetAF(in.words[0]), r.SetBC(in.words[1]), r.SetDE(in.words[2]), r.SetHL(in.words[3]);
    r.AF_ = in.words[4], r.BC_ = in.words[5], r.DE_ = in.words[6], r.HL_ = in.words[7];
    r.IX = in.words[8], r.IY = in.words[9], r.SP = in.words[10], r.PC = in.words[11];
    r.I = static_cast<uint8_t>(in.i);
    r.SetR(static_cast<uint8_t>(in.r));
    r.IFF1 = static_cast<uint8_t>(in.iff1), r.IFF2 = static_cast<uint8_t>(in.iff2);
    r.IM = static_cast<uint8_t>(in.im);
    r.T = kStartT;

    unsigned halted = in.halted;
    while (r.T - kStartT < in.tstates) {
        const uint16_t pc = r.PC;
        ExecuteInstruction(m);
        halted = r.PC == pc && ReadByte(m, pc) == 0x76;
        // An OUT that happened to hit a paging port must not unmap the flat RAM.
        if (m.memory.paging.ExtendedLatch != 0x01 || m.memory.paging.PagingLatch != 0x01)
            MapFlatRam(m);
    }

    std::ostringstream diff;
    const std::array<uint16_t, 12> got = {r.AF(), r.BC(), r.DE(), r.HL(), r.AF_, r.BC_,
                                          r.DE_,  r.HL_,  r.IX,   r.IY,   r.SP,  r.PC};
    static constexpr const char* kNames[12] = {"AF",  "BC",  "DE", "HL", "AF'", "BC'",
                                               "DE'", "HL'", "IX", "IY", "SP",  "PC"};
    diff << std::hex;
    for (size_t k = 0; k < got.size(); ++k)
        if (got[k] != expected.words[k])
            diff << kNames[k] << " " << got[k] << " expected " << expected.words[k] << "; ";
    const std::array<std::pair<unsigned, unsigned>, 7> state = {{
        {r.I, expected.i},
        {r.VisibleR(), expected.r},
        {r.IFF1, expected.iff1},
        {r.IFF2, expected.iff2},
        {r.IM, expected.im},
        {halted, expected.halted},
        {static_cast<unsigned>(r.T - kStartT), static_cast<unsigned>(expected.tstates)},
    }};
    static constexpr const char* kStateNames[7] = {"I", "R", "IFF1", "IFF2", "IM", "halted", "T"};
    for (size_t k = 0; k < state.size(); ++k)
        if (state[k].first != state[k].second)
            diff << kStateNames[k] << " " << state[k].first << " expected " << state[k].second
                 << "; ";
    for (const MemoryBlock& b : expected.memory)
        for (size_t k = 0; k < b.bytes.size(); ++k) {
            const auto a = static_cast<uint16_t>(b.address + k);
            if (ReadByte(m, a) != b.bytes[k])
                diff << "(" << a << ") " << unsigned{ReadByte(m, a)} << " expected "
                     << unsigned{b.bytes[k]} << "; ";
        }
    return diff.str();
}

// Cases where this executor deliberately differs from the chip the vectors were taken from.
// Each reason names the rule of this executor that gives the different result.
const std::map<std::string, const char*>& KnownDifferences() {
    static constexpr const char* kScfCcf =
        "SCF and CCF copy bits 3 and 5 from A alone, not from A OR the previous flags";
    static constexpr const char* kBitHl =
        "BIT n,(HL) copies bits 3 and 5 from the byte read, there is no MEMPTR";
    static constexpr const char* kPortValue =
        "IN reads the machine's port map (0xFF or a device), not the high byte of the port "
        "that the vectors' bus answers";
    static constexpr const char* kBlockInput =
        "block input reads the port map, and sets only N and Z (from B) keeping the other flags";
    static constexpr const char* kBlockOutput =
        "block output sets only N and Z (from B) keeping the other flags";
    static const std::map<std::string, const char*> known = [] {
        std::map<std::string, const char*> k;
        for (const char* name : {"37_1", "3f"})
            k[name] = kScfCcf;
        for (const char* name :
             {"cb46_2", "cb46_3", "cb46_4", "cb46_5", "cb4e", "cb5e", "cb6e", "cb76"})
            k[name] = kBitHl;
        for (const char* name : {"db", "db_1", "db_2", "db_3", "ed40", "ed48", "ed50", "ed58",
                                 "ed60", "ed68", "ed70", "ed78"})
            k[name] = kPortValue;
        for (const char* name : {"eda2", "eda2_01", "eda2_02", "eda2_03", "edaa", "edaa_01",
                                 "edaa_02", "edaa_03", "edb2", "edb2_1", "edba", "edba_1"})
            k[name] = kBlockInput;
        for (const char* name : {"eda3", "eda3_01", "eda3_02", "eda3_03", "eda3_04", "eda3_05",
                                 "eda3_06", "eda3_07", "eda3_08", "eda3_09", "eda3_10", "eda3_11",
                                 "edab", "edab_01", "edab_02", "edb3", "edb3_1", "edbb", "edbb_1"})
            k[name] = kBlockOutput;
        return k;
    }();
    return known;
}

TEST(Fuse, CoreVectors) {
    const auto inPath = test::TestDataPath("z80tests/tests.in");
    const auto expectedPath = test::TestDataPath("z80tests/tests.expected");
    VESPIN_REQUIRE_TESTDATA(inPath);
    VESPIN_REQUIRE_TESTDATA(expectedPath);
    std::ifstream inFile(inPath), expectedFile(expectedPath);
    const auto inputs = ReadInputs(inFile);
    const auto expected = ReadExpected(expectedFile);
    ASSERT_GT(inputs.size(), 1000u);
    ASSERT_EQ(inputs.size(), expected.size());

    const auto& known = KnownDifferences();
    for (const auto& [name, in] : inputs) {
        const auto want = expected.find(name);
        ASSERT_NE(want, expected.end()) << name;
        const std::string diff = RunCase(in, want->second);
        if (known.contains(name)) {
            EXPECT_FALSE(diff.empty()) << name << " is listed as a known difference but passes";
        } else {
            EXPECT_TRUE(diff.empty()) << name << ": " << diff;
        }
    }
}

} // namespace
} // namespace vespin
