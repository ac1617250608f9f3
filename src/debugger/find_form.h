// TFindForm, the "Find Pattern" dialog: turns a pattern text of expressions and quoted strings
// into the bytes the memory dump searches for.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/z80_registers.h"

namespace vespin {

// The bytes of a pattern text, or false when the text is not a valid pattern. Tokens are
// separated by blanks; a token starting with a double quote is a string in which two double
// quotes stand for one; any other token is an expression stored as 1, 2 or 4 bytes, low first.
bool ParseFindPattern(std::string_view text, const Z80RegisterSet& regs,
                      std::vector<uint8_t>& bytes);

class TFindForm {
  public:
    static constexpr size_t kMaxPattern = 100;

    explicit TFindForm(const Z80RegisterSet& regs) : regs_(regs) {}

    // Called on every change of "&Pattern:".
    void SetPatternText(std::string_view text);

    const std::vector<uint8_t>& Pattern() const { return pattern_; }
    bool FindEnabled() const { return valid_; }
    const std::string& Hint() const { return hint_; }
    bool HintRed() const { return !valid_; }

    bool fromCursor = false; // "&From Cursor"; else "&Entire Scope"
    bool forward = true;     // "Forwar&d"; else "&Backward"

  private:
    const Z80RegisterSet& regs_;
    std::vector<uint8_t> pattern_;
    bool valid_ = false;
    std::string hint_ = " Error!";
};

} // namespace vespin
