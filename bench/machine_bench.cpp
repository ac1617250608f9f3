// Emulated frames per host second: the 48K ROM sitting in its idle loop (the copyright screen,
// waiting for a key), unsynchronised, with the screen drawn and the sound sampled every frame.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "core/frame.h"
#include "core/machine.h"
#include "core/reset.h"
#include "core/z80.h"
#include "media/rom_set.h"

namespace {

using namespace vespin;

void RunFrame(MachineState& m) {
    while (m.regs.T < m.frameLength)
        ExecuteInstruction(m);
    FrameEnd(m);
}

void BM_Idle48KFrames(benchmark::State& state) {
    const std::string rom = std::string(VESPIN_TESTDATA_DIR) + "/roms/48.rom";
    if (!std::filesystem::exists(rom)) {
        state.SkipWithError("missing roms/48.rom");
        return;
    }
    auto m = std::make_unique<MachineState>();
    RomSettings roms{rom, rom, rom};
    if (!LoadRomSet(m->memory, FileSearchDirs::FromProcess(), roms).empty()) {
        state.SkipWithError("cannot load roms/48.rom");
        return;
    }
    m->synchronisedSpeed = 0;
    m->resetKind = ResetKind::Mode48;
    ResetMachine(*m);
    for (int frame = 0; frame < 150; ++frame)
        RunFrame(*m); // boot to the idle loop

    for (auto _ : state)
        RunFrame(*m);
    state.SetItemsProcessed(state.iterations());
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Idle48KFrames)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
