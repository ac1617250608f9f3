#include "media/scl_image.h"

#include <algorithm>
#include <cstring>

namespace vespin {

namespace {

constexpr char kSignature[] = "SINCLAIR";
constexpr size_t kSignatureSize = 8;
constexpr size_t kHeadersAt = 9;

bool ChecksumMatches(std::span<const uint8_t> file) {
    if (file.size() < 4) return false;
    const size_t body = file.size() - 4;
    uint32_t sum = 0;
    for (size_t i = 0; i < body; ++i)
        sum += file[i];
    return sum == ReadLe32(file, body);
}

// The entry just after the last catalog entry in use.
int CatalogEnd(TrdosImage& image) {
    for (int i = kTrdosCatalogEntries - 1; i >= 0; --i) {
        if (image.Entry(i)[0] != 0) return i + 1;
    }
    return 0;
}

} // namespace

SclResult AddSclPackage(std::span<const uint8_t> file, TrdosImage& image, bool newDisk,
                        DiskImageUi& ui) {
    if (!ChecksumMatches(file)) ui.ShowError(disk_text::kSclError, disk_text::kSclChecksum);
    if (file.size() < kSignatureSize || std::memcmp(file.data(), kSignature, kSignatureSize) != 0) {
        ui.ShowError(disk_text::kSclError, disk_text::kSclFormat);
    }
    if (newDisk) WriteNewDiskTemplate(image);

    const size_t count = file.size() > kSignatureSize ? file[kSignatureSize] : 0;
    size_t dataAt = kHeadersAt + count * kTrdosFileHeaderSize;
    const size_t dataEnd = file.size() >= 4 ? file.size() - 4 : 0; // the checksum follows
    int catalog = CatalogEnd(image);
    auto& info = image.bytes;

    for (size_t f = 0; f < count; ++f) {
        const size_t headerAt = kHeadersAt + f * kTrdosFileHeaderSize;
        if (headerAt + kTrdosFileHeaderSize > file.size()) break;
        if (catalog >= kTrdosCatalogEntries) {
            if (!ui.AskOkCancel(disk_text::kCatalogOverflow, disk_text::kTooManyFiles)) {
                return SclResult::Cancelled;
            }
            break;
        }
        const auto header = file.subspan(headerAt, kTrdosFileHeaderSize);
        const int length = header[13];
        const int freeSector = info[trdos_info::kFirstFreeSector];
        const int freeTrack = info[trdos_info::kFirstFreeTrack];
        const size_t target =
            size_t(freeSector + freeTrack * kTrdosSectorsPerTrack) * kTrdosSectorSize;
        // The information sector may lie: never write past the image.
        const bool fits = image.FreeSectors() >= length &&
                          target + size_t(length) * kTrdosSectorSize <= kTrdosImageSize;
        if (!fits) {
            if (newDisk && !ui.AskOkCancel(disk_text::kDiskOverflow, disk_text::kNoRoom)) {
                return SclResult::Cancelled;
            }
            break;
        }
        auto entry = image.Entry(catalog);
        std::copy(header.begin(), header.end(), entry.begin());
        entry[14] = static_cast<uint8_t>(freeSector);
        entry[15] = static_cast<uint8_t>(freeTrack);

        const size_t bytes = size_t(length) * kTrdosSectorSize;
        const size_t available = dataAt < dataEnd ? std::min(bytes, dataEnd - dataAt) : 0;
        std::copy_n(file.begin() + static_cast<ptrdiff_t>(dataAt), available,
                    info.begin() + static_cast<ptrdiff_t>(target));
        std::fill_n(info.begin() + static_cast<ptrdiff_t>(target + available), bytes - available,
                    uint8_t{0});
        dataAt += bytes;

        const int next = freeSector + freeTrack * kTrdosSectorsPerTrack + length;
        info[trdos_info::kFirstFreeSector] = static_cast<uint8_t>(next % kTrdosSectorsPerTrack);
        info[trdos_info::kFirstFreeTrack] = static_cast<uint8_t>(next / kTrdosSectorsPerTrack);
        ++info[trdos_info::kFileCount];
        image.SetFreeSectors(image.FreeSectors() - length);
        ++catalog;
    }
    return SclResult::Loaded;
}

SclResult LoadSclPackage(const DiskImageContext& ctx, const std::string& fileName,
                         TrdosImage& image, bool newDisk) {
    const auto path = LocateFile(ctx.dirs, fileName);
    const auto file = path ? ReadWholeFile(*path) : std::nullopt;
    if (!file) {
        ctx.OpenFailed(disk_text::kSclCantOpen);
        return SclResult::NotOpened;
    }
    return AddSclPackage(*file, image, newDisk, ctx.ui);
}

bool LoadSclImage(const DiskImageContext& ctx, const std::string& fileName, DiskSurface& disk) {
    TrdosImage image;
    if (LoadSclPackage(ctx, fileName, image, true) != SclResult::Loaded) return false;
    if (CatalogEnd(image) < kTrdosCatalogEntries &&
        !AddBootPackage(ctx, ctx.options.bootScl, image)) {
        return false;
    }
    FormatTracks(image, disk);
    return true;
}

} // namespace vespin
