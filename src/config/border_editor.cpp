#include "config/border_editor.h"

#include <algorithm>
#include <charconv>

#include "config/settings.h"

namespace vespin {

namespace {

constexpr std::array<const char*, kBuiltInPresets> kBuiltInNames{"Maximum", "Pentagon128 on TV"};
constexpr std::array<BorderSizes, kBuiltInPresets> kBuiltInSizes{BorderSizes{64, 64, 48, 48},
                                                                 BorderSizes{40, 36, 46, 26}};
// Left and right borders may be 0..64 pixels, upper and lower 0..48.
constexpr std::array<int32_t, 4> kEdgeMax{64, 64, 48, 48};

// A whole number in 0..max, digits only.
std::optional<int32_t> ParseEdge(const std::string& text, int32_t max) {
    int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || text[0] == '-' || ec != std::errc() || ptr != end || value > max)
        return std::nullopt;
    return value;
}

std::array<std::string, 4> Texts(const BorderSizes& s) {
    return {std::to_string(s.left), std::to_string(s.right), std::to_string(s.upper),
            std::to_string(s.lower)};
}

} // namespace

BorderEditor::BorderEditor(SettingsStore& store) : store_(&store) {
    ReloadPresetNames();
    texts_ = Texts(sizes_);
}

void BorderEditor::ReloadPresetNames() {
    names_.assign(kBuiltInNames.begin(), kBuiltInNames.end());
    for (std::string& name : ReadBorderPresetNames(*store_))
        if (std::find(names_.begin(), names_.end(), name) == names_.end())
            names_.push_back(std::move(name));
}

void BorderEditor::SelectPreset(int index) {
    if (index < 0 || index >= static_cast<int>(names_.size())) index = 1;
    presetIndex_ = index;
    presetText_ = selectedName_ = names_[static_cast<size_t>(index)];
    presetBad_ = false;
    if (index < kBuiltInPresets) {
        texts_ = Texts(kBuiltInSizes[static_cast<size_t>(index)]);
        editsEnabled_ = false;
    } else {
        const SavedBorderPreset saved = ReadBorderPreset(*store_, presetText_);
        texts_ = {saved.left, saved.right, saved.upper, saved.lower};
        editsEnabled_ = true;
    }
    saveButton_ = false;
    horizontal_ = texts_[0] == texts_[1];
    vertical_ = texts_[2] == texts_[3];
    Validate();
}

void BorderEditor::SetPresetText(std::string text) {
    presetText_ = std::move(text);
    UpdateForName();
    Validate();
}

void BorderEditor::UpdateForName() {
    const auto it = std::find(names_.begin(), names_.end(), presetText_);
    presetIndex_ = it == names_.end() ? -1 : static_cast<int>(it - names_.begin());
    // A backslash would split the name into nested settings keys.
    presetBad_ = presetText_.empty() || presetText_.find('\\') != std::string::npos;
    editsEnabled_ = presetIndex_ < 0 || presetIndex_ >= kBuiltInPresets;
    saveButton_ = presetIndex_ < 0;
}

void BorderEditor::SetEdgeText(BorderEdge edge, std::string text) {
    if (!EdgeEnabled(edge)) return;
    texts_[Index(edge)] = std::move(text);
    Validate();
}

void BorderEditor::SetHorizontalSymmetric(bool on) {
    if (!editsEnabled_) return;
    horizontal_ = on;
    Validate();
}

void BorderEditor::SetVerticalSymmetric(bool on) {
    if (!editsEnabled_) return;
    vertical_ = on;
    Validate();
}

bool BorderEditor::EdgeEnabled(BorderEdge edge) const {
    if (!editsEnabled_) return false;
    if (edge == BorderEdge::Right) return !horizontal_;
    if (edge == BorderEdge::Lower) return !vertical_;
    return true;
}

int BorderEditor::SelectedPreset() const {
    const auto it = std::find(names_.begin(), names_.end(), selectedName_);
    return it == names_.end() ? 1 : static_cast<int>(it - names_.begin());
}

bool BorderEditor::Valid() const {
    return !presetBad_ && std::none_of(bad_.begin(), bad_.end(), [](bool b) { return b; });
}

bool BorderEditor::ButtonEnabled() const {
    if (saveButton_) return Valid();
    return presetIndex_ >= kBuiltInPresets;
}

void BorderEditor::Validate() {
    if (horizontal_) texts_[1] = texts_[0];
    if (vertical_) texts_[3] = texts_[2];
    std::array<int32_t, 4> values{};
    for (size_t i = 0; i < texts_.size(); ++i) {
        const auto value = ParseEdge(texts_[i], kEdgeMax[i]);
        bad_[i] = !value;
        values[i] = value.value_or(0);
    }
    if (!Valid()) return; // the sizes in effect stay as they were
    sizes_ = {values[0], values[1], values[2], values[3]};
}

void BorderEditor::ButtonClick() {
    if (!ButtonEnabled()) return;
    if (saveButton_) {
        WriteBorderPreset(*store_, presetText_, {texts_[0], texts_[1], texts_[2], texts_[3]});
        selectedName_ = presetText_;
    } else {
        DeleteBorderPreset(*store_, presetText_);
    }
    ReloadPresetNames();
    UpdateForName();
    Validate();
}

} // namespace vespin
