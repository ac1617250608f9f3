// Beeper, tape sound and the frame's sample buffer.
//
// Three one-bit sources (speaker: bit 4 of port 0xFE writes; tape output: bit 3; tape input: the
// EAR level of the tape being played) each own one bit of an 8-bit level. The level is sampled
// against the T-state clock and averaged over sample periods of 100/8127 of a T-state step, which
// gives 882 samples (44100 Hz) per 71680 T-state frame: periods of 82 and 81 T-states. The frame
// is then copied into the host's looping three-frame ring, whose play position paces the
// emulation. The 71680 and the step are fixed; they do not follow the frame length option.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace vespin {

struct MachineState;
class AudioDevice;
class FrameTimer;

constexpr int kSamplesPerFrame = 882;
constexpr uint32_t kSoundRingBytes = 3 * kSamplesPerFrame;
constexpr int32_t kSoundFrameT = 71680;
constexpr int32_t kSampleStep = 100;  // added to the step accumulator per T-state
constexpr int32_t kSampleSpan = 8127; // a sample closes when the accumulator exceeds this

struct TSoundOutput {
    uint8_t level = 0; // OR of the bit values of the sources that are high

    // Bit value of each source (volume position p gives 1 << (p - 1), 0 mutes). The options
    // dialog changes them from the user-interface thread; they take effect at the next change.
    std::atomic<uint8_t> speakerBit{128};
    std::atomic<uint8_t> tapeInBit{64};
    std::atomic<uint8_t> tapeOutBit{32};
    std::atomic<int32_t> synchDelay{0}; // bytes the play-position window is moved back, 0..200

    // Sampler, counting T-states of the current frame.
    int32_t position = 0; // T-states already sampled, 0..71680
    uint16_t sum = 0;     // level summed over the open sample
    uint16_t count = 0;   // T-states in the open sample
    int32_t stepAccumulator = 0;
    int index = 0; // next sample in the frame buffer
    std::array<uint8_t, kSamplesPerFrame> frame{};

    uint8_t history = 0;       // bit 0: the level changed in this frame; shifted at frame ends
    bool crossedFrame = false; // the last change came at T >= 71680: the sampler already wrapped

    uint32_t writeOffset = 0; // segment of the host ring written next: 0, 882 or 1764
};

// Bit value of a volume position 0..8.
uint8_t VolumeBit(int position);
void SetVolumes(TSoundOutput& s, int speaker, int tapeIn, int tapeOut);

// The level changes at T-state t (no cost when it stays the same).
void SetSoundLevel(TSoundOutput& s, uint8_t level, int32_t t);
// Samples the current level up to T-state t, wrapping into the next frame at 71680.
void UpdateSound(TSoundOutput& s, int32_t t);
// Frame-end catch-up: up to three frames after the last change the buffer is completed.
void SoundFrameEnd(TSoundOutput& s, int32_t t, int32_t frameLength);

// Port 0xFE writes: the speaker (bit 4) and tape output (bit 3) levels change at the current T.
void SpeakerPortWrite(MachineState& m, uint8_t value);
// Tape signal edges: the tape-input source follows the EAR level at the current T.
void SetTapeInputLevel(MachineState& m, bool high);

// Host side, once per frame on the emulation thread. Without an audio device they do nothing,
// except the wait, which then waits for the next 20 ms timer tick.
void StartSound(MachineState& m);
void StopSound(MachineState& m);
void SubmitSoundFrame(MachineState& m);
void WaitForPlayCursor(MachineState& m);

// True when play position p lies in the window that lets the emulation go on after the
// segment before write offset w was submitted, with the window moved back by delay bytes.
bool PlayCursorReached(uint32_t w, uint32_t p, int32_t delay);

} // namespace vespin
