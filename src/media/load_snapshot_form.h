// The "Load Snapshot" dialog, without its widgets: the location field, the information labels
// that describe the file, which load buttons are enabled, the run choice, and the settings.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vespin {

struct LoadSnapshotSettings {
    static constexpr std::string_view kKeyPath =
        "\\Software\\Corvane\\Vespin\\Environment\\Snapshot";
    std::optional<std::string> location, fileName, defaultDir; // "Location", "File Name", ...
    std::optional<int32_t> xPosition, yPosition;               // "X Position", "Y Position"
};

// A label's text and whether it is drawn red (else in the normal window text colour).
struct InfoLabel {
    std::string text;
    bool red = false;
    bool operator==(const InfoLabel&) const = default;
};

class TLoadSnapForm {
  public:
    static constexpr std::string_view kCaption = "Load Snapshot";
    static constexpr std::string_view kFileFilter =
        "Snapshot File (*.Sna, *.Z80)|*.Sna;*.Z80|All Files (*.*)|*.*";

    TLoadSnapForm();

    // Restores the settings; a saved position beyond the desktop (its right edge minus 40, its
    // bottom edge minus 50) is pulled back to 20.
    void ReadSettings(const LoadSnapshotSettings& s, int desktopWidth, int desktopHeight);
    LoadSnapshotSettings WriteSettings() const;
    void SetPosition(int x, int y) { x_ = x, y_ = y; }
    int X() const { return x_; }
    int Y() const { return y_; }

    // LocationEdit changed: inspects the file it names.
    void SetLocation(std::string text);
    // A file picked with "&..." goes into LocationEdit.
    void FileChosen(const std::filesystem::path& path);

    // "Load && &Run" and "Load && &Debug" close the dialog with OK and set the run choice.
    void LoadRunClicked() { runChoice_ = true; }
    void LoadDebugClicked() { runChoice_ = false; }
    bool RunChoice() const { return runChoice_; }
    void SetRunChoice(bool run) { runChoice_ = run; } // the command line's snapshot runs

    const std::string& Location() const { return location_; }
    const InfoLabel& SizeLabel() const { return size_; }
    const InfoLabel& FormatLabel() const { return format_; }
    const InfoLabel& VersionLabel() const { return version_; }
    bool LoadButtonsEnabled() const { return loadEnabled_; }

  private:
    void Inspect();

    std::string location_;
    std::string fileName_, defaultDir_;
    int x_ = 0, y_ = 0;
    InfoLabel size_, format_, version_;
    bool loadEnabled_ = false;
    bool runChoice_ = true;
};

} // namespace vespin
