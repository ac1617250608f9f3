// Feeds arbitrary bytes to the TAP and TZX readers in every block-info mode; whatever opens is
// then played for a while, so that the pulse generator walks the blocks the reader accepted.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/machine.h"
#include "media/tape_image.h"
#include "media/tape_player.h"

namespace {

void PlayBriefly(vespin::MachineState& m, vespin::TapeImage image) {
    m.tape.image = std::move(image);
    m.tape.currentBlock = 0;
    m.tape.pendingMessageBlock = -1;
    m.tape.pendingSelectionBlock = -1;
    vespin::TapePlay(m);
    for (int i = 0; i < 20000 && m.tape.playing; ++i) {
        m.regs.T += 97;
        if (m.regs.T >= m.frameLength) m.regs.T -= m.frameLength;
        vespin::TapeTick(m, m.regs.T);
    }
    vespin::TapeStop(m);
    if (const int32_t b = m.tape.pendingMessageBlock.exchange(-1); b >= 0) {
        (void)vespin::ReadTzxMessage(m.tape.image, m.tape.image.BlockStart(b));
    }
    if (const int32_t b = m.tape.pendingSelectionBlock.exchange(-1); b >= 0) {
        (void)vespin::ReadTzxSelection(m.tape.image, m.tape.image.BlockStart(b));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static vespin::MachineState machine;
    const std::vector<uint8_t> bytes(data, data + size);
    for (vespin::TapeKind kind : {vespin::TapeKind::Tap, vespin::TapeKind::Tzx}) {
        for (auto mode : {vespin::BlockInfoMode::Hexadecimal, vespin::BlockInfoMode::Decimal,
                          vespin::BlockInfoMode::None}) {
            vespin::DescribedTape tape;
            if (!vespin::ParseTapeImage(kind, bytes, mode, tape).empty()) continue;
            if (mode == vespin::BlockInfoMode::Hexadecimal) {
                PlayBriefly(machine, std::move(tape.image));
            }
        }
    }
    return 0;
}
