// TRD images: the sector image, and the boot package added to a disk whose catalog and
// information sector say anything. (Formatting reads only the fixed-size sector image.)
#include <cstddef>
#include <cstdint>
#include <span>

#include "disk_fuzz_ui.h"
#include "media/scl_image.h"
#include "media/trd_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static vespin::TrdosImage image;
    const std::span<const uint8_t> bytes(data, size);
    vespin::TrdImageFromBytes(bytes, image);
    vespin::AlternatingDiskUi ui;
    // The same bytes as a package added to the disk they describe.
    vespin::AddSclPackage(bytes, image, false, ui);
    vespin::HasBootFile(image);
    return 0;
}
