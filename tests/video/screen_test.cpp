#include "video/screen.h"

#include <memory>

#include <gtest/gtest.h>

#include "core/frame.h"
#include "core/machine.h"

namespace vespin {
namespace {

constexpr uint8_t kBlack = 10, kBlue = 11, kRed = 12, kCyan = 15, kWhite = 17;
constexpr uint8_t kBrightWhite = 24;

class ScreenTest : public ::testing::Test {
  protected:
    std::unique_ptr<MachineState> machine = std::make_unique<MachineState>();
    MachineState& m = *machine;
    ScreenState& s = m.screen;

    uint8_t Pixel(int row, int column) const {
        return s.bitmap[static_cast<size_t>(row * kFrameWidth + column)];
    }
    // Every pixel of row in [first, last) has slot.
    ::testing::AssertionResult RowIs(int row, int first, int last, uint8_t slot) const {
        for (int x = first; x < last; ++x) {
            if (Pixel(row, x) != slot) {
                return ::testing::AssertionFailure()
                       << "row " << row << " column " << x << " is slot " << int(Pixel(row, x))
                       << ", expected " << int(slot);
            }
        }
        return ::testing::AssertionSuccess();
    }
    void SetBorderAt(int32_t t, uint8_t colour) {
        m.regs.T = t;
        SetBorderColour(m, colour);
    }
};

TEST_F(ScreenTest, TablesFollowTheBeam) {
    ASSERT_EQ(s.segments.size(), size_t(kBorderSegments + 1));
    ASSERT_EQ(s.cells.size(), size_t(kPaperCells + 1));
    EXPECT_EQ(s.segments[0].start, 7205);
    EXPECT_EQ(s.segments[kBorderSegments - 1].start, 71493); // row 287
    EXPECT_EQ(s.segments[48].start, RowStartT(48));          // left border of row 48
    EXPECT_EQ(s.segments[49].start, RowStartT(48) + 160);    // its right border
    EXPECT_EQ(s.segments[49].offset, uint32_t(48 * kFrameWidth + 320));
    EXPECT_EQ(s.cells[0].t, 17989);
    // Line 65 (third of the screen 1, character row 0, pixel line 1), column 3.
    const PaperCell& c = s.cells[65 * 32 + 3];
    EXPECT_EQ(c.t, (65 + 80) * 224 + 69 + 12);
    EXPECT_EQ(c.bitmapOffset, 0x0800 + 0x0100 + 3);
    EXPECT_EQ(c.attrOffset, 0x1800 + 8 * 32 + 3);
    EXPECT_EQ(c.offset, uint32_t((65 + 48) * kFrameWidth + 64 + 24));
}

TEST_F(ScreenTest, FrameLengthMovesOnlyTheTerminators) {
    BuildBeamTables(s, 69888);
    EXPECT_EQ(s.segments.back().start, 69888 + 30);
    EXPECT_EQ(s.cells.back().t, 69888 + 30);
    EXPECT_EQ(s.segments[0].start, 7205);
    EXPECT_EQ(s.cells[32].t, 17989 + 224);

    // A whole frame at that length: the beams restart, T carries the overshoot.
    m.frameLength = 69888;
    m.synchronisedSpeed = 0;
    m.regs.T = 69890;
    UpdatePaper(m, m.regs.T);
    FrameEnd(m);
    EXPECT_EQ(m.regs.T, 2);
    EXPECT_EQ(s.nextPaperT, 17989);
    EXPECT_EQ(s.borderDrawnTo, 7205);
}

TEST_F(ScreenTest, PaletteSlots) {
    struct Case {
        bool gray;
        int slot;
        uint8_t red, green, blue;
    };
    const Case cases[] = {
        {false, 10, 0, 0, 0},       {false, 11, 0, 0, 187},    {false, 16, 187, 187, 0},
        {false, 17, 187, 187, 187}, {false, 18, 0, 0, 255},    {false, 19, 255, 0, 0},
        {false, 24, 255, 255, 255}, {true, 10, 10, 10, 10},    {true, 17, 185, 185, 185},
        {true, 18, 45, 45, 45},     {true, 24, 255, 255, 255}, {true, 19, 80, 80, 80},
    };
    for (const Case& c : cases) {
        BuildPalette(s, c.gray);
        const PaletteEntry& e = s.palette[static_cast<size_t>(c.slot)];
        EXPECT_EQ(e.red, c.red) << "slot " << c.slot << " gray " << c.gray;
        EXPECT_EQ(e.green, c.green) << "slot " << c.slot << " gray " << c.gray;
        EXPECT_EQ(e.blue, c.blue) << "slot " << c.slot << " gray " << c.gray;
    }
    for (int slot = 0; slot < 256; ++slot) {
        EXPECT_EQ(s.palette[static_cast<size_t>(slot)].flags, slot >= 10 && slot <= 24 ? 1 : 0);
    }
}

TEST_F(ScreenTest, AttributesPickInkAndPaperSlots) {
    struct Case {
        uint8_t attr;
        uint8_t mask;
        bool mono;
        uint8_t ink, paper;
    };
    const Case cases[] = {
        {0x47, 0xFF, false, kBrightWhite, kBlack}, // BRIGHT white on black
        {0x40, 0xFF, false, kBlack, kBlack},       // bright black is black
        {0x29, 0xFF, false, kBlue, kCyan},
        {0xC7, 0xFF, false, kBlack, kBrightWhite}, // flashing, inverted phase
        {0xC7, 0x7F, false, kBrightWhite, kBlack}, // flashing, normal phase
        {0x29, 0xFF, true, kBlack, kWhite},        // monochrome ignores the attribute
    };
    uint8_t* page = m.memory.Bank(5);
    for (const Case& c : cases) {
        c.mono ? BuildMonoPairs(s) : BuildColourPairs(s);
        s.attrMask = c.mask;
        page[0] = 0xF0;
        page[0x1800] = c.attr;
        ResetPaperBeam(s);
        UpdatePaper(m, 17989);
        EXPECT_TRUE(RowIs(48, 64, 68, c.ink)) << "attribute " << int(c.attr);
        EXPECT_TRUE(RowIs(48, 68, 72, c.paper)) << "attribute " << int(c.attr);
    }
}

TEST_F(ScreenTest, WritesShowWhenTheBeamHasNotPassedTheCell) {
    // Line 0, column 5 is fetched at T 18009. The cell holds white ink everywhere; a write
    // clears its bits once the renderer has caught up to drawnTo.
    struct Case {
        int32_t drawnTo;
        uint8_t slotThisFrame;
    };
    const Case cases[] = {{18000, kBlack}, {18008, kBlack}, {18009, kWhite}, {30000, kWhite}};
    for (const Case& c : cases) {
        uint8_t* page = m.memory.Bank(5);
        page[5] = 0xFF;
        page[0x1805] = 0x07;
        ResetPaperBeam(s);
        UpdatePaper(m, c.drawnTo);
        page[5] = 0x00;
        UpdatePaper(m, 71680);
        EXPECT_TRUE(RowIs(48, 64 + 40, 64 + 48, c.slotThisFrame)) << "drawn to " << c.drawnTo;
        ResetPaperBeam(s);
        UpdatePaper(m, 71680);
        EXPECT_TRUE(RowIs(48, 64 + 40, 64 + 48, kBlack)) << "next frame, drawn to " << c.drawnTo;
    }
}

TEST_F(ScreenTest, DisplayedPageIsReadAtEachCell) {
    m.memory.Bank(5)[0x1800] = 0x38; // white paper
    m.memory.Bank(7)[0x1800] = 0x08; // blue paper
    UpdatePaper(m, 17989);
    WritePort7FFD(m.memory, 0x08); // shadow screen from now on
    UpdatePaper(m, 17989 + 224);   // line 1
    EXPECT_TRUE(RowIs(48, 64, 72, kWhite));
    EXPECT_TRUE(RowIs(49, 64, 72, kBlue));
}

TEST_F(ScreenTest, BorderChangeInsidePaperRowChangesItsRightBorderOnwards) {
    SetBorderAt(0, 2);
    SetBorderAt(RowStartT(100) + 100, 5); // inside the paper part of row 100
    UpdateBorder(s, 71680);
    EXPECT_TRUE(RowIs(0, 0, 384, kRed));
    EXPECT_TRUE(RowIs(99, 320, 384, kRed));
    EXPECT_TRUE(RowIs(100, 0, 64, kRed));
    EXPECT_TRUE(RowIs(100, 320, 384, kCyan));
    EXPECT_TRUE(RowIs(101, 0, 64, kCyan));
    EXPECT_TRUE(RowIs(287, 0, 370, kCyan)); // row 287 runs on to 71685
    EXPECT_EQ(m.borderHistory & 1, 1);
}

TEST_F(ScreenTest, BorderChangeMidSegmentSplitsTheRow) {
    SetBorderAt(0, 2);
    SetBorderAt(RowStartT(10) + 50, 1);
    UpdateBorder(s, 71680);
    EXPECT_TRUE(RowIs(10, 0, 100, kRed));
    EXPECT_TRUE(RowIs(10, 100, 384, kBlue));
    // The same colour again draws nothing and changes no history.
    m.borderHistory = 0;
    SetBorderAt(71000, 1 | 0xF8);
    EXPECT_EQ(m.borderHistory, 0);
}

TEST_F(ScreenTest, RestOfRow287IsDrawnAtTheStartOfTheNextFrame) {
    m.synchronisedSpeed = 0;
    SetBorderAt(0, 2);
    m.regs.T = 71683; // the frame's last instruction ended 3 T-states into the next frame
    FrameEnd(m);
    EXPECT_EQ(m.regs.T, 3);
    EXPECT_TRUE(RowIs(287, 0, 380, kRed));
    EXPECT_TRUE(RowIs(287, 380, 384, 0)); // not drawn yet
    EXPECT_EQ(s.segmentIndex, -1);

    SetBorderAt(3, 5); // new colour before the beam moved on
    UpdateBorder(s, RowStartT(0) + 10);
    EXPECT_TRUE(RowIs(287, 380, 384, kCyan));
    EXPECT_TRUE(RowIs(0, 0, 20, kCyan));
    EXPECT_TRUE(RowIs(0, 20, 384, kRed));
}

TEST_F(ScreenTest, BorderCostsNothingTwoFramesAfterAChange) {
    m.synchronisedSpeed = 0;
    m.borderHistory = 0;
    SetBorderAt(30000, 4);
    // Frame of the change: completed to the beam. Next frame: repainted whole.
    for (int frame = 0; frame < 2; ++frame) {
        m.regs.T = 71680;
        FrameEnd(m);
    }
    EXPECT_TRUE(RowIs(0, 0, 384, 14));
    EXPECT_TRUE(RowIs(200, 0, 64, 14));
    // Two frames on, the bitmap is left alone: a stray pixel survives a frame end.
    s.bitmap[0] = 0;
    m.regs.T = 71680;
    FrameEnd(m);
    EXPECT_EQ(Pixel(0, 0), 0);
}

TEST_F(ScreenTest, FlashTogglesEveryNPresentedFrames) {
    s.flashFrequency = 10;
    m.memory.Bank(5)[0] = 0xFF;
    m.memory.Bank(5)[0x1800] = 0x87; // flashing white ink on black
    auto inkShown = [&] {
        ResetPaperBeam(s);
        UpdatePaper(m, 17989);
        return Pixel(48, 64);
    };
    EXPECT_EQ(inkShown(), kBlack); // tables start in the inverted phase
    for (int presented = 1; presented <= 30; ++presented) {
        PresentFrame(m);
        const bool normalPhase = (presented / 10) % 2 == 1;
        ASSERT_EQ(inkShown(), normalPhase ? kWhite : kBlack) << "after " << presented;
    }
}

TEST_F(ScreenTest, FloatingBusReturnsTheAttributeBeingFetched) {
    uint8_t* page = m.memory.Bank(5);
    page[0x1800] = 0x11;
    page[0x181F] = 0x22;
    page[0x1820] = 0x33; // character row 1
    page[0x1AFF] = 0x44; // last attribute
    struct Case {
        int32_t t;
        uint8_t value;
    };
    const Case cases[] = {
        {17988, 0xFF},           {17989, 0x11},           {17989 + 3, 0x11},
        {17989 + 127, 0x22},     {17989 + 128, 0xFF},     {17989 + 223, 0xFF},
        {17989 + 7 * 224, 0x11}, {17989 + 8 * 224, 0x33}, {17989 + 191 * 224 + 127, 0x44},
        {17989 + 43008, 0xFF},   {71679, 0xFF},
    };
    for (const Case& c : cases) {
        m.regs.T = c.t;
        EXPECT_EQ(ReadFloatingBus(m), c.value) << "T " << c.t;
    }
}

TEST_F(ScreenTest, RedrawFrameDrawsBorderAndPaper) {
    m.memory.Bank(5)[0x1AFF] = 0x10; // red paper, bottom right cell
    s.borderColour = 1;
    RedrawFrame(m);
    EXPECT_TRUE(RowIs(0, 0, 384, kBlue));
    EXPECT_TRUE(RowIs(150, 0, 64, kBlue));
    EXPECT_TRUE(RowIs(150, 64, 320, kBlack));
    EXPECT_TRUE(RowIs(239, 312, 320, kRed));
    // Row 287 runs 5 T-states past the frame: its last 10 pixels follow in the next frame.
    EXPECT_TRUE(RowIs(287, 0, 374, kBlue));
    EXPECT_EQ(s.segmentIndex, -1);
}

} // namespace
} // namespace vespin
