#include "sound/sound_output.h"

#include <algorithm>
#include <chrono>
#include <span>
#include <thread>

#include "core/frame_timer.h"
#include "core/host.h"
#include "core/machine.h"

namespace vespin {

namespace {

void CloseSample(TSoundOutput& s) {
    if (s.count != 0 && s.index < kSamplesPerFrame) {
        s.frame[static_cast<size_t>(s.index)] = static_cast<uint8_t>(s.sum / s.count);
    }
    s.sum = 0;
    s.count = 0;
}

} // namespace

uint8_t VolumeBit(int position) {
    return position >= 1 && position <= 8 ? static_cast<uint8_t>(1u << (position - 1)) : 0;
}

void SetVolumes(TSoundOutput& s, int speaker, int tapeIn, int tapeOut) {
    s.speakerBit = VolumeBit(speaker);
    s.tapeInBit = VolumeBit(tapeIn);
    s.tapeOutBit = VolumeBit(tapeOut);
}

void SetSoundLevel(TSoundOutput& s, uint8_t level, int32_t t) {
    if (level == s.level) return;
    s.crossedFrame = t >= kSoundFrameT;
    UpdateSound(s, t);
    s.level = level;
    s.history |= 1;
}

// Sums the level T-state by T-state, in runs: a run ends where the open sample closes (the
// step accumulator would exceed 8127), at the frame's end (71680) or at t.
void UpdateSound(TSoundOutput& s, int32_t t) {
    while (s.position < t) {
        const int32_t toClose = (kSampleSpan - s.stepAccumulator) / kSampleStep + 1;
        const int32_t run = std::min({t - s.position, toClose, kSoundFrameT - s.position});
        s.sum = static_cast<uint16_t>(s.sum + s.level * run);
        s.count = static_cast<uint16_t>(s.count + run);
        s.position += run;
        if (s.position == kSoundFrameT) {
            // The frame's last sample closes at 71680; the rest of t belongs to the next frame.
            CloseSample(s);
            s.index = 0;
            s.position = 0;
            s.stepAccumulator = 0;
            t -= kSoundFrameT;
            continue;
        }
        s.stepAccumulator += kSampleStep * run;
        if (s.stepAccumulator > kSampleSpan) {
            s.stepAccumulator -= kSampleSpan;
            CloseSample(s);
            ++s.index;
        }
    }
}

void SoundFrameEnd(TSoundOutput& s, int32_t t, int32_t frameLength) {
    if (s.history & 7) {
        s.history = static_cast<uint8_t>(s.history << 1);
        if (!s.crossedFrame) {
            UpdateSound(s, t);
            // A frame shorter than the sampler's 71680 T-states: the rest of the buffer keeps
            // the level at the frame end and the sampler starts the next frame afresh. Left
            // to itself it would stay ahead of T and never close another buffer.
            if (frameLength < kSoundFrameT && s.position > 0) UpdateSound(s, kSoundFrameT);
        }
    }
    s.crossedFrame = false;
}

void SpeakerPortWrite(MachineState& m, uint8_t value) {
    TSoundOutput& s = m.sound;
    const uint8_t level = (s.level & s.tapeInBit) | ((value & 0x10) ? s.speakerBit.load() : 0) |
                          ((value & 0x08) ? s.tapeOutBit.load() : 0);
    SetSoundLevel(s, level, m.regs.T);
}

void SetTapeInputLevel(MachineState& m, bool high) {
    TSoundOutput& s = m.sound;
    const uint8_t level =
        (s.level & (s.speakerBit | s.tapeOutBit)) | (high ? s.tapeInBit.load() : 0);
    SetSoundLevel(s, level, m.regs.T);
}

void StartSound(MachineState& m) {
    if (m.host.audio) m.host.audio->Start();
}

void StopSound(MachineState& m) {
    if (m.host.audio) m.host.audio->Stop();
}

void SubmitSoundFrame(MachineState& m) {
    TSoundOutput& s = m.sound;
    if (!m.host.audio) return;
    m.host.audio->Write(s.writeOffset, s.frame);
    s.writeOffset += kSamplesPerFrame;
    if (s.writeOffset >= kSoundRingBytes) s.writeOffset = 0;
}

bool PlayCursorReached(uint32_t w, uint32_t p, int32_t delay) {
    const int64_t pos = p;
    const int64_t d = delay;
    switch (w) {
    case kSamplesPerFrame: return 882 - d <= pos && pos < 1764 - d;
    case 2 * kSamplesPerFrame: return 1764 - d <= pos && pos < 2646 - d;
    default: return pos < 882 - d || pos >= 2646 - d;
    }
}

// Blocks in 1 ms sleeps: until the device plays the segment before the one just written, or,
// without a device, until the next 20 ms timer tick. Without either nothing paces.
void WaitForPlayCursor(MachineState& m) {
    using std::chrono::milliseconds;
    if (m.host.audio) {
        const int32_t delay = m.sound.synchDelay;
        while (!PlayCursorReached(m.sound.writeOffset, m.host.audio->PlayPosition(), delay)) {
            std::this_thread::sleep_for(milliseconds(1));
        }
        return;
    }
    FrameTimer* timer = m.host.timer;
    if (!timer) return;
    while (timer->NoNewTick() && timer->Running())
        std::this_thread::sleep_for(milliseconds(1));
}

} // namespace vespin
