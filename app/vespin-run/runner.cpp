#include "runner.h"

#include <array>
#include <chrono>
#include <memory>

#include "core/frame.h"
#include "core/machine.h"
#include "core/reset.h"
#include "core/z80.h"

namespace vespin {

namespace {

std::string OpenFile(MachineState& m, const std::string& path) {
    const std::string extension = LowerExtension(path);
    for (const FileOpenerRow& row : FileOpenerRows()) {
        if (row.extension == extension) return row.open(m, path);
    }
    return "Cannot open \"" + path + "\": unknown file type";
}

// Without ROM options the default set must load, as in the desktop program. With them, each
// ROM given must load and a slot left to its default is filled when the default file exists,
// so that "--rom48 48.rom" alone runs a 48K machine from anywhere.
std::string LoadRoms(Memory& mem, const RunRequest& request) {
    const FileSearchDirs dirs = FileSearchDirs::FromProcess();
    if (request.romsGiven == 0) return LoadRomSet(mem, dirs, request.roms);
    const std::array<const std::string*, 3> settings{&request.roms.basic48, &request.roms.rom128,
                                                     &request.roms.trdos};
    for (size_t slot = 0; slot < settings.size(); ++slot) {
        std::string error = LoadRomImage(dirs, *settings[slot], mem.rom[slot]);
        if (!error.empty() && (request.romsGiven & (1u << slot))) return error;
    }
    return {};
}

// Runs exactly `frames` frames: instructions until T reaches the frame length, then the frame
// end, so the run stops at a frame boundary with no instruction of the next frame executed.
void RunFrames(MachineState& m, const RunRequest& request) {
    for (uint32_t frame = 0; frame < request.frames; ++frame) {
        for (const FrameHook& hook : request.frameHooks)
            hook(m, frame);
        while (m.regs.T < m.frameLength)
            ExecuteInstruction(m);
        FrameEnd(m);
    }
}

} // namespace

std::string RunMachine(const RunRequest& request, std::ostream& out) {
    auto machine = std::make_unique<MachineState>();
    MachineState& m = *machine;
    m.synchronisedSpeed = 0; // as fast as possible; without a timer every frame is presented

    if (std::string error = LoadRoms(m.memory, request); !error.empty()) return error;
    if (request.model >= 0) m.memory.model = static_cast<MemoryModel>(request.model);
    m.memory.trdosEnabled = request.trdos;
    m.resetKind = static_cast<ResetKind>(request.resetKind);
    ResetMachine(m);
    RedrawFrame(m);

    if (!request.file.empty()) {
        if (std::string error = OpenFile(m, request.file); !error.empty()) return error;
    }

    const auto start = std::chrono::steady_clock::now();
    RunFrames(m, request);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

    RunResult result{m, out, request.frames, elapsed.count()};
    for (const OutputStep& step : request.outputs) {
        if (std::string error = step(result); !error.empty()) return error;
    }
    return {};
}

} // namespace vespin
