#include "debugger/disassembler_window.h"

#include <algorithm>

#include "debugger/disassembler.h"
#include "debugger/number_format.h"

namespace vespin {

int TDAsmF::Resize(int height) {
    height = std::max(height, 45);
    height = height / kRowHeight * kRowHeight + 4;
    visibleRows_ = std::clamp(height / kRowHeight - 2, 1, kMaxRows);
    height_ = height;
    selected_ = std::min(selected_, visibleRows_ - 1);
    return height;
}

int TDAsmF::ColumnWidth(int column) const {
    switch (column) {
    case 0: return showAddress_ ? (decimal_ ? 48 : 40) : 0;
    case 1: return showCode_ ? (decimal_ ? 128 : 96) : 0;
    default: return 160;
    }
}

void TDAsmF::SetTop(uint16_t top) {
    rows_[0] = top;
    Rebuild();
}

void TDAsmF::Rebuild() {
    for (size_t i = 1; i < rows_.size(); ++i) {
        rows_[i] = static_cast<uint16_t>(rows_[i - 1] + InstructionLength(m_.memory, rows_[i - 1]));
    }
}

DAsmRowCells TDAsmF::RowCells(int row) const {
    if (row < 0 || row >= kMaxRows) return {};
    const auto r = static_cast<size_t>(row);
    const uint16_t address = rows_[r];
    DAsmRowCells cells;
    cells.address = WordOperand(address, decimal_);
    const int length = static_cast<uint16_t>(rows_[r + 1] - address);
    for (int i = 0; i < length; ++i) {
        if (i) cells.code += ' ';
        cells.code +=
            ByteOperand(ReadByte(m_.memory, static_cast<uint16_t>(address + i)), decimal_);
    }
    cells.mnemonic = DisassembleMnemonic(m_.memory, address, decimal_);
    cells.bold = address == m_.regs.PC;
    cells.selected = row == selected_;
    return cells;
}

// There is no decoding backwards: guess from the lengths of the instructions just before.
void TDAsmF::MoveBackOneInstruction() {
    const uint16_t top = rows_[0];
    auto lengthAt = [&](int back) {
        return InstructionLength(m_.memory, static_cast<uint16_t>(top - back));
    };
    int back = 2;
    if (lengthAt(4) == 4) {
        back = 4;
    } else if (lengthAt(3) >= 3) {
        back = 3;
    } else if (lengthAt(2) < 2) {
        back = 1;
    }
    SetTop(static_cast<uint16_t>(top - back));
}

void TDAsmF::KeyDown(KeyPress k) {
    const int last = visibleRows_ - 1;
    switch (k.key) {
    case Key::Down:
    case Key::Right:
        if (selected_ == last || k.ctrl) {
            SetTop(rows_[1]);
        } else {
            ++selected_;
        }
        break;
    case Key::Up:
    case Key::Left:
        if (selected_ == 0 || k.ctrl) {
            MoveBackOneInstruction();
        } else {
            --selected_;
        }
        break;
    case Key::PageDown: SetTop(rows_[static_cast<size_t>(last)]); break;
    case Key::PageUp:
        for (int i = 0; i < visibleRows_ - 1; ++i)
            MoveBackOneInstruction();
        break;
    case Key::End:
        selected_ = last;
        if (k.ctrl) {
            SetTop(0);
            for (int i = 0; i < visibleRows_; ++i)
                MoveBackOneInstruction();
        }
        break;
    case Key::Home:
        selected_ = 0;
        if (k.ctrl) SetTop(0);
        break;
    case Key::Enter: JumpImmediate(); break;
    case Key::Other: break;
    }
}

void TDAsmF::Wheel(bool down) {
    if (down) {
        KeyDown({Key::Down});
    } else if (selected_ > 0) {
        --selected_;
    } else {
        SetTop(static_cast<uint16_t>(rows_[0] - 1)); // one byte, not one instruction
    }
}

void TDAsmF::Click(int row) {
    if (row >= 0 && row < visibleRows_) selected_ = row;
}

void TDAsmF::Scroll(ScrollAction action, int position) {
    switch (action) {
    case ScrollAction::LineUp: MoveBackOneInstruction(); break;
    case ScrollAction::LineDown: KeyDown({Key::Down}); break;
    case ScrollAction::PageUp:
        for (int i = 0; i < visibleRows_ - 1; ++i)
            MoveBackOneInstruction();
        break;
    case ScrollAction::PageDown: SetTop(rows_[static_cast<size_t>(visibleRows_ - 1)]); break;
    case ScrollAction::Position: SetTop(static_cast<uint16_t>(position)); break;
    case ScrollAction::Top: SetTop(0); break;
    case ScrollAction::Bottom: SetTop(0xFFFF); break;
    }
}

void TDAsmF::JumpImmediate() {
    const uint16_t here = SelectedAddress();
    uint16_t target = 0;
    if (!JumpTarget(m_.memory, here, rows_[static_cast<size_t>(selected_) + 1], target)) return;
    if (target == here) return;
    for (int row = 0; row < visibleRows_; ++row) {
        if (rows_[static_cast<size_t>(row)] == target) {
            selected_ = row;
            return;
        }
    }
    GoToAddress(target);
}

void TDAsmF::FollowPC() {
    const uint16_t pc = m_.regs.PC;
    // Offsets from the top, so that rows that wrap past #FFFF still count as one range.
    const auto offset = static_cast<uint16_t>(pc - rows_[0]);
    const auto span =
        static_cast<uint16_t>(rows_[static_cast<size_t>(visibleRows_ - 1)] - rows_[0]);
    if (offset <= span) {
        Rebuild();
        for (int row = 0; row < visibleRows_; ++row) {
            if (rows_[static_cast<size_t>(row)] == pc) selected_ = row;
        }
    } else {
        GoToAddress(pc);
    }
}

void TDAsmF::GoToAddress(uint16_t address) {
    selected_ = 0;
    SetTop(address);
}

void TDAsmF::ShowExecutionPoint() {
    GoToAddress(m_.regs.PC);
}

void TDAsmF::SetPCOnCurrentLine() {
    m_.regs.PC = SelectedAddress();
    if (onRefreshDebugger) onRefreshDebugger();
}

void TDAsmF::SetDecimal(bool decimal) {
    decimal_ = decimal;
}

WindowPosition TDAsmF::ApplySettings(const DAsmSettings& s, int desktopWidth, int desktopHeight) {
    showAddress_ = s.viewAddr;
    showCode_ = s.viewCode;
    decimal_ = s.viewMode == 1;
    Resize(s.height);
    return PullIntoDesktop({s.x, s.y}, desktopWidth, desktopHeight);
}

DAsmSettings TDAsmF::Settings(bool open, WindowPosition position) const {
    return {open, position.x, position.y, showAddress_, showCode_, decimal_ ? 1 : 0, height_};
}

} // namespace vespin
