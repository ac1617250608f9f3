#include <gtest/gtest.h>

#include "media/tape_image.h"
#include "support/testdata.h"
#include "tape_fixtures.h"

namespace vespin {
namespace {

using namespace vespin::test;
using Lines = std::vector<std::string>;

constexpr auto kHex = BlockInfoMode::Hexadecimal;
constexpr auto kDec = BlockInfoMode::Decimal;
constexpr auto kNone = BlockInfoMode::None;

DescribedTape MustParse(TapeKind kind, const Bytes& bytes, BlockInfoMode mode) {
    DescribedTape t;
    const std::string error = ParseTapeImage(kind, bytes, mode, t);
    EXPECT_EQ(error, "");
    return t;
}

std::string ParseError(TapeKind kind, const Bytes& bytes) {
    DescribedTape t;
    return ParseTapeImage(kind, bytes, kHex, t);
}

const Bytes kHelloHeader = HeaderPayload(0, "HELLO", 26, 10, 26);

struct DescriptionCase {
    const char* what;
    TapeKind kind;
    Bytes bytes;
    BlockInfoMode mode;
    Lines lines;
};
void PrintTo(const DescriptionCase& c, std::ostream* os) {
    *os << c.what;
}

class TapeDescription : public testing::TestWithParam<DescriptionCase> {};

TEST_P(TapeDescription, Lines) {
    const DescriptionCase& c = GetParam();
    EXPECT_EQ(MustParse(c.kind, c.bytes, c.mode).lines, c.lines) << c.what;
}

const std::string kBullet = " \u2022";

INSTANTIATE_TEST_SUITE_P(
    Tap, TapeDescription,
    testing::Values(
        DescriptionCase{"program, padded name, hex",
                        TapeKind::Tap,
                        TapBlock(kHelloHeader),
                        kHex,
                        {"Header, Program \"HELLO\", Line #A, Length #1A, Vars #1A"}},
        DescriptionCase{"program, decimal",
                        TapeKind::Tap,
                        TapBlock(kHelloHeader),
                        kDec,
                        {"Header, Program \"HELLO\", Line 10, Length 26, Vars 26"}},
        DescriptionCase{"program, none",
                        TapeKind::Tap,
                        TapBlock(kHelloHeader),
                        kNone,
                        {"Header, Program \"HELLO\""}},
        DescriptionCase{
            "arrays, code and unknown types",
            TapeKind::Tap,
            Cat({TapBlock(HeaderPayload(1, "n", 5, 0, 0)), TapBlock(HeaderPayload(2, "c", 5, 0, 0)),
                 TapBlock(HeaderPayload(3, "mc", 41, 32768, 0)),
                 TapBlock(HeaderPayload(7, "x", 0, 0, 0))}),
            kHex,
            {"Header, Number Array \"n\"", "Header, Character Array \"c\"",
             "Header, Code \"mc\", Start #8000, Length #29", "Header, Nonstandard"}},
        DescriptionCase{"code header in none mode",
                        TapeKind::Tap,
                        TapBlock(HeaderPayload(3, "mc", 41, 32768, 0)),
                        kNone,
                        {"Header, Code \"mc\""}},
        DescriptionCase{
            "data, odd flags, a header of the wrong length, zero length",
            TapeKind::Tap,
            Cat({TapBlock(DataPayload({1, 2, 3})), TapBlock({0x12, 1, 2, 3}),
                 TapBlock(Cat({kHelloHeader, {0}})), Bytes{0, 0}, TapBlock(DataPayload({}))}),
            kDec,
            {"Data Block, Length 3", "Nonstandard, ID 18, Length 2", "Nonstandard, ID 0, Length 18",
             "Nonstandard Zero", "Data Block, Length 0"}},
        DescriptionCase{"numbers left out in none mode",
                        TapeKind::Tap,
                        Cat({TapBlock(DataPayload({1})), TapBlock({0x12, 1, 2})}),
                        kNone,
                        {"Data Block", "Nonstandard"}}));

INSTANTIATE_TEST_SUITE_P(
    Tzx, TapeDescription,
    testing::Values(
        DescriptionCase{
            "data blocks",
            TapeKind::Tzx,
            Tzx({Standard(kHelloHeader, 1000), Turbo({}, HeaderPayload(3, "mc", 41, 32768, 0)),
                 PureTone(100, 2), PulseSequence({1, 2}), PureData(1, 2, 8, 0, {5, 6})}),
            kHex,
            {"Header, Program \"HELLO\", Line #A, Length #1A, Vars #1A",
             "Turbo Header, Code \"mc\", Start #8000, Length #29", "Pure Tone",
             "Sequence of pulses of different lengths", "Pure data block"}},
        DescriptionCase{"control blocks, hex",
                        TapeKind::Tzx,
                        Tzx({Pause(1000),
                             Pause(0),
                             ShortTextBlock(0x21, "Group"),
                             {0x22},
                             Jump(-1),
                             Jump(2),
                             LoopStart(3),
                             LoopEnd(),
                             StopIf48K(),
                             ShortTextBlock(0x30, "About"),
                             Message(5, "Hi"),
                             Cat({{0x5A}, Bytes(9, 0)})}),
                        kHex,
                        {"Pause: 1000ms", "Stop the Tape", "Group of Blocks: Group", "Group End",
                         "Jump to Block #FFFFFFFF", "Jump to Block #2",
                         "Loop Start (#3 repetitions)", "Loop End", "Stop Tape if in 48K Mode",
                         "Text Description: About", "Message: Hi", "Start of Another TZX file"}},
        DescriptionCase{
            "control blocks, none mode",
            TapeKind::Tzx,
            Tzx({Pause(1000), Jump(-1), LoopStart(3), Select({{1, "One"}, {-2, "Two"}})}),
            kNone,
            {"Pause: 1000ms", "Jump to Block ", "Loop Start", "Select Block:", kBullet + "One",
             kBullet + "Two"}},
        DescriptionCase{"select block, decimal",
                        TapeKind::Tzx,
                        Tzx({Select({{1, "One"}, {-2, "Two"}})}),
                        kDec,
                        {"Select Block:", kBullet + "One (Jump to Block 1)",
                         kBullet + "Two (Jump to Block 4294967294)"}},
        DescriptionCase{"archive info with line breaks and an unknown type",
                        TapeKind::Tzx,
                        Tzx({Cat({{0x32, 0, 0, 3},
                                  {0x00, 4},
                                  Text("Game"),
                                  {0xFF, 6},
                                  Text("a\rb\rcd"),
                                  {0x10, 1},
                                  Text("?")})}),
                        kHex,
                        {"Archive Info:", kBullet + "Full Title: Game", kBullet + "Comment(s): a",
                         "b", "cd", kBullet + "Unknown (ID 16): ?"}},
        DescriptionCase{"hardware types",
                        TapeKind::Tzx,
                        Tzx({{0x33, 4, 4, 0, 1, 4, 3, 0, 4, 9, 1, 2, 5, 3}}),
                        kHex,
                        {"Hardware Type:", kBullet + "Kempston Joystick used",
                         kBullet + "Right Sinclair Joystick, Nonstandard Value #0",
                         kBullet + "Unknown Joystick, ID #9 used",
                         kBullet + "Unknown Hardware Type, ID #2, Nonstandard Value #3"}},
        DescriptionCase{"hardware types, none mode",
                        TapeKind::Tzx,
                        Tzx({{0x33, 2, 4, 9, 0, 2, 5, 1}}),
                        kNone,
                        {"Hardware Type:", kBullet + "Unknown Joystick",
                         kBullet + "Unknown Hardware Type used"}},
        DescriptionCase{"custom info steps over its data",
                        TapeKind::Tzx,
                        Tzx({Cat({{0x35}, Text("POKEs           "), {2, 0, 0, 0, 9, 9}}), {0x22}}),
                        kHex,
                        {"Custom Info: POKEs           ", "Group End"}}));

TEST(TapeImage, BlockTableRecordsOffsetsLinesAndTheClosingEntry) {
    // A zero-length TAP block is two bytes long; the select block owns three lines.
    const DescribedTape tap =
        MustParse(TapeKind::Tap, Cat({Bytes{0, 0}, TapBlock(DataPayload({7}))}), kHex);
    ASSERT_EQ(tap.image.BlockCount(), 2);
    EXPECT_EQ(tap.image.BlockStart(1), 2u);
    EXPECT_EQ(tap.image.BlockEnd(1), 7u);

    const DescribedTape tzx =
        MustParse(TapeKind::Tzx, Tzx({Select({{1, "a"}, {2, "b"}}), {0x22}}), kHex);
    ASSERT_EQ(tzx.image.BlockCount(), 2);
    EXPECT_EQ(tzx.image.blocks[0].offset, 10u);
    EXPECT_EQ(tzx.image.blocks[1].firstLine, 3u);
    EXPECT_EQ(tzx.image.blocks[2].offset, tzx.image.data.size());
    EXPECT_EQ(tzx.image.kind, TapeKind::Tzx);
}

struct ErrorCase {
    const char* what;
    TapeKind kind;
    Bytes bytes;
    std::string message;
};
void PrintTo(const ErrorCase& c, std::ostream* os) {
    *os << c.what;
}

const std::string kCorrupt = "Error! Unsupported tape image file format or file corrupt!";

class TapeErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(TapeErrors, AreReportedWithTheirMessage) {
    const ErrorCase& c = GetParam();
    EXPECT_EQ(ParseError(c.kind, c.bytes), c.message) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Files, TapeErrors,
    testing::Values(
        ErrorCase{"tiny TAP", TapeKind::Tap, {1, 0}, "Error! TAP file size too small!"},
        ErrorCase{"TAP length past the end", TapeKind::Tap, {5, 0, 0xFF, 1, 2}, kCorrupt},
        ErrorCase{"TAP with a dangling byte", TapeKind::Tap, Cat({TapBlock({0xFF, 1}), {3}}),
                  kCorrupt},
        ErrorCase{"tiny TZX", TapeKind::Tzx, Text("ZXTape!"),
                  "Error! TZX tape image file size too small!"},
        ErrorCase{"TZX signature", TapeKind::Tzx, Cat({Text("ZXTape?"), {0x1A, 1, 20}}),
                  "Error! TZX tape image file has unsupported format!"},
        ErrorCase{"TZX 2.00", TapeKind::Tzx, TzxHeader(2, 0),
                  "Error! TZX tape image file has unsupported version (not like 1.xx)!"},
        ErrorCase{"direct recording", TapeKind::Tzx, Tzx({PureTone(1, 1), {0x15, 0, 0}}),
                  "Error! TZX Block ID #15 not supported yet!"},
        ErrorCase{"set signal level", TapeKind::Tzx, Tzx({{0x2B, 1, 0, 0, 0, 1}}),
                  "Error! TZX Block ID #2B not supported yet!"}));

// Every block type cut short by one byte: the open stops with the corrupt-file message.
TEST(TapeErrors, TruncatedBodyOfEveryBlockType) {
    const Bytes blocks[] = {
        Standard(DataPayload({1, 2}), 0),
        Turbo({}, DataPayload({1, 2})),
        PureTone(1, 2),
        PulseSequence({1, 2}),
        PureData(1, 2, 8, 0, {1, 2}),
        Pause(5),
        ShortTextBlock(0x21, "grp"),
        Jump(1),
        LoopStart(2),
        Select({{1, "a"}}),
        {0x2A, 1, 0, 0, 0, 0},
        ShortTextBlock(0x30, "text"),
        Message(1, "msg"),
        {0x32, 0, 0, 1, 0, 2, 'a', 'b'},
        {0x33, 1, 4, 0, 1},
        Cat({{0x35}, Bytes(16, 'x'), {1, 0, 0, 0, 0}}),
        Cat({{0x5A}, Bytes(9, 0)}),
    };
    for (const Bytes& block : blocks) {
        Bytes cut = Tzx({block});
        ASSERT_EQ(ParseError(TapeKind::Tzx, cut), "") << "block " << int(block[0]);
        cut.pop_back();
        EXPECT_EQ(ParseError(TapeKind::Tzx, cut), kCorrupt) << "block " << int(block[0]);
    }
}

TEST(TapeErrors, AThousandBlocksAreReadAndOneMoreIsRefused) {
    Bytes tap;
    for (int i = 0; i < 1000; ++i)
        tap = Cat({tap, TapBlock(DataPayload({}))});
    EXPECT_EQ(ParseError(TapeKind::Tap, tap), "");
    tap = Cat({tap, TapBlock(DataPayload({}))});
    EXPECT_EQ(ParseError(TapeKind::Tap, tap), "Error! Tape image holds more than 1000 blocks!");
}

TEST(TapeErrors, AFailedParseLeavesTheOldTapeAlone) {
    DescribedTape t = MustParse(TapeKind::Tap, TapBlock(kHelloHeader), kHex);
    EXPECT_NE(ParseTapeImage(TapeKind::Tap, {9, 0, 1}, kHex, t), "");
    EXPECT_EQ(t.image.BlockCount(), 1);
    EXPECT_EQ(t.lines.size(), 1u);
}

TEST(TapeFile, TheExtensionChoosesTheReader) {
    const auto dir = std::filesystem::temp_directory_path() / "vespin_tape_file_test";
    std::filesystem::create_directories(dir);
    const struct {
        std::string name;
        Bytes bytes;
        std::string message;
    } cases[] = {
        {"a.TaP", TapBlock(kHelloHeader), ""},
        {"b.tzx", Tzx({PureTone(1, 1)}), ""},
        {"c.tap", Tzx({PureTone(1, 1)}), kCorrupt}, // the extension, not the contents, decides
        {"d.wav", Bytes(44, 0), "Error! WAV file size too small!"},
        {"e.wav", Bytes(45, 0), kCorrupt},
        {"f.bin", TapBlock(kHelloHeader), "Error! Unknown file format, select another file."},
    };
    for (const auto& c : cases) {
        DescribedTape t;
        EXPECT_EQ(OpenTapeFile(WriteFile(dir, c.name, c.bytes), kHex, t), c.message) << c.name;
    }
    DescribedTape t;
    EXPECT_EQ(OpenTapeFile(dir / "missing.wav", kHex, t), "Error! Can't open tape image file!");
    EXPECT_EQ(OpenTapeFile(dir / "missing.tap", kHex, t),
              "Error! Can't load tape image file into memory!");
    std::filesystem::remove_all(dir);
}

// The shared tapes: each is read or refused with its message, never anything worse.
TEST(TapeFile, SharedTapesAreReadOrRefused) {
    const struct {
        const char* file;
        std::string message;
        int blocks;
    } cases[] = {
        {"generated/hello.tap", "", 2},
        {"generated/hello.tzx", "", 2},
        {"generated/mcok.tap", "", 4},
        {"generated/mcok.tzx", "", 4},
        {"generated/newbench-snap2tzx.tzx", "", 4},
        // Block 3 of these tapes begins with a set-signal-level block (0x2B), the first block
        // type in them that is not read.
        {"generated/alltypes.tzx", "Error! TZX Block ID #2B not supported yet!", 0},
        {"generated/alltypes-compat.tzx", "Error! TZX Block ID #2B not supported yet!", 0},
        {"real/AYtest_v0.2.tap", "", 4},
        {"real/aydetect.tap", "", 4},
        {"real/circulos.tzx", "", 3},
        {"real/explodingplanets.tzx", "", 11},
        {"edge/complete-tzx.tzx", "", 20},
        {"edge/empty-drb.tzx", "Error! TZX Block ID #15 not supported yet!", 0},
        {"edge/raw-data-block.tzx", "Error! TZX Block ID #15 not supported yet!", 0},
        {"edge/invalid-gdb.tzx", "Error! TZX Block ID #19 not supported yet!", 0},
        {"edge/no-pilot-gdb.tzx", "Error! TZX Block ID #2B not supported yet!", 0},
        {"edge/invalid.tzx", "Error! TZX Block ID #FF not supported yet!", 0},
        {"edge/invalid-archiveinfo.tzx", kCorrupt, 0},
        {"edge/invalid-custominfo.tzx", kCorrupt, 0},
        {"edge/invalid-hardwareinfo.tzx", kCorrupt, 0},
        {"edge/invalid-warajevo-blockoffset.tap", kCorrupt, 0},
        {"edge/jump.tzx", "", 3},
        {"edge/loop.tzx", "", 2},
        {"edge/loop2.tzx", "", 3},
        {"edge/loopend.tzx", "", 1},
        {"edge/standard-tap.tap", "", 2},
        {"edge/trailing-pause-block.tzx", "", 2},
        {"edge/turbo-zeropilot.tzx", "", 1},
        {"edge/empty.csw", "Error! Unknown file format, select another file.", 0},
        {"edge/zero-tail.pzx", "Error! Unknown file format, select another file.", 0},
    };
    for (const auto& c : cases) {
        const auto path = TestDataPath(std::string("tapes/") + c.file);
        VESPIN_REQUIRE_TESTDATA(path);
        DescribedTape t;
        EXPECT_EQ(OpenTapeFile(path, kHex, t), c.message) << c.file;
        EXPECT_EQ(t.image.BlockCount(), c.blocks) << c.file;
    }
}

TEST(TapeFile, HelloTapeLines) {
    const auto path = TestDataPath("tapes/generated/hello.tap");
    VESPIN_REQUIRE_TESTDATA(path);
    DescribedTape t;
    ASSERT_EQ(OpenTapeFile(path, kDec, t), "");
    EXPECT_EQ(t.lines, (Lines{"Header, Program \"HELLO\", Line 10, Length 26, Vars 26",
                              "Data Block, Length 26"}));
}

} // namespace
} // namespace vespin
