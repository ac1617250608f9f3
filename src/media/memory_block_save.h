// The "Save Memory Block to File" dialog, without its widgets: fields, validation, the status
// line, which controls show, and the save itself. A block is read through the memory engine as
// currently paged; with wrap-around it continues at 0x0000 after 0xFFFF.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "media/memory_block_fields.h"

namespace vespin {

struct Memory;
class MessageBoxHost;

// Stored under this key path; a missing value leaves its field as the dialog starts.
struct SaveMemoryBlockSettings {
    static constexpr std::string_view kKeyPath =
        "\\Software\\Corvane\\Vespin\\Environment\\SaveMemoryBlock";
    std::optional<int32_t> blockStart, blockLength, blockEnd; // "Block Start", "Block Length", ...
    std::optional<bool> wrapAround;                           // "Wrap Around"
    std::optional<bool> newFile;                              // "New File": "&New/Overwrite"
    std::optional<bool> overwrite;   // "Overwrite": "&Ask for Overwrite Old File"
    std::optional<bool> appendToEnd; // "Append to End"
    std::optional<std::string> location, fileName, defaultDir; // "Location", "File Name", ...
    std::optional<int32_t> offset;                             // "Offset"
};

class TSMB_Dialog {
  public:
    static constexpr std::string_view kCaption = "Save Memory Block to File";

    explicit TSMB_Dialog(ExpressionEvaluator evaluate);

    void ReadSettings(const SaveMemoryBlockSettings& s);
    SaveMemoryBlockSettings WriteSettings() const;

    // Field edits; each validates the dialog again.
    void SetStart(std::string text);
    void SetLength(std::string text);
    void SetEnd(std::string text);
    void SetOffset(std::string text);
    void SetWrapAround(bool on);
    void SetNewOverwrite(bool on);
    void SetAppendToEnd(bool on);
    void SetAskOverwrite(bool on);
    void SetLocation(std::string text);
    // A file picked in the "&..." file dialog.
    void FileChosen(const std::filesystem::path& path);

    // "Save": writes the block. Returns true when the dialog closes; false when the user
    // declined to replace a file or the save failed (the failure is shown as a message).
    bool Save(const Memory& mem, MessageBoxHost& messages);

    const NumberField& Start() const { return start_; }
    const NumberField& Length() const { return length_; }
    const NumberField& End() const { return end_; }
    const NumberField& Offset() const { return offset_; }
    const std::string& Location() const { return location_; }
    const std::string& Status() const { return status_; }
    bool SaveEnabled() const { return saveEnabled_; }
    bool WrapAround() const { return wrapAround_; }
    bool NewOverwrite() const { return newOverwrite_; }
    bool AppendToEnd() const { return appendToEnd_; }
    bool AskOverwrite() const { return askOverwrite_; }
    // "&New/Overwrite" shows the overwrite question; unchecked, append and offset show instead.
    bool AskOverwriteVisible() const { return newOverwrite_; }
    bool AppendToEndVisible() const { return !newOverwrite_; }
    bool OffsetVisible() const { return !newOverwrite_ && !appendToEnd_; }

  private:
    void Validate();

    ExpressionEvaluator evaluate_;
    NumberField start_, length_, end_, offset_;
    bool wrapAround_ = false;
    bool newOverwrite_ = true;
    bool appendToEnd_ = false;
    bool askOverwrite_ = true;
    std::string location_;
    FileDialogChoice fileDialog_;
    std::string status_;
    bool saveEnabled_ = false;
};

} // namespace vespin
