#include "config/settings.h"

#include <array>

#include "config/settings_group.h"

namespace vespin {

namespace {

using M = MachineFileSettings;
using F = SettingField<M>;

constexpr std::array kDiskImages{F{"Disk A File Name", &M::diskAFileName},
                                 F{"Default Path", &M::diskDefaultPath}};
constexpr std::array kSnapshot{F{"File Name", &M::snapshotFileName},
                               F{"Default Path", &M::snapshotDefaultPath}};
constexpr std::array kModel{
    F{.name = "Name", .member = &M::modelName, .whenEmpty = "Pentagon 48k"}};
// Frames shorter than a few lines or longer than a few seconds would stall the frame clock.
constexpr std::array kTiming{F{"Tackts per Int", &M::tactsPerInt, 1000, 10'000'000}};
constexpr std::array kMemoryFiles{F{"File Name", &M::memoryFileName},
                                  F{"Default Path", &M::memoryDefaultPath},
                                  F{"Default Addr", &M::memoryDefaultAddr}};

constexpr std::array<SettingGroup<M>, 5> kMachineFileGroups{{
    {"Disk Images", kDiskImages},
    {"Snapshot", kSnapshot},
    {"Model", kModel},
    {"Model\\Timing", kTiming},
    {"Environment\\Memory", kMemoryFiles},
}};

using W = WindowPosition;
constexpr std::array kPosition{SettingField<W>{"X Position", &W::x},
                               SettingField<W>{"Y Position", &W::y}};

using P = ScreenPanelSettings;
using PF = SettingField<P>;

constexpr std::array kShowFps{PF{"Show FPS", &P::showFps}};
constexpr std::array kUseDirectDraw{
    PF{.name = "Use DirectDraw", .member = &P::useDirectDraw, .writeOnly = true}};
constexpr std::array kDoubleSize{PF{"Double Size", &P::doubleSize}};
constexpr std::array kFullScreen{
    PF{"Direct Memory", &P::directMemory}, PF{"Interlaced", &P::interlaced},
    PF{"Gray Palette", &P::grayPalette}, PF{"Video Mode", &P::videoMode, 0, 2}};
constexpr std::array kFlash{PF{"Flash Frequency", &P::flashFrequency, 1, 1000}};

constexpr std::array<SettingGroup<P>, 5> kScreenPanelGroups{{
    {kScreenPanelKey, kShowFps},
    {kScreenPanelKey, kUseDirectDraw},
    {kScreenPanelKey, kDoubleSize},
    {kScreenPanelKey, kFullScreen},
    {kScreenPanelKey, kFlash},
}};

using O = OptionsSettings;
using OF = SettingField<O>;

constexpr std::array kPreset{OF{"Preset", &O::borderPreset, 0}};
constexpr std::array kRom48{
    OF{.name = "File Name", .member = &O::rom48File, .whenEmpty = "Pentagon.Rom:1"},
    OF{"Default Path", &O::rom48Path}};
constexpr std::array kRom128{
    OF{.name = "File Name", .member = &O::rom128File, .whenEmpty = "Pentagon.Rom:0"},
    OF{"Default Path", &O::rom128Path}};
constexpr std::array kRomDos{
    OF{.name = "File Name", .member = &O::romDosFile, .whenEmpty = "Pentagon.Rom:2"},
    OF{"Default Path", &O::romDosPath}};
constexpr std::array kJoystick{OF{"Port Mask", &O::joystickMask, 0, 0xFFFF},
                               OF{"Port Bits", &O::joystickBits, 0, 0xFFFF},
                               OF{"Enabled", &O::joystickEnabled}};
constexpr std::array kMouse{
    OF{"Enabled", &O::mouseEnabled}, OF{"Swap Buttons", &O::mouseSwapButtons},
    OF{"Wheel Support", &O::mouseWheel}, OF{"Wheel Direction", &O::mouseWheelInvert}};
constexpr std::array kTrdos{OF{"Port Access", &O::dosPortAccess}, OF{"Enabled", &O::trdosEnabled},
                            OF{"Boot File Name", &O::bootFileName}, OF{"Boot SCL", &O::bootScl},
                            OF{"Boot TRD", &O::bootTrd}};
constexpr std::array kNoDiskImageError{OF{"No Disk Image Error", &O::noDiskImageError}};
constexpr std::array kKeyboard{OF{"Port Mask", &O::keyboardMask, 0, 0xFFFF},
                               OF{"Port Bits", &O::keyboardBits, 0, 0xFFFF},
                               OF{"Enabled", &O::keyboardEnabled}};
constexpr std::array kMemory{OF{"Model", &O::memoryModel, 0, 5}};
constexpr std::array kStartUp{OF{"Reset", &O::startReset, 0, 3}, OF{"Mode", &O::startMode, 0, 1}};
constexpr std::array kAttributePort{OF{"Enabled", &O::attributePort},
                                    OF{"All Unused", &O::attributeAllUnused}};
constexpr std::array kVolume{OF{"Speaker", &O::speakerVolume, 0, 8},
                             OF{"TapeIn", &O::tapeInVolume, 0, 8},
                             OF{"TapeOut", &O::tapeOutVolume, 0, 8}};
constexpr std::array kSynchDelay{OF{"SynchDelay", &O::synchDelay, 0, 200}};

constexpr std::array<SettingGroup<O>, 14> kOptionsGroups{{
    {kBorderSizeKey, kPreset},
    {"RomFiles\\Rom48k", kRom48},
    {"RomFiles\\Rom128k", kRom128},
    {"RomFiles\\RomDOS", kRomDos},
    {"Hardware\\Kempston Joystick", kJoystick},
    {"Hardware\\Kempston Mouse", kMouse, GroupFallback::KeepFromFailure},
    {"Hardware\\TR-DOS", kTrdos},
    {"Hardware\\TR-DOS", kNoDiskImageError},
    {"Hardware\\Keyboard", kKeyboard},
    {"Hardware\\Memory", kMemory},
    {"StartUp", kStartUp},
    {"Hardware\\Attribute Port", kAttributePort},
    {"Hardware\\Volume", kVolume},
    {"Hardware\\Volume", kSynchDelay},
}};

} // namespace

MachineFileSettings ReadMachineFileSettings(SettingsStore& store) {
    MachineFileSettings settings;
    ReadSettingGroups<M>(store, kMachineFileGroups, settings);
    return settings;
}

void WriteMachineFileSettings(SettingsStore& store, const MachineFileSettings& settings) {
    WriteSettingGroups<M>(store, kMachineFileGroups, settings);
}

WindowPosition ReadWindowPosition(SettingsStore& store, std::string_view key,
                                  WindowPosition design) {
    WindowPosition position = design;
    ReadSettingGroup<W>(store, {key, kPosition}, position, design);
    return position;
}

void WriteWindowPosition(SettingsStore& store, std::string_view key, WindowPosition position) {
    WriteSettingGroup<W>(store, {key, kPosition}, position);
}

WindowPosition PullOntoDesktop(WindowPosition position, int32_t desktopWidth,
                               int32_t desktopHeight) {
    if (position.y > desktopHeight - 50) position.y = 20;
    if (position.x > desktopWidth - 40) position.x = 20;
    return position;
}

ScreenPanelSettings ReadScreenPanelSettings(SettingsStore& store, WindowPosition design) {
    ScreenPanelSettings settings;
    ReadSettingGroups<P>(store, kScreenPanelGroups, settings);
    settings.position = ReadWindowPosition(store, kScreenPanelKey, design);
    return settings;
}

void WriteScreenPanelSettings(SettingsStore& store, const ScreenPanelSettings& settings) {
    WriteSettingGroups<P>(store, kScreenPanelGroups, settings);
    WriteWindowPosition(store, kScreenPanelKey, settings.position);
}

OptionsSettings ReadOptionsSettings(SettingsStore& store, const OptionsSettings& current) {
    OptionsSettings settings = current;
    ReadSettingGroups<O>(store, kOptionsGroups, settings);
    return settings;
}

void WriteOptionsSettings(SettingsStore& store, const OptionsSettings& settings) {
    WriteSettingGroups<O>(store, kOptionsGroups, settings);
}

namespace {

std::string PresetKey(std::string_view name) {
    return std::string(kBorderSizeKey) + '\\' + std::string(name);
}

} // namespace

std::vector<std::string> ReadBorderPresetNames(SettingsStore& store) {
    store.OpenKey(kBorderSizeKey, true);
    return store.GetKeyNames();
}

SavedBorderPreset ReadBorderPreset(SettingsStore& store, std::string_view name) {
    store.OpenKey(PresetKey(name), true);
    return {store.ReadString("Left"), store.ReadString("Right"), store.ReadString("Upper"),
            store.ReadString("Lower")};
}

void WriteBorderPreset(SettingsStore& store, std::string_view name,
                       const SavedBorderPreset& preset) {
    store.OpenKey(PresetKey(name), true);
    store.WriteString("Left", preset.left);
    store.WriteString("Right", preset.right);
    store.WriteString("Upper", preset.upper);
    store.WriteString("Lower", preset.lower);
}

void DeleteBorderPreset(SettingsStore& store, std::string_view name) {
    store.DeleteKey(PresetKey(name));
}

} // namespace vespin
