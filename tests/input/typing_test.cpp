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
    ASSERT_EQ(ParseTypeOption("10p1\\n@100", strokes), std::nullopt);
    const std::vector<std::vector<uint8_t>> chords = {
        {K("1")}, {K("0")}, {K("P")}, {K("1")}, {K("ENTER")}};
    ASSERT_EQ(strokes.size(), chords.size());
    for (size_t i = 0; i < strokes.size(); ++i) {
        EXPECT_EQ(strokes[i].frame, 100 + 9 * i);
        EXPECT_EQ(strokes[i].length, 3u);
        EXPECT_EQ(strokes[i].keys, chords[i]);
    }
    // The text may itself hold '@'; frames take the runner's number forms; options add up.
    ASSERT_EQ(ParseTypeOption("a@b@#10", strokes), std::nullopt);
    ASSERT_EQ(strokes.size(), 8u);
    EXPECT_EQ(strokes[5].frame, 16u);
    EXPECT_EQ(strokes[6].keys, (std::vector<uint8_t>{K("SS"), K("2")}));
}

TEST(Typing, KeyOptionHoldsNamedKeys) {
    std::vector<KeyStroke> strokes;
    ASSERT_EQ(ParseKeyOption("CS+space@10:5", strokes), std::nullopt);
    ASSERT_EQ(ParseKeyOption("enter@0x20:#10", strokes), std::nullopt);
    ASSERT_EQ(strokes.size(), 2u);
    EXPECT_EQ(strokes[0].keys, (std::vector<uint8_t>{K("CS"), K("SPACE")}));
    EXPECT_EQ(strokes[0].frame, 10u);
    EXPECT_EQ(strokes[0].length, 5u);
    EXPECT_EQ(strokes[1].frame, 32u);
    EXPECT_EQ(strokes[1].length, 16u);
}

TEST(Typing, MalformedOptionsAreRejectedAndAddNothing) {
    const std::vector<std::string> typeOptions = {"abc",   "abc@", "abc@x",    "a\\q@1",
                                                  "a\\@1", "[@1",  "ab\\\\@1", "a@-1"};
    const std::vector<std::string> keyOptions = {"A",    "A@1",  "A:2",   "FOO@1:2",     "A+@1:2",
                                                 "@1:2", "A@1:", "A@x:2", "CS+SHIFT@1:2"};
    std::vector<KeyStroke> strokes;
    for (const std::string& o : typeOptions) {
        EXPECT_NE(ParseTypeOption(o, strokes), std::nullopt) << o;
    }
    for (const std::string& o : keyOptions)
        EXPECT_NE(ParseKeyOption(o, strokes), std::nullopt) << o;
    EXPECT_TRUE(strokes.empty());
}

TEST(Typing, StrokesPressAndReleaseTheMatrixFrameByFrame) {
    std::vector<KeyStroke> strokes;
    ASSERT_EQ(ParseTypeOption("aA@2", strokes), std::nullopt);
    ASSERT_EQ(ParseKeyOption("SPACE@3:1", strokes), std::nullopt);
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
