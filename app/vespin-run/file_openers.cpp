// FILE arguments of vespin-run by extension. Tapes, snapshots and disks add their rows here.
#include <array>

#include "core/machine.h"
#include "core/reset.h"
#include "media/disk_image.h"
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

// Headless stand-in for the disk loaders' message boxes: the first message becomes the error;
// overflow questions are answered OK (load what fits).
struct CollectingDiskUi : DiskImageUi {
    std::string error;
    void ShowError(std::string_view caption, std::string_view text) override {
        if (error.empty()) error = std::string(caption) + ": " + std::string(text);
    }
    bool AskOkCancel(std::string_view, std::string_view) override { return true; }
};

// Disk images go into drive A and the machine boots TR-DOS with 128K.
std::string OpenDiskImage(MachineState& m, const std::string& path) {
    const FileSearchDirs dirs = FileSearchDirs::FromProcess();
    const DiskImageOptions options;
    CollectingDiskUi ui;
    const DiskImageContext ctx{dirs, options, ui};
    const bool loaded = LoadDiskImage(ctx, path, m.beta.disk);
    // A warning (a bad SCL checksum) does not stop a load that went on.
    if (!loaded) return ui.error.empty() ? "Cannot load disk image \"" + path + "\"" : ui.error;
    m.resetKind = ResetKind::Trdos128;
    ResetMachine(m);
    return {};
}

constexpr std::array kRows = {
    FileOpenerRow{".tap", OpenTape},
    FileOpenerRow{".tzx", OpenTape},
    FileOpenerRow{".sna", OpenSnapshot},
    FileOpenerRow{".z80", OpenSnapshot},
    FileOpenerRow{".trd", OpenDiskImage},
    FileOpenerRow{".scl", OpenDiskImage},
    FileOpenerRow{".fdi", OpenDiskImage},
    FileOpenerRow{".udi", OpenDiskImage},
};

} // namespace

std::span<const FileOpenerRow> FileOpenerRows() {
    return kRows;
}

} // namespace vespin
