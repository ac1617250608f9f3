// Cost of the Beta 128 interface on a machine whose controller is idle: whole frames of the
// same program on a machine without the interface and on one with a disk in the drive, the
// head loaded and the disk turning. Two programs: the 128K editor waiting for a key (no DOS
// port accesses; only the frame-end step) and a loop that reads the VG93 track register
// (a catch-up on every access).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "core/frame.h"
#include "core/machine.h"
#include "core/reset.h"
#include "core/z80.h"
#include "media/rom_set.h"
#include "media/trd_image.h"

namespace {

enum class Program { Editor, PortPolling };

std::unique_ptr<vespin::MachineState> MakeMachine(bool withInterface, Program program) {
    auto m = std::make_unique<vespin::MachineState>();
    m->synchronisedSpeed = 0;
    const std::string rom = VESPIN_TESTDATA_DIR "/roms/Pentagon.Rom";
    if (!vespin::LoadRomSet(m->memory, {}, {rom + ":1", rom + ":0", rom + ":2"}).empty()) {
        return nullptr;
    }
    m->memory.trdosEnabled = withInterface;
    m->options.dosPortAccess = withInterface;
    m->resetKind = vespin::ResetKind::Mode128;
    vespin::ResetMachine(*m);
    if (withInterface) {
        vespin::TrdosImage image;
        vespin::WriteNewDiskTemplate(image);
        vespin::FormatTracks(image, m->beta.disk);
        vespin::WriteBetaSystemRegister(*m, 0x3C);
        vespin::WriteVg93Register(*m, vespin::Vg93Register::CommandStatus, 0xD0);
        vespin::WriteVg93Register(*m, vespin::Vg93Register::Data, 0);
        vespin::WriteVg93Register(*m, vespin::Vg93Register::CommandStatus, 0x18); // load the head
    }
    auto frame = [&] {
        while (m->regs.T < m->frameLength)
            vespin::ExecuteInstruction(*m);
        vespin::FrameEnd(*m);
    };
    for (int i = 0; i < 150; ++i)
        frame(); // the editor is up and the seek is over
    if (program == Program::PortPolling) {
        // 0x8000: LD BC,#003F / IN A,(C) / JR -4
        const uint8_t loop[] = {0x01, 0x3F, 0x00, 0xED, 0x78, 0x18, 0xFC};
        for (size_t i = 0; i < sizeof loop; ++i) {
            vespin::WriteByte(*m, static_cast<uint16_t>(0x8000 + i), loop[i]);
        }
        m->regs.PC = 0x8000;
        m->regs.IFF1 = m->regs.IFF2 = 0;
    }
    return m;
}

void BM_Frames(benchmark::State& state, bool withInterface, Program program) {
    auto m = MakeMachine(withInterface, program);
    if (!m) {
        state.SkipWithError("Pentagon.Rom not found");
        return;
    }
    for (auto _ : state) {
        while (m->regs.T < m->frameLength)
            vespin::ExecuteInstruction(*m);
        vespin::FrameEnd(*m);
    }
    if (withInterface && !m->beta.vg93.Running() && m->beta.vg93.motor) {
        state.SetLabel("controller idle, disk turning");
    } else if (withInterface) {
        state.SetLabel("controller idle");
    }
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK_CAPTURE(BM_Frames, EditorWithoutInterface, false, Program::Editor);
BENCHMARK_CAPTURE(BM_Frames, EditorIdleController, true, Program::Editor);
BENCHMARK_CAPTURE(BM_Frames, PollingWithoutInterface, false, Program::PortPolling);
BENCHMARK_CAPTURE(BM_Frames, PollingIdleController, true, Program::PortPolling);

} // namespace

BENCHMARK_MAIN();
