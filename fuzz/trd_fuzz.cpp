// TRD images: the sector image, the boot package added to a disk whose catalog and
// information sector say anything, and the formatted tracks.
#include <cstddef>
#include <cstdint>
#include <span>

#include "media/scl_image.h"
#include "media/trd_image.h"

namespace {

struct AnsweringUi : vespin::DiskImageUi {
    bool next = true;
    void ShowError(std::string_view, std::string_view) override {}
    bool AskOkCancel(std::string_view, std::string_view) override { return next = !next; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static vespin::DiskSurface disk;
    static vespin::TrdosImage image;
    const std::span<const uint8_t> bytes(data, size);
    vespin::TrdImageFromBytes(bytes, image);
    AnsweringUi ui;
    // The same bytes as a package added to the disk they describe.
    vespin::AddSclPackage(bytes, image, false, ui);
    vespin::HasBootFile(image);
    vespin::FormatTracks(image, disk);
    return 0;
}
