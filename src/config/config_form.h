// The options dialog "Options" without its widgets: every control's live effect, the border
// presets, the port address bit editors, the volume sliders, the ROM check, and the snapshot
// that anything but "OK" puts back.
//
// Created hidden at start (reads the options from the store), shown modally on one of its
// pages, destroyed at the end (writes them back). The host program applies what changes: to
// the machine between frames, to the screen window, to the sound output.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "config/border_editor.h"
#include "config/machine_settings.h"
#include "config/settings.h"
#include "config/volume_sliders.h"
#include "core/machine_options.h"
#include "media/file_utils.h"

namespace vespin {

enum class WarningAnswer : uint8_t { Ok, Cancel };

// What the dialog's controls act on. The desktop program implements it; tests use a double.
class TConfigHost {
  public:
    virtual ~TConfigHost() = default;
    // Port decodes, memory model, TR-DOS switches, mouse, attribute port (ApplyHardwareOptions).
    virtual void ApplyHardware(const OptionsSettings& options) = 0;
    // Caption frame rate, windowed DirectDraw, double size, full-screen options, and the
    // renderer's palette and flash (ApplyScreenOptions).
    virtual void ApplyScreen(const ScreenPanelSettings& screen) = 0;
    // Picture and window size follow the border.
    virtual void ApplyBorder(const BorderSizes& sizes) = 0;
    // Volume positions and synchronisation delay (ApplySoundOptions).
    virtual void ApplySound(const OptionsSettings& options) = 0;
    // Loads the three ROM images into the machine (LoadRomSet, with the emulation stopped).
    // Returns an empty string on success; on failure the machine keeps the images it had.
    virtual std::string LoadRoms(const RomSettings& roms) = 0;
    // A message box with OK and Cancel.
    virtual WarningAnswer AskWarning(std::string_view caption, std::string_view text) = 0;
};

enum class ConfigPage : uint8_t { Video, Ports, Startup, Roms, Trdos, Memory, Mouse, Sound };

// Texts of the dialog's pages and lists, in the order of their values.
inline constexpr const char* kConfigCaption = "Options";
inline constexpr std::array<const char*, 8> kConfigPageNames{
    "Video", "Ports", "Startup", "ROM's", "TR-DOS", "Memory", "Mouse", "Sound"};
inline constexpr std::array<const char*, 3> kVideoModeNames{"640x480", "800x600", "1024x768"};
inline constexpr std::array<const char*, 2> kStartModeNames{"Debugger", "Emulator"};
// Titles of the file dialogs of the three ROM fields, in RomSlot order.
inline constexpr std::array<const char*, 3> kRomDialogTitles{
    "Select ROM 48k Image file", "Select ROM 128k Image file", "Select ROM TR-DOS Image file"};

enum class ConfigCheckBox : uint8_t {
    UseDirectDraw,
    ShowFps,
    DoubleSize,
    GrayPalette,
    DirectMemory,
    Interlaced,
    JoystickEnabled,
    KeyboardEnabled,
    AttributePort,
    AttributeAllUnused,
    TrdosEnabled,
    DosPortAccess,
    BootTrd,
    BootScl,
    NoDiskImageError,
    MouseEnabled,
    MouseSwapButtons,
    MouseWheel,
    MouseWheelInvert,
};

enum class ConfigChoice : uint8_t { VideoMode, StartReset, StartMode, MemoryModel, SynchDelay };

enum class PortEditor : uint8_t { Joystick, Keyboard };

enum class RomCheckResult : uint8_t {
    Loaded,      // all three images are in the machine
    ChooseRoms,  // the user wants to pick ROM files: keep or open the dialog on "ROM's"
    QuitProgram, // the user cancelled: the program ends
};

inline constexpr const char* kRomWarningCaption = "Warning!";
inline constexpr const char* kRomWarningText =
    "ROM Image files missed or not defined!\nPlease select all ROM Image Files to run emulator.";

// Frames per flash phase for the text of "Flash Frequency:" (in Hz): unparsable text counts as
// 5, 0 as 5, anything above 25 as 25; the period is the whole part of 25 / value.
int32_t FlashPeriodFromText(std::string_view text);
// The frequency 25 / period as the field shows it.
std::string FlashFrequencyText(int32_t period);

class TConfigForm {
  public:
    // Reads the options from the store and applies them, the border preset included.
    TConfigForm(SettingsStore& store, TConfigHost& host, FileSearchDirs dirs,
                const ScreenPanelSettings& screen);

