// PNG output of the frame bitmap: an 8-bit palette image whose colour table is the renderer's
// palette, so the file keeps the palette slots and shows their colours.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "video/screen.h"

namespace vespin {

// Writes width x height palette slots (row 0 first) as a PNG, through a temporary file renamed
// over the target. Returns an empty string on success, else a message naming the file.
std::string WritePalettePng(const std::filesystem::path& path, int width, int height,
                            std::span<const uint8_t> pixels, const Palette& palette);

} // namespace vespin
