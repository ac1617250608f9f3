// Cost of the keyboard on the emulation thread: an IN from the keyboard port (done by the ROM's
// key scan eight times per frame, and by games in tight loops), and the matrix update the key
// thread makes per key event, during which it holds the writer lock. The port read itself takes
// no lock.
#include <benchmark/benchmark.h>

#include <array>
#include <memory>

#include "core/machine.h"
#include "core/ports.h"
#include "input/key_matrix.h"

namespace {

constexpr std::array<uint16_t, 9> kPorts = {0xFEFE, 0xFDFE, 0xFBFE, 0xF7FE, 0xEFFE,
                                            0xDFFE, 0xBFFE, 0x7FFE, 0x00FE};

void BM_KeyboardPortRead(benchmark::State& state) {
    auto m = std::make_unique<vespin::MachineState>();
    for (int key : {0, 10, 11})
        vespin::PressKey(m->keys, key); // 1, Q, W: a ghosted pair
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(vespin::PortIn(*m, kPorts[i]));
        i = i + 1 == kPorts.size() ? 0 : i + 1;
    }
}
BENCHMARK(BM_KeyboardPortRead);

void BM_KeyPressAndReleaseWithGhosting(benchmark::State& state) {
    vespin::TKeyMatrix matrix;
    for (int key : {0, 10})
        vespin::PressKey(matrix, key);
    for (auto _ : state) {
        vespin::PressKey(matrix, 11);
        vespin::ReleaseKey(matrix, 11);
    }
    benchmark::DoNotOptimize(matrix.effective.load());
}
BENCHMARK(BM_KeyPressAndReleaseWithGhosting);

} // namespace

BENCHMARK_MAIN();
