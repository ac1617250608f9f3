// TGoToAddressForm, "Enter Addres to Position to": an address expression with a history of the
// last ten texts, shared by the code panel, the disassembler window and the memory dump.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/z80_registers.h"
#include "debugger/expression_field.h"

namespace vespin {

class TGoToAddressForm {
  public:
    static constexpr size_t kHistorySize = 10;

    explicit TGoToAddressForm(const Z80RegisterSet& regs) : regs_(regs) {}

    // Showing the dialog selects the first history entry and evaluates it.
    void Show();
    // The user typed in the list's edit field.
    void SetText(const std::string& text);
    // The user picked history entry i.
    void ChooseHistory(size_t i);
    // "Go to": false when the button is disabled; else updates the history and closes with OK.
    bool GoTo();

    const std::string& Text() const { return field_.text; }
    uint16_t Address() const { return field_.value; }
    bool GoToEnabled() const { return field_.valid; }
    const std::string& Hint() const { return field_.hint; }
    bool HintRed() const { return !field_.valid; }
    bool Yellow() const { return !field_.valid; } // the list's background

    // Stored as "Hist0", "Hist1", ... under "Environment\GotoAddress".
    const std::vector<std::string>& History() const { return history_; }
    void SetHistory(std::vector<std::string> history);

  private:
    const Z80RegisterSet& regs_;
    std::vector<std::string> history_;
    ExpressionField field_;
    int chosen_ = -1; // the history entry the text came from, or -1 when typed
};

} // namespace vespin
