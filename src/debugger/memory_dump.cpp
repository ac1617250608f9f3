#include "debugger/memory_dump.h"

#include <algorithm>
#include <array>

#include "debugger/number_format.h"

namespace vespin {

namespace {

struct ViewGeometry {
    int cellWidth; // pixels per cell: the columns are (client width - 58) / cellWidth
    int snapStep;  // a resized window width is width / snapStep * snapStep + snapExtra
    int snapExtra;
    int chosenStep; // choosing the view asks for columns * chosenStep + 69
};

constexpr std::array<ViewGeometry, 6> kViews{{
    {20, 20, 10, 20}, // Bytes
    {12, 12, 10, 12}, // Chars
    {32, 32, 10, 32}, // Complex: a 20-pixel hexadecimal cell and a 12-pixel character
    {36, 36, 34, 18}, // Words
    {96, 96, 70, 48}, // Big Pixels: eight squares on a 12-pixel pitch
    {48, 48, 22, 48}, // Small Pixels: on a 6-pixel pitch
}};

const ViewGeometry& Geometry(DumpView v) {
    return kViews[static_cast<size_t>(v)];
}

uint16_t Add(uint16_t a, int b) {
    return static_cast<uint16_t>(a + b);
}

} // namespace

int TMemoryDumpForm::CellWidth() const {
    return Geometry(view_).cellWidth;
}

std::optional<WindowSize> TMemoryDumpForm::SnapWindowSize(int width, int height) const {
    if (width < 80 || height < 60) return std::nullopt;
    const ViewGeometry& g = Geometry(view_);
    return WindowSize{width / g.snapStep * g.snapStep + g.snapExtra,
                      height / kRowHeight * kRowHeight + (statusBar_ ? 0 : 7)};
}

void TMemoryDumpForm::SetClientSize(int width, int height) {
    // At least one row and column, so that no key divides by zero in a tiny window.
    columns_ = std::max(1, (width - 58) / CellWidth());
    rows_ = std::max(1, (height - (statusBar_ ? 22 : 4)) / kRowHeight);
}

int TMemoryDumpForm::SetView(DumpView view) {
    int c = columns_;
    if (view_ == DumpView::Words || view_ == DumpView::BigPixels) c *= 2;
    view_ = view;
    return c * Geometry(view).chosenStep + 69;
}

int TMemoryDumpForm::ToggleStatusBar() {
    statusBar_ = !statusBar_;
    return rows_ * kRowHeight + (statusBar_ ? 48 : 30);
}

TMemoryDumpForm::ScrollSteps TMemoryDumpForm::ScrollBarSteps() const {
    const int factor = DoubledPage() ? 2 : 1;
    return {columns_ * factor, rows_ * columns_ * factor};
}

uint16_t TMemoryDumpForm::CellUnit(int row, int column) const {
    return Add(top_, row * columns_ + column);
}

uint16_t TMemoryDumpForm::ByteAddress(uint16_t unit) const {
    if (view_ != DumpView::Words) return unit;
    return Add(top_, 2 * static_cast<uint16_t>(unit - top_));
}

bool TMemoryDumpForm::InBlock(uint16_t unit) const {
    return unit >= std::min(cursor_, anchor_) && unit <= std::max(cursor_, anchor_);
}

std::string TMemoryDumpForm::RowAddressText(int row) const {
    if (view_ == DumpView::SmallPixels && row % 2 != 0) return "";
    const int step = view_ == DumpView::Words ? 2 * columns_ : columns_;
    return Hex4(Add(top_, row * step));
}

std::string TMemoryDumpForm::CellText(int row, int column) const {
    const uint16_t address = ByteAddress(CellUnit(row, column));
    const uint8_t b = ReadByte(m_, address);
    switch (view_) {
    case DumpView::Chars: return PrintableChar(b);
    case DumpView::Words: return Hex4(ReadWord(m_, address));
    default: return Hex2(b); // the pixel views draw the byte's bits
    }
}

bool TMemoryDumpForm::KeyDown(KeyPress k) {
    const int offset = static_cast<uint16_t>(cursor_ - top_);
    const int row = offset / columns_;
    const int column = offset % columns_;
    const int lastRow = DisplayRows() - 1;
    const int page = Page();
    auto both = [&](int delta) {
        top_ = Add(top_, delta);
        cursor_ = Add(cursor_, delta);
    };
    switch (k.key) {
    case Key::PageUp:
        if (k.ctrl)
            cursor_ = Add(top_, column);
        else
            both(-page);
        break;
    case Key::PageDown:
        if (k.ctrl)
            cursor_ = Add(top_, lastRow * columns_ + column);
        else
            both(page);
        break;
    case Key::End:
        if (k.ctrl) {
            top_ = Add(0, -page);
            cursor_ = DoubledPage() ? Add(top_, rows_ * columns_ - 1) : 0xFFFF;
        } else {
            cursor_ = Add(top_, (row + 1) * columns_ - 1);
        }
        break;
    case Key::Home:
        if (k.ctrl)
            top_ = cursor_ = 0;
        else
            cursor_ = Add(top_, row * columns_);
        break;
    case Key::Left:
        if (k.ctrl) {
            both(-1);
        } else {
            if (cursor_ == top_) top_ = Add(top_, -columns_);
            cursor_ = Add(cursor_, -1);
        }
        break;
    case Key::Up:
        if (k.ctrl) {
            both(-columns_);
        } else {
            if (row == 0) top_ = Add(top_, -columns_);
            cursor_ = Add(cursor_, -columns_);
        }
        break;
    case Key::Right:
        if (k.ctrl) {
            both(1);
        } else {
            if (offset == (lastRow + 1) * columns_ - 1) top_ = Add(top_, columns_);
            cursor_ = Add(cursor_, 1);
        }
        break;
    case Key::Down:
        if (k.ctrl) {
            both(columns_);
        } else {
            if (row == lastRow) top_ = Add(top_, columns_);
            cursor_ = Add(cursor_, columns_);
        }
        break;
    default: return false;
    }
    if (!k.shift) anchor_ = cursor_;
    return true;
}

uint16_t TMemoryDumpForm::CellAt(int x, int y) const {
    int row = 0;
    int column = 0;
    if (view_ == DumpView::BigPixels || view_ == DumpView::SmallPixels) {
        row = (y - 1) / PixelSize();
        column = (x - kCellLeft) / PixelSize() / 8;
    } else if (view_ == DumpView::Complex) {
        // Hexadecimal cells on a 20-pixel pitch, then the characters on a 12-pixel pitch.
        const int charsLeft = 45 + 20 * columns_;
        row = (y - 1) / kRowHeight;
        column = x < charsLeft ? (x - kCellLeft) / 20 : (x - charsLeft) / 12;
    } else {
        row = (y - 1) / kRowHeight;
        column = (x - kCellLeft) / CellWidth();
    }
    row = std::clamp(row, 0, DisplayRows() - 1);
    column = std::clamp(column, 0, columns_ - 1);
    return CellUnit(row, column);
}

void TMemoryDumpForm::MouseDown(int x, int y) {
    addressColumnClick_ = x < kCellLeft;
    if (addressColumnClick_) return;
    cursor_ = anchor_ = CellAt(x, y);
    dragging_ = true;
}

void TMemoryDumpForm::MouseMove(int x, int y) {
    if (dragging_) cursor_ = CellAt(x, y);
}

bool TMemoryDumpForm::DoubleClick(int x) {
    return x < kCellLeft;
}

std::string TMemoryDumpForm::StatusText() const {
    if (HasBlock()) {
        const uint16_t s = ByteAddress(std::min(cursor_, anchor_));
        const uint16_t e = ByteAddress(std::max(cursor_, anchor_));
        const auto l = static_cast<uint16_t>(e - s + 1);
        return std::string("Block: S=") + Hex4(s) + "=" + Dec5(s) + ", E=" + Hex4(e) + "=" +
               Dec5(e) + ", L=" + Hex4(l) + "=" + Dec5(l);
    }
    const uint16_t a = ByteAddress(cursor_);
    const std::string where = Hex4(a) + "=" + Dec5(a) + ")=";
    if (view_ == DumpView::Words) {
        const uint16_t w = ReadWord(m_, a);
        return std::string("Word (") + where + Hex4(w) + "=" + Dec5(w) + "=" + Bin16(w);
    }
    const uint8_t b = ReadByte(m_, a);
    return std::string("Byte (") + where + Hex2(b) + "=" + Dec3(b) + "=" + Bin8(b) + "='" +
           PrintableChar(b) + "'";
}

std::string TMemoryDumpForm::CopyText() const {
    const uint16_t s = ByteAddress(std::min(cursor_, anchor_));
    const uint16_t e = ByteAddress(std::max(cursor_, anchor_));
    std::string text;
    for (uint32_t a = s; a <= e; ++a) {
        if (a != s) text += ' ';
        text += Hex2(ReadByte(m_, static_cast<uint16_t>(a)));
    }
    return text;
}

bool TMemoryDumpForm::StartSearch(const std::vector<uint8_t>& pattern, bool fromCursor,
                                  bool forward) {
    pattern_ = pattern;
    searchStep_ = forward ? 1 : -1;
    if (fromCursor) {
        searchPosition_ = Add(std::max(cursor_, anchor_), forward ? -1 : 1);
        searchEnd_ = forward ? 0xFFFF : 0x0000;
    } else {
        // The first address examined is #0000 forward and #FFFF backward.
        searchPosition_ = searchEnd_ = forward ? 0xFFFF : 0x0000;
    }
    return FindNext();
}

bool TMemoryDumpForm::Matches(uint16_t address) const {
    for (size_t i = 0; i < pattern_.size(); ++i) {
        if (ReadByte(m_, Add(address, static_cast<int>(i))) != pattern_[i]) return false;
    }
    return true;
}

// The search end itself is never examined.
bool TMemoryDumpForm::FindNext() {
    if (searchStep_ == 0 || pattern_.empty()) return false;
    for (searchPosition_ = Add(searchPosition_, searchStep_); searchPosition_ != searchEnd_;
         searchPosition_ = Add(searchPosition_, searchStep_)) {
        if (Matches(searchPosition_)) {
            top_ = cursor_ = searchPosition_;
            anchor_ = Add(searchPosition_, static_cast<int>(pattern_.size()) - 1);
            return true;
        }
    }
    return false;
}

WindowPosition TMemoryDumpForm::ApplySettings(const MemoryDumpSettings& s, int desktopWidth,
                                              int desktopHeight) {
    shownByUser = s.enabled;
    statusBar_ = s.statusBar;
    view_ = static_cast<DumpView>(std::clamp(s.viewMode, 0, 5));
    return PullIntoDesktop({s.x, s.y}, desktopWidth, desktopHeight);
}

MemoryDumpSettings TMemoryDumpForm::Settings(bool open, WindowPosition position,
                                             WindowSize size) const {
    return {open,       position.x, position.y, statusBar_, static_cast<int32_t>(view_),
            size.width, size.height};
}

} // namespace vespin
