#include "runner.h"

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

    if (std::string error = LoadRomSet(m.memory, FileSearchDirs::FromProcess(), request.roms);
        !error.empty()) {
        return error;
    }
    if (request.model) m.memory.model = static_cast<MemoryModel>(*request.model);
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
