// The Spectrum keyboard matrix: 40 keys in eight half-rows of five. Half-row r is selected by
// address line A(8 + r) low during an IN from the keyboard port; the data lines D0-D4 read 0 for
// a pressed key in any selected half-row.
//
// Keys are numbered 0..39 in the order of the physical keyboard, row by row, left to right:
// 1..5 6..0 / Q..T Y..P / A..G H..ENTER / CAPS SHIFT..V B..SPACE. A Spectrum key may be held by
// several sources at once (two host keys, the on-screen keyboard); a press counter per key keeps
// it down until the last of them lets go.
//
// Threads: the key thread and the user interface press and release keys (serialised by a small
// writer lock); the emulation thread reads the effective half-rows through one atomic word and
// never takes the lock, so it waits on nobody.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string_view>

namespace vespin {

constexpr int kKeyCount = 40;
constexpr uint8_t kReleasedHalfRow = 0xBF; // five keys up, bits 5 and 7 high, bit 6 (EAR) low

// Key numbers of the keys that have no digit or letter on them.
namespace zxkey {
constexpr uint8_t Enter = 29;
constexpr uint8_t CapsShift = 30;
constexpr uint8_t SymbolShift = 38;
constexpr uint8_t Space = 39;
} // namespace zxkey

// Where each key lives: half-row by groups of five, bit mask mirrored in the right-hand halves
// (the right half of each keyboard row is wired from the outside in).
constexpr std::array<uint8_t, 8> kHalfRowOfGroup = {3, 4, 2, 5, 1, 6, 0, 7};
constexpr std::array<uint8_t, 10> kMaskOfColumn = {1, 2, 4, 8, 16, 16, 8, 4, 2, 1};

constexpr uint8_t HalfRowOfKey(int key) {
    return kHalfRowOfGroup[key / 5];
}
constexpr uint8_t MaskOfKey(int key) {
    return kMaskOfColumn[key % 10];
}

// The names used on command lines and in the debugger: "1".."0", letters, "ENTER", "CS", "SS",
// "SPACE".
constexpr std::array<std::string_view, kKeyCount> kKeyNames = {
    "1", "2",     "3",  "4", "5", "6", "7", "8", "9", "0", "Q",  "W",    "E", "R",
    "T", "Y",     "U",  "I", "O", "P", "A", "S", "D", "F", "G",  "H",    "J", "K",
    "L", "ENTER", "CS", "Z", "X", "C", "V", "B", "N", "M", "SS", "SPACE"};

// Key number of a name from kKeyNames (case-insensitive), or -1.
int KeyNumberOfName(std::string_view name);

struct TKeyMatrix {
    TKeyMatrix();
    TKeyMatrix(const TKeyMatrix&) = delete;
    TKeyMatrix& operator=(const TKeyMatrix&) = delete;

    // Writer state, guarded by writerLock.
    std::array<uint8_t, 8> raw{}; // active low, as wired
    int8_t pressedCount = 0;      // keys currently down
    std::array<uint8_t, kKeyCount> pressCounters{};
    mutable std::mutex writerLock;

    // The effective half-rows (raw half-rows after ghosting), byte r = half-row r. This is what
    // the keyboard port reads; one word so that a reader always sees a whole update.
    std::atomic<uint64_t> effective{};

    // The Alt layer of the host key tables: set while a host Alt key is held. The key thread
    // writes it; the mouse reads it for its Alt + left-click gesture.
    std::atomic<uint8_t> altLayer{0};
};

void ClearMatrix(TKeyMatrix& matrix);
void PressKey(TKeyMatrix& matrix, int key);
void ReleaseKey(TKeyMatrix& matrix, int key);
// Releases a key completely, whatever number of sources hold it.
void ReleaseKeyFully(TKeyMatrix& matrix, int key);
bool IsKeyDown(const TKeyMatrix& matrix, int key);
uint8_t EffectiveHalfRow(const TKeyMatrix& matrix, int row);

// The keyboard byte for a read of port p: bits 0-4 the keys of the half-rows selected by the
// high address byte (0 = pressed), bits 5 and 7 set, bit 6 clear (the EAR bit is ORed in by
// the port map).
inline uint8_t ReadHalfRows(const TKeyMatrix& matrix, uint16_t port) {
    uint64_t rows = matrix.effective.load(std::memory_order_relaxed);
    uint8_t selected = static_cast<uint8_t>(~(port >> 8));
    uint8_t result = kReleasedHalfRow;
    for (; selected != 0; selected >>= 1, rows >>= 8) {
        if (selected & 1) result &= static_cast<uint8_t>(rows);
    }
    return result;
}

} // namespace vespin
