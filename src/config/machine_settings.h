// Putting settings into a machine: the hardware options the dialog edits, the screen and
// sound options the renderer and sound output keep, and the main window's frame length.
// All of them change emulation-thread state: call them while the emulation thread is
// stopped, or hand them over at a frame end.
#pragma once

#include "config/settings.h"
#include "core/machine.h"
#include "media/rom_set.h"

namespace vespin {

// Port decodes, Kempston mouse, attribute port, Beta 128 switches, memory model and the reset
// kind used at start.
void ApplyHardwareOptions(MachineState& m, const OptionsSettings& options);

// Volume bits of the three sound sources and the synchronisation delay.
void ApplySoundOptions(TSoundOutput& sound, const OptionsSettings& options);

// Gray or colour palette (rebuilt only when it changes) and the flash period.
void ApplyScreenOptions(ScreenState& screen, const ScreenPanelSettings& settings);

// The frame length ("Tackts per Int").
void ApplyMachineFileSettings(MachineState& m, const MachineFileSettings& settings);

// What a machine takes from the store at start-up, as the main window, the options dialog and
// the screen window read it; the machine gets every option that lives in its state.
struct StoredSettings {
    MachineFileSettings files;
    OptionsSettings options;
    ScreenPanelSettings screen;
};
StoredSettings ApplyStoredSettings(MachineState& m, SettingsStore& store);

// The three ROM file settings of the options.
RomSettings RomSettingsOf(const OptionsSettings& options);

} // namespace vespin
