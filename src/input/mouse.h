// The Kempston mouse fed from the host mouse: once per emulated frame the movement and buttons
// since the last poll update the mouse bytes of KempstonState.
//
// The host mouse is an interface the desktop program implements (relative movement gathered
// while the pointer is grabbed); tests use a double. It is called at frame granularity only.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/host.h"

namespace vespin {

struct KempstonState;
struct MachineState;

// One poll of the host mouse: movement since the previous poll (y grows downwards, the wheel
// counts 120 per notch forward) and four buttons, bit 7 set while pressed (left, right, middle,
// fourth).
struct MouseReading {
    int32_t dx = 0;
    int32_t dy = 0;
    int32_t wheel = 0;
    std::array<uint8_t, 4> buttons{};
};

class IMouseDevice {
  public:
    virtual ~IMouseDevice() = default;
    // Takes the host mouse for the screen window; 0 on success, else the host's result code.
    virtual uint32_t Acquire() = 0;
    virtual void Unacquire() = 0;
    // Fills the reading; false when the device is lost (not acquired).
    virtual bool Read(MouseReading& reading) = 0;
};

constexpr uint32_t kAccessDenied = 0x80070005; // acquire refused while another window is active

// Unacquires, marks the mouse acquired and acquires it again. A refusal with kAccessDenied is
// not an error (the acquire is retried at the next poll); any other failure returns the text of
// the fatal input error.
std::optional<std::string> AcquireMouse(KempstonState& kempston, IMouseDevice& device);
void ReleaseMouse(KempstonState& kempston, IMouseDevice& device);

// Applies one reading to the mouse bytes. altLayer: a host Alt key is held, which turns a left
// click into a toggle of the button swap.
void ApplyMouseReading(KempstonState& kempston, const MouseReading& reading, bool altLayer);

// The frame-end poll: while the mouse is enabled and captured and the screen window is active,
// reads the host mouse (re-acquiring it once when the read fails) and applies the reading.
void PollMouse(MachineState& m, IMouseDevice& device);

// The Kempston mouse as the frame end sees it (MachineState::host.mouse).
class TKempstonMouse final : public MouseSource {
  public:
    explicit TKempstonMouse(IMouseDevice& device) : device_(device) {}
    void PollMouse(MachineState& m) override { vespin::PollMouse(m, device_); }

  private:
    IMouseDevice& device_;
};

} // namespace vespin
