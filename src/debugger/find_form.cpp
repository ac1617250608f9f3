#include "debugger/find_form.h"

#include "debugger/expression.h"
#include "debugger/number_format.h"

namespace vespin {

namespace {

// A quoted string from text[pos] (the opening quote); pos ends after the closing quote.
bool ParseString(std::string_view text, size_t& pos, std::vector<uint8_t>& bytes) {
    ++pos;
    while (pos < text.size()) {
        const char c = text[pos++];
        if (c != '"') {
            bytes.push_back(static_cast<uint8_t>(c));
        } else if (pos < text.size() && text[pos] == '"') {
            bytes.push_back('"');
            ++pos;
        } else {
            return pos == text.size() || text[pos] == ' '; // nothing may follow the quote
        }
    }
    return false; // no closing quote
}

bool ParseValue(std::string_view token, const Z80RegisterSet& regs, std::vector<uint8_t>& bytes) {
    int32_t v = 0;
    try {
        v = EvaluateExpression(token, regs);
    } catch (const ExpressionError&) {
        return false;
    }
    const int count = v <= 0xFF ? 1 : v <= 0xFFFF ? 2 : 4;
    for (int i = 0; i < count; ++i)
        bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return true;
}

} // namespace

bool ParseFindPattern(std::string_view text, const Z80RegisterSet& regs,
                      std::vector<uint8_t>& bytes) {
    bytes.clear();
    size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == ' ') {
            ++pos;
        } else if (text[pos] == '"') {
            if (!ParseString(text, pos, bytes)) return false;
        } else {
            const size_t end = std::min(text.find(' ', pos), text.size());
            if (!ParseValue(text.substr(pos, end - pos), regs, bytes)) return false;
            pos = end;
        }
    }
    return !bytes.empty();
}

void TFindForm::SetPatternText(std::string_view text) {
    // A pattern longer than the dialog's 100 bytes is refused like any other bad pattern.
    valid_ = ParseFindPattern(text, regs_, pattern_) && pattern_.size() <= kMaxPattern;
    if (!valid_) {
        pattern_.clear();
        hint_ = " Error!";
        return;
    }
    std::string hint(1, ' ');
    for (size_t i = 0; i < pattern_.size() && i < 20; ++i) {
        hint += '#';
        hint += Hex2(pattern_[i]);
        hint += ' ';
    }
    hint_ = std::move(hint);
}

} // namespace vespin
