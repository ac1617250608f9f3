// SCL packages: TR-DOS files with their catalog headers, loaded as a new disk or added to an
// existing TR-DOS sector image (the boot package).
//
// Layout: "SINCLAIR", the file count N, N catalog headers of 14 bytes, each file's sectors in
// turn, and a little-endian 32-bit sum of all the bytes before it. Damaged packages are read as
// far as they go: headers cut off by the end of the file end the package, and sectors its
// headers announce but the file does not hold are added as zeros.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "media/disk_image.h"
#include "media/trd_image.h"

namespace vespin {

enum class SclResult : uint8_t {
    Loaded,
    NotOpened, // the file could not be read
    Cancelled, // the user cancelled an overflow question: nothing may change
};

// Adds the package's files to the image (a cleared new disk when newDisk is set), asking
// before the catalog or, for a new disk, the free space overflows.
SclResult AddSclPackage(std::span<const uint8_t> file, TrdosImage& image, bool newDisk,
                        DiskImageUi& ui);

// Reads the package file and adds it as above.
SclResult LoadSclPackage(const DiskImageContext& ctx, const std::string& fileName,
                         TrdosImage& image, bool newDisk);

// The SCL loader: a new disk from the package, the boot package when asked to, the tracks.
bool LoadSclImage(const DiskImageContext& ctx, const std::string& fileName, DiskSurface& disk);

} // namespace vespin
