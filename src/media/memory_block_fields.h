// What the save- and load-memory-block dialogs share: number fields evaluated as expressions,
// the file dialog's filter and remembered choice, and the texts the dialogs write into fields.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vespin {

// Evaluates a field's text; nullopt when the text is not a valid expression. The desktop
// program plugs in the debugger's evaluator.
using ExpressionEvaluator = std::function<std::optional<int32_t>(std::string_view text)>;

constexpr std::string_view kBinaryFileFilter = "Binary File (*.Bin)|*.Bin|Any File (*.*)|*.*";
constexpr std::string_view kBinaryFileDefaultExtension = "bin";

// "#" and upper-case hexadecimal without leading zeros; a negative number gets a leading '-'.
std::string HexShortText(int64_t value);

// The "&..." button's file dialog: the last file chosen and its folder.
struct FileDialogChoice {
    std::string fileName;
    std::string defaultDir;

    // Remembers a chosen file; returns its full name for the location field.
    std::string Remember(const std::filesystem::path& path);
};

// A number field: the text as typed and what it evaluates to (nullopt when empty or invalid).
struct NumberField {
    std::string text;
    std::optional<int64_t> value;

    void Set(std::string newText, const ExpressionEvaluator& evaluate);
    // Writes a number the dialog computed: the text becomes its "#" form.
    void Write(int64_t newValue);
    // Settings: a stored value replaces the field; a missing one leaves it as it is.
    void Restore(std::optional<int32_t> stored);
    std::optional<int32_t> Setting() const;
};

} // namespace vespin