    // Writes the options back to the store (at program end).
    void WriteSettings();

    // Shows the dialog on a page: takes the snapshot and clears the accepted flag.
    void Show(ConfigPage page);
    // Changing the page is refused while a field is invalid.
    bool SetPage(ConfigPage page);
    // "OK": the ROM check, then the dialog closes when the images loaded.
    RomCheckResult OkClick();
    // "Cancel" or the close box: without the accepted flag the snapshot comes back.
    void Close();
    // The ROM check alone, as at program start. When the user answers the warning with OK, the
    // dialog is shown on the "ROM's" page (or stays as it is when already shown).
    RomCheckResult CheckRoms();

    // Controls.
    void CheckBoxClick(ConfigCheckBox box, bool checked);
    void ChoiceChange(ConfigChoice choice, int32_t value);
    void FlashFrequencyChange(std::string text);
    void PresetSelect(int index);
    void PresetTextChange(std::string text);
    void BorderEdgeChange(BorderEdge edge, std::string text);
    void HorizontalSymmetricClick(bool checked);
    void VerticalSymmetricClick(bool checked);
    void BorderButtonClick();
    void PortBitClick(PortEditor editor, int index);
    int32_t VolumeChange(VolumeSource source, int32_t position);
    void RomFileChange(RomSlot slot, std::string fileName);
    // A file chosen with "...": its name, and its folder as that ROM's "Default Path".
    void RomFileChosen(RomSlot slot, const std::string& path);
    void BootFileChange(std::string fileName);

    // What the controls show.
    bool Shown() const { return shown_; }
    bool Accepted() const { return accepted_; }
    ConfigPage Page() const { return page_; }
    bool OkEnabled() const;
    bool CheckBoxChecked(ConfigCheckBox box) const;
    bool CheckBoxEnabled(ConfigCheckBox box) const;
    int32_t ChoiceValue(ConfigChoice choice) const;
    const std::string& FlashText() const { return flashText_; }
    const BorderEditor& Border() const { return border_; }
    std::string PortBitsText(PortEditor editor) const;
    bool PortEditorEnabled(PortEditor editor) const;
    int32_t Volume(VolumeSource source) const;
    const std::string& RomFile(RomSlot slot) const;
    const std::string& RomDefaultPath(RomSlot slot) const;
    bool BootFileBad() const { return bootFileBad_; }

    const OptionsSettings& Options() const { return options_; }
    const ScreenPanelSettings& Screen() const { return screen_; }

  private:
    struct Snapshot {
        OptionsSettings options;
        ScreenPanelSettings screen;
        BorderEditor border;
        std::string flashText;
    };

    template <class Form> static auto& BoxOf(Form& form, ConfigCheckBox box);
    void ApplyAll();
    void ApplyBorderIfValid();
    void ApplySound();
    void CheckBootFile();
    std::array<int32_t, 3> VolumePositions() const;

    SettingsStore& store_;
    TConfigHost& host_;
    FileSearchDirs dirs_;
    OptionsSettings options_;
    ScreenPanelSettings screen_;
    BorderEditor border_;
    std::string flashText_;
    bool bootFileBad_ = false;
    bool shown_ = false;
    bool accepted_ = false;
    ConfigPage page_ = ConfigPage::Video;
    std::optional<Snapshot> snapshot_;
};

} // namespace vespin
