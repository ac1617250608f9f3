#include "video/screen.h"

#include <algorithm>

#include "core/host.h"
#include "core/machine.h"

namespace vespin {

namespace {

uint32_t PixelOffset(int row, int column) {
    return static_cast<uint32_t>(row * kFrameWidth + column);
}

// Colour number of the ink and the paper of an attribute (BRIGHT goes with both).
uint8_t InkColour(uint8_t attr) {
    return static_cast<uint8_t>((attr & 7) | ((attr & 0x40) >> 3));
}
uint8_t PaperColour(uint8_t attr) {
    return static_cast<uint8_t>((attr >> 3) & 0x0F);
}

uint16_t Pair(uint8_t inkSlot, uint8_t paperSlot) {
    return static_cast<uint16_t>(inkSlot | paperSlot << 8);
}

void BuildBorderSegments(ScreenState& s, int32_t frameLength) {
    s.segments.clear();
    s.segments.reserve(kBorderSegments + 1);
    for (int y = 0; y < kFrameHeight; ++y) {
        const int32_t t = RowStartT(y);
        if (y < kPaperTop || y >= kPaperTop + 192) {
            s.segments.push_back({t, 192, PixelOffset(y, 0)});
        } else {
            s.segments.push_back({t, 32, PixelOffset(y, 0)});
            s.segments.push_back({t + 160, 32, PixelOffset(y, kPaperLeft + 256)});
        }
    }
    // Never reached within a frame: its length is 0 and it writes nowhere.
    s.segments.push_back({frameLength + kTerminatorDelay, 0, PixelOffset(kFrameHeight, 0)});
}

void BuildPaperCells(ScreenState& s, int32_t frameLength) {
    s.cells.clear();
    s.cells.reserve(kPaperCells + 1);
    for (int line = 0; line < 192; ++line) {
        for (int c = 0; c < 32; ++c) {
            PaperCell cell;
            cell.t = RowStartT(line + kPaperTop) + 32 + 4 * c;
            cell.offset = PixelOffset(line + kPaperTop, kPaperLeft + 8 * c);
            cell.bitmapOffset = static_cast<uint16_t>(((line & 7) << 8) | ((line & 0x38) << 2) |
                                                      ((line & 0xC0) << 5) | c);
            cell.attrOffset = static_cast<uint16_t>(0x1800 + (line >> 3) * 32 + c);
            s.cells.push_back(cell);
        }
    }
    s.cells.push_back({frameLength + kTerminatorDelay, 0, 0, 0});
}

void EnterSegment(ScreenState& s, int index) {
    const BorderSegment& seg = s.segments[static_cast<size_t>(index)];
    s.segmentIndex = index;
    s.borderDrawnTo = seg.start;
    s.segmentLeft = seg.length;
    s.writeOffset = seg.offset;
}

void FillPairs(ScreenState& s, int32_t pairs, uint8_t slot) {
    auto first = s.bitmap.begin() + s.writeOffset;
    std::fill(first, first + 2 * pairs, slot);
    s.writeOffset += static_cast<uint32_t>(2 * pairs);
}

} // namespace

ScreenState::ScreenState() : bitmap(static_cast<size_t>(kFrameWidth * kFrameHeight), 0) {
    BuildPalette(*this, false);
    BuildColourPairs(*this);
    BuildBeamTables(*this, kScreenFrameT);
}

void BuildPalette(ScreenState& s, bool gray) {
    s.grayPalette = gray;
    for (int c = 0; c < 16; ++c) {
        const bool bright = c & 8;
        PaletteEntry e;
        e.flags = 1;
        if (gray) {
            const auto level = static_cast<uint8_t>(10 + (c & 7) * (bright ? 35 : 25));
            e.red = e.green = e.blue = level;
        } else {
            const uint8_t on = bright ? 255 : 187;
            e.blue = (c & 1) ? on : 0;
            e.red = (c & 2) ? on : 0;
            e.green = (c & 4) ? on : 0;
        }
        // Colours 8 and 9 both land in slot 18: bright blue, written last, keeps it.
        s.palette[static_cast<size_t>(c <= 8 ? c + 10 : c + 9)] = e;
    }
}

void BuildColourPairs(ScreenState& s) {
    s.monochrome = false;
    for (int a = 0; a < 256; ++a) {
        const auto attr = static_cast<uint8_t>(a);
        const uint8_t ink = kColourSlot[InkColour(attr)];
        const uint8_t paper = kColourSlot[PaperColour(attr)];
        // Flashing attributes are stored in their inverted phase; the mask 0x7F finds the twin.
        s.colourPairs[static_cast<size_t>(a)] = (attr & 0x80) ? Pair(paper, ink) : Pair(ink, paper);
    }
}

void BuildMonoPairs(ScreenState& s) {
    s.monochrome = true;
    s.colourPairs.fill(Pair(kColourSlot[0], kColourSlot[7]));
}

void BuildBeamTables(ScreenState& s, int32_t frameLength) {
    BuildBorderSegments(s, frameLength);
    BuildPaperCells(s, frameLength);
    s.flashCountdown = 10;
    s.attrMask = 0xFF;
    s.borderDrawnTo = 0; // a fresh beam starts at the first segment
    ResetBorderBeam(s);
    ResetPaperBeam(s);
}

void UpdateBorder(ScreenState& s, int32_t t) {
    const uint8_t slot = kColourSlot[s.borderColour & 7];
    const int terminator = static_cast<int>(s.segments.size()) - 1;
    while (t > s.borderDrawnTo) {
        const int32_t d = t - s.borderDrawnTo;
        if (s.segmentLeft > d) {
            FillPairs(s, d, slot);
            s.borderDrawnTo += d;
            s.segmentLeft -= d;
            return;
        }
        FillPairs(s, s.segmentLeft, slot);
        s.segmentLeft = 0;
        if (s.segmentIndex + 1 > terminator) return; // past the last row: nothing more to draw
        EnterSegment(s, s.segmentIndex + 1);
    }
}

void UpdatePaper(ScreenState& s, const uint8_t* screenPage, int32_t t) {
    while (s.cellIndex < kPaperCells && s.cells[static_cast<size_t>(s.cellIndex)].t <= t) {
        const PaperCell& cell = s.cells[static_cast<size_t>(s.cellIndex)];
        const uint8_t attr = screenPage[cell.attrOffset];
        const uint8_t bits = screenPage[cell.bitmapOffset];
        const uint16_t pair = s.colourPairs[attr & s.attrMask];
        const auto ink = static_cast<uint8_t>(pair);
        const auto paper = static_cast<uint8_t>(pair >> 8);
        uint8_t* out = s.bitmap.data() + cell.offset;
        for (int bit = 7; bit >= 0; --bit)
            *out++ = ((bits >> bit) & 1) ? ink : paper;
        ++s.cellIndex;
    }
    s.nextPaperT = s.cells[static_cast<size_t>(s.cellIndex)].t;
}

void ResetBorderBeam(ScreenState& s) {
    if (s.borderDrawnTo < kScreenFrameT) {
        EnterSegment(s, 0);
        return;
    }
    // Row 287 ends 5 T-states after the frame: its rest is drawn at the start of the next frame,
    // then the beam goes on with segment 0.
    s.segmentIndex = -1;
    s.borderDrawnTo -= kScreenFrameT;
}

void ResetPaperBeam(ScreenState& s) {
    s.cellIndex = 0;
    s.nextPaperT = s.cells[0].t;
}

void StepFlash(ScreenState& s) {
    if (--s.flashCountdown > 0) return;
    s.flashCountdown = std::max(s.flashFrequency, 1);
    s.attrMask ^= 0x80;
}

uint8_t ReadFloatingBus(const ScreenState&, const uint8_t* screenPage, int32_t t) {
    const int32_t d = t - kFirstCellT;
    if (d < 0 || d >= 192 * 224) return 0xFF;
    const int32_t line = d / 224;
    const int32_t x = d % 224;
    if (x > 127) return 0xFF;
    return screenPage[0x1800 + (line >> 3) * 32 + (x >> 2)];
}

void UpdatePaper(MachineState& m, int32_t t) {
    UpdatePaper(m.screen, m.memory.paging.ScreenPage, t);
}

void SetBorderColour(MachineState& m, uint8_t value) {
    const auto colour = static_cast<uint8_t>(value & 7);
    if (colour == m.screen.borderColour) return;
    UpdateBorder(m.screen, m.regs.T);
    m.screen.borderColour = colour;
    m.borderHistory |= 1;
}

uint8_t ReadFloatingBus(const MachineState& m) {
    return ReadFloatingBus(m.screen, m.memory.paging.ScreenPage, m.regs.T);
}

void RedrawFrame(MachineState& m) {
    ResetBorderBeam(m.screen);
    UpdateBorder(m.screen, m.frameLength);
    UpdatePaper(m, m.frameLength);
    ResetBorderBeam(m.screen);
}

void RefreshToBeam(MachineState& m) {
    const int32_t t = m.regs.T;
    if (t != m.screen.lastRefreshT) {
        m.screen.lastRefreshT = t;
        UpdateBorder(m.screen, t);
        UpdatePaper(m, t);
    }
    PresentFrame(m);
}

void PresentFrame(MachineState& m) {
    StepFlash(m.screen);
    if (m.host.display) m.host.display->PresentFrame(m.screen.bitmap, m.screen.palette);
}

} // namespace vespin
