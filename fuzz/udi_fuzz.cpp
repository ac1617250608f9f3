// UDI images: header checks and raw tracks of any length.
#include <cstddef>
#include <cstdint>
#include <span>

#include "media/udi_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static vespin::DiskSurface disk;
    vespin::UdiImageFromBytes(std::span<const uint8_t>(data, size), disk);
    return 0;
}
