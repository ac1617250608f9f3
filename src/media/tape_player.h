// Tape playback: the pulse generator that turns the blocks of the open image into the EAR level.
//
// Edges are timed in T-states against the frame counter, so the ROM loader and turbo loaders
// see exact pulse widths. The level is 0 or 0x40 and is ORed into bit 6 of keyboard reads; each
// edge also sets the tape-input part of the sound level.
//
// Threads: the generator runs on the emulation thread only. The tape reader window reaches it
// through the atomics below: it asks for Play and Stop with requests that the next Tick carries
// out, and it picks up the flags the generator raises (caption refresh, pending message and
// selection). The image itself is replaced only while the emulation thread is stopped.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>

#include "media/tape_image.h"

namespace vespin {

struct MachineState;

// What the generator does at the next edge.
enum class TapeState : uint8_t {
    Pilot = 0,
    Sync2 = 1,
    NextByte = 2,
    BitFirstHalf = 3,
    BitSecondHalf = 4,
    TapBlock = 5,
    EndOfTape = 6,
    TzxBlock = 7,
    PureTone = 8,
    PulseSequence = 9,
};

// Standard ROM timings in T-states.
constexpr int32_t kPilotPulse = 2168;
constexpr int32_t kSync1Pulse = 667;
constexpr int32_t kSync2Pulse = 735;
constexpr int32_t kZeroPulse = 855;
constexpr int32_t kOnePulse = 1710;
constexpr uint16_t kHeaderPilotPulses = 8064;
constexpr uint16_t kDataPilotPulses = 3224;

// Requests from the window, carried out by the next Tick on the emulation thread.
enum TapeRequest : uint8_t { kTapeRequestPlay = 1, kTapeRequestStop = 2 };

struct TapePlayer {
    // Tick is called after every instruction only while set: playing, or a request pending.
    std::atomic<bool> running{false};
    uint8_t earByte = 0; // the EAR level, 0 or 0x40; kept while the tape is stopped

    // Shared with the tape reader window.
    std::atomic<bool> playing{false};
    std::atomic<uint8_t> requests{0};
    std::atomic<int32_t> currentBlock{0};
    std::atomic<int32_t> progressPercent{-1}; // -1: no percentage in the caption
    std::atomic<bool> captionRefresh{false};
    std::atomic<int32_t> pendingMessageBlock{-1};   // a TZX message block to show
    std::atomic<int32_t> pendingSelectionBlock{-1}; // a TZX select block to offer

    // Replaced only while the emulation thread is stopped.
    TapeImage image;

    // Generator state (emulation thread).
    TapeState state = TapeState::EndOfTape;
    TapeState afterBlock = TapeState::TapBlock;
    int32_t tLeft = 0; // T-states to the next edge; an overshoot carries into the next pulse
    int32_t previousT = 0;
    int32_t pilot = kPilotPulse, sync1 = kSync1Pulse, sync2 = kSync2Pulse;
    int32_t zero = kZeroPulse, one = kOnePulse;
    int32_t tonePulse = 0;
    uint16_t pulseCounter = 0;
    uint8_t usedBits = 8;
    uint8_t dataByte = 0;
    int32_t bitsLeft = 0;
    int32_t bitPulse = 0;
    uint32_t dataStart = 0, dataPos = 0, blockEnd = 0;
    int32_t pause = 0; // after the current data block, in T-states
    bool inPause = false;
    int32_t msCountdown = 0; // the level drops to 0 one millisecond into a pause
    uint16_t loopCounter = 0;
    int32_t loopStart = 0;
    uint32_t byteCounter = 0;
};

// Advances the pulse generator to T-state t.
void TapeTick(MachineState& m, int32_t t);
// Play on the emulation thread: the ROM loader's DI at 0x0559, and the runner.
void TapePlayButtonClick(MachineState& m);
void TapePlay(MachineState& m);
void TapeStop(MachineState& m);

// Stops the tape and drops its image and everything pending from it. The emulation thread must
// be stopped.
void EjectTape(MachineState& m);
// Puts a tape image file into the player, stopped at its first block, as the tape reader does
// for the command line. The emulation thread must be stopped. Returns the error message or "".
std::string InsertTapeFile(MachineState& m, const std::filesystem::path& path);

// The window's buttons: ask the emulation thread to play or stop at its next instruction.
void RequestTapePlay(TapePlayer& p);
void RequestTapeStop(TapePlayer& p);

} // namespace vespin
