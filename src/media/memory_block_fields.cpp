#include "media/memory_block_fields.h"

#include <cstdio>

namespace vespin {

std::string HexShortText(int64_t value) {
    char digits[24];
    const auto magnitude = static_cast<unsigned long long>(value < 0 ? -value : value);
    std::snprintf(digits, sizeof digits, "%llX", magnitude);
    return (value < 0 ? "-#" : "#") + std::string(digits);
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

} // namespace vespin
