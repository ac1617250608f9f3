#include "runner.h"

#include <array>
#include <chrono>
#include <memory>

#include "config/machine_settings.h"
#include "config/memory_settings_store.h"
#include "core/frame.h"
#include "core/machine.h"
#include "core/reset.h"
#include "core/z80.h"
#include "platform/settings_file.h"

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

// Puts a settings file's options into the machine and takes its ROM files for the slots the
// command line leaves open. The file is only read: a damaged one is an error here, not a
// reason to move it aside as the desktop program does.
std::string ApplySettingsFile(MachineState& m, RunRequest& request) {
    const auto bytes = ReadWholeFile(request.settingsPath, 1u << 20);
    if (!bytes) return "Cannot read settings file \"" + request.settingsPath + "\"";
    std::string problem;
    auto tree = ParseSettingsToml(
        std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), &problem);
    if (!tree) return "Settings file \"" + request.settingsPath + "\" is damaged: " + problem;
    MemorySettingsStore store(std::move(*tree));
    const StoredSettings stored = ApplyStoredSettings(m, store);
    const RomSettings fromFile = RomSettingsOf(stored.options);
    const std::array<std::pair<std::string RomSettings::*, RomSlot>, 3> slots{{
        {&RomSettings::basic48, RomSlot::Basic48},
        {&RomSettings::rom128, RomSlot::Rom128},
        {&RomSettings::trdos, RomSlot::Trdos},
    }};
    for (const auto& [field, slot] : slots) {
        if (!(request.romsGiven & (1u << static_cast<unsigned>(slot))))
            request.roms.*field = fromFile.*field;
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

std::string RunMachine(const RunRequest& given, std::ostream& out) {
    auto machine = std::make_unique<MachineState>();
    MachineState& m = *machine;
    RunRequest request = given;
    m.resetKind = ResetKind::Mode128;
    if (!request.settingsPath.empty()) {
        if (std::string error = ApplySettingsFile(m, request); !error.empty()) return error;
    }
    m.synchronisedSpeed = 0; // as fast as possible; without a timer every frame is presented

    if (std::string error = LoadRoms(m.memory, request); !error.empty()) return error;
    if (request.model >= 0) m.memory.model = static_cast<MemoryModel>(request.model);
    if (!request.trdos) m.memory.trdosEnabled = false;
    if (request.resetKind >= 0) m.resetKind = static_cast<ResetKind>(request.resetKind);
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
