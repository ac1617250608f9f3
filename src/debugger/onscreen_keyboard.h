// The main window's on-screen keyboard (KeysGrid): 4 rows of 10 keys, 17 pixels apart. The key
// index is the key number of the keyboard matrix. A left click latches a key down or lets it
// go; a right button holds a key while it is down.
#pragma once

#include <array>
#include <functional>
#include <string_view>

namespace vespin {

// How the grid reaches the keyboard matrix.
struct KeyMatrixAccess {
    std::function<bool(int key)> isDown;
    std::function<void(int key)> press;
    std::function<void(int key)> releaseFully; // until its press counter is 0
};

struct TKeyMatrix;
// The emulated machine's keyboard matrix, which the key thread presses too.
KeyMatrixAccess MatrixAccess(TKeyMatrix& matrix);

class TOnScreenKeyboard {
  public:
    static constexpr int kPitch = 17;
    static constexpr int kKeys = 40;
    // "e" is Enter, "c" Caps Shift, "s" Symbol Shift, the blank Space.
    static constexpr std::array<std::string_view, 4> kRows{"1234567890", "QWERTYUIOP", "ASDFGHJKLe",
                                                           "cZXCVBNMs "};

    explicit TOnScreenKeyboard(KeyMatrixAccess access) : keys_(std::move(access)) {}

    // The key under pixel (x, y), or -1 outside the grid.
    static int KeyAt(int x, int y) {
        if (x < 0 || y < 0 || x / kPitch >= 10 || y / kPitch >= 4) return -1;
        return (y / kPitch) * 10 + x / kPitch;
    }
    static char KeyCaption(int key) { return kRows[key / 10][key % 10]; }
    bool Down(int key) const { return keys_.isDown && keys_.isDown(key); }

    // Mouse events at pixel (x, y); they answer true when the grid must be repainted.
    bool LeftDown(int x, int y);
    bool RightDown(int x, int y);
    bool RightUp();

  private:
    static bool Valid(int key) { return key >= 0 && key < kKeys; }

    KeyMatrixAccess keys_;
    int clickedKey_ = -1;
};

} // namespace vespin
