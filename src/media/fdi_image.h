// FDI sector images: a header, a table of tracks and sectors, and the sectors' data, formatted
// into raw tracks in the standard layout.
//
// Sector lengths follow the size code as the controller reads it, 128 << (N & 3). Tracks whose
// sectors do not all fit into one revolution keep the sectors that fit.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "media/disk_image.h"

namespace vespin {

// Formats the tracks an FDI file describes into disk; an error names the message box.
DiskImageError FdiImageFromBytes(std::span<const uint8_t> file, DiskSurface& disk);

bool LoadFdiImage(const DiskImageContext& ctx, const std::string& fileName, DiskSurface& disk);

} // namespace vespin
