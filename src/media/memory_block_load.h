// The "Load Memory Block from File" dialog, without its widgets: the chosen file, the file range
// and memory start fields, validation, the status line and the load itself. Bytes land at
// (start + i) AND 0xFFFF; with "&Preserve ROM Area" through the memory engine's write (ROM
// stays untouched), without it straight into whatever is paged there, ROM images included.
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

struct LoadMemoryBlockSettings {
    static constexpr std::string_view kKeyPath =
        "\\Software\\Corvane\\Vespin\\Environment\\LoadMemoryBlock";
    std::optional<std::string> location, fileName, defaultDir; // "Location", "File Name", ...
    std::optional<bool> allFile, romPreserve, wrapAround;      // "All File", "ROM Preserve", ...
    std::optional<int32_t> fromPosition, toPosition, blockLength, blockStart; // "From Position"...
};

class TLMB_Dialog {
  public:
    static constexpr std::string_view kCaption = "Load Memory Block from File";

    explicit TLMB_Dialog(ExpressionEvaluator evaluate);

    void ReadSettings(const LoadMemoryBlockSettings& s);
    LoadMemoryBlockSettings WriteSettings() const;

    // The location field: looks the file up and takes its size, then validates.
    void SetLocation(std::string text);
    void FileChosen(const std::filesystem::path& path);
    void SetFrom(std::string text);
    void SetTo(std::string text);
    void SetLength(std::string text);
    void SetStart(std::string text);
    void SetAllFile(bool on);
    void SetWrapAround(bool on);
    void SetPreserveRom(bool on);

    // "&Load": copies the block into memory. Returns true when the dialog closes; a failure is
    // shown as a message and leaves memory unchanged.
    bool Load(Memory& mem, MessageBoxHost& messages);

    const NumberField& From() const { return from_; }
    const NumberField& To() const { return to_; }
    const NumberField& Length() const { return length_; }
    const NumberField& Start() const { return start_; }
    const std::string& Location() const { return location_; }
    std::optional<uintmax_t> FileSize() const { return fileSize_; }
    const std::string& Status() const { return status_; }
    bool LoadEnabled() const { return loadEnabled_; }
    bool AllFile() const { return allFile_; }
    bool WrapAround() const { return wrapAround_; }
    bool PreserveRom() const { return preserveRom_; }
    // "&All File" fills the range from the file and locks the three range fields.
    bool RangeFieldsEnabled() const { return !allFile_; }

  private:
    void InspectFile();
    void Validate();

    ExpressionEvaluator evaluate_;
    std::string location_;
    FileDialogChoice fileDialog_;
    std::optional<uintmax_t> fileSize_;
    std::string fileProblem_; // why there is no file size
    NumberField from_, to_, length_, start_;
    bool allFile_ = true;
    bool wrapAround_ = false;
    bool preserveRom_ = true;
    std::string status_;
    bool loadEnabled_ = false;
};

} // namespace vespin
