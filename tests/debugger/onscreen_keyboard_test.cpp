#include "debugger/onscreen_keyboard.h"

#include <gtest/gtest.h>

#include <array>

namespace vespin {
namespace {

// Press counters as the keyboard matrix keeps them.
struct Counters {
    std::array<int, 40> count{};
    KeyMatrixAccess Access() {
        return {[this](int k) { return count[k] > 0; }, [this](int k) { ++count[k]; },
                [this](int k) { count[k] = 0; }};
    }
};

TEST(OnScreenKeyboard, LayoutAndHitTest) {
    EXPECT_EQ(TOnScreenKeyboard::KeyCaption(0), '1');
    EXPECT_EQ(TOnScreenKeyboard::KeyCaption(29), 'e');
    EXPECT_EQ(TOnScreenKeyboard::KeyCaption(30), 'c');
    EXPECT_EQ(TOnScreenKeyboard::KeyCaption(38), 's');
    EXPECT_EQ(TOnScreenKeyboard::KeyCaption(39), ' ');
    EXPECT_EQ(TOnScreenKeyboard::KeyAt(16, 16), 0);
    EXPECT_EQ(TOnScreenKeyboard::KeyAt(17 * 9 + 1, 17 * 3 + 1), 39);
}

TEST(OnScreenKeyboard, LatchingAndHeldPresses) {
    Counters c;
    TOnScreenKeyboard grid(c.Access());
    EXPECT_TRUE(grid.LeftDown(17 * 2, 17)); // E: latched down
    EXPECT_EQ(c.count[12], 1);
    c.count[12] = 3;           // also held by host keys
    grid.LeftDown(17 * 2, 17); // a click on a key that is down lets it go completely
    EXPECT_EQ(c.count[12], 0);
    grid.RightDown(17 * 9, 17 * 3); // Space while the right button is down
    EXPECT_TRUE(grid.Down(39));
    grid.RightUp();
    EXPECT_FALSE(grid.Down(39));
    EXPECT_FALSE(grid.LeftDown(17 * 3, 17 * 4)); // below the grid
    EXPECT_FALSE(grid.LeftDown(-1, 0));
    EXPECT_FALSE(grid.LeftDown(17 * 10 + 1, 0)); // right of the grid, not the next row
}

} // namespace
} // namespace vespin
