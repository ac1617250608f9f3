#include "config/config_form.h"

#include <charconv>
#include <cmath>
#include <filesystem>

#include "config/port_bit_editor.h"

namespace vespin {

namespace {

struct CheckBoxRule {
    ConfigCheckBox box;
    bool ScreenPanelSettings::*screen; // one of the two members is set
    bool OptionsSettings::*options;
    // The box is enabled only while these are checked.
    std::array<bool OptionsSettings::*, 2> needsOptions;
    bool ScreenPanelSettings::*needsScreen;
};

using S = ScreenPanelSettings;
using O = OptionsSettings;

constexpr std::array<CheckBoxRule, 19> kCheckBoxes{{
    {ConfigCheckBox::UseDirectDraw, &S::useDirectDraw, nullptr, {}, nullptr},
    {ConfigCheckBox::ShowFps, &S::showFps, nullptr, {}, nullptr},
    {ConfigCheckBox::DoubleSize, &S::doubleSize, nullptr, {}, nullptr},
    {ConfigCheckBox::GrayPalette, &S::grayPalette, nullptr, {}, nullptr},
    {ConfigCheckBox::DirectMemory, &S::directMemory, nullptr, {}, nullptr},
    {ConfigCheckBox::Interlaced, &S::interlaced, nullptr, {}, &S::directMemory},
    {ConfigCheckBox::JoystickEnabled, nullptr, &O::joystickEnabled, {}, nullptr},
    {ConfigCheckBox::KeyboardEnabled, nullptr, &O::keyboardEnabled, {}, nullptr},
    {ConfigCheckBox::AttributePort, nullptr, &O::attributePort, {}, nullptr},
    {ConfigCheckBox::AttributeAllUnused,
     nullptr,
     &O::attributeAllUnused,
     {&O::attributePort},
     nullptr},
    {ConfigCheckBox::TrdosEnabled, nullptr, &O::trdosEnabled, {}, nullptr},
    {ConfigCheckBox::DosPortAccess, nullptr, &O::dosPortAccess, {&O::trdosEnabled}, nullptr},
    {ConfigCheckBox::BootTrd, nullptr, &O::bootTrd, {}, nullptr},
    {ConfigCheckBox::BootScl, nullptr, &O::bootScl, {}, nullptr},
    {ConfigCheckBox::NoDiskImageError, nullptr, &O::noDiskImageError, {}, nullptr},
    {ConfigCheckBox::MouseEnabled, nullptr, &O::mouseEnabled, {}, nullptr},
    {ConfigCheckBox::MouseSwapButtons, nullptr, &O::mouseSwapButtons, {&O::mouseEnabled}, nullptr},
    {ConfigCheckBox::MouseWheel, nullptr, &O::mouseWheel, {&O::mouseEnabled}, nullptr},
    {ConfigCheckBox::MouseWheelInvert,
     nullptr,
     &O::mouseWheelInvert,
     {&O::mouseEnabled, &O::mouseWheel},
     nullptr},
}};

constexpr bool InEnumOrder() {
    for (size_t i = 0; i < kCheckBoxes.size(); ++i)
        if (static_cast<size_t>(kCheckBoxes[i].box) != i) return false;
    return true;
}
static_assert(InEnumOrder(), "check box rules are indexed by ConfigCheckBox");

const CheckBoxRule& RuleOf(ConfigCheckBox box) {
    return kCheckBoxes[static_cast<size_t>(box)];
}

struct ChoiceRule {
    int32_t ScreenPanelSettings::*screen;
    int32_t OptionsSettings::*options;
    int32_t max;
};

// In ConfigChoice order.
constexpr std::array<ChoiceRule, 5> kChoices{{
    {&S::videoMode, nullptr, 2},
    {nullptr, &O::startReset, 3},
    {nullptr, &O::startMode, 1},
    {nullptr, &O::memoryModel, 5},
    {nullptr, &O::synchDelay, 200},
}};

struct RomField {
    std::string OptionsSettings::*file;
    std::string OptionsSettings::*path;
};

constexpr std::array<RomField, 3> kRomFields{{
    {&O::rom48File, &O::rom48Path},
    {&O::rom128File, &O::rom128Path},
    {&O::romDosFile, &O::romDosPath},
}};

const RomField& RomFieldOf(RomSlot slot) {
    return kRomFields[static_cast<size_t>(slot)];
}

} // namespace

int32_t FlashPeriodFromText(std::string_view text) {
    double value = 5;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || std::isnan(value)) value = 5;
    if (value <= 0) value = 5; // 0, and a negative value that has no meaning either
    if (value > 25) value = 25;
    return static_cast<int32_t>(25 / value);
}

