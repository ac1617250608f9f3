// SCL packages loaded as a new disk, with both answers to the overflow questions.
#include <cstddef>
#include <cstdint>
#include <span>

#include "disk_fuzz_ui.h"
#include "media/scl_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static vespin::TrdosImage image;
    vespin::AlternatingDiskUi ui;
    const std::span<const uint8_t> bytes(data, size);
    // As a new disk, then once more onto the disk it made (the boot package path).
    if (vespin::AddSclPackage(bytes, image, true, ui) == vespin::SclResult::Loaded) {
        vespin::AddSclPackage(bytes, image, false, ui);
    }
    return 0;
}
