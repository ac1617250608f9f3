#include "media/udi_image.h"

#include <algorithm>

namespace vespin {

namespace {

constexpr size_t kHeaderSize = 16;
constexpr DiskImageError kReadError{disk_text::kImageError, disk_text::kUdiCantRead};
constexpr DiskImageError kUnsupported{disk_text::kInvalidImage, disk_text::kUdiUnsupported};

} // namespace

DiskImageError UdiImageFromBytes(std::span<const uint8_t> file, DiskSurface& disk) {
    if (file.size() < kHeaderSize) return kReadError;
    const bool signature = file[0] == 'U' && file[1] == 'D' && file[2] == 'I' && file[3] == '!';
    const uint8_t version = file[8];
    const int lastCylinder = file[9];
    const int lastSide = file[10];
    if (!signature || ReadLe32(file, 4) != file.size() - 4 || version != 0 ||
        lastCylinder >= kDiskCylinders || lastSide > 1 || file[11] != 0 ||
        ReadLe32(file, 12) != 0) {
        return kUnsupported;
    }
    size_t at = kHeaderSize;
    for (int cylinder = 0; cylinder <= lastCylinder; ++cylinder) {
        for (int side = 0; side <= lastSide; ++side) {
            DiskTrack& track = disk.Track(cylinder, side);
            track.Clear();
            if (file.size() - at < 3 || file[at] != 0) return kReadError; // MFM tracks only
            const size_t length = ReadLe16(file, at + 1);
            const size_t markLength = (length + 7) / 8;
            at += 3;
            if (file.size() - at < length + markLength) return kReadError;
            // A longer track is cut to one revolution; the file goes on past all of it.
            std::copy_n(file.begin() + static_cast<ptrdiff_t>(at),
                        std::min<size_t>(length, kTrackBytes), track.data.begin());
            at += length;
            std::copy_n(file.begin() + static_cast<ptrdiff_t>(at),
                        std::min<size_t>(markLength, kTrackMarkBytes), track.marks.begin());
            at += markLength;
        }
    }
    return {};
}

bool LoadUdiImage(const DiskImageContext& ctx, const std::string& fileName, DiskSurface& disk) {
    // Unlike the other formats, a UDI that cannot be opened is always reported.
    const auto path =
        LoadImageFile(ctx, fileName, disk,
                      {disk_text::kUdiCantOpen, disk_text::kUdiCantRead, false}, UdiImageFromBytes);
    if (path) disk.writeProtected = IsReadOnlyFile(*path);
    return path.has_value();
}

} // namespace vespin
