#include "input/key_matrix.h"

#include <cctype>

namespace vespin {

namespace {

constexpr uint64_t kAllReleased = 0xBFBFBFBFBFBFBFBFull;

uint64_t Pack(const std::array<uint8_t, 8>& rows) {
    uint64_t word = 0;
    for (int r = 7; r >= 0; --r)
        word = (word << 8) | rows[r];
    return word;
}

// Ghosting: with three or more keys down, two half-rows that have a pressed key in the same
// column are joined through that column's line, so each reads the other's keys as well. With
// two keys or fewer no closed loop through the matrix exists.
std::array<uint8_t, 8> Ghosted(std::array<uint8_t, 8> rows, int pressedCount) {
    if (pressedCount <= 2) return rows;
    for (int i = 0; i < 7; ++i) {
        if (rows[i] == kReleasedHalfRow) continue;
        int j = i + 1;
        while (j <= 7) {
            const bool joined = rows[j] != kReleasedHalfRow && rows[j] != rows[i] &&
                                (rows[i] | rows[j]) != kReleasedHalfRow;
            if (joined) {
                rows[i] &= rows[j];
                rows[j] = rows[i];
                j = i + 2;
            } else {
                ++j;
            }
        }
    }
    return rows;
}

void Publish(TKeyMatrix& matrix) {
    matrix.effective.store(Pack(Ghosted(matrix.raw, matrix.pressedCount)),
                           std::memory_order_relaxed);
}

bool ValidKey(int key) {
    return key >= 0 && key < kKeyCount;
}

} // namespace

TKeyMatrix::TKeyMatrix() {
    ClearMatrix(*this);
}

int KeyNumberOfName(std::string_view name) {
    for (int k = 0; k < kKeyCount; ++k) {
        const std::string_view candidate = kKeyNames[k];
        if (candidate.size() != name.size()) continue;
        bool same = true;
        for (size_t i = 0; i < name.size() && same; ++i) {
            same = std::toupper(static_cast<unsigned char>(name[i])) == candidate[i];
        }
        if (same) return k;
    }
    return -1;
}

void ClearMatrix(TKeyMatrix& matrix) {
    std::lock_guard lock(matrix.writerLock);
    matrix.raw.fill(kReleasedHalfRow);
    matrix.pressedCount = 0;
    matrix.pressCounters.fill(0);
    matrix.effective.store(kAllReleased, std::memory_order_relaxed);
}

void PressKey(TKeyMatrix& matrix, int key) {
    if (!ValidKey(key)) return;
    std::lock_guard lock(matrix.writerLock);
    // A counter that cannot count further holds the key anyway; it never wraps to "up".
    if (matrix.pressCounters[key] == UINT8_MAX) return;
    if (matrix.pressCounters[key]++ != 0) return;
    matrix.raw[HalfRowOfKey(key)] &= static_cast<uint8_t>(~MaskOfKey(key));
    ++matrix.pressedCount;
    Publish(matrix);
}

void ReleaseKey(TKeyMatrix& matrix, int key) {
    if (!ValidKey(key)) return;
    std::lock_guard lock(matrix.writerLock);
    if (matrix.pressCounters[key] == 0 || --matrix.pressCounters[key] != 0) return;
    matrix.raw[HalfRowOfKey(key)] |= MaskOfKey(key);
    --matrix.pressedCount;
    Publish(matrix);
}

void ReleaseKeyFully(TKeyMatrix& matrix, int key) {
    while (IsKeyDown(matrix, key))
        ReleaseKey(matrix, key);
}

bool IsKeyDown(const TKeyMatrix& matrix, int key) {
    if (!ValidKey(key)) return false;
    std::lock_guard lock(matrix.writerLock);
    return matrix.pressCounters[key] > 0;
}

uint8_t EffectiveHalfRow(const TKeyMatrix& matrix, int row) {
    return static_cast<uint8_t>(matrix.effective.load(std::memory_order_relaxed) >> (8 * row));
}

} // namespace vespin
