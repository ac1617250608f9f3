// Screen renderer: the 6144-byte bitmap and 768-byte attribute area of the displayed RAM page,
// and the border colour, drawn into a 384 x 288 frame bitmap of palette slots in step with the
// emulated beam. The border is drawn two pixels per T-state from a segment table, the paper one
// character cell (eight pixels) at a time at the T-state the beam fetches it, so mid-frame
// changes of border, screen memory or displayed page land where a real picture shows them.
//
// Timing: 224 T-states per line, bitmap row y starts at (y + 32) x 224 + 37, so row 0 at T 7205
// and the first paper cell at T 17989. The line timing is fixed; only the table terminators
// follow the frame length option. Not modelled: contention, the bitmap/attribute fetch order
// inside a cell (both are read at the cell's T-state).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace vespin {

struct MachineState;

constexpr int kFrameWidth = 384;
constexpr int kFrameHeight = 288;
constexpr int kPaperLeft = 64; // paper area 256 x 192 at (64, 48) of the frame bitmap
constexpr int kPaperTop = 48;
constexpr int kPaperCells = 192 * 32;
constexpr int kBorderSegments = 48 + 192 * 2 + 48;
constexpr int32_t kFirstRowT = 7205;     // T-state at which bitmap row 0 starts
constexpr int32_t kFirstCellT = 17989;   // T-state of the first paper cell
constexpr int32_t kScreenFrameT = 71680; // the fixed frame the beam resets and floating bus use
constexpr int32_t kTerminatorDelay = 30; // table terminators lie this far behind the frame end

// T-state at which bitmap row y begins.
constexpr int32_t RowStartT(int y) {
    return (y + 32) * 224 + 37;
}

struct PaletteEntry {
    uint8_t red = 0, green = 0, blue = 0, flags = 0;
};
using Palette = std::array<PaletteEntry, 256>;

// Palette slot of each colour number (bit 3 BRIGHT); bright black shares black's slot.
constexpr std::array<uint8_t, 16> kColourSlot{10, 11, 12, 13, 14, 15, 16, 17,
                                              10, 18, 19, 20, 21, 22, 23, 24};

struct BorderSegment {
    int32_t start = 0;   // T-state at which the beam enters the segment
    int32_t length = 0;  // T-states; two pixels each
    uint32_t offset = 0; // first pixel in the frame bitmap
};

struct PaperCell {
    int32_t t = 0;             // T-state at which the beam fetches the cell
    uint32_t offset = 0;       // first of its eight pixels in the frame bitmap
    uint16_t bitmapOffset = 0; // in the screen page
    uint16_t attrOffset = 0;
};

struct ScreenState {
    ScreenState(); // tables built for the default frame length, colour mode, colour palette

    // T-state at which the next paper cell is due; the executor calls UpdatePaper only when T
    // has reached it, so an idle renderer costs one comparison per instruction.
    int32_t nextPaperT = kFirstCellT;
    uint8_t borderColour = 0;

    std::vector<uint8_t> bitmap; // kFrameWidth x kFrameHeight palette slots, row 0 first
    Palette palette{};
    bool grayPalette = false;

    // Colour pairs by attribute: low byte the ink slot (bitmap bit 1), high byte the paper slot.
    std::array<uint16_t, 256> colourPairs{};
    bool monochrome = false;
    uint8_t attrMask = 0xFF; // 0x7F shows flashing attributes in their normal phase
    int flashCountdown = 10;
    int flashFrequency = 10; // presented frames per flash phase

    std::vector<BorderSegment> segments; // kBorderSegments and a terminator
    std::vector<PaperCell> cells;        // kPaperCells and a terminator

    // Border beam.
    int segmentIndex = 0; // -1 while the rest of row 287 is carried over into a new frame
    int32_t borderDrawnTo = kFirstRowT;
    int32_t segmentLeft = 0;
    uint32_t writeOffset = 0;

    // Paper beam.
    int cellIndex = 0;

    int32_t lastRefreshT = -1;
};

// Table builds.
void BuildPalette(ScreenState& s, bool gray);
void BuildColourPairs(ScreenState& s);
void BuildMonoPairs(ScreenState& s);
// Segment and cell tables with terminators at frameLength + 30, flash restarted, beams reset.
void BuildBeamTables(ScreenState& s, int32_t frameLength);

// Drawing.
void UpdateBorder(ScreenState& s, int32_t t);
void UpdatePaper(ScreenState& s, const uint8_t* screenPage, int32_t t);
void ResetBorderBeam(ScreenState& s);
void ResetPaperBeam(ScreenState& s);
// One presented frame's flash step: counts down and toggles the attribute mask's bit 7.
void StepFlash(ScreenState& s);
// The attribute byte the display fetches at T-state t, 0xFF while it fetches none.
uint8_t ReadFloatingBus(const ScreenState& s, const uint8_t* screenPage, int32_t t);

// The same operations on a whole machine, at its current T and displayed page.
void UpdatePaper(MachineState& m, int32_t t);
// Port 0xFE writes: the border colour is bits 0-2 of the value.
void SetBorderColour(MachineState& m, uint8_t value);
uint8_t ReadFloatingBus(const MachineState& m);
// Redraws the whole border and the paper cells the beam has not passed in this frame.
void RedrawFrame(MachineState& m);
// Draws up to the current T-state and presents, for the debugger while the emulation stands.
void RefreshToBeam(MachineState& m);
// Flash step, then the frame bitmap goes to the host's display sink.
void PresentFrame(MachineState& m);

} // namespace vespin
