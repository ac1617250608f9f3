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

void ApplySoundOptions(TSoundOutput& sound, const OptionsSettings& o) {
    SetVolumes(sound, o.speakerVolume, o.tapeInVolume, o.tapeOutVolume);
    sound.synchDelay = o.synchDelay;
}

void ApplyScreenOptions(ScreenState& screen, const ScreenPanelSettings& settings) {
    if (screen.grayPalette != settings.grayPalette) BuildPalette(screen, settings.grayPalette);
    screen.flashFrequency = settings.flashFrequency;
}

void ApplyMachineFileSettings(MachineState& m, const MachineFileSettings& settings) {
    m.frameLength = settings.tactsPerInt;
}

StoredSettings ApplyStoredSettings(MachineState& m, SettingsStore& store) {
    StoredSettings stored{ReadMachineFileSettings(store), ReadOptionsSettings(store),
                          ReadScreenPanelSettings(store, {})};
    ApplyMachineFileSettings(m, stored.files);
    ApplyHardwareOptions(m, stored.options);
    ApplySoundOptions(m.sound, stored.options);
    ApplyScreenOptions(m.screen, stored.screen);
    return stored;
}

RomSettings RomSettingsOf(const OptionsSettings& options) {
    return {options.rom48File, options.rom128File, options.romDosFile};
}

} // namespace vespin
