// Scripted typing for the headless runner: text and key combinations turned into key strokes
// (which Spectrum keys go down at which frame, for how many frames), and the strokes applied to
// the matrix frame by frame.
//
// Text is typed as a Spectrum user types it: each character is one chord held for 3 frames and
// followed by 6 frames with no key down. The ROM's keyboard scan ignores a key pressed again
// within 5 frames of its release, so two equal characters in a row need the 6.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vespin {

struct TKeyMatrix;

struct KeyStroke {
    uint32_t frame = 0;        // first frame with the keys down
    uint32_t length = 0;       // frames held
    std::vector<uint8_t> keys; // pressed in this order
};

constexpr uint32_t kTypedKeyFrames = 3;
constexpr uint32_t kTypedGapFrames = 6;

// The chord that types one character: a letter, a digit, a space, ENTER for '\n', CAPS SHIFT
// with a letter for capitals and SYMBOL SHIFT with the key that carries any other symbol.
// Empty when the character is not on the keyboard.
std::vector<uint8_t> ChordOfCharacter(char c);

// Types the text from startFrame on ("\n" is ENTER, "\\" a backslash) and appends its
// strokes, or returns the error text and appends nothing.
std::optional<std::string> TypeText(std::string_view text, uint32_t startFrame,
                                    std::vector<KeyStroke>& out);

// Holds the keys named in names (kKeyNames joined by '+') for length frames from frame on.
std::optional<std::string> HoldKeys(std::string_view names, uint32_t frame, uint32_t length,
                                    std::vector<KeyStroke>& out);

// Presses and releases what the strokes ask for at the start of the given frame: releases of
// strokes that end there first, then presses of strokes that begin there.
void ApplyKeyStrokes(std::span<const KeyStroke> strokes, TKeyMatrix& matrix, uint32_t frame);

} // namespace vespin
