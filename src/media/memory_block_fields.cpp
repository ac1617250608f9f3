#include "media/memory_block_fields.h"

#include <cstdio>

namespace vespin {

std::string HexShortText(int64_t value) {
    char digits[24];
    const auto magnitude = static_cast<unsigned long long>(value < 0 ? -value : value);
    std::snprintf(digits, sizeof digits, "%llX", magnitude);
    return (value < 0 ? "-#" : "#") + std::string(digits);
}

std::string FileDialogChoice::Remember(const std::filesystem::path& path) {
    fileName = path.filename().string();
    defaultDir = path.parent_path().string();
    return path.string();
}

void NumberField::Set(std::string newText, const ExpressionEvaluator& evaluate) {
    text = std::move(newText);
    value.reset();
    if (text.find_first_not_of(" \t") == std::string::npos) return;
    if (const auto v = evaluate(text)) value = *v;
}

void NumberField::Write(int64_t newValue) {
    text = HexShortText(newValue);
    value = newValue;
}

void NumberField::Restore(std::optional<int32_t> stored) {
    if (stored) Write(*stored);
}

std::optional<int32_t> NumberField::Setting() const {
    if (!value) return std::nullopt;
    return static_cast<int32_t>(*value);
}

} // namespace vespin
