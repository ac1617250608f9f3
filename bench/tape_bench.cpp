// Cost of the tape player on the per-instruction path: TapeTick after every instruction while a
// long standard-speed data block plays (mostly the test against the T-states left, an edge
// every 855 or 1710 T-states).
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "core/machine.h"
#include "media/tape_player.h"

namespace {

std::unique_ptr<vespin::MachineState> MachineWithLongBlock() {
    auto m = std::make_unique<vespin::MachineState>();
    std::vector<uint8_t> tap = {0x02, 0xC0, 0xFF};
    for (int i = 0; i < 0xC000; ++i)
        tap.push_back(uint8_t(i * 37));
    tap.push_back(0x00);
    vespin::DescribedTape t;
    vespin::ParseTapeImage(vespin::TapeKind::Tap, tap, vespin::BlockInfoMode::Hexadecimal, t);
    m->tape.image = std::move(t.image);
    return m;
}

void BM_TapeTickWhilePlaying(benchmark::State& state) {
    auto m = MachineWithLongBlock();
    vespin::TapePlay(*m);
    for (auto _ : state) {
        m->regs.T += 11; // an average instruction
        if (m->regs.T >= m->frameLength) m->regs.T -= m->frameLength;
        if (!m->tape.playing) vespin::TapePlay(*m);
        vespin::TapeTick(*m, m->regs.T);
        benchmark::DoNotOptimize(m->tape.earByte);
    }
}
BENCHMARK(BM_TapeTickWhilePlaying);

} // namespace

BENCHMARK_MAIN();
