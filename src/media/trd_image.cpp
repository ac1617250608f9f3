#include "media/trd_image.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "media/scl_image.h"

namespace vespin {

namespace {

// TR-DOS lays its sectors out with an interleave of 2, as its FORMAT command writes them.
constexpr std::array<uint8_t, kTrdosSectorsPerTrack> kInterleave = {1, 9,  2, 10, 3, 11, 4, 12,
                                                                    5, 13, 6, 14, 7, 15, 8, 16};

constexpr std::array<uint8_t, 27> kNewDiskInfo = {
    1,                                                       // first free track
    0x16,                                                    // disk type: 80 cylinders, two sides
    0,                                                       // files
    0xF0, 0x09,                                              // 2544 free sectors
    0x10,                                                    // TR-DOS identification
    0,    0,    0,   0,   0,   0,   0,   0,   0, 0, 0, 0, 0, // reserved, deleted files
    'V',  'e',  's', 'p', 'i', 'n', ' ', ' ',                // label
};

constexpr char kBootEntry[] = "boot    B";

} // namespace

void WriteNewDiskTemplate(TrdosImage& image) {
    std::fill(image.bytes.begin(), image.bytes.end(), uint8_t{0});
    std::copy(kNewDiskInfo.begin(), kNewDiskInfo.end(),
              image.bytes.begin() + trdos_info::kFirstFreeTrack);
}

bool HasBootFile(const TrdosImage& image) {
    for (int i = 0; i < kTrdosCatalogEntries; ++i) {
        if (std::memcmp(image.bytes.data() + i * kTrdosEntrySize, kBootEntry, 9) == 0) return true;
    }
    return false;
}

void FormatTracks(const TrdosImage& image, DiskSurface& disk) {
    std::array<SectorRecord, kTrdosSectorsPerTrack> sectors;
    for (int cylinder = 0; cylinder < kTrdosCylinders; ++cylinder) {
        for (int side = 0; side < 2; ++side) {
            const size_t track = static_cast<size_t>(cylinder * 2 + side);
            for (size_t i = 0; i < kInterleave.size(); ++i) {
                const uint8_t number = kInterleave[i];
                const size_t at = (track * kTrdosSectorsPerTrack + number - 1) * kTrdosSectorSize;
                sectors[i] = SectorRecord{static_cast<uint8_t>(cylinder),
                                          0,
                                          number,
                                          1,
                                          0xFB,
                                          std::span(image.bytes).subspan(at, kTrdosSectorSize)};
            }
            WriteStandardTrack(disk.Track(cylinder, side), sectors);
        }
    }
}

void TrdImageFromBytes(std::span<const uint8_t> file, TrdosImage& image) {
    std::fill(image.bytes.begin(), image.bytes.end(), uint8_t{0});
    const size_t n = std::min(file.size(), kTrdosImageSize);
    std::copy_n(file.begin(), n, image.bytes.begin());
}

bool AddBootPackage(const DiskImageContext& ctx, bool wanted, TrdosImage& image) {
    if (!wanted || ctx.options.bootFileName.empty() || HasBootFile(image)) return true;
    return LoadSclPackage(ctx, ctx.options.bootFileName, image, false) != SclResult::Cancelled;
}

bool LoadTrdImage(const DiskImageContext& ctx, const std::string& fileName, DiskSurface& disk) {
    const auto path = LocateFile(ctx.dirs, fileName);
    if (!path) {
        ctx.OpenFailed(disk_text::kCantOpen);
        return false;
    }
    std::error_code ec;
    const uintmax_t size = std::filesystem::file_size(*path, ec);
    if (!ec && size > kTrdosImageSize) {
        ctx.ui.ShowError(disk_text::kImageError, disk_text::kWrongSize);
        return false;
    }
    const auto file = ReadWholeFile(*path, kTrdosImageSize);
    if (!file) {
        ctx.ui.ShowError(disk_text::kImageError, disk_text::kCantRead);
        return false;
    }
    TrdosImage image;
    TrdImageFromBytes(*file, image);
    if (!AddBootPackage(ctx, ctx.options.bootTrd, image)) return false;
    FormatTracks(image, disk);
    disk.writeProtected = IsReadOnlyFile(*path);
    return true;
}

} // namespace vespin
