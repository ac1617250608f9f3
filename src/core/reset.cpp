#include "core/reset.h"

#include "core/machine.h"
#include "core/ports.h"

namespace vespin {

void ResetMachine(MachineState& m) {
    PagingState& p = m.memory.paging;
    const auto kind = static_cast<uint8_t>(m.resetKind.load());

    // Lift the 48K lock and leave the TR-DOS ROM, so the writes below take effect.
    p.RomWritable = 0;
    p.PagingLatch = 0;
    p.TrdosActive = 0;

    // 0x1FFD also matches the 0x7FFD decode (A15 = A1 = 0): both latches get 0.
    PortOut(m, 0x1FFD, 0x00);
    // 128K mode leaves paging open; 48K mode selects the BASIC ROM and sets the lock.
    PortOut(m, 0x7FFD, (kind & 2) ? 0x00 : 0x30);

    if (m.memory.trdosEnabled && (kind & 1)) {
        p.TrdosActive = 1;
        p.Low = LowSource::Trdos;
        p.PagingLatch |= 0x10; // leaving the TR-DOS ROM returns to the 48K BASIC ROM
        MapWindows(m.memory);
    }

    Z80RegisterSet& r = m.regs;
    r.IM = 0;
    r.IFF1 = r.IFF2 = 0;
    r.PC = 0;
    r.R = r.R7 = 0;
    r.SP = 0xFFFF;
    r.A = r.F = 0xFF;
}

const char* ResetKindName(int kind) {
    static constexpr const char* kNames[] = {"48k Mode", "TR-DOS with 48k", "128k Mode",
                                             "TR-DOS with 128k"};
    return kind >= 0 && kind < 4 ? kNames[kind] : "";
}

} // namespace vespin
