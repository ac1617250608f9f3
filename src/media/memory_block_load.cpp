#include "media/memory_block_load.h"

#include <fstream>
#include <vector>

#include "core/memory.h"
#include "media/snapshot.h"

namespace vespin {

namespace fs = std::filesystem;

namespace {
constexpr const char* kNoFile = "You must select binary file for loading!";
} // namespace

TLMB_Dialog::TLMB_Dialog(ExpressionEvaluator evaluate) : evaluate_(std::move(evaluate)) {
    start_.Write(0);
    InspectFile();
    Validate();
}

void TLMB_Dialog::ReadSettings(const LoadMemoryBlockSettings& s) {
    location_ = s.location.value_or(location_);
    fileDialog_.fileName = s.fileName.value_or(fileDialog_.fileName);
    fileDialog_.defaultDir = s.defaultDir.value_or(fileDialog_.defaultDir);
    allFile_ = s.allFile.value_or(allFile_);
    preserveRom_ = s.romPreserve.value_or(preserveRom_);
    wrapAround_ = s.wrapAround.value_or(wrapAround_);
    from_.Restore(s.fromPosition);
    to_.Restore(s.toPosition);
    length_.Restore(s.blockLength);
    start_.Restore(s.blockStart);
    InspectFile();
    Validate();
}

LoadMemoryBlockSettings TLMB_Dialog::WriteSettings() const {
    LoadMemoryBlockSettings s;
    s.location = location_;
    s.fileName = fileDialog_.fileName;
    s.defaultDir = fileDialog_.defaultDir;
    s.allFile = allFile_;
    s.romPreserve = preserveRom_;
    s.wrapAround = wrapAround_;
    s.fromPosition = from_.Setting();
    s.toPosition = to_.Setting();
    s.blockLength = length_.Setting();
    s.blockStart = start_.Setting();
    return s;
}

void TLMB_Dialog::SetLocation(std::string text) {
    location_ = std::move(text);
    InspectFile();
    Validate();
}
void TLMB_Dialog::FileChosen(const fs::path& path) {
    SetLocation(fileDialog_.Remember(path));
}
void TLMB_Dialog::SetFrom(std::string text) {
    from_.Set(std::move(text), evaluate_);
    Validate();
}
void TLMB_Dialog::SetTo(std::string text) {
    to_.Set(std::move(text), evaluate_);
    Validate();
}
void TLMB_Dialog::SetLength(std::string text) {
    length_.Set(std::move(text), evaluate_);
    Validate();
}
void TLMB_Dialog::SetStart(std::string text) {
    start_.Set(std::move(text), evaluate_);
    Validate();
}
void TLMB_Dialog::SetAllFile(bool on) {
    allFile_ = on;
    Validate();
}
void TLMB_Dialog::SetWrapAround(bool on) {
    wrapAround_ = on;
    Validate();
}
void TLMB_Dialog::SetPreserveRom(bool on) {
    preserveRom_ = on;
    Validate();
}

void TLMB_Dialog::InspectFile() {
    fileSize_.reset();
    std::error_code ec;
    if (location_.empty()) {
        fileProblem_ = kNoFile;
    } else if (!fs::exists(location_, ec)) {
        fileProblem_ = "Selected file not found!";
    } else if (!std::ifstream(location_, std::ios::binary)) {
        fileProblem_ = "Can not open selected file!";
    } else if (const uintmax_t size = fs::file_size(location_, ec); ec) {
        fileProblem_ = "Can not determine lenght of selected file!";
    } else {
        fileSize_ = size;
        fileProblem_.clear();
    }
}

void TLMB_Dialog::Validate() {
    auto fail = [this](const std::string& message) {
        status_ = message;
        loadEnabled_ = false;
    };
    if (!fileSize_) return fail(fileProblem_);
    const auto size = static_cast<int64_t>(*fileSize_);
    if (allFile_) {
        from_.Write(0);
        to_.Write(size - 1);
        length_.Write(size);
    }
    if (!from_.value) return fail("You must input From file position!");
    if (*from_.value < 0 || *from_.value > size - 1)
        return fail("From position must be in file size range!");
    if (!to_.value) return fail("You must input To file position!");
    if (*to_.value < 0 || *to_.value > size - 1)
        return fail("To position must be in file size range!");
    if (*from_.value > *to_.value) return fail("From position must be not above To position!");
    if (!length_.value) return fail("You must input length of loading block!");
    if (*length_.value < 1 || *length_.value > 0x10000)
        return fail("Block length must be in range 1-65536!");
    if (*to_.value - *from_.value + 1 != *length_.value)
        length_.Write(*to_.value - *from_.value + 1);
    if (!start_.value) return fail("You must input Memory Block Start!");
    if (*start_.value < 0 || *start_.value > 0xFFFF)
        return fail("Start position must be in range 0-65535!");
    if (!wrapAround_ && *start_.value + *length_.value > 0x10000)
        return fail("Block size is too big to fit in memory!");
    status_.clear();
    loadEnabled_ = true;
}

bool TLMB_Dialog::Load(Memory& mem, MessageBoxHost& messages) {
    if (!loadEnabled_) return false;
    // The whole block is read before memory is touched, so a file that shrank since it was
    // chosen changes nothing.
    std::vector<char> block(static_cast<size_t>(*length_.value));
    std::ifstream file(location_, std::ios::binary);
    file.seekg(static_cast<std::streamoff>(*from_.value));
    if (!file || !file.read(block.data(), static_cast<std::streamsize>(block.size()))) {
        messages.ShowMessage("Can't load memory block from binary file.", " Error!",
                             MessageIcon::Stop);
        return false;
    }
    for (size_t i = 0; i < block.size(); ++i) {
        const auto address = static_cast<uint16_t>(*start_.value + static_cast<int64_t>(i));
        const auto byte = static_cast<uint8_t>(block[i]);
        if (preserveRom_) {
            WriteByte(mem, address, byte);
        } else {
            *ByteAddress(mem, address) = byte;
        }
    }
    return true;
}

} // namespace vespin
