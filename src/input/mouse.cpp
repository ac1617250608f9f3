#include "input/mouse.h"

#include "core/machine.h"
#include "input/input_errors.h"

namespace vespin {

namespace {

constexpr int32_t kWheelNotch = 120;
constexpr uint8_t kMiddleButton = 4;

bool Pressed(uint8_t button) {
    return (button & 0x80) != 0;
}

} // namespace

std::optional<std::string> AcquireMouse(KempstonState& kempston, IMouseDevice& device) {
    device.Unacquire();
    kempston.mouseAcquired.store(1);
    const uint32_t result = device.Acquire();
    if (result == 0 || result == kAccessDenied) return std::nullopt;
    return InputFatalErrorText(InputError::Acquire, result);
}

void ReleaseMouse(KempstonState& kempston, IMouseDevice& device) {
    device.Unacquire();
    kempston.mouseAcquired.store(0);
}

void ApplyMouseReading(KempstonState& k, const MouseReading& reading, bool altLayer) {
    // Only the low byte of the movement matters: the positions wrap modulo 256.
    k.mouseX = static_cast<uint8_t>(k.mouseX + static_cast<uint32_t>(reading.dx));
    k.mouseY = static_cast<uint8_t>(k.mouseY - static_cast<uint32_t>(reading.dy));

    // Whole notches only; C++ division truncates towards zero like the hardware driver's count.
    const int32_t steps = reading.wheel / kWheelNotch;
    const bool inverted = k.mouseOptions.wheelDirection.load(std::memory_order_relaxed);
    k.mouseWheel =
        static_cast<uint8_t>(k.mouseWheel + static_cast<uint32_t>(inverted ? -steps : steps));

    uint8_t buttons = 0xFF;
    if (k.mouseOptions.wheelSupport.load(std::memory_order_relaxed)) {
        buttons = static_cast<uint8_t>(k.mouseWheel * 16 + 15);
    }

    // The swap is read again after the left button: an Alt + left click toggles it for the
    // right button of the same poll already.
    KempstonMouseOptions& options = k.mouseOptions;
    if (Pressed(reading.buttons[0])) {
        buttons ^= options.swapButtons.load(std::memory_order_relaxed) ? 2 : 1;
        if (altLayer && !k.swapLatch) {
            k.swapLatch = true;
            options.swapButtons.store(!options.swapButtons.load());
        }
    } else {
        k.swapLatch = false;
    }
    if (Pressed(reading.buttons[1]))
        buttons ^= options.swapButtons.load(std::memory_order_relaxed) ? 1 : 2;
    if (Pressed(reading.buttons[2])) buttons ^= kMiddleButton;
    k.mouseButtons = buttons;
}

void PollMouse(MachineState& m, IMouseDevice& device) {
    KempstonState& k = m.kempston;
    if (!m.options.kempstonMouse || !k.mouseCapture.load() || !k.screenActive.load()) return;
    MouseReading reading;
    if (!device.Read(reading)) {
        AcquireMouse(k, device);
        if (!device.Read(reading)) return;
    }
    ApplyMouseReading(k, reading, m.keys.altLayer.load() != 0);
}

} // namespace vespin
