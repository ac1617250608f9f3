#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "core/machine.h"
#include "core/ports.h"
#include "input/key_matrix.h"

namespace vespin {
namespace {

int Key(std::string_view name) {
    const int key = KeyNumberOfName(name);
    EXPECT_GE(key, 0) << name;
    return key;
}

void PressAll(TKeyMatrix& matrix, const std::vector<std::string_view>& names) {
    for (std::string_view name : names)
        PressKey(matrix, Key(name));
}

// The keyboard as wired: each half-row's port and its keys from D0 to D4.
struct WiredHalfRow {
    uint16_t port;
    std::array<std::string_view, 5> keys;
};
constexpr std::array<WiredHalfRow, 8> kWiring = {{
    {0xFEFE, {"CS", "Z", "X", "C", "V"}},
    {0xFDFE, {"A", "S", "D", "F", "G"}},
    {0xFBFE, {"Q", "W", "E", "R", "T"}},
    {0xF7FE, {"1", "2", "3", "4", "5"}},
    {0xEFFE, {"0", "9", "8", "7", "6"}},
    {0xDFFE, {"P", "O", "I", "U", "Y"}},
    {0xBFFE, {"ENTER", "L", "K", "J", "H"}},
    {0x7FFE, {"SPACE", "SS", "M", "N", "B"}},
}};

TEST(KeyMatrix, EveryKeyReadsOnItsOwnHalfRowAndDataLine) {
    TKeyMatrix matrix;
    for (const WiredHalfRow& row : kWiring) {
        for (int bit = 0; bit < 5; ++bit) {
            const int key = Key(row.keys[bit]);
            PressKey(matrix, key);
            for (const WiredHalfRow& other : kWiring) {
                const uint8_t expected =
                    &other == &row ? static_cast<uint8_t>(0xBF & ~(1 << bit)) : 0xBF;
                EXPECT_EQ(ReadHalfRows(matrix, other.port), expected)
                    << row.keys[bit] << " read at " << std::hex << other.port;
            }
            EXPECT_EQ(ReadHalfRows(matrix, 0x00FE), static_cast<uint8_t>(0xBF & ~(1 << bit)));
            ReleaseKey(matrix, key);
        }
    }
}

TEST(KeyMatrix, PortAddressesSelectHalfRowsThroughThePortMap) {
    struct Case {
        std::vector<std::string_view> keys;
        uint16_t port;
        uint8_t ear;
        uint8_t expected;
    };
    const std::vector<Case> cases = {
        {{}, 0x00FE, 0x00, 0xBF},          // every half-row, nothing down
        {{}, 0xFFFE, 0x00, 0xBF},          // no half-row selected
        {{}, 0x7FFE, 0x40, 0xFF},          // tape signal high
        {{"SPACE"}, 0x7FFE, 0x00, 0xBE},   //
        {{"SPACE"}, 0x00FE, 0x00, 0xBE},   //
        {{"SPACE"}, 0xFFFE, 0x00, 0xBF},   // selected nowhere
        {{"SPACE"}, 0xFEFE, 0x00, 0xBF},   // other half-row
        {{"CS", "A"}, 0xFCFE, 0x00, 0xBE}, // two half-rows ANDed
        {{"CS", "S"}, 0xFCFE, 0x40, 0xFC}, //
        {{"H"}, 0xBF00, 0x00, 0xAF},       // any even address is the keyboard
    };
    for (const Case& c : cases) {
        MachineState m;
        PressAll(m.keys, c.keys);
        m.tape.earByte = c.ear;
        EXPECT_EQ(PortIn(m, c.port), c.expected) << std::hex << c.port;
    }
}

TEST(KeyMatrix, GhostingJoinsHalfRowsThatShareAPressedColumnWithThreeKeysDown) {
    struct Case {
        std::vector<std::string_view> keys;
        uint16_t port;
        uint8_t expected;
    };
    const std::vector<Case> cases = {
        // 1 shares column 0 with Q, so W (column 1) shows on the digits' half-row as 2.
        {{"1", "Q", "W"}, 0xF7FE, 0xBC},
        {{"1", "Q", "W"}, 0xFBFE, 0xBC},
        // Two keys never ghost, whatever rows they are on.
        {{"1", "W"}, 0xF7FE, 0xBE},
        {{"1", "W"}, 0xFBFE, 0xBD},
        // Three keys without a shared column.
        {{"1", "W", "E"}, 0xF7FE, 0xBE},
        // A chain through two columns joins three half-rows.
        {{"CS", "A", "S", "W"}, 0xFEFE, 0xBC},
        {{"CS", "A", "S", "W"}, 0xFBFE, 0xBC},
        {{"CS", "A", "S", "W"}, 0xF7FE, 0xBF},
    };
    for (const Case& c : cases) {
        TKeyMatrix matrix;
        PressAll(matrix, c.keys);
        EXPECT_EQ(ReadHalfRows(matrix, c.port), c.expected)
            << c.keys.size() << " keys, port " << std::hex << c.port;
    }
}

TEST(KeyMatrix, GhostGoesWhenTheThirdKeyIsReleased) {
    TKeyMatrix matrix;
    PressAll(matrix, {"1", "Q", "W"});
    ReleaseKey(matrix, Key("Q"));
    EXPECT_EQ(ReadHalfRows(matrix, 0xF7FE), 0xBE);
    EXPECT_EQ(ReadHalfRows(matrix, 0xFBFE), 0xBD);
}

TEST(KeyMatrix, KeyHeldByTwoSourcesIsReleasedByTheLast) {
    TKeyMatrix matrix;
    const int cs = Key("CS");
    PressKey(matrix, cs);
    PressKey(matrix, cs);
    ReleaseKey(matrix, cs);
    EXPECT_TRUE(IsKeyDown(matrix, cs));
    EXPECT_EQ(ReadHalfRows(matrix, 0xFEFE), 0xBE);
    ReleaseKey(matrix, cs);
    EXPECT_FALSE(IsKeyDown(matrix, cs));
    EXPECT_EQ(ReadHalfRows(matrix, 0xFEFE), 0xBF);
}

TEST(KeyMatrix, ReleasingAKeyThatIsUpChangesNothing) {
    TKeyMatrix matrix;
    ReleaseKey(matrix, Key("Q"));
    EXPECT_EQ(matrix.pressedCount, 0);
    // A release of an up key must not upset the key count that ghosting depends on.
    PressAll(matrix, {"1", "Q", "W"});
    ReleaseKey(matrix, Key("E"));
    EXPECT_EQ(ReadHalfRows(matrix, 0xF7FE), 0xBC);
}

TEST(KeyMatrix, ReleaseFullyAndClearDropEverySource) {
    TKeyMatrix matrix;
    const int a = Key("A");
    PressKey(matrix, a);
    PressKey(matrix, a);
    PressKey(matrix, a);
    ReleaseKeyFully(matrix, a);
    EXPECT_FALSE(IsKeyDown(matrix, a));

    PressAll(matrix, {"1", "Q", "W", "Q"});
    ClearMatrix(matrix);
    EXPECT_EQ(ReadHalfRows(matrix, 0x00FE), 0xBF);
    PressKey(matrix, Key("Q"));
    ReleaseKey(matrix, Key("Q"));
    EXPECT_FALSE(IsKeyDown(matrix, Key("Q")));
}

TEST(KeyMatrix, OutOfRangeKeysAndNamesAreIgnored) {
    TKeyMatrix matrix;
    PressKey(matrix, -1);
    PressKey(matrix, kKeyCount);
    EXPECT_EQ(ReadHalfRows(matrix, 0x00FE), 0xBF);
    EXPECT_EQ(KeyNumberOfName("enter"), zxkey::Enter);
    EXPECT_EQ(KeyNumberOfName("ss"), zxkey::SymbolShift);
    EXPECT_EQ(KeyNumberOfName("SHIFT"), -1);
    EXPECT_EQ(KeyNumberOfName(""), -1);
}

} // namespace
} // namespace vespin
