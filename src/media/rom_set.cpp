#include "media/rom_set.h"

#include <array>

#include "core/memory.h"

namespace vespin {

std::string LoadRomSet(Memory& mem, const FileSearchDirs& dirs, const RomSettings& roms) {
    const std::array<const std::string*, 3> settings{&roms.basic48, &roms.rom128, &roms.trdos};
    std::array<std::array<uint8_t, kPageSize>, 3> images{}; // in RomSlot order
    for (size_t slot = 0; slot < settings.size(); ++slot) {
        std::string error = LoadRomImage(dirs, *settings[slot], images[slot]);
        if (!error.empty()) return error;
    }
    mem.rom = images;
    return {};
}

} // namespace vespin
