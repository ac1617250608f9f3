// TMemoryDumpForm, the "Memory" window: the 64 KB address space as currently paged in six views,
// with a cursor and a block, keys and mouse, a status bar, copy, and pattern search.
//
// In the Words view cursor and anchor count words from topAddress: cursor = topAddress + n is
// the word at topAddress + 2n. Every other view counts bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/machine.h"
#include "debugger/ui_input.h"

namespace vespin {

enum class DumpView : uint8_t { Bytes, Chars, Complex, Words, BigPixels, SmallPixels };

// The group "Environment\Memory Dump Panel".
struct MemoryDumpSettings {
    bool enabled = false;
    int32_t x = 20, y = 20;
    bool statusBar = true;
    int32_t viewMode = 0;
    int32_t width = 390;
    int32_t height = 245;
};

struct WindowSize {
    int width = 0;
    int height = 0;
};

class TMemoryDumpForm {
  public:
    static constexpr int kCellLeft = 39;
    static constexpr int kRowHeight = 12;
    static constexpr const char* kNotFoundCaption = " Information";
    static constexpr const char* kNotFoundText = "Searching done. Search pattern not found!";

    explicit TMemoryDumpForm(const MachineState& m) : m_(m) { SetClientSize(332, 219); }

    // Geometry. SnapWindowSize answers the size a resize ends at, or nothing when refused;
    // SetClientSize is then told the client area and recomputes rows and columns.
    std::optional<WindowSize> SnapWindowSize(int width, int height) const;
    void SetClientSize(int width, int height);
    int Rows() const { return rows_; }
    int Columns() const { return columns_; }
    int DisplayRows() const { return view_ == DumpView::SmallPixels ? 2 * rows_ : rows_; }
    int CellWidth() const;
    int PixelSize() const { return view_ == DumpView::BigPixels ? 12 : 6; }
    // Choosing a view: answers the window width it asks for.
    int SetView(DumpView view);
    DumpView View() const { return view_; }
    // "St&atus Bar": answers the new window height.
    int ToggleStatusBar();
    bool StatusBar() const { return statusBar_; }

    struct ScrollSteps {
        int small, large;
    };
    ScrollSteps ScrollBarSteps() const;
    void Scroll(int position) { top_ = static_cast<uint16_t>(position); }

    uint16_t Top() const { return top_; }
    uint16_t Cursor() const { return cursor_; }
    uint16_t Anchor() const { return anchor_; }
    bool HasBlock() const { return cursor_ != anchor_; }
    // The cell's unit (byte, or word in the Words view) and whether it is drawn as block.
    uint16_t CellUnit(int row, int column) const;
    uint16_t ByteAddress(uint16_t unit) const;
    bool InBlock(uint16_t unit) const;
    std::string RowAddressText(int row) const;
    std::string CellText(int row, int column) const;

    // Returns false for keys the window passes on.
    bool KeyDown(KeyPress key);
    void Wheel(bool down) { KeyDown({down ? Key::Down : Key::Up, true}); }
    void MouseDown(int x, int y);
    void MouseMove(int x, int y);
    void MouseUp() { dragging_ = false; }
    // True when the double-click opens the go-to dialog (a click in the address column).
    bool DoubleClick(int x);
    void GoToAddress(uint16_t address) { top_ = cursor_ = anchor_ = address; }

    std::string StatusText() const;
    std::string CopyText() const;

    // Search. StartSearch prepares and runs the first search; both return false on no hit,
    // when the window shows kNotFoundText.
    bool StartSearch(const std::vector<uint8_t>& pattern, bool fromCursor, bool forward);
    bool FindNext();

    // Returns where the window goes.
    WindowPosition ApplySettings(const MemoryDumpSettings& s, int desktopWidth, int desktopHeight);
    MemoryDumpSettings Settings(bool open, WindowPosition position, WindowSize size) const;
    bool shownByUser = false;

  private:
    bool DoubledPage() const { return view_ == DumpView::Words || view_ == DumpView::SmallPixels; }
    int Page() const { return rows_ * columns_ * (DoubledPage() ? 2 : 1); }
    uint16_t CellAt(int x, int y) const;
    bool Matches(uint16_t address) const;

    const MachineState& m_;
    uint16_t top_ = 0, cursor_ = 0, anchor_ = 0;
    uint16_t searchPosition_ = 0, searchEnd_ = 0;
    int searchStep_ = 0; // 0 until a search is prepared: Find Next then examines nothing
    std::vector<uint8_t> pattern_;
    int rows_ = 1, columns_ = 1;
    DumpView view_ = DumpView::Bytes;
    bool statusBar_ = true;
    bool dragging_ = false;
    bool addressColumnClick_ = false;
};

} // namespace vespin
