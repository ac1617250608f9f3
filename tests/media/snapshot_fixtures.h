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
    std::vector<uint8_t> regs; // the register fields in a fixed order
    std::vector<uint8_t> paging;
    std::vector<uint8_t> ram;
    uint8_t border = 0;
    bool operator==(const MachineCopy&) const = default;
};
MachineCopy CopyOf(const MachineState& m);

// Every register distinct, RAM banks 0-63 filled with a pattern that differs per bank and byte.
void FillMachine(MachineState& m, uint32_t seed);

// The byte vector of the whole 48K image at 0x4000-0xFFFF as the processor sees it now.
std::vector<uint8_t> Visible48k(const MachineState& m);

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
