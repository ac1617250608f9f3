// The " Border Size " group of the options: two built-in presets, presets the user saved in
// the settings store, four size fields with their symmetry boxes, and the validation that
// decides whether the sizes take effect.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/settings_store.h"

namespace vespin {

// Border widths around the 256 x 192 paper, in pixels.
struct BorderSizes {
    int32_t left = 40;
    int32_t right = 36;
    int32_t upper = 46;
    int32_t lower = 26;
    bool operator==(const BorderSizes&) const = default;
};

enum class BorderEdge : uint8_t { Left = 0, Right = 1, Upper = 2, Lower = 3 };

inline constexpr int kBuiltInPresets = 2;

class BorderEditor {
  public:
    // Reads the names of the saved presets.
    explicit BorderEditor(SettingsStore& store);

    // "&Preset:" list selection: fills the fields from the preset and validates.
    void SelectPreset(int index);
    // Text typed into the preset box.
    void SetPresetText(std::string text);
    // Text typed into a size field.
    void SetEdgeText(BorderEdge edge, std::string text);
    void SetHorizontalSymmetric(bool on);
    void SetVerticalSymmetric(bool on);
    // "&Save" or "&Delete", whichever the button shows.
    void ButtonClick();

    // Rereads the saved preset names (after a snapshot restore, say).
    void ReloadPresetNames();

    // State shown by the controls.
    const std::vector<std::string>& PresetNames() const { return names_; }
    int PresetIndex() const { return presetIndex_; } // -1 when the text names no entry
    // The preset last chosen from the list or saved, as the settings keep it.
    int SelectedPreset() const;
    const std::string& PresetText() const { return presetText_; }
    const std::string& EdgeText(BorderEdge edge) const { return texts_[Index(edge)]; }
    bool EdgeBad(BorderEdge edge) const { return bad_[Index(edge)]; }
    bool EdgeEnabled(BorderEdge edge) const;
    bool PresetBad() const { return presetBad_; }
    bool SymmetryEnabled() const { return editsEnabled_; }
    bool HorizontalSymmetric() const { return horizontal_; }
    bool VerticalSymmetric() const { return vertical_; }
    const char* ButtonCaption() const { return saveButton_ ? "&Save" : "&Delete"; }
    bool ButtonEnabled() const;
    bool Valid() const;

    // The sizes in effect: those of the last valid state.
    const BorderSizes& Sizes() const { return sizes_; }

  private:
    static size_t Index(BorderEdge edge) { return static_cast<size_t>(edge); }
    void Validate();
    void UpdateForName();

    SettingsStore* store_;
    std::vector<std::string> names_;
    std::string presetText_;
    int presetIndex_ = 1;
    std::string selectedName_ = "Pentagon128 on TV";
    std::array<std::string, 4> texts_;
    std::array<bool, 4> bad_{};
    bool presetBad_ = false;
    bool editsEnabled_ = false;
    bool horizontal_ = false;
    bool vertical_ = false;
    bool saveButton_ = false;
    BorderSizes sizes_;
};

} // namespace vespin
