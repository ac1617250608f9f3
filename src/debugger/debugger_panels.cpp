#include "debugger/debugger_panels.h"

#include "debugger/disassembler.h"
#include "debugger/number_format.h"

namespace vespin {

void TCodePanel::FillCodePanel() {
    for (size_t i = 0; i < kLines; ++i) {
        uint16_t address = lineAddress_[i];
        lines_[i] = DisassembleLine(m_.memory, address, false);
        lineAddress_[i + 1] = address;
    }
}

void TCodePanel::SetTop(uint16_t top) {
    lineAddress_[0] = top;
    FillCodePanel();
}

void TCodePanel::FollowPC() {
    const uint16_t pc = m_.regs.PC;
    if (pc >= lineAddress_[0] && pc <= lineAddress_[kLines - 1]) {
        for (int i = 0; i < kLines; ++i) {
            if (LineAddress(i) == pc) {
                selected_ = i;
                FillCodePanel();
                return;
            }
        }
        return; // in the middle of a shown instruction: nothing changes
    }
    selected_ = 0;
    SetTop(pc);
}

void TCodePanel::Scroll(int position) {
    const uint16_t top = lineAddress_[0];
    const auto p = static_cast<uint16_t>(position);
    if (p == static_cast<uint16_t>(top + 1)) {
        SetTop(lineAddress_[1]);
    } else if (p == static_cast<uint16_t>(top + kLines)) {
        SetTop(lineAddress_[kLines]);
    } else {
        SetTop(p);
    }
}

void TCodePanel::KeyDown(Key key) {
    const uint16_t top = lineAddress_[0];
    switch (key) {
    case Key::PageUp: Scroll(static_cast<uint16_t>(top - kLines)); break; // 16 bytes back
    case Key::PageDown: Scroll(lineAddress_[kLines]); break;
    case Key::Up:
        if (selected_ == 0)
            Scroll(static_cast<uint16_t>(top - 1)); // one byte back
        else
            --selected_;
        break;
    case Key::Down:
        if (selected_ == kLines - 1)
            Scroll(static_cast<uint16_t>(top + 1)); // one instruction
        else
            ++selected_;
        break;
    default: break;
    }
}

void TCodePanel::Click(int line) {
    if (line >= 0 && line < kLines) selected_ = line;
}

void TCodePanel::GoToAddress(uint16_t address) {
    selected_ = 0;
    SetTop(address);
}

void TStackPanel::ShowStackAtSP() {
    position_ = static_cast<uint16_t>(m_.regs.SP - 10);
    selected_ = 5;
}

void TStackPanel::Scroll(int position) {
    position_ = static_cast<uint16_t>(position);
    if ((position_ & 1) != (m_.regs.SP & 1)) ++position_;
}

std::string TStackPanel::AddressText(int r) const {
    return Hex4(RowAddress(r));
}

std::string TStackPanel::ValueText(int r) const {
    return Hex4(ReadWord(m_, RowAddress(r)));
}

std::string PagingLabelCaption(uint8_t latch) {
    return Bin8(latch);
}

std::string PagingLabelHint(uint8_t latch) {
    std::string hint = "Page RAM";
    hint += std::to_string(latch & 7);
    hint += " mapped\nScreen in RAM";
    hint += (latch & 0x08) ? "7 (#C" : "5 (#4";
    hint += "000)\nBasic ";
    hint += (latch & 0x10) ? "4" : "12";
    hint += "8k ROM mapped";
    if (latch & 0x20) hint += "\n48k Mode Locked";
    return hint;
}

} // namespace vespin
