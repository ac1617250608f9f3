// TR-DOS sector images and TRD files.
//
// A TR-DOS disk is 80 cylinders by 2 sides of 16 sectors of 256 bytes, stored as a TRD file
// stores it: logical track L = cylinder * 2 + side, sector S (1-16) at (L * 16 + S - 1) * 256.
// Track 0 holds the catalog (128 entries of 16 bytes in sectors 1-8) and the disk information
// in sector 9.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "media/disk_image.h"

namespace vespin {

constexpr size_t kTrdosSectorSize = 256;
constexpr int kTrdosCylinders = 80;
constexpr int kTrdosSectorsPerTrack = 16;
constexpr size_t kTrdosImageSize = 655360;
constexpr int kTrdosCatalogEntries = 128;
constexpr size_t kTrdosEntrySize = 16;
constexpr size_t kTrdosFileHeaderSize = 14;
constexpr int kTrdosFreeOnNewDisk = 2544; // 159 tracks of 16 sectors

// Byte offsets of the disk information (track 0, sector 9).
namespace trdos_info {
constexpr size_t kBase = 8 * kTrdosSectorSize;
constexpr size_t kFirstFreeSector = kBase + 0xE1;
constexpr size_t kFirstFreeTrack = kBase + 0xE2;
constexpr size_t kDiskType = kBase + 0xE3;
constexpr size_t kFileCount = kBase + 0xE4;
constexpr size_t kFreeSectors = kBase + 0xE5; // little-endian word
constexpr size_t kIdentification = kBase + 0xE7;
constexpr size_t kLabel = kBase + 0xF5;
} // namespace trdos_info

struct TrdosImage {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(kTrdosImageSize);

    std::span<uint8_t, kTrdosEntrySize> Entry(int index) {
        return std::span<uint8_t, kTrdosEntrySize>(bytes.data() + index * kTrdosEntrySize,
                                                   kTrdosEntrySize);
    }
    int FreeSectors() const { return static_cast<int>(ReadLe16(bytes, trdos_info::kFreeSectors)); }
    void SetFreeSectors(int n) {
        bytes[trdos_info::kFreeSectors] = static_cast<uint8_t>(n);
        bytes[trdos_info::kFreeSectors + 1] = static_cast<uint8_t>(n >> 8);
    }
};

// Clears the image and writes the information of a new, empty disk labelled "Vespin  ".
void WriteNewDiskTemplate(TrdosImage& image);

// True when the catalog has a BASIC program named "boot".
bool HasBootFile(const TrdosImage& image);

// Cylinders 0-79 of the surface in the standard layout, sectors interleaved 1, 9, 2, 10, ...
void FormatTracks(const TrdosImage& image, DiskSurface& disk);

// The TRD loader: reads the file, adds the boot package when asked to, formats the tracks.
bool LoadTrdImage(const DiskImageContext& ctx, const std::string& fileName, DiskSurface& disk);

// The sector image of a TRD file's bytes (at most 655360; a shorter file leaves zeros).
void TrdImageFromBytes(std::span<const uint8_t> file, TrdosImage& image);

// Adds the boot package to the image when the settings ask for it. False when the user
// cancelled the load.
bool AddBootPackage(const DiskImageContext& ctx, bool wanted, TrdosImage& image);

} // namespace vespin
