#include "core/frame.h"

#include "core/frame_timer.h"
#include "core/machine.h"

namespace vespin {

void FrameEnd(MachineState& m) {
    const int32_t t = m.regs.T;

    SoundFrameEnd(m.sound, t, m.frameLength);

    // A border changed in this frame is completed to the beam; the frame after a change
    // repaints it whole. Without changes the border stays as drawn.
    if (m.borderHistory & 3) {
        m.borderHistory = static_cast<uint8_t>(m.borderHistory << 1);
        UpdateBorder(m.screen, t);
    }

    Vg93FrameStep(m);

    // Without a timer every frame counts as a new tick: nothing limits the presentation rate.
    const bool synchronised = m.synchronisedSpeed.load(std::memory_order_relaxed) != 0;
    const uint32_t tick = m.host.timer ? m.host.timer->Ticks() : m.host.lastPresentedTick + 1;
    const bool newTick = tick != m.host.lastPresentedTick;

    if (synchronised || newTick) SubmitSoundFrame(m);
    if (m.singleStep == 0 && synchronised) WaitForPlayCursor(m);
    if (synchronised || newTick) {
        if (!synchronised) m.host.lastPresentedTick = tick;
        PresentFrame(m);
    }

    ResetBorderBeam(m.screen);
    ResetPaperBeam(m.screen);

    if (m.host.mouse && m.options.kempstonMouse) m.host.mouse->PollMouse(m);

    m.regs.T -= m.frameLength;
    m.frameCounter.fetch_add(1, std::memory_order_relaxed);
}

} // namespace vespin
