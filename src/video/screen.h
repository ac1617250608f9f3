// Screen renderer: border and paper drawn into the frame bitmap in step with the beam.
#pragma once

#include <climits>
#include <cstdint>

namespace vespin {

struct MachineState;

struct ScreenState {
    // T-state at which the next paper cell is due; the executor calls UpdatePaper only when T
    // has reached it, so an idle renderer costs one comparison per instruction.
    int32_t nextPaperT = INT32_MAX;
    uint8_t borderColour = 0;
};

// Port 0xFE writes: the border colour is bits 0-2 of the value.
void SetBorderColour(MachineState& m, uint8_t value);
// Draws the paper cells the beam has reached by T-state t.
void UpdatePaper(MachineState& m, int32_t t);
// The byte the display is fetching at the current T (0xFF in the border).
uint8_t ReadFloatingBus(const MachineState& m);

} // namespace vespin
