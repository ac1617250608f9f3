// What one vespin-run invocation asks for: the machine to build, how long to run it, what to do
// at given frames, and what to print or write afterwards.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "media/rom_set.h"

namespace vespin {

struct MachineState;

// What the output steps see after the run.
struct RunResult {
    MachineState& machine;
    std::ostream& out;
    uint32_t framesRun = 0;
    double hostSeconds = 0; // wall time of the emulation loop alone
};

// An output step prints its line or writes its file; it returns an error message or "".
using OutputStep = std::function<std::string(RunResult&)>;
// Called at the start of every frame (frame numbers count from 0) for scripted input.
using FrameHook = std::function<void(MachineState&, uint32_t frame)>;
// Opens FILE once the machine is reset; returns an error message or "".
using FileOpener = std::function<std::string(MachineState&, const std::string& path)>;

struct RunRequest {
    RomSettings roms;
    uint8_t romsGiven = 0;    // bit per RomSlot whose setting came from the command line
    int model = -1;           // memory model 0..5; -1 keeps the machine's default
    int resetKind = -1;       // reset kind 0..3; -1: the settings' start-up kind, else 128K mode
    std::string settingsPath; // settings store to read (never written); empty: built-in defaults
    bool trdos = true;
    uint32_t frames = 0;
    std::string file;
    std::vector<FrameHook> frameHooks;
    std::vector<OutputStep> outputs; // in the order the options were given
};

// Parses a number in decimal, 0x-prefixed hexadecimal or the debugger's "#" hexadecimal.
std::optional<uint32_t> ParseNumber(std::string_view text);

// "ADDR:COUNT" with an address up to 65535 and a count up to 65536, for --peek and --disasm.
struct AddressCount {
    uint16_t address = 0;
    uint32_t count = 0;
};
std::optional<AddressCount> ParseAddressCount(std::string_view text);

} // namespace vespin
