// UDI raw track images: each track's bytes and mark map copied onto the disk surface.
// Only the uncompressed MFM track type 0 is read; the file's closing CRC is not checked.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "media/disk_image.h"

namespace vespin {

DiskImageError UdiImageFromBytes(std::span<const uint8_t> file, DiskSurface& disk);

bool LoadUdiImage(const DiskImageContext& ctx, const std::string& fileName, DiskSurface& disk);

} // namespace vespin
