// FDI images: header, track and sector tables, sector data.
#include <cstddef>
#include <cstdint>
#include <span>

#include "media/fdi_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static vespin::DiskSurface disk;
    vespin::FdiImageFromBytes(std::span<const uint8_t>(data, size), disk);
    return 0;
}
