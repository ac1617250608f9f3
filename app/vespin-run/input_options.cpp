// Options that drive the keyboard during the run: --type and --key.
#include <array>
#include <memory>

#include "core/machine.h"
#include "input/typing.h"
#include "run_options.h"

namespace vespin {

namespace {

// Splits "WHAT@FRAME" at the last '@': typed text may contain '@' itself.
bool SplitAtFrame(std::string_view option, std::string_view& what, uint32_t& frame) {
    const size_t at = option.rfind('@');
    if (at == std::string_view::npos) return false;
    const auto number = ParseNumber(option.substr(at + 1));
    if (!number) return false;
    what = option.substr(0, at);
    frame = *number;
    return true;
}

void AddStrokes(RunRequest& r, std::vector<KeyStroke> strokes) {
    r.frameHooks.push_back([strokes = std::move(strokes)](MachineState& m, uint32_t frame) {
        ApplyKeyStrokes(strokes, m.keys, frame);
    });
}

std::string AddType(RunRequest& r, std::string_view value) {
    std::string_view text;
    uint32_t frame = 0;
    if (!SplitAtFrame(value, text, frame)) {
        return "--type needs TEXT@FRAME, not \"" + std::string(value) + "\"";
    }
    std::vector<KeyStroke> strokes;
    if (auto error = TypeText(text, frame, strokes)) return "--type: " + *error;
    AddStrokes(r, std::move(strokes));
    return {};
}

std::string AddKey(RunRequest& r, std::string_view value) {
    const std::string usage = "--key needs KEYS@FRAME:LEN, not \"" + std::string(value) + "\"";
    const size_t colon = value.rfind(':');
    if (colon == std::string_view::npos) return usage;
    std::string_view names;
    uint32_t frame = 0;
    const auto length = ParseNumber(value.substr(colon + 1));
    if (!length || !SplitAtFrame(value.substr(0, colon), names, frame)) return usage;
    std::vector<KeyStroke> strokes;
    if (auto error = HoldKeys(names, frame, *length, strokes)) return "--key: " + *error;
    AddStrokes(r, std::move(strokes));
    return {};
}

constexpr std::array kInputRows{
    OptionRow{"--type", "TEXT@FRAME",
              "type TEXT from frame FRAME on, 3 frames a key and 6 between ('\\n' ENTER)", AddType},
    OptionRow{
        "--key", "KEYS@FRAME:LEN",
        "hold Spectrum keys joined by '+' (CS, SS, ENTER, SPACE, A..Z, 0..9) LEN frames from FRAME",
        AddKey},
};

} // namespace

std::span<const OptionRow> InputOptionRows() {
    return kInputRows;
}

} // namespace vespin
