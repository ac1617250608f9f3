#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/key_matrix.h"
#include "input/typing.h"

namespace vespin {
namespace {

uint8_t K(std::string_view name) {
    return static_cast<uint8_t>(KeyNumberOfName(name));
}

TEST(Typing, CharactersBecomeTheChordsThatTypeThem) {
    struct Case {
        char c;
        std::vector<uint8_t> chord;
    };
    const std::vector<Case> cases = {
        {'p', {K("P")}},
        {'P', {K("CS"), K("P")}},
        {'0', {K("0")}},
        {' ', {K("SPACE")}},
        {'\n', {K("ENTER")}},
        {'"', {K("SS"), K("P")}},
        {'*', {K("SS"), K("B")}},
        {'+', {K("SS"), K("K")}},
        {'=', {K("SS"), K("L")}},
        {':', {K("SS"), K("Z")}},
        {';', {K("SS"), K("O")}},
        {',', {K("SS"), K("N")}},
        {'.', {K("SS"), K("M")}},
        {'$', {K("SS"), K("4")}},
        {'_', {K("SS"), K("0")}},
        {'<', {K("SS"), K("R")}},
        {'?', {K("SS"), K("C")}},
        {'\\', {}},
        {'[', {}},
        {'\t', {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChordOfCharacter(c.c), c.chord) << int(c.c);
}

TEST(Typing, TextIsTypedOneChordEveryNineFrames) {
    std::vector<KeyStroke> strokes;
    ASSERT_EQ(TypeText("10p1\\n", 100, strokes), std::nullopt);
    const std::vector<std::vector<uint8_t>> chords = {
        {K("1")}, {K("0")}, {K("P")}, {K("1")}, {K("ENTER")}};
    ASSERT_EQ(strokes.size(), chords.size());
    for (size_t i = 0; i < strokes.size(); ++i) {
        EXPECT_EQ(strokes[i].frame, 100 + 9 * i);
        EXPECT_EQ(strokes[i].length, 3u);
        EXPECT_EQ(strokes[i].keys, chords[i]);
    }
}

TEST(Typing, KeyNamesJoinedByPlus) {
    std::vector<KeyStroke> strokes;
    ASSERT_EQ(HoldKeys("CS+space", 10, 5, strokes), std::nullopt);
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(strokes[0].keys, (std::vector<uint8_t>{K("CS"), K("SPACE")}));
    EXPECT_EQ(strokes[0].frame, 10u);
    EXPECT_EQ(strokes[0].length, 5u);
}

TEST(Typing, UntypableTextAndUnknownKeysAddNothing) {
    std::vector<KeyStroke> strokes;
    for (std::string_view text : {"a\\q", "a\\", "ab[", "x\\\\"}) {
        EXPECT_NE(TypeText(text, 0, strokes), std::nullopt) << text;
    }
    for (std::string_view names : {"FOO", "A+", "", "CS+SHIFT"}) {
        EXPECT_NE(HoldKeys(names, 0, 1, strokes), std::nullopt) << names;
    }
    EXPECT_TRUE(strokes.empty());
}

TEST(Typing, StrokesPressAndReleaseTheMatrixFrameByFrame) {
    std::vector<KeyStroke> strokes;
    ASSERT_EQ(TypeText("aA", 2, strokes), std::nullopt);
    ASSERT_EQ(HoldKeys("SPACE", 3, 1, strokes), std::nullopt);
    TKeyMatrix matrix;
    std::string timeline;
    for (uint32_t frame = 0; frame < 16; ++frame) {
        ApplyKeyStrokes(strokes, matrix, frame);
        const bool a = IsKeyDown(matrix, K("A"));
        const bool cs = IsKeyDown(matrix, K("CS"));
        const bool space = IsKeyDown(matrix, K("SPACE"));
        timeline += cs ? 'C' : a ? 'a' : space ? '_' : '.';
        if (space && a) timeline.back() = '+';
    }
    EXPECT_EQ(timeline, "..a+a......CCC..");
}

} // namespace
} // namespace vespin
