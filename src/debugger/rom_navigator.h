// The ROM navigator "ROM Loading Navigator": splits a ROM file into 16 KB images, identifies
// each by a 16-bit CRC against a table of known ROMs and writes a "file:index" reference to
// the chosen image into one of the options dialog's ROM file fields.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/memory.h"
#include "media/file_utils.h"

namespace vespin {

// CRC-16, polynomial 0x1021, most significant bit first, starting from 0xCDB4, no final XOR.
uint16_t RomCrc(std::span<const uint8_t> image);

struct KnownRom {
    std::string_view description;
    uint32_t pageAndCrc; // default page * 65536 + CRC
};

// The first known ROM with this CRC, searched in table order.
const KnownRom* IdentifyRom(uint16_t crc);

inline constexpr const char* kRomNavigatorCaption = "ROM Loading Navigator";
// The open-file dialog of "...".
inline constexpr const char* kRomOpenTitle = "Select ROM image file for loading";
inline constexpr const char* kRomOpenFilter = "ROM Image|*.Rom";
inline constexpr const char* kRomOpenExtension = "Rom";

// Entries of both page lists, in order. Pages 0 to 2 select the 48K, 128K and TR-DOS fields.
inline constexpr std::array<std::string_view, 8> kRomPageNames{
    "48k Basic",  "128k Basic", "TR-DOS",     "ATM CP/M BIOS",
    "ATM User 1", "ATM User 2", "ATM User 3", "ATM User 4"};

class TRomNavF {
  public:
    // Select writes the reference through setRomField (the options dialog's field of a slot).
    using RomFieldSetter = std::function<void(RomSlot, const std::string&)>;
    TRomNavF(FileSearchDirs dirs, RomFieldSetter setRomField);

    struct ImageLine {
        std::string text; // description, "Unknown ROM", or a message line
        uint16_t crc = 0;
        bool isImage = false; // false for "Invalid Size", "Opening Error", ...
        int defaultPage = -1; // -1: none (not identified)
        bool Identified() const { return defaultPage >= 0; }
    };

    // "ROM File:" changed (typed or chosen with "...").
    void FileLEChange(std::string fileName);
    // A click on a line of "ROM images inside:".
    void ImagesLBClick(int index);
    // "in page" changed.
    void PageCBChange(int page);
    // "Select".
    void LoadBClick();

    // What the window shows.
    const std::string& FileName() const { return fileName_; }
    bool FileFieldYellow() const { return fileMissing_; }
    const std::vector<ImageLine>& Images() const { return images_; }
    const std::string& CrcLabel() const { return crcLabel_; }
    const std::string& Description() const { return description_; }
    int DefaultPage() const { return defaultPage_; } // -1: none
    int InPage() const { return inPage_; }
    bool DescriptionEnabled() const { return !fileMissing_; }
    bool PageListsEnabled() const { return !fileMissing_; }
    bool SelectEnabled() const { return selectEnabled_; }
    bool AutoSelectEnabled() const { return autoSelectEnabled_; }
    // The reference Select would write: file name, ":", image index.
    std::string Reference() const;

  private:
    void ReadImages(const std::filesystem::path& path);

    FileSearchDirs dirs_;
    RomFieldSetter setRomField_;
    std::string fileName_;
    bool fileMissing_ = true;
    std::vector<ImageLine> images_;
    int selected_ = -1;
    std::string crcLabel_ = "-";
    std::string description_;
    int defaultPage_ = -1;
    int inPage_ = -1;
    bool selectEnabled_ = false;
    bool autoSelectEnabled_ = false;
};

} // namespace vespin
