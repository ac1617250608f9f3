#include "debugger/rom_navigator.h"

#include <cstdio>
#include <fstream>

namespace vespin {

namespace {

constexpr uint32_t Entry(uint32_t page, uint16_t crc) {
    return page << 16 | crc;
}

constexpr std::array<KnownRom, 18> kKnownRoms{{
    {"Original SOS (48k, 1982)", Entry(0, 0xE98D)},
    {"Original SOS (128k, 1986)", Entry(0, 0xC83F)},
    {"Pentagon Basic 128k", Entry(1, 0xCEAC)},
    {"Original 128k (128k, 1986)", Entry(1, 0xFB2F)},
    {"ATM-1 CP/M BIOS", Entry(3, 0xCC4D)},
    {"ATM-1 TR-DOS", Entry(2, 0x513F)},
    {"ATM-1 Basic 128k", Entry(1, 0x2BD6)},
    {"ATM-1 Basic 48k", Entry(0, 0x5282)},
    {"TR-DOS 5.03", Entry(2, 0x17B6)},
    {"TR-DOS 5.04 (1990)", Entry(2, 0xD926)},
    {"TR-DOS 5.04s", Entry(2, 0x878A)},
    {"TR-DOS 5.04T", Entry(2, 0xA4AD)},
    {"TR-DOS 5.04TM", Entry(2, 0x43B7)},
    {"TR-DOS 5.05", Entry(2, 0x36B6)},
    {"TR-DOS 5.05D", Entry(2, 0x6741)},
    {"TR-DOS 5.5H (Pelk,1993)", Entry(2, 0x7FA8)},
    {"TR-DOS 5.04Em (Orvy,1993)", Entry(2, 0x3C90)},
    {"TR-DOS 5.01 (1986)", Entry(2, 0xF9FF)},
}};

// ROM files hold a few 16 KB images; anything beyond this is not a ROM file.
constexpr uintmax_t kMaxRomFileSize = 64 * kPageSize;
// A ROM file setting names its page with one digit, so later images cannot be referenced.
constexpr int kMaxReferencedImage = 9;

} // namespace

uint16_t RomCrc(std::span<const uint8_t> image) {
    uint16_t crc = 0xCDB4;
    for (const uint8_t byte : image) {
        crc ^= static_cast<uint16_t>(byte << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<uint16_t>(crc & 0x8000 ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    return crc;
}

const KnownRom* IdentifyRom(uint16_t crc) {
    for (const KnownRom& rom : kKnownRoms)
        if ((rom.pageAndCrc & 0xFFFF) == crc) return &rom;
    return nullptr;
}

TRomNavF::TRomNavF(FileSearchDirs dirs, RomFieldSetter setRomField)
    : dirs_(std::move(dirs)), setRomField_(std::move(setRomField)) {}

void TRomNavF::FileLEChange(std::string fileName) {
    fileName_ = std::move(fileName);
    images_.clear();
    selected_ = -1;
    crcLabel_.assign(1, '-');
    description_.clear();
    defaultPage_ = inPage_ = -1;
    selectEnabled_ = autoSelectEnabled_ = false;

    const auto path = LocateFile(dirs_, fileName_);
    fileMissing_ = !path;
    if (path) ReadImages(*path);
}

void TRomNavF::ReadImages(const std::filesystem::path& path) {
    std::error_code ec;
    const uintmax_t size = std::filesystem::file_size(path, ec);
    std::ifstream in(path, std::ios::binary);
    if (ec || !in) {
        images_.push_back({"Opening Error"});
        return;
    }
    if (size % kPageSize != 0 || size > kMaxRomFileSize) {
        images_.push_back({"Invalid Size"});
        return;
    }
    std::vector<uint8_t> image(kPageSize);
    for (uintmax_t i = 0; i < size / kPageSize; ++i) {
        if (!in.read(reinterpret_cast<char*>(image.data()), kPageSize)) {
            images_.push_back({"Loading Error"});
            return;
        }
        const uint16_t crc = RomCrc(image);
        const KnownRom* rom = IdentifyRom(crc);
        images_.push_back({rom ? std::string(rom->description) : "Unknown ROM", crc, true,
                           rom ? static_cast<int>(rom->pageAndCrc >> 16) : -1});
    }
    autoSelectEnabled_ = !images_.empty();
    for (const ImageLine& line : images_)
        autoSelectEnabled_ &= line.Identified();
}

void TRomNavF::ImagesLBClick(int index) {
    if (index < 0 || index >= static_cast<int>(images_.size())) return;
    const ImageLine& line = images_[static_cast<size_t>(index)];
    if (!line.isImage) return;
    selected_ = index;
    char crc[8];
    std::snprintf(crc, sizeof crc, "#%04X", line.crc);
    crcLabel_ = crc;
    description_ = line.text;
    defaultPage_ = inPage_ = line.defaultPage;
    selectEnabled_ = line.Identified() && index <= kMaxReferencedImage;
}

void TRomNavF::PageCBChange(int page) {
    if (page >= -1 && page < static_cast<int>(kRomPageNames.size())) inPage_ = page;
}

std::string TRomNavF::Reference() const {
    return fileName_ + ":" + std::to_string(selected_);
}

void TRomNavF::LoadBClick() {
    if (!selectEnabled_) return;
    constexpr std::array<RomSlot, 3> kFieldOfPage{RomSlot::Basic48, RomSlot::Rom128,
                                                  RomSlot::Trdos};
    if (inPage_ >= 0 && inPage_ < static_cast<int>(kFieldOfPage.size()) && setRomField_)
        setRomField_(kFieldOfPage[static_cast<size_t>(inPage_)], Reference());
    selectEnabled_ = false;
}

} // namespace vespin