std::string FlashFrequencyText(int32_t period) {
    char buffer[32];
    const double hz = 25.0 / (period > 0 ? period : 1);
    const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, hz);
    return ec == std::errc() ? std::string(buffer, ptr) : std::string();
}

TConfigForm::TConfigForm(SettingsStore& store, TConfigHost& host, FileSearchDirs dirs,
                         const ScreenPanelSettings& screen)
    : store_(store), host_(host), dirs_(std::move(dirs)), options_(ReadOptionsSettings(store)),
      screen_(screen), border_(store) {
    flashText_ = FlashFrequencyText(screen_.flashFrequency);
    border_.SelectPreset(options_.borderPreset);
    CheckBootFile();
    ApplyAll();
}

void TConfigForm::WriteSettings() {
    options_.borderPreset = border_.SelectedPreset();
    WriteOptionsSettings(store_, options_);
}

void TConfigForm::ApplyAll() {
    host_.ApplyHardware(options_);
    host_.ApplyScreen(screen_);
    ApplyBorderIfValid();
    ApplySound();
}

void TConfigForm::ApplyBorderIfValid() {
    if (border_.Valid()) host_.ApplyBorder(border_.Sizes());
}

void TConfigForm::ApplySound() {
    host_.ApplySound(options_);
}

void TConfigForm::Show(ConfigPage page) {
    snapshot_.emplace(Snapshot{options_, screen_, border_, flashText_});
    accepted_ = false;
    shown_ = true;
    page_ = page;
}

bool TConfigForm::SetPage(ConfigPage page) {
    if (!OkEnabled()) return false;
    page_ = page;
    return true;
}

bool TConfigForm::OkEnabled() const {
    return border_.Valid() && !bootFileBad_;
}

RomCheckResult TConfigForm::CheckRoms() {
    if (host_.LoadRoms(RomSettingsOf(options_)).empty()) return RomCheckResult::Loaded;
    // Nothing was installed: the machine keeps the images it had.
    if (host_.AskWarning(kRomWarningCaption, kRomWarningText) == WarningAnswer::Cancel)
        return RomCheckResult::QuitProgram;
    if (!shown_) Show(ConfigPage::Roms);
    return RomCheckResult::ChooseRoms;
}

RomCheckResult TConfigForm::OkClick() {
    if (!OkEnabled()) return RomCheckResult::ChooseRoms;
    const RomCheckResult result = CheckRoms();
    if (result == RomCheckResult::Loaded) {
        accepted_ = true;
        shown_ = false;
    }
    return result;
}

void TConfigForm::Close() {
    shown_ = false;
    if (accepted_ || !snapshot_) return;
    options_ = snapshot_->options;
    screen_ = snapshot_->screen;
    border_ = snapshot_->border;
    flashText_ = snapshot_->flashText;
    snapshot_.reset();
    // Presets saved or deleted meanwhile stay so; an index past the list becomes the default.
    const int preset = border_.SelectedPreset();
    border_.ReloadPresetNames();
    if (border_.PresetIndex() == preset) border_.SelectPreset(preset);
    CheckBootFile();
    ApplyAll();
}

template <class Form> auto& TConfigForm::BoxOf(Form& form, ConfigCheckBox box) {
    const CheckBoxRule& rule = RuleOf(box);
    return rule.screen ? form.screen_.*rule.screen : form.options_.*rule.options;
}

bool TConfigForm::CheckBoxChecked(ConfigCheckBox box) const {
    return BoxOf(*this, box);
}

bool TConfigForm::CheckBoxEnabled(ConfigCheckBox box) const {
    const CheckBoxRule& rule = RuleOf(box);
    for (const auto needed : rule.needsOptions)
        if (needed && !(options_.*needed)) return false;
    return !rule.needsScreen || screen_.*rule.needsScreen;
}

void TConfigForm::CheckBoxClick(ConfigCheckBox box, bool checked) {
    if (!CheckBoxEnabled(box)) return;
    BoxOf(*this, box) = checked;
    // Without the interface its ports cannot be reached from BASIC either.
    if (box == ConfigCheckBox::TrdosEnabled && !checked) options_.dosPortAccess = false;
    if (RuleOf(box).screen)
        host_.ApplyScreen(screen_);
    else
        host_.ApplyHardware(options_);
}

int32_t TConfigForm::ChoiceValue(ConfigChoice choice) const {
    const ChoiceRule& rule = kChoices[static_cast<size_t>(choice)];
    return rule.screen ? screen_.*rule.screen : options_.*rule.options;
}

