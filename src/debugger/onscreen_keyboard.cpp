#include "debugger/onscreen_keyboard.h"

#include "input/key_matrix.h"

namespace vespin {

KeyMatrixAccess MatrixAccess(TKeyMatrix& matrix) {
    return {[&matrix](int key) { return IsKeyDown(matrix, key); },
            [&matrix](int key) { PressKey(matrix, key); },
            [&matrix](int key) { ReleaseKeyFully(matrix, key); }};
}

bool TOnScreenKeyboard::LeftDown(int x, int y) {
    const int key = KeyAt(x, y);
    if (!Valid(key)) return false;
    clickedKey_ = key;
    if (Down(key)) {
        keys_.releaseFully(key);
    } else {
        keys_.press(key);
    }
    return true;
}

bool TOnScreenKeyboard::RightDown(int x, int y) {
    const int key = KeyAt(x, y);
    if (!Valid(key)) return false;
    clickedKey_ = key;
    keys_.press(key);
    return true;
}

bool TOnScreenKeyboard::RightUp() {
    if (!Valid(clickedKey_)) return false;
    keys_.releaseFully(clickedKey_);
    return true;
}

} // namespace vespin
