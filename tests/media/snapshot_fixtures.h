// Helpers for the snapshot tests: a machine filled with recognisable state, a copy of everything
// a snapshot can change, and a recording message-box double.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/machine.h"
#include "media/snapshot.h"

namespace vespin::test {

// Registers, paging and all of RAM, compared as a whole.
struct MachineCopy {
    std::vector<int32_t> regs; // the register fields in a fixed order
    std::vector<int32_t> paging;
    std::vector<uint8_t> ram;
    uint8_t border = 0;
    bool operator==(const MachineCopy&) const = default;
};

inline MachineCopy CopyOf(const MachineState& m) {
    MachineCopy c;
    const Z80RegisterSet& r = m.regs;
    c.regs = {r.A,    r.F,    r.B,  r.C,  r.D,  r.E,  r.H,   r.L,   r.I,   r.R,   r.R7, r.IM,
              r.IFF1, r.IFF2, r.IX, r.IY, r.SP, r.PC, r.AF_, r.BC_, r.DE_, r.HL_, r.T};
    const PagingState& p = m.memory.paging;
    c.paging = {static_cast<int32_t>(p.Low),
                p.HighBank,
                p.RomWritable,
                p.PagingLatch,
                p.ExtendedLatch,
                p.BankExtension,
                p.TrdosActive};
    c.ram.assign(m.memory.ram.get(), m.memory.ram.get() + kPageSize * kRamBanks);
    c.border = m.screen.borderColour;
    return c;
}

// Every register distinct, RAM banks 0-63 filled with a pattern that differs per bank and byte.
inline void FillMachine(MachineState& m, uint32_t seed) {
    uint32_t x = seed * 2654435761u + 1;
    auto next = [&x] {
        x ^= x << 13, x ^= x >> 17, x ^= x << 5;
        return static_cast<uint8_t>(x);
    };
    for (size_t i = 0; i < kPageSize * kRamBanks; ++i)
        m.memory.ram[i] = next();
    Z80RegisterSet& r = m.regs;
    r.SetAF(0x1122), r.SetBC(0x3344), r.SetDE(0x5566), r.SetHL(0x7788);
    r.AF_ = 0x99AA, r.BC_ = 0xBBCC, r.DE_ = 0xDDEE, r.HL_ = 0xF001;
    r.IX = 0x2345, r.IY = 0x6789, r.SP = 0x8ABC, r.PC = 0xCDEF;
    r.I = 0x3F, r.IM = 2, r.IFF1 = r.IFF2 = 1;
    r.SetR(0xA5);
}

// The byte vector of the whole 48K image at 0x4000-0xFFFF as the processor sees it now.
inline std::vector<uint8_t> Visible48k(const MachineState& m) {
    std::vector<uint8_t> out;
    for (uint32_t a = 0x4000; a < 0x10000; ++a)
        out.push_back(ReadByte(m, static_cast<uint16_t>(a)));
    return out;
}

struct RecordedMessage {
    std::string text, caption;
    MessageIcon icon;
};

class RecordingMessages : public MessageBoxHost {
  public:
    void ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) override {
        shown.push_back({std::string(text), std::string(caption), icon});
    }
    bool AskYesNo(std::string_view text, std::string_view caption, MessageIcon icon) override {
        asked.push_back({std::string(text), std::string(caption), icon});
        return answer;
    }
    std::vector<RecordedMessage> shown, asked;
    bool answer = true;
};

} // namespace vespin::test
