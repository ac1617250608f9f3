// Host key event streams and scripted typing from arbitrary bytes. The first byte picks the
// mode. Key events: pairs of (operation, scan code) pushed through the keyboard device into the
// key thread's tables, with focus and run changes mixed in; after every step the matrix must be
// consistent (half-rows, press counters and the key count agree). Typing: the rest is the text
// of --type or the names of --key.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

#include "core/machine.h"
#include "input/key_thread.h"
#include "input/typing.h"
#include "input/window_requests.h"

namespace {

using namespace vespin;

void CheckMatrix(const TKeyMatrix& matrix) {
    std::array<uint8_t, 8> rows;
    rows.fill(kReleasedHalfRow);
    int down = 0;
    for (int k = 0; k < kKeyCount; ++k) {
        if (matrix.pressCounters[k] == 0) continue;
        ++down;
        rows[HalfRowOfKey(k)] &= static_cast<uint8_t>(~MaskOfKey(k));
    }
    if (rows != matrix.raw || down != matrix.pressedCount) std::abort();
    // Ghosting only ever adds pressed keys to what is really down.
    for (int r = 0; r < 8; ++r) {
        if ((EffectiveHalfRow(matrix, r) & ~rows[r]) != 0) std::abort();
    }
}

void KeyEvents(const uint8_t* data, size_t size) {
    auto m = std::make_unique<MachineState>();
    TKeyboardDevice keyboard;
    WindowRequests requests;
    uint32_t tick = 0;
    TKeyThread thread(*m, keyboard, requests, [&] { return tick; });
    thread.SetEnabled(true);
    thread.ActivateKeys();
    for (size_t i = 0; i + 1 < size; i += 2) {
        const uint8_t op = data[i];
        const uint8_t code = data[i + 1];
        switch (op & 7) {
        case 0: keyboard.Push(code, true); break;
        case 1: keyboard.Push(code, false); break;
        case 2: thread.ActivateKeys(); break;
        case 3: thread.DeactivateKeys(); break;
        case 4: thread.SetEnabled(code & 1); break;
        case 5: tick += code; break;
        case 6: PressKey(m->keys, code % kKeyCount); break;   // the on-screen keyboard
        case 7: ReleaseKey(m->keys, code % kKeyCount); break; //
        }
        if (op & 8) thread.Service();
        CheckMatrix(m->keys);
    }
    thread.Service();
    CheckMatrix(m->keys);
}

void Typing(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<KeyStroke> strokes;
    TypeText(text, 0, strokes);
    HoldKeys(text, 0, 5, strokes);
    TKeyMatrix matrix;
    for (uint32_t frame = 0; frame < 9 * size + 10; ++frame)
        ApplyKeyStrokes(strokes, matrix, frame);
    if (matrix.pressedCount != 0) std::abort(); // every stroke is released again
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    if (data[0] & 1) {
        Typing(data + 1, size - 1);
    } else {
        KeyEvents(data + 1, size - 1);
    }
    return 0;
}
