// Speed of the disassembler on the 48K ROM: whole lines as the code panel and vespin-run show
// them, and instruction lengths as the disassembler window's row rebuild uses them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/memory.h"
#include "debugger/disassembler.h"

namespace {

void LoadRom(vespin::Memory& mem) {
    std::ifstream in(VESPIN_TESTDATA_DIR "/roms/48.rom", std::ios::binary);
    const std::vector<uint8_t> rom{std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>()};
    std::copy_n(rom.begin(), std::min(rom.size(), vespin::kPageSize),
                mem.Rom(vespin::RomSlot::Basic48));
    mem.paging.Low = vespin::LowSource::Basic48;
    vespin::MapWindows(mem);
}

void BM_DisassembleRomLines(benchmark::State& state) {
    vespin::Memory mem;
    LoadRom(mem);
    int64_t lines = 0;
    for (auto _ : state) {
        for (uint16_t address = 0; address < 0x4000; ++lines) {
            benchmark::DoNotOptimize(vespin::DisassembleLine(mem, address, false));
        }
    }
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DisassembleRomLines);

void BM_InstructionLengths(benchmark::State& state) {
    vespin::Memory mem;
    LoadRom(mem);
    int64_t count = 0;
    for (auto _ : state) {
        for (uint32_t address = 0; address < 0x4000; ++count) {
            address += static_cast<uint32_t>(
                vespin::InstructionLength(mem, static_cast<uint16_t>(address)));
        }
        benchmark::ClobberMemory();
    }
    state.counters["instructions/s"] =
        benchmark::Counter(static_cast<double>(count), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_InstructionLengths);

} // namespace

BENCHMARK_MAIN();
