// What the emulated machine asks of its host, at frame granularity only: a display that takes
// the finished frame bitmap, an audio device with a looping sample ring and a play position,
// the 20 ms frame timer, and the mouse. A null pointer means the host offers no such service:
// no display (frames are dropped), no audio (the timer paces), no timer (nothing paces and
// every frame counts as a new tick), no mouse.
#pragma once

#include <cstdint>
#include <span>

#include "video/screen.h"

namespace vespin {

class FrameTimer;
struct MachineState;

// Receives each presented frame: kFrameWidth x kFrameHeight palette slots and the palette.
// Called on the emulation thread; an implementation copies what it needs before returning.
class DisplaySink {
  public:
    virtual ~DisplaySink() = default;
    virtual void PresentFrame(std::span<const uint8_t> bitmap, const Palette& palette) = 0;
};

// A looping ring of kSoundRingBytes unsigned 8-bit mono samples at 44100 Hz whose play position
// advances as the samples are heard.
class AudioDevice {
  public:
    virtual ~AudioDevice() = default;
    // Clears the ring to silence and starts looping playback.
    virtual void Start() = 0;
    virtual void Stop() = 0;
    // Copies samples into the ring at offset (offset + size never exceeds the ring).
    virtual void Write(uint32_t offset, std::span<const uint8_t> samples) = 0;
    // Byte offset in the ring of the sample being played; read from the emulation thread.
    virtual uint32_t PlayPosition() const = 0;
};

// The Kempston mouse reader; the host decides whether the capture is on and the screen window
// has the focus, and only then moves the mouse bytes.
class MouseSource {
  public:
    virtual ~MouseSource() = default;
    virtual void PollMouse(MachineState& m) = 0;
};

struct HostLinks {
    DisplaySink* display = nullptr;
    AudioDevice* audio = nullptr;
    FrameTimer* timer = nullptr;
    MouseSource* mouse = nullptr;
    uint32_t lastPresentedTick = 0; // timer tick of the last frame presented unsynchronised
};

} // namespace vespin
