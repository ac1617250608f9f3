#include "media/tape_reader.h"

#include <filesystem>
#include <system_error>

#include "core/machine.h"
#include "media/tape_player.h"

namespace vespin {

TTapeReader::TTapeReader(MachineState& m) : m_(m) {}

void TTapeReader::ReadSettings(const TapeReaderSettings& s, int desktopWidth, int desktopHeight) {
    other_ = s;
    if (other_.y > desktopHeight - 50) other_.y = 20;
    if (other_.x > desktopWidth - 40) other_.x = 20;
    mode_ = s.blockInfoMode >= 0 && s.blockInfoMode <= 2 ? BlockInfoMode(s.blockInfoMode)
                                                         : BlockInfoMode::Hexadecimal;
    SetLocation(s.location);
}

TapeReaderSettings TTapeReader::WriteSettings() const {
    TapeReaderSettings s = other_;
    s.location = location_;
    s.blockInfoMode = int(mode_);
    return s;
}

int32_t TTapeReader::CurrentBlock() const {
    return m_.tape.currentBlock.load(std::memory_order_relaxed);
}

void TTapeReader::SetCurrentBlock(int32_t b) {
    m_.tape.currentBlock.store(b, std::memory_order_relaxed);
    shownBlock_ = b;
}

void TTapeReader::SelectFirstLineOf(int32_t b) {
    if (b >= 0 && b < m_.tape.image.BlockCount()) {
        selectedLine_ = int(m_.tape.image.blocks[size_t(b)].firstLine);
    }
}

void TTapeReader::SetLocation(const std::string& location) {
    location_ = location;
    TapePlayer& p = m_.tape;
    EjectTape(m_);
    shownBlock_ = 0;

    if (location.empty()) {
        ShowError("");
        return;
    }
    std::error_code ec;
    if (!std::filesystem::exists(location, ec)) {
        ShowError("Error! Tape image file not found!");
        return;
    }
    lines_.clear();
    listRed_ = false;
    DescribedTape tape;
    if (std::string error = OpenTapeFile(location, mode_, tape); !error.empty()) {
        ShowError(error);
        return;
    }
    p.image = std::move(tape.image);
    lines_ = std::move(tape.lines);
    selectedLine_ = lines_.empty() ? -1 : 0;
    controls_.playEnabled = true;
    controls_.playVisible = true;
    controls_.stopVisible = false;
    controls_.rewindEnabled = false;
    controls_.ejectEnabled = true;
}

void TTapeReader::ShowError(const std::string& message) {
    controls_.playEnabled = false;
    controls_.playVisible = true;
    controls_.stopVisible = false;
    controls_.rewindEnabled = false;
    controls_.ejectEnabled = false;
    lines_ = {message};
    listRed_ = true;
    selectedLine_ = -1;
}

void TTapeReader::PlayButtonClick() {
    if (controls_.playEnabled && !m_.tape.playing.load()) RequestTapePlay(m_.tape);
}

void TTapeReader::StopButtonClick() {
    RequestTapeStop(m_.tape);
}

void TTapeReader::RewindButtonClick() {
    SetCurrentBlock(0);
    controls_.rewindEnabled = false;
}

void TTapeReader::EjectButtonClick() {
    SetLocation("");
    controls_.ejectEnabled = false;
}

void TTapeReader::SetBlockInfoMode(BlockInfoMode mode) {
    if (mode == mode_) return;
    mode_ = mode;
    SetLocation(location_);
}

void TTapeReader::BlockListClick(int line) {
    const TapeImage& img = m_.tape.image;
    if (img.kind == TapeKind::None || line < 0 || line >= int(lines_.size())) return;
    selectedLine_ = line;
    int32_t block = line;
    if (img.kind == TapeKind::Tzx) {
        // The block whose first line is the last one not after the selected line.
        block = 0;
        while (block + 1 < img.BlockCount() && int(img.blocks[size_t(block) + 1].firstLine) <= line)
            ++block;
    }
    SetCurrentBlock(block);
    controls_.rewindEnabled = block != 0;
}

bool TTapeReader::BlockListDownKey() {
    const TapeImage& img = m_.tape.image;
    if (img.kind != TapeKind::Tzx) return false;
    const int32_t next = CurrentBlock() + 1;
    if (next < img.BlockCount()) {
        SetCurrentBlock(next);
        SelectFirstLineOf(next);
        controls_.rewindEnabled = true;
    }
    return true;
}

void TTapeReader::TimerTick(const BlockSelectorRunner& runSelector) {
    TapePlayer& p = m_.tape;
    const TapeImage& img = p.image;

    const bool playing = p.playing.load();
    if (playing != shownPlaying_) {
        shownPlaying_ = playing;
        controls_.stopVisible = playing;
        controls_.playVisible = !playing;
        controls_.selectFileEnabled = !playing;
        controls_.locationEnabled = !playing;
        controls_.ejectEnabled = !playing;
        controls_.listEnabled = !playing;
        controls_.rewindEnabled = !playing && selectedLine_ > 0;
    }

    if (p.captionRefresh.exchange(false, std::memory_order_acquire)) {
        const int32_t percent = p.progressPercent.load(std::memory_order_relaxed);
        caption_ = kTapeReaderCaption;
        if (percent >= 0) caption_ += " (" + std::to_string(percent) + "%)";
    }

    if (const int32_t b = CurrentBlock(); b != shownBlock_) {
        shownBlock_ = b;
        SelectFirstLineOf(b);
    }

    if (const int32_t b = p.pendingMessageBlock.exchange(-1, std::memory_order_acquire);
        b >= 0 && b < img.BlockCount()) {
        const TapeMessage msg = ReadTzxMessage(img, img.BlockStart(b));
        messager_.ShowMessage(msg.seconds, msg.text);
    }

    if (const int32_t b = p.pendingSelectionBlock.exchange(-1, std::memory_order_acquire);
        b >= 0 && b < img.BlockCount()) {
        const TapeSelection sel = ReadTzxSelection(img, img.BlockStart(b));
        selector_.Open(sel.texts);
        runSelector(selector_);
        const uint8_t choice = selector_.Result();
        if (choice != kNoBlockSelected && choice < sel.offsets.size()) {
            SetCurrentBlock(b + sel.offsets[choice]);
            SelectFirstLineOf(b + sel.offsets[choice]);
            RequestTapePlay(p);
        }
        selector_.Open({});
    }
}

} // namespace vespin
