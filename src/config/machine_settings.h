// Putting settings into a machine: the hardware options the dialog edits, the frame length of
// the main window's settings, and the three ROM images.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "config/settings.h"
#include "core/machine.h"
#include "media/file_utils.h"

namespace vespin {

// Port decodes, Kempston mouse, attribute port, Beta 128 switches, memory model and the reset
// kind used at start. Call it while the emulation thread is stopped, or hand it over at a
// frame end.
void ApplyHardwareOptions(MachineState& m, const OptionsSettings& options);

// The frame length ("Tackts per Int").
void ApplyMachineFileSettings(MachineState& m, const MachineFileSettings& settings);

using RomImages = std::array<std::array<uint8_t, kPageSize>, 3>; // in RomSlot order

// Reads the 48K, 128K and TR-DOS images named by the options ("file[:n]"). Returns an empty
// string when all three were read, else one line per image that failed.
std::string ReadRomImages(const FileSearchDirs& dirs, const OptionsSettings& options,
                          RomImages& images);

// Copies the images into the machine's ROM slots.
void InstallRomImages(Memory& memory, const RomImages& images);

} // namespace vespin
