#include "config/machine_settings.h"

namespace vespin {

namespace {

PortDecode Decode(bool enabled, int32_t bits, int32_t mask) {
    return {enabled, static_cast<uint16_t>(bits), static_cast<uint16_t>(mask)};
}

} // namespace

void ApplyHardwareOptions(MachineState& m, const OptionsSettings& o) {
    MachineOptions& options = m.options;
    options.keyboard = Decode(o.keyboardEnabled, o.keyboardBits, o.keyboardMask);
    options.kempstonJoystick = Decode(o.joystickEnabled, o.joystickBits, o.joystickMask);
    options.kempstonMouse = o.mouseEnabled;
    options.attributePort = o.attributePort;
    options.attributeAllUnused = o.attributePort && o.attributeAllUnused;
    options.dosPortAccess = o.trdosEnabled && o.dosPortAccess;

    m.memory.trdosEnabled = o.trdosEnabled;
    if (o.memoryModel >= 0 && o.memoryModel <= static_cast<int>(MemoryModel::Scorpion1024))
        m.memory.model = static_cast<MemoryModel>(o.memoryModel);
    MapWindows(m.memory);
    if (o.startReset >= 0 && o.startReset <= 3) m.resetKind = static_cast<ResetKind>(o.startReset);
}

void ApplyMachineFileSettings(MachineState& m, const MachineFileSettings& settings) {
    m.frameLength = settings.tactsPerInt;
}

std::string ReadRomImages(const FileSearchDirs& dirs, const OptionsSettings& options,
                          RomImages& images) {
    const std::array<const std::string*, 3> names{&options.rom48File, &options.rom128File,
                                                  &options.romDosFile};
    std::string errors;
    for (size_t slot = 0; slot < names.size(); ++slot) {
        const std::string error = LoadRomImage(dirs, *names[slot], images[slot]);
        if (!error.empty()) errors += error + "\n";
    }
    return errors;
}

void InstallRomImages(Memory& memory, const RomImages& images) {
    memory.rom = images;
}

} // namespace vespin
