// Putting a disk image into the Beta 128 drive: the loaders' shared pieces (messages, the
// questions the desktop program answers, the standard raw track layout) and the loader that
// picks the format by the file's extension.
//
// Every loader builds the new disk aside and replaces the drive's disk only when the load
// succeeds, so a bad or cancelled image leaves the disk that was in the drive as it was.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "media/disk_surface.h"
#include "media/file_utils.h"

namespace vespin {

namespace disk_text {
constexpr std::string_view kImageError = " Disk Image Error!";
constexpr std::string_view kInvalidImage = " Invalid Disk Image!";
constexpr std::string_view kSclError = " SCL Package Error!";
constexpr std::string_view kCatalogOverflow = " TR-DOS catalog overflow!";
constexpr std::string_view kDiskOverflow = " TR-DOS disk overflow!";

constexpr std::string_view kCantOpen =
    "Can't open Disk Image File! Invalid file name or file location...";
constexpr std::string_view kWrongSize =
    "Disk Image File have wrong size! File corrupted or has unsupported format...";
constexpr std::string_view kCantRead = "Can't read Disk Image File! Unresolved hardware error...";
constexpr std::string_view kUnsupported = "Can't open Disk Image File! Unsupported file format...";
constexpr std::string_view kSclCantOpen =
    "Can't open SCL Package File! Invalid file name or file location...";
constexpr std::string_view kSclChecksum =
    "SCL file has wrong checksum! File corrupted or it is not SCL file...";
constexpr std::string_view kSclFormat =
    "SCL file has wrong format! File corrupted or it is not SCL file...";
constexpr std::string_view kTooManyFiles =
    "Too many files in this SCL package! No more than 128 files allowed!\n"
    "Do you want load 128 files and continue?";
constexpr std::string_view kNoRoom = "Not enough room on disk for files from this SCL package!\n"
                                     "Do you want load full disk and continue?";
constexpr std::string_view kUdiCantOpen =
    "Can't open Ultra Disk Image file! Invalid file name or file location...";
constexpr std::string_view kUdiCantRead =
    "Can't read Ultra Disk Image file! Unresolved hardware error...";
constexpr std::string_view kUdiUnsupported =
    "Can't open Ultra Disk Image file! Unsupported file format...";
} // namespace disk_text

// A loader's failure: the caption and text of its message box; empty text for success.
struct DiskImageError {
    std::string_view caption;
    std::string_view text;
    explicit operator bool() const { return !text.empty(); }
};

// The desktop program shows the loaders' message boxes and answers their questions.
class DiskImageUi {
  public:
    virtual ~DiskImageUi() = default;
    // A message box with the stop icon.
    virtual void ShowError(std::string_view caption, std::string_view text) = 0;
    // An OK/Cancel question; true for OK.
    virtual bool AskOkCancel(std::string_view caption, std::string_view text) = 0;
};

// The "Hardware\TR-DOS" settings the loaders read.
struct DiskImageOptions {
    std::string bootFileName;      // "Boot File Name": an SCL package added to booted disks
    bool bootTrd = false;          // "Boot TRD"
    bool bootScl = true;           // "Boot SCL"
    bool noDiskImageError = false; // "No Disk Image Error": silences open failures
};

struct DiskImageContext {
    const FileSearchDirs& dirs;
    const DiskImageOptions& options;
    DiskImageUi& ui;

    // The open-failure message that "No Disk Image Error" silences.
    void OpenFailed(std::string_view text) const;
};

// Loads a TRD, SCL, FDI or UDI file (by its extension) into the drive. Other extensions do
// nothing. Returns true when the disk was replaced.
bool LoadDiskImage(const DiskImageContext& ctx, const std::string& fileName, DiskSurface& disk);

// Reads a whole image file and turns it into tracks with `parse`, showing the messages of
// whatever fails. Returns the file's path when the image was loaded.
struct ImageFileTexts {
    std::string_view cantOpen;
    std::string_view cantRead;
    bool openFailureSilenceable; // by "No Disk Image Error"
};
using ImageParser = DiskImageError (*)(std::span<const uint8_t> file, DiskSurface& disk);
std::optional<std::filesystem::path> LoadImageFile(const DiskImageContext& ctx,
                                                   const std::string& fileName, DiskSurface& disk,
                                                   const ImageFileTexts& texts, ImageParser parse);

// The extension a file name is loaded by: upper-cased, characters below 33 dropped (".TRD").
std::string DiskImageExtension(std::string_view fileName);

// A file the user may not write: the emulated disk is then write-protected.
bool IsReadOnlyFile(const std::filesystem::path& path);

// One sector for the standard raw track layout.
struct SectorRecord {
    uint8_t cylinder = 0;
    uint8_t head = 0;
    uint8_t sector = 1;
    uint8_t sizeCode = 1; // the data field holds 128 << (sizeCode & 3) bytes
    uint8_t dataMark = 0xFB;
    std::span<const uint8_t> data; // shorter data is padded with 0x00
};

// Raw bytes one sector takes in the standard layout, gaps included.
int StandardSectorBytes(uint8_t sizeCode);

// Clears the track and writes the sectors in order in the standard layout: gap 0x4E, zeros,
// sync marks, ID field, gap, zeros, sync marks, data mark, data, CRC, gap; the rest stays 0x00.
// A sector that would run past the end of the track is left out. Returns the sectors written.
int WriteStandardTrack(DiskTrack& track, std::span<const SectorRecord> sectors);

// Little-endian fields of image headers.
inline uint32_t ReadLe16(std::span<const uint8_t> b, size_t at) {
    return static_cast<uint32_t>(b[at] | b[at + 1] << 8);
}
inline uint32_t ReadLe32(std::span<const uint8_t> b, size_t at) {
    return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
           static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

} // namespace vespin
