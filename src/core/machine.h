// One emulated machine: the processor, memory and paging, every device, the frame clock and the
// flags the emulation, key and user-interface threads share. There are no globals: a test can
// build as many machines as it likes.
//
// Threads: the emulation thread owns everything but the atomics. The key thread writes the
// pause, reset-hold and synchronised-speed flags; the user interface writes runFlag and reads
// the counters. Registers, memory and paging are changed by the user interface only while no
// emulation thread runs.
#pragma once

#include <atomic>
#include <cstdint>

#include "core/host.h"
#include "core/machine_options.h"
#include "core/memory.h"
#include "core/z80_registers.h"
#include "input/kempston.h"
#include "input/key_matrix.h"
#include "media/beta128.h"
#include "media/tape_player.h"
#include "sound/ay.h"
#include "sound/sound_output.h"
#include "video/screen.h"

namespace vespin {

constexpr int32_t kDefaultFrameLength = 71680; // T-states per frame, also fixed in several devices
constexpr int32_t kInterruptLength = 24;       // the INT line is active for the first 24 T-states
constexpr int32_t kLineLength = 224;           // T-states per scan line

// Reset kinds: bit 0 asks for TR-DOS, bit 1 for 128K mode.
enum class ResetKind : uint8_t { Mode48 = 0, Trdos48 = 1, Mode128 = 2, Trdos128 = 3 };

struct MachineState {
    MachineState() = default;
    MachineState(const MachineState&) = delete;
    MachineState& operator=(const MachineState&) = delete;

    Z80RegisterSet regs;
    Memory memory;
    MachineOptions options;

    // Flags shared with the key and user-interface threads.
    std::atomic<uint32_t> pause{0};
    std::atomic<uint8_t> resetHold{0};
    std::atomic<uint8_t> synchronisedSpeed{1};
    std::atomic<uint8_t> runFlag{0};
    std::atomic<uint8_t> threadRunning{0};
    std::atomic<uint8_t> cpuStopped{0}; // HALT with IFF1 = 0
    std::atomic<uint32_t> frameCounter{0};

    uint8_t singleStep = 0;
    uint16_t runToAddress = 0; // 0 = none
    int32_t frameLength = kDefaultFrameLength;
    // Written by the key thread's reset keys while the emulation thread resets with it.
    std::atomic<ResetKind> resetKind{ResetKind::Mode128};

    // The 128K paging port answers A15 = 0 and A1 = 0.
    uint16_t port7FFDBits = 0x7FFD;
    uint16_t port7FFDMask = 0x8002;
    uint8_t lastKeyboardPort = 0;
    uint8_t borderHistory = 5;

    TKeyMatrix keys;
    KempstonState kempston;
    TSoundOutput sound;
    AyRegisters ay;
    ScreenState screen;
    TapePlayer tape;
    Beta128 beta;

    HostLinks host; // display, audio, frame timer and mouse of the host; none by default
};

// Memory access on the whole machine, for code that holds the machine rather than its memory.
inline uint8_t ReadByte(const MachineState& m, uint16_t a) {
    return ReadByte(m.memory, a);
}
inline uint16_t ReadWord(const MachineState& m, uint16_t a) {
    return ReadWord(m.memory, a);
}
inline void WriteByte(MachineState& m, uint16_t a, uint8_t v) {
    WriteByte(m.memory, a, v);
}
inline void WriteWord(MachineState& m, uint16_t a, uint16_t v) {
    WriteWord(m.memory, a, v);
}

} // namespace vespin
