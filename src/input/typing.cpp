#include "input/typing.h"

#include <array>

#include "input/key_matrix.h"

namespace vespin {

namespace {

// Symbols typed with SYMBOL SHIFT, and the key that carries each.
struct SymbolKey {
    char symbol;
    std::string_view key;
};
constexpr std::array<SymbolKey, 24> kSymbols = {{
    {'!', "1"}, {'@', "2"}, {'#', "3"}, {'$', "4"}, {'%', "5"}, {'&', "6"}, {'\'', "7"}, {'(', "8"},
    {')', "9"}, {'_', "0"}, {'<', "R"}, {'>', "T"}, {';', "O"}, {'"', "P"}, {'^', "H"},  {'-', "J"},
    {'+', "K"}, {'=', "L"}, {':', "Z"}, {'?', "C"}, {'/', "V"}, {'*', "B"}, {',', "N"},  {'.', "M"},
}};

uint8_t KeyOf(std::string_view name) {
    return static_cast<uint8_t>(KeyNumberOfName(name));
}

} // namespace

std::vector<uint8_t> ChordOfCharacter(char c) {
    const char upper = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    const std::string_view single(&upper, 1);
    if (c >= 'a' && c <= 'z') return {KeyOf(single)};
    if (c >= 'A' && c <= 'Z') return {zxkey::CapsShift, KeyOf(single)};
    if (c >= '0' && c <= '9') return {KeyOf(single)};
    if (c == ' ') return {zxkey::Space};
    if (c == '\n') return {zxkey::Enter};
    for (const SymbolKey& s : kSymbols) {
        if (s.symbol == c) return {zxkey::SymbolShift, KeyOf(s.key)};
    }
    return {};
}

std::optional<std::string> TypeText(std::string_view text, uint32_t startFrame,
                                    std::vector<KeyStroke>& out) {
    std::vector<KeyStroke> strokes;
    uint32_t frame = startFrame;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\\') {
            const char next = i + 1 < text.size() ? text[++i] : '\0';
            if (next == 'n')
                c = '\n';
            else if (next == '\\')
                c = '\\';
            else
                return "unknown escape in \"" + std::string(text) + "\" (use \\n or \\\\)";
        }
        std::vector<uint8_t> chord = ChordOfCharacter(c);
        if (chord.empty()) return "'" + std::string(1, c) + "' is not on the Spectrum keyboard";
        strokes.push_back({frame, kTypedKeyFrames, std::move(chord)});
        frame += kTypedKeyFrames + kTypedGapFrames;
    }
    out.insert(out.end(), strokes.begin(), strokes.end());
    return std::nullopt;
}

std::optional<std::string> HoldKeys(std::string_view names, uint32_t frame, uint32_t length,
                                    std::vector<KeyStroke>& out) {
    KeyStroke stroke{frame, length, {}};
    while (true) {
        const size_t plus = names.find('+');
        const std::string_view name = names.substr(0, plus);
        const int key = KeyNumberOfName(name);
        if (key < 0) return "unknown Spectrum key \"" + std::string(name) + "\"";
        stroke.keys.push_back(static_cast<uint8_t>(key));
        if (plus == std::string_view::npos) break;
        names.remove_prefix(plus + 1);
    }
    out.push_back(std::move(stroke));
    return std::nullopt;
}

void ApplyKeyStrokes(std::span<const KeyStroke> strokes, TKeyMatrix& matrix, uint32_t frame) {
    for (const KeyStroke& s : strokes) {
        if (s.length != 0 && uint64_t{s.frame} + s.length == frame) {
            for (uint8_t key : s.keys)
                ReleaseKey(matrix, key);
        }
    }
    for (const KeyStroke& s : strokes) {
        if (s.length != 0 && s.frame == frame) {
            for (uint8_t key : s.keys)
                PressKey(matrix, key);
        }
    }
}

} // namespace vespin
