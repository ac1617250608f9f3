// The disk loaders' message boxes for the fuzz targets: silent, and alternating answers to
// the overflow questions so both ways are taken.
#pragma once

#include "media/disk_image.h"

namespace vespin {

struct AlternatingDiskUi : DiskImageUi {
    bool next = false;
    void ShowError(std::string_view, std::string_view) override {}
    bool AskOkCancel(std::string_view, std::string_view) override { return next = !next; }
};

} // namespace vespin
