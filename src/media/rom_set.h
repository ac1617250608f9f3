// Loading the machine's three ROM slots (48K BASIC, 128K, TR-DOS) from "file[:page]" settings.
#pragma once

#include <string>

#include "media/file_utils.h"

namespace vespin {

struct Memory;

struct RomSettings {
    std::string basic48 = "Pentagon.Rom:1";
    std::string rom128 = "Pentagon.Rom:0";
    std::string trdos = "Pentagon.Rom:2";
};

// Reads all three images and installs them only when every one was read, so a failure leaves
// the ROMs loaded before intact. Returns an empty string on success, else the message of the
// first image that failed (it names the file).
std::string LoadRomSet(Memory& mem, const FileSearchDirs& dirs, const RomSettings& roms);

} // namespace vespin
