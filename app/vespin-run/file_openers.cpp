// FILE arguments of vespin-run by extension. Tapes, snapshots and disks add their rows here.
#include "core/machine.h"
#include "media/tape_player.h"
#include "runner.h"

namespace vespin {

namespace {

// A tape goes into the player stopped; the ROM's loader presses Play at its DI at 0x0559.
std::string OpenTape(MachineState& m, const std::string& path) {
    if (std::string error = InsertTapeFile(m, path); !error.empty()) {
        return "Cannot open \"" + path + "\": " + error;
    }
    return {};
}

constexpr FileOpenerRow kRows[] = {
    {".tap", OpenTape},
    {".tzx", OpenTape},
};

} // namespace

std::span<const FileOpenerRow> FileOpenerRows() {
    return kRows;
}

} // namespace vespin
