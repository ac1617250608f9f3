// Keys and scroll-bar actions as the debugger's window logic receives them from the toolkit.
#pragma once

#include <cstdint>

namespace vespin {

enum class Key : uint8_t { Up, Down, Left, Right, PageUp, PageDown, Home, End, Enter, Other };

struct KeyPress {
    Key key = Key::Other;
    bool ctrl = false;
    bool shift = false;
};

enum class ScrollAction : uint8_t {
    LineUp,
    LineDown,
    PageUp,
    PageDown,
    Position, // thumb released or being dragged at a position
    Top,
    Bottom,
};

// A tool window's saved position is pulled back into view when it lies beyond the desktop's
// right edge minus 40 or its bottom edge minus 50.
struct WindowPosition {
    int32_t x = 20;
    int32_t y = 20;
};
inline WindowPosition PullIntoDesktop(WindowPosition p, int desktopWidth, int desktopHeight) {
    if (p.y > desktopHeight - 50) p.y = 20;
    if (p.x > desktopWidth - 40) p.x = 20;
    return p;
}

} // namespace vespin
