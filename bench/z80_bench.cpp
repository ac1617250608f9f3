// Speed of the Z80 executor in emulated T-states per host second, on zexdoc's own inner loops
// (a realistic mix of every instruction group), next to libz80ex running the same program for
// the same number of T-states. Prints the ratio at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/machine.h"
#include "core/z80.h"

#ifdef VESPIN_HAVE_Z80EX
#include <z80ex/z80ex.h>
#endif

namespace {

constexpr uint32_t kFrames = 1400; // frames of 71680 T-states per iteration
constexpr int64_t kRunLength = int64_t{kFrames} * 71680;
constexpr uint16_t kLoadAddress = 0x0100;
constexpr uint16_t kTopOfMemory = 0xFE00;

std::vector<uint8_t> Zexdoc() {
    std::ifstream in(VESPIN_TESTDATA_DIR "/z80tests/zexdoc.com", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The CP/M image: the program at 0x0100, RET at the BDOS entry, the top of memory at 0x0006
// and a handler at 0x0038 that re-enables interrupts and returns.
std::vector<uint8_t> CpmImage() {
    std::vector<uint8_t> ram(65536, 0);
    const std::vector<uint8_t> program = Zexdoc();
    std::copy(program.begin(), program.end(), ram.begin() + kLoadAddress);
    ram[0x0005] = 0xC9;
    ram[0x0006] = kTopOfMemory & 0xFF;
    ram[0x0007] = kTopOfMemory >> 8;
    ram[0x0038] = 0xFB;
    ram[0x0039] = 0xC9;
    return ram;
}

std::unique_ptr<vespin::MachineState> CpmMachine(const std::vector<uint8_t>& image) {
    auto m = std::make_unique<vespin::MachineState>();
    m->memory.model = vespin::MemoryModel::Scorpion256;
    m->memory.trdosEnabled = false;
    vespin::WritePort1FFD(m->memory, 0x01); // RAM bank 0 at 0x0000
    vespin::WritePort7FFD(m->memory, 0x01); // RAM bank 1 at 0xC000
    for (size_t a = 0; a < image.size(); ++a)
        vespin::WriteByte(*m, static_cast<uint16_t>(a), image[a]);
    m->regs.PC = kLoadAddress;
    return m;
}

// wholeMachine = false: the executor alone. T is wrapped here before it reaches the frame
// length, so the frame end never runs and the screen, idle after the first frame's paper, costs
// one comparison per instruction, as in libz80ex, which draws nothing.
// wholeMachine = true: frame ends with the screen drawn, the sound frame submitted and so on.
void RunZexdoc(benchmark::State& state, bool wholeMachine) {
    const std::vector<uint8_t> image = CpmImage();
    if (image[kLoadAddress] == 0) {
        state.SkipWithError("zexdoc.com not found");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto m = CpmMachine(image);
        state.ResumeTiming();
        if (wholeMachine) {
            while (m->frameCounter.load(std::memory_order_relaxed) < kFrames)
                vespin::ExecuteInstruction(*m);
        } else {
            for (uint32_t frames = 0; frames < kFrames;) {
                vespin::ExecuteInstruction(*m);
                if (m->regs.T >= m->frameLength) {
                    m->regs.T -= m->frameLength;
                    ++frames;
                }
            }
        }
    }
    state.counters["T/s"] = benchmark::Counter(static_cast<double>(kRunLength),
                                               benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Vespin(benchmark::State& state) {
    RunZexdoc(state, false);
}
BENCHMARK(BM_Vespin)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_VespinWholeMachine(benchmark::State& state) {
    RunZexdoc(state, true);
}
BENCHMARK(BM_VespinWholeMachine)->Unit(benchmark::kMillisecond)->MinTime(2.0);

#ifdef VESPIN_HAVE_Z80EX
struct Z80exBoard {
    std::vector<uint8_t> ram = CpmImage();
};
Z80EX_BYTE ReadMemory(Z80EX_CONTEXT*, Z80EX_WORD a, int, void* board) {
    return static_cast<Z80exBoard*>(board)->ram[a];
}
void WriteMemory(Z80EX_CONTEXT*, Z80EX_WORD a, Z80EX_BYTE v, void* board) {
    static_cast<Z80exBoard*>(board)->ram[a] = v;
}
Z80EX_BYTE ReadPort(Z80EX_CONTEXT*, Z80EX_WORD, void*) {
    return 0xFF;
}
void WritePort(Z80EX_CONTEXT*, Z80EX_WORD, Z80EX_BYTE, void*) {}
Z80EX_BYTE ReadIntVector(Z80EX_CONTEXT*, void*) {
    return 0xFF;
}

void BM_Z80ex(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Z80exBoard board;
        Z80EX_CONTEXT* cpu = z80ex_create(ReadMemory, &board, WriteMemory, &board, ReadPort,
                                          nullptr, WritePort, nullptr, ReadIntVector, nullptr);
        z80ex_set_reg(cpu, regPC, kLoadAddress);
        state.ResumeTiming();
        int64_t done = 0;
        while (done < kRunLength)
            done += z80ex_step(cpu);
        state.PauseTiming();
        z80ex_destroy(cpu);
        state.ResumeTiming();
    }
    state.counters["T/s"] = benchmark::Counter(static_cast<double>(kRunLength),
                                               benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_Z80ex)->Unit(benchmark::kMillisecond)->MinTime(2.0);
#endif

// Keeps each benchmark's T-state rate so that the ratio can be printed after the table.
class RateReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> rates;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const auto it = run.counters.find("T/s");
            if (it != run.counters.end()) rates[run.benchmark_name()] = it->second.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto ours = reporter.rates.find("BM_Vespin/min_time:2.000");
    const auto peer = reporter.rates.find("BM_Z80ex/min_time:2.000");
    if (ours != reporter.rates.end() && peer != reporter.rates.end() && peer->second > 0) {
        std::printf("Vespin %.0f MT/s, libz80ex %.0f MT/s, ratio %.2fx\n", ours->second / 1e6,
                    peer->second / 1e6, ours->second / peer->second);
    }
    benchmark::Shutdown();
    return 0;
}
