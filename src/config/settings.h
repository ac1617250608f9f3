// Every settings group of the main window, the screen window and the options dialog: the
// values with their defaults, read when the window is created and written when it goes.
// Integers outside their range count as mistyped and send their group to the defaults.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/settings_store.h"

namespace vespin {

// Machine and files, kept by the main window.
struct MachineFileSettings {
    std::string diskAFileName;    // "Disk Images"
    std::string diskDefaultPath;  //
    std::string snapshotFileName; // "Snapshot"
    std::string snapshotDefaultPath;
    std::string modelName = "Pentagon 48k"; // "Model"
    int32_t tactsPerInt = 71680;            // "Model\Timing"
    // "Environment\Memory": read at start and written back unchanged.
    std::string memoryFileName;
    std::string memoryDefaultPath;
    std::string memoryDefaultAddr;
};

MachineFileSettings ReadMachineFileSettings(SettingsStore& store);
void WriteMachineFileSettings(SettingsStore& store, const MachineFileSettings& settings);

struct WindowPosition {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const WindowPosition&) const = default;
};

// "X Position" and "Y Position" of a window's key; the design position when either fails.
WindowPosition ReadWindowPosition(SettingsStore& store, std::string_view key,
                                  WindowPosition design);
void WriteWindowPosition(SettingsStore& store, std::string_view key, WindowPosition position);

// A window saved beyond the desktop's right edge minus 40 or bottom edge minus 50 comes back
// to 20 on that axis.
WindowPosition PullOntoDesktop(WindowPosition position, int32_t desktopWidth,
                               int32_t desktopHeight);

// The screen window, key "Environment\ScreenPanel".
struct ScreenPanelSettings {
    bool showFps = true;
    bool useDirectDraw = false; // written only: windowed DirectDraw always starts off
    bool doubleSize = true;
    bool directMemory = true;
    bool interlaced = true;
    bool grayPalette = false;
    int32_t videoMode = 0; // 0 640x480, 1 800x600, 2 1024x768
    WindowPosition position;
    int32_t flashFrequency = 10; // presented frames per flash phase
    bool operator==(const ScreenPanelSettings&) const = default;
};

inline constexpr const char* kScreenPanelKey = "Environment\\ScreenPanel";

ScreenPanelSettings ReadScreenPanelSettings(SettingsStore& store, WindowPosition design);
void WriteScreenPanelSettings(SettingsStore& store, const ScreenPanelSettings& settings);

// The options dialog's values.
struct OptionsSettings {
    int32_t borderPreset = 1; // 0 "Maximum", 1 "Pentagon128 on TV", 2.. the saved presets

    std::string rom48File = "Pentagon.Rom:1";
    std::string rom48Path;
    std::string rom128File = "Pentagon.Rom:0";
    std::string rom128Path;
    std::string romDosFile = "Pentagon.Rom:2";
    std::string romDosPath;

    int32_t joystickMask = 0x00A9;
    int32_t joystickBits = 0x001F;
    bool joystickEnabled = true;

    bool mouseEnabled = false;
    bool mouseSwapButtons = false;
    bool mouseWheel = false;
    bool mouseWheelInvert = false;

    bool dosPortAccess = false;
    bool trdosEnabled = true;
    std::string bootFileName;
    bool bootScl = true;
    bool bootTrd = false;
    bool noDiskImageError = false;

    int32_t keyboardMask = 0x0001;
    int32_t keyboardBits = 0x00FE;
    bool keyboardEnabled = true;

    int32_t memoryModel = 0; // MemoryModel

    int32_t startReset = 2; // ResetKind
    int32_t startMode = 0;  // 0 debugger, 1 emulator

    bool attributePort = true;
    bool attributeAllUnused = false;

    int32_t speakerVolume = 8; // slider positions 0..8
    int32_t tapeInVolume = 7;
    int32_t tapeOutVolume = 6;
    int32_t synchDelay = 0; // 0..200

    bool operator==(const OptionsSettings&) const = default;
};

// Reading starts from current: the mouse group keeps current values from a failed read on.
OptionsSettings ReadOptionsSettings(SettingsStore& store, const OptionsSettings& current = {});
void WriteOptionsSettings(SettingsStore& store, const OptionsSettings& settings);

// Saved border presets: sub-keys of the border size key holding "Left", "Right", "Upper" and
// "Lower" as decimal strings.
inline constexpr const char* kBorderSizeKey = "Environment\\ScreenPanel\\BorderSize";

struct SavedBorderPreset {
    std::string left, right, upper, lower;
};

std::vector<std::string> ReadBorderPresetNames(SettingsStore& store);
SavedBorderPreset ReadBorderPreset(SettingsStore& store, std::string_view name);
void WriteBorderPreset(SettingsStore& store, std::string_view name,
                       const SavedBorderPreset& preset);
void DeleteBorderPreset(SettingsStore& store, std::string_view name);

} // namespace vespin
