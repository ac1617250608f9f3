// TGoToAddressForm, "Enter Addres to Position to": an address expression with a history of the
// last ten texts, shared by the code panel, the disassembler window and the memory dump.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/z80_registers.h"

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

    const std::string& Text() const { return text_; }
    uint16_t Address() const { return address_; }
    bool GoToEnabled() const { return valid_; }
    const std::string& Hint() const { return hint_; }
    bool HintRed() const { return !valid_; }
    bool Yellow() const { return !valid_; } // the list's background

    // Stored as "Hist0", "Hist1", ... under "Environment\GotoAddress".
    const std::vector<std::string>& History() const { return history_; }
    void SetHistory(std::vector<std::string> history);

  private:
    void Evaluate();

    const Z80RegisterSet& regs_;
    std::vector<std::string> history_;
    std::string text_;
    int chosen_ = -1; // the history entry the text came from, or -1 when typed
    uint16_t address_ = 0;
    bool valid_ = false;
    std::string hint_ = "Error!";
};

} // namespace vespin
