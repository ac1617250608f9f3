#include "media/memory_block_save.h"

#include <fstream>
#include <vector>

#include "core/memory.h"
#include "media/file_utils.h"
#include "media/snapshot.h"

namespace vespin {

TSMB_Dialog::TSMB_Dialog(ExpressionEvaluator evaluate) : evaluate_(std::move(evaluate)) {
    start_.Write(0);
    length_.Write(1);
    end_.Write(0);
    offset_.Write(0);
    Validate();
}

void TSMB_Dialog::ReadSettings(const SaveMemoryBlockSettings& s) {
    start_.Restore(s.blockStart);
    length_.Restore(s.blockLength);
    end_.Restore(s.blockEnd);
    offset_.Restore(s.offset);
    wrapAround_ = s.wrapAround.value_or(wrapAround_);
    newOverwrite_ = s.newFile.value_or(newOverwrite_);
    askOverwrite_ = s.overwrite.value_or(askOverwrite_);
    appendToEnd_ = s.appendToEnd.value_or(appendToEnd_);
    location_ = s.location.value_or(location_);
    fileDialog_.fileName = s.fileName.value_or(fileDialog_.fileName);
    fileDialog_.defaultDir = s.defaultDir.value_or(fileDialog_.defaultDir);
    Validate();
}

SaveMemoryBlockSettings TSMB_Dialog::WriteSettings() const {
    SaveMemoryBlockSettings s;
    s.blockStart = start_.Setting();
    s.blockLength = length_.Setting();
    s.blockEnd = end_.Setting();
    s.offset = offset_.Setting();
    s.wrapAround = wrapAround_;
    s.newFile = newOverwrite_;
    s.overwrite = askOverwrite_;
    s.appendToEnd = appendToEnd_;
    s.location = location_;
    s.fileName = fileDialog_.fileName;
    s.defaultDir = fileDialog_.defaultDir;
    return s;
}

void TSMB_Dialog::SetStart(std::string text) {
    start_.Set(std::move(text), evaluate_);
    Validate();
}
void TSMB_Dialog::SetLength(std::string text) {
    length_.Set(std::move(text), evaluate_);
    Validate();
}
void TSMB_Dialog::SetEnd(std::string text) {
    end_.Set(std::move(text), evaluate_);
    Validate();
}
void TSMB_Dialog::SetOffset(std::string text) {
    offset_.Set(std::move(text), evaluate_);
    Validate();
}
void TSMB_Dialog::SetWrapAround(bool on) {
    wrapAround_ = on;
    Validate();
}
void TSMB_Dialog::SetNewOverwrite(bool on) {
    newOverwrite_ = on;
    Validate();
}
void TSMB_Dialog::SetAppendToEnd(bool on) {
    appendToEnd_ = on;
    Validate();
}
void TSMB_Dialog::SetAskOverwrite(bool on) {
    askOverwrite_ = on;
    Validate();
}
void TSMB_Dialog::SetLocation(std::string text) {
    location_ = std::move(text);
}
void TSMB_Dialog::FileChosen(const std::filesystem::path& path) {
    SetLocation(fileDialog_.Remember(path));
}

void TSMB_Dialog::Validate() {
    auto fail = [this](const char* message) {
        status_ = message;
        saveEnabled_ = false;
    };
    auto in = [](const NumberField& f, int64_t lo, int64_t hi) {
        return f.value && *f.value >= lo && *f.value <= hi;
    };
    if (!in(start_, 0, 0xFFFF)) return fail("Start position must be in range 0-65535!");
    if (!in(length_, 1, 0x10000)) return fail("Length of block must be in range 1-65536!");
    if (!in(end_, 0, 0xFFFF)) return fail("End position must be in range 0-65535!");
    if (!wrapAround_ && *end_.value < *start_.value)
        return fail("End mark of block must be placed after start!");
    // The length follows start and end. A wrapped block whose end lies just below its start
    // covers all 65536 bytes (not 0), so that end = start + length - 1 holds modulo 65536.
    const int64_t length = ((*end_.value - *start_.value) & 0xFFFF) + 1;
    if (length != *length_.value) length_.Write(length);
    if (!newOverwrite_ && !appendToEnd_ && !(offset_.value && *offset_.value >= 0))
        return fail("Offset must be positive value!");
    status_.clear();
    saveEnabled_ = true;
}

bool TSMB_Dialog::Save(const Memory& mem, MessageBoxHost& messages) {
    if (!saveEnabled_) return false;
    std::vector<uint8_t> block(static_cast<size_t>(*length_.value));
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = ReadByte(mem, static_cast<uint16_t>(*start_.value + static_cast<int64_t>(i)));

    const std::filesystem::path path(location_);
    bool written = false;
    if (newOverwrite_) {
        std::error_code ec;
        if (askOverwrite_ && std::filesystem::exists(path, ec) &&
            !messages.AskYesNo("File \"" + location_ +
                                   "\" already exist!\nDo you want to replace it?",
                               " Warning!", MessageIcon::Exclamation))
            return false;
        written = !location_.empty() && WriteFileAtomically(path, block);
    } else {
        // Updating an existing file in place: at its end, or over its bytes from the offset.
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        if (file) {
            if (appendToEnd_) {
                file.seekp(0, std::ios::end);
            } else {
                file.seekp(static_cast<std::streamoff>(*offset_.value));
            }
            file.write(reinterpret_cast<const char*>(block.data()),
                       static_cast<std::streamsize>(block.size()));
            file.flush();
            written = static_cast<bool>(file);
        }
    }
    if (!written) {
        messages.ShowMessage("Can't save memory block to binary file.", " Error!",
                             MessageIcon::Stop);
        return false;
    }
    return true;
}

} // namespace vespin
