// TDAsmF, the disassembler tool window: up to 150 rows of address, code bytes and mnemonic,
// with keys, wheel, scroll bar, "Jump Immediate" and following PC. Toolkit-free: the widget
// forwards events here and draws what RowCells says.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/machine.h"
#include "debugger/ui_input.h"

namespace vespin {

// The group "Environment\Disassembler Panel"; flat so that the settings tables can name each
// value by its member.
struct DAsmSettings {
    bool enabled = false;
    int32_t x = 20, y = 20;
    bool viewAddr = true;
    bool viewCode = true;
    int32_t viewMode = 0; // 0 hexadecimal, 1 decimal
    int32_t height = 400;
};

struct DAsmRowCells {
    std::string address, code, mnemonic;
    bool bold = false;     // the row at PC
    bool selected = false; // drawn in the highlight (active) or inactive-caption colour
};

class TDAsmF {
  public:
    static constexpr int kMaxRows = 150;
    static constexpr int kRowHeight = 12;

    explicit TDAsmF(MachineState& m) : m_(m) { Rebuild(); }

    // Geometry. Resize returns the height after snapping; Width follows the columns.
    int Resize(int height);
    int Width() const { return ColumnWidth(0) + ColumnWidth(1) + ColumnWidth(2); }
    int ColumnWidth(int column) const;
    int VisibleRows() const { return visibleRows_; }

    uint16_t Top() const { return rows_[0]; }
    uint16_t RowAddress(int row) const { return rows_[static_cast<size_t>(row)]; }
    int Selected() const { return selected_; }
    uint16_t SelectedAddress() const { return RowAddress(selected_); }
    DAsmRowCells RowCells(int row) const;

    void SetTop(uint16_t top);
    void Rebuild();
    void MoveBackOneInstruction();

    void KeyDown(KeyPress key);
    void Wheel(bool down);
    void Click(int row);
    void Scroll(ScrollAction action, int position = 0);
    int ScrollPosition() const { return rows_[0]; }

    void JumpImmediate();
    void FollowPC();

    // Popup menu.
    void GoToAddress(uint16_t address);
    void ShowExecutionPoint();
    void SetPCOnCurrentLine();
    void SetDecimal(bool decimal);
    bool Decimal() const { return decimal_; }
    void SetAddressColumn(bool on) { showAddress_ = on; }
    void SetCodeColumn(bool on) { showCode_ = on; }
    bool AddressColumn() const { return showAddress_; }
    bool CodeColumn() const { return showCode_; }

    // Called after "Set PC on Current Line": the main window refreshes its panels.
    std::function<void()> onRefreshDebugger;

    // Returns where the window goes.
    WindowPosition ApplySettings(const DAsmSettings& s, int desktopWidth, int desktopHeight);
    DAsmSettings Settings(bool open, WindowPosition position) const;

  private:
    MachineState& m_;
    std::array<uint16_t, kMaxRows + 1> rows_{}; // rows_[i + 1] is the address after row i
    int selected_ = 0;
    int visibleRows_ = 31;
    int height_ = 400;
    bool decimal_ = false;
    bool showAddress_ = true;
    bool showCode_ = true;
};

} // namespace vespin
