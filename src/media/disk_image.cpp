#include "media/disk_image.h"

#include <algorithm>
#include <cctype>

#include "media/fdi_image.h"
#include "media/scl_image.h"
#include "media/trd_image.h"
#include "media/udi_image.h"

namespace vespin {

void DiskImageContext::OpenFailed(std::string_view text) const {
    if (!options.noDiskImageError) ui.ShowError(disk_text::kImageError, text);
}

std::string DiskImageExtension(std::string_view fileName) {
    const size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos) return {};
    std::string ext;
    for (char ch : fileName.substr(dot)) {
        if (static_cast<unsigned char>(ch) < 33) continue;
        ext += static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    }
    return ext;
}

std::optional<std::filesystem::path> LoadImageFile(const DiskImageContext& ctx,
                                                   const std::string& fileName, DiskSurface& disk,
                                                   const ImageFileTexts& texts, ImageParser parse) {
    const auto path = LocateFile(ctx.dirs, fileName);
    if (!path) {
        if (texts.openFailureSilenceable) {
            ctx.OpenFailed(texts.cantOpen);
        } else {
            ctx.ui.ShowError(disk_text::kImageError, texts.cantOpen);
        }
        return std::nullopt;
    }
    const auto file = ReadWholeFile(*path);
    if (!file) {
        ctx.ui.ShowError(disk_text::kImageError, texts.cantRead);
        return std::nullopt;
    }
    if (const DiskImageError error = parse(*file, disk)) {
        ctx.ui.ShowError(error.caption, error.text);
        return std::nullopt;
    }
    return path;
}

bool IsReadOnlyFile(const std::filesystem::path& path) {
    std::error_code ec;
    const auto perms = std::filesystem::status(path, ec).permissions();
    if (ec) return false;
    return (perms & std::filesystem::perms::owner_write) == std::filesystem::perms::none;
}

bool LoadDiskImage(const DiskImageContext& ctx, const std::string& fileName, DiskSurface& disk) {
    using Loader = bool (*)(const DiskImageContext&, const std::string&, DiskSurface&);
    struct Format {
        std::string_view extension;
        Loader load;
    };
    static constexpr Format kFormats[] = {
        {".TRD", LoadTrdImage},
        {".SCL", LoadSclImage},
        {".FDI", LoadFdiImage},
        {".UDI", LoadUdiImage},
    };
    const std::string ext = DiskImageExtension(fileName);
    const auto* format = std::find_if(std::begin(kFormats), std::end(kFormats),
                                      [&](const Format& f) { return f.extension == ext; });
    if (format == std::end(kFormats)) return false;

    // Built aside: tracks the image does not cover keep what the drive's disk had.
    DiskSurface staged = disk;
    staged.writeProtected = false;
    if (!format->load(ctx, fileName, staged)) return false;
    disk = std::move(staged);
    return true;
}

int StandardSectorBytes(uint8_t sizeCode) {
    // gap 10, zeros 12, marks 3, ID 7, gap 22, zeros 12, marks 3, data mark 1, CRC 2, gap 50
    return 122 + (128 << (sizeCode & 3));
}

int WriteStandardTrack(DiskTrack& track, std::span<const SectorRecord> sectors) {
    track.Clear();
    int pos = 0;
    auto put = [&](uint8_t value, bool marked = false) { track.Put(pos++, value, marked); };
    auto fill = [&](int count, uint8_t value) {
        for (int i = 0; i < count; ++i)
            put(value);
    };
    int written = 0;
    for (const SectorRecord& s : sectors) {
        if (pos + StandardSectorBytes(s.sizeCode) > kTrackBytes) break;
        fill(10, 0x4E);
        fill(12, 0x00);
        // The first sector's sync shares its place with the end of the track's pre-index gap.
        if (written == 0) {
            put(0x00);
        } else {
            put(0xA1, true);
        }
        put(0xA1, true);
        put(0xA1, true);
        const uint8_t id[] = {0xFE, s.cylinder, s.head, s.sector, s.sizeCode};
        for (uint8_t b : id)
            put(b);
        const uint16_t idCrc = Crc16(id);
        put(static_cast<uint8_t>(idCrc >> 8));
        put(static_cast<uint8_t>(idCrc));
        fill(22, 0x4E);
        fill(12, 0x00);
        for (int i = 0; i < 3; ++i)
            put(0xA1, true);
        put(s.dataMark);
        uint16_t crc = CrcUpdate(kCrcAfterSync, s.dataMark);
        const size_t length = size_t{128} << (s.sizeCode & 3);
        for (size_t i = 0; i < length; ++i) {
            const uint8_t b = i < s.data.size() ? s.data[i] : 0x00;
            put(b);
            crc = CrcUpdate(crc, b);
        }
        put(static_cast<uint8_t>(crc >> 8));
        put(static_cast<uint8_t>(crc));
        fill(50, 0x4E);
        ++written;
    }
    return written;
}

} // namespace vespin
