#include "media/fdi_image.h"

#include <vector>

namespace vespin {

namespace {

constexpr size_t kHeaderSize = 14;
constexpr size_t kTrackHeaderSize = 7;
constexpr size_t kSectorEntrySize = 7;
constexpr uint8_t kDeletedFlag = 0x80;

constexpr DiskImageError kReadError{disk_text::kImageError, disk_text::kCantRead};

} // namespace

DiskImageError FdiImageFromBytes(std::span<const uint8_t> file, DiskSurface& disk) {
    if (file.size() < kHeaderSize) return kReadError;
    const uint32_t cylinders = ReadLe16(file, 4);
    const uint32_t heads = ReadLe16(file, 6);
    if (file[0] != 'F' || file[1] != 'D' || file[2] != 'I' || cylinders > kDiskCylinders ||
        heads > kDiskSides) {
        return {disk_text::kInvalidImage, disk_text::kUnsupported};
    }
    disk.writeProtected = file[3] != 0;
    const size_t dataArea = ReadLe16(file, 10);
    size_t at = kHeaderSize + ReadLe16(file, 12);
    auto has = [&](size_t from, size_t count) {
        return from <= file.size() && count <= file.size() - from;
    };

    std::vector<SectorRecord> sectors;
    for (uint32_t cylinder = 0; cylinder < cylinders; ++cylinder) {
        for (uint32_t head = 0; head < heads; ++head) {
            if (!has(at, kTrackHeaderSize)) return kReadError;
            const size_t trackData = dataArea + ReadLe32(file, at);
            const int count = file[at + 6];
            at += kTrackHeaderSize;
            sectors.clear();
            for (int i = 0; i < count; ++i) {
                if (!has(at, kSectorEntrySize)) return kReadError;
                const auto e = file.subspan(at, kSectorEntrySize);
                at += kSectorEntrySize;
                const size_t length = size_t{128} << (e[3] & 3);
                const size_t from = trackData + ReadLe16(e, 5);
                if (!has(from, length)) return kReadError;
                sectors.push_back(SectorRecord{
                    e[0], e[1], e[2], e[3], (e[4] & kDeletedFlag) ? uint8_t{0xF8} : uint8_t{0xFB},
                    file.subspan(from, length)});
            }
            WriteStandardTrack(disk.Track(static_cast<int>(cylinder), static_cast<int>(head)),
                               sectors);
        }
    }
    return {};
}

bool LoadFdiImage(const DiskImageContext& ctx, const std::string& fileName, DiskSurface& disk) {
    // The write protection comes from the header, not from the file.
    return LoadImageFile(ctx, fileName, disk, {disk_text::kCantOpen, disk_text::kCantRead, true},
                         FdiImageFromBytes)
        .has_value();
}

} // namespace vespin
