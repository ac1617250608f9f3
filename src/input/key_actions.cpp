#include "input/key_actions.h"

#include <string_view>

#include "input/kempston.h"
#include "input/key_matrix.h"

namespace vespin {

namespace {

constexpr uint8_t Key(std::string_view name) {
    for (int k = 0; k < kKeyCount; ++k) {
        if (kKeyNames[k] == name) return static_cast<uint8_t>(k);
    }
    throw "unknown Spectrum key name";
}

// Host keys that type one Spectrum key or a shifted pair (shift first).
struct TypingKey {
    uint8_t scan;
    uint8_t first;
    uint8_t second;
};

consteval TypingKey One(uint8_t scan, std::string_view key) {
    return {scan, Key(key), kNoKey};
}
consteval TypingKey Pair(uint8_t scan, std::string_view shift, std::string_view key) {
    return {scan, Key(shift), Key(key)};
}

// The main block's letter and digit rows: consecutive scan codes from the row's first key.
struct HostRow {
    uint8_t firstScan;
    std::string_view keys;
};
constexpr std::array<HostRow, 4> kHostRows = {{
    {0x02, "1234567890"},
    {0x10, "QWERTYUIOP"},
    {0x1E, "ASDFGHJKL"},
    {0x2C, "ZXCVBNM"},
}};

constexpr std::array kTypingKeys = {
    // Numeric keypad digits.
    One(0x47, "7"), One(0x48, "8"), One(0x49, "9"), One(0x4B, "4"), One(0x4C, "5"), One(0x4D, "6"),
    One(0x4F, "1"), One(0x50, "2"), One(0x51, "3"), One(0x52, "0"),
    // Punctuation, editing and cursor keys.
    Pair(0x0C, "SS", "J"),  // Minus
    Pair(0x0D, "SS", "L"),  // Equals
    Pair(0x0E, "CS", "0"),  // Backspace: DELETE
    Pair(0x0F, "CS", "SS"), // Tab: extended mode
    Pair(0x1A, "SS", "8"),  // Left bracket: (
    Pair(0x1B, "SS", "9"),  // Right bracket: )
    One(0x1C, "ENTER"),     // Enter
    One(0x9C, "ENTER"),     // keypad Enter
    Pair(0x27, "SS", "O"),  // Semicolon
    Pair(0x28, "SS", "P"),  // Apostrophe: "
    Pair(0x29, "CS", "1"),  // Grave accent: EDIT
    One(0x2A, "CS"),        // Left Shift
    Pair(0x2B, "SS", "Z"),  // Backslash
    Pair(0x33, "SS", "N"),  // Comma
    Pair(0x34, "SS", "M"),  // Period
    Pair(0x53, "SS", "M"),  // keypad decimal point
    Pair(0x35, "SS", "C"),  // Slash: ?
    One(0x36, "SS"),        // Right Shift
    Pair(0x37, "SS", "B"),  // keypad *
    One(0x39, "SPACE"),     // Space
    Pair(0x3A, "CS", "2"),  // Caps Lock
    Pair(0x4A, "SS", "J"),  // keypad -
    Pair(0x4E, "SS", "K"),  // keypad +
    Pair(0xB5, "SS", "V"),  // keypad /
    Pair(0xC8, "CS", "7"),  // cursor up
    Pair(0xCB, "CS", "5"),  // cursor left
    Pair(0xCD, "CS", "8"),  // cursor right
    Pair(0xD0, "CS", "6"),  // cursor down
};

struct JoystickKey {
    uint8_t scan;
    uint8_t bits;
};
constexpr std::array<JoystickKey, 5> kJoystickKeys = {{
    {0xC7, joy::Up},    // Home
    {0xCF, joy::Down},  // End
    {0xD3, joy::Left},  // Delete
    {0xD1, joy::Right}, // Page Down
    {0x1D, joy::Fire},  // Left Ctrl
}};

struct HotKey {
    uint8_t scan;
    KeyOp op;
};
constexpr std::array<HotKey, 8> kPlainPress = {{
    {scan::LeftAlt, KeyOp::AltOn},
    {scan::RightAlt, KeyOp::AltOn},
    {scan::Escape, KeyOp::Escape},
    {0x3C, KeyOp::LoadDisk},     // F2
    {0x3D, KeyOp::LoadSnapshot}, // F3
    {0x42, KeyOp::ToggleSpeed},  // F8
    {0x58, KeyOp::Reset128},     // F12
    {0xC5, KeyOp::TogglePause},  // Pause
}};
constexpr std::array<HotKey, 1> kPlainRelease = {{
    {0x58, KeyOp::ResetRelease}, // F12
}};
constexpr std::array<HotKey, 7> kAltPress = {{
    {0x14, KeyOp::TapeReader},     // T
    {0x1C, KeyOp::FullScreen},     // Enter
    {0x21, KeyOp::ShowFps},        // F
    {0x32, KeyOp::MouseCapture},   // M
    {0x39, KeyOp::BackToDebugger}, // Space
    {0x3E, KeyOp::CloseProgram},   // F4
    {0x58, KeyOp::Reset48},        // F12
}};
constexpr std::array<HotKey, 3> kAltRelease = {{
    {scan::LeftAlt, KeyOp::AltOff},
    {scan::RightAlt, KeyOp::AltOff},
    {0x58, KeyOp::ResetRelease}, // F12
}};

template <size_t N> constexpr void Fill(KeyActionTable& table, const std::array<HotKey, N>& keys) {
    for (const HotKey& h : keys)
        table[h.scan] = {h.op, kNoKey, kNoKey};
}

constexpr void AddTyping(KeyActionTables& t, uint8_t scan, uint8_t first, uint8_t second) {
    t.press[scan] = {KeyOp::PressKeys, first, second};
    t.release[scan] = {KeyOp::ReleaseKeys, first, second};
}

constexpr KeyActionTables BuildTables() {
    KeyActionTables t{};
    for (const HostRow& row : kHostRows) {
        for (size_t i = 0; i < row.keys.size(); ++i) {
            const uint8_t key = Key(row.keys.substr(i, 1));
            AddTyping(t, static_cast<uint8_t>(row.firstScan + i), key, kNoKey);
        }
    }
    for (const TypingKey& k : kTypingKeys)
        AddTyping(t, k.scan, k.first, k.second);
    for (const JoystickKey& j : kJoystickKeys) {
        t.press[j.scan] = {KeyOp::JoystickOn, j.bits, kNoKey};
        t.release[j.scan] = {KeyOp::JoystickOff, j.bits, kNoKey};
    }
    Fill(t.press, kPlainPress);
    Fill(t.release, kPlainRelease);
    Fill(t.altPress, kAltPress);
    Fill(t.altRelease, kAltRelease);
    return t;
}

constexpr KeyActionTables kTables = BuildTables();

} // namespace

const KeyActionTables& HostKeyTables() {
    return kTables;
}

} // namespace vespin
