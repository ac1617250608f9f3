// The main window's debugger panels: the code panel (DAGrid, sixteen disassembled lines from a
// top address with its selection, scroll bar and keys), the stack panel (SGrid) and the port
// #7FFD label.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/machine.h"
#include "debugger/ui_input.h"

namespace vespin {

class TCodePanel {
  public:
    static constexpr int kLines = 16;

    explicit TCodePanel(const MachineState& m) : m_(m) { FillCodePanel(); }

    // lineAddress[i] of line i; lineAddress[16] is the address after the last line.
    uint16_t LineAddress(int i) const { return lineAddress_[static_cast<size_t>(i)]; }
    const std::string& Line(int i) const { return lines_[static_cast<size_t>(i)]; }
    bool Bold(int i) const { return LineAddress(i) == m_.regs.PC; }
    int Selected() const { return selected_; }
    uint16_t SelectedAddress() const { return LineAddress(selected_); }
    uint16_t ScrollPosition() const { return lineAddress_[0]; }

    void FillCodePanel();
    // After a stop: select the line at PC, keep the panel when PC is inside a shown
    // instruction, else start the panel at PC.
    void FollowPC();
    // The scroll bar moved to position: top + 1 is one instruction down, top + 16 one page.
    void Scroll(int position);
    void KeyDown(Key key);
    void Wheel(bool down) { KeyDown(down ? Key::Down : Key::Up); }
    void Click(int line);
    void GoToAddress(uint16_t address);

  private:
    void SetTop(uint16_t top);

    const MachineState& m_;
    std::array<uint16_t, kLines + 1> lineAddress_{};
    std::array<std::string, kLines> lines_;
    int selected_ = 0;
};

// The stack panel (SGrid): sixteen words from a scroll position kept aligned with SP.
class TStackPanel {
  public:
    static constexpr int kRows = 16;

    explicit TStackPanel(const MachineState& m) : m_(m) {}

    void ShowStackAtSP();
    // A scroll change that breaks the alignment with SP moves on by one.
    void Scroll(int position);
    uint16_t Position() const { return position_; }
    int Selected() const { return selected_; }
    uint16_t RowAddress(int r) const { return static_cast<uint16_t>(position_ + 2 * r); }
    std::string AddressText(int r) const;
    std::string ValueText(int r) const;
    bool Bold(int r) const { return RowAddress(r) == m_.regs.SP; }
    void Click(int r) { selected_ = r; }

  private:
    const MachineState& m_;
    uint16_t position_ = 0;
    int selected_ = 5;
};

// The port #7FFD label: the latch's bits as caption and what they select as hint.
std::string PagingLabelCaption(uint8_t latch);
std::string PagingLabelHint(uint8_t latch);

} // namespace vespin