void TConfigForm::ChoiceChange(ConfigChoice choice, int32_t value) {
    const ChoiceRule& rule = kChoices[static_cast<size_t>(choice)];
    if (value < 0 || value > rule.max) return;
    if (rule.screen) {
        screen_.*rule.screen = value;
        host_.ApplyScreen(screen_);
    } else if (choice == ConfigChoice::SynchDelay) {
        options_.synchDelay = value;
        ApplySound();
    } else {
        options_.*rule.options = value;
        host_.ApplyHardware(options_);
    }
}

void TConfigForm::FlashFrequencyChange(std::string text) {
    flashText_ = std::move(text);
    screen_.flashFrequency = FlashPeriodFromText(flashText_);
    host_.ApplyScreen(screen_);
}

void TConfigForm::PresetSelect(int index) {
    border_.SelectPreset(index);
    ApplyBorderIfValid();
}

void TConfigForm::PresetTextChange(std::string text) {
    border_.SetPresetText(std::move(text));
    ApplyBorderIfValid();
}

void TConfigForm::BorderEdgeChange(BorderEdge edge, std::string text) {
    border_.SetEdgeText(edge, std::move(text));
    ApplyBorderIfValid();
}

void TConfigForm::HorizontalSymmetricClick(bool checked) {
    border_.SetHorizontalSymmetric(checked);
    ApplyBorderIfValid();
}

void TConfigForm::VerticalSymmetricClick(bool checked) {
    border_.SetVerticalSymmetric(checked);
    ApplyBorderIfValid();
}

void TConfigForm::BorderButtonClick() {
    border_.ButtonClick();
    ApplyBorderIfValid();
}

std::string TConfigForm::PortBitsText(PortEditor editor) const {
    const OptionsSettings& o = options_;
    return editor == PortEditor::Joystick
               ? vespin::PortBitsText(PortDecode{o.joystickEnabled,
                                                 static_cast<uint16_t>(o.joystickBits),
                                                 static_cast<uint16_t>(o.joystickMask)})
               : vespin::PortBitsText(PortDecode{o.keyboardEnabled,
                                                 static_cast<uint16_t>(o.keyboardBits),
                                                 static_cast<uint16_t>(o.keyboardMask)});
}

bool TConfigForm::PortEditorEnabled(PortEditor editor) const {
    return editor == PortEditor::Joystick ? options_.joystickEnabled : options_.keyboardEnabled;
}

void TConfigForm::PortBitClick(PortEditor editor, int index) {
    if (!PortEditorEnabled(editor)) return;
    const bool joystick = editor == PortEditor::Joystick;
    int32_t& bits = joystick ? options_.joystickBits : options_.keyboardBits;
    int32_t& mask = joystick ? options_.joystickMask : options_.keyboardMask;
    PortDecode decode{true, static_cast<uint16_t>(bits), static_cast<uint16_t>(mask)};
    if (!ClickPortBit(decode, index)) return;
    bits = decode.bits;
    mask = decode.mask;
    host_.ApplyHardware(options_);
}

std::array<int32_t, 3> TConfigForm::VolumePositions() const {
    return {options_.speakerVolume, options_.tapeInVolume, options_.tapeOutVolume};
}

int32_t TConfigForm::Volume(VolumeSource source) const {
    return VolumePositions()[static_cast<size_t>(source)];
}

int32_t TConfigForm::VolumeChange(VolumeSource source, int32_t position) {
    std::array<int32_t, 3> positions = VolumePositions();
    const int32_t result = MoveVolumeSlider(positions, source, position);
    options_.speakerVolume = positions[0];
    options_.tapeInVolume = positions[1];
    options_.tapeOutVolume = positions[2];
    ApplySound();
    return result;
}

const std::string& TConfigForm::RomFile(RomSlot slot) const {
    return options_.*RomFieldOf(slot).file;
}

const std::string& TConfigForm::RomDefaultPath(RomSlot slot) const {
    return options_.*RomFieldOf(slot).path;
}

void TConfigForm::RomFileChange(RomSlot slot, std::string fileName) {
    options_.*RomFieldOf(slot).file = std::move(fileName);
}

void TConfigForm::RomFileChosen(RomSlot slot, const std::string& path) {
    options_.*RomFieldOf(slot).file = path;
    options_.*RomFieldOf(slot).path = std::filesystem::path(path).parent_path().string();
}

void TConfigForm::BootFileChange(std::string fileName) {
    options_.bootFileName = std::move(fileName);
    CheckBootFile();
}

void TConfigForm::CheckBootFile() {
    bootFileBad_ = !options_.bootFileName.empty() && !LocateFile(dirs_, options_.bootFileName);
}

} // namespace vespin
