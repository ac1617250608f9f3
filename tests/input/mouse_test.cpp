#include <gtest/gtest.h>

#include <vector>

#include "core/frame.h"
#include "core/machine.h"
#include "core/ports.h"
#include "fake_mouse.h"
#include "input/mouse.h"

namespace vespin {
namespace {

constexpr uint8_t kDown = 0x80;

MouseReading Buttons(uint8_t left, uint8_t right = 0, uint8_t middle = 0) {
    MouseReading r;
    r.buttons = {left, right, middle, 0};
    return r;
}

TEST(KempstonMouse, ButtonsByteFromButtonsSwapAndWheel) {
    struct Case {
        bool swap;
        bool wheelSupport;
        bool wheelInverted;
        MouseReading reading;
        uint8_t expected;
    };
    auto wheel = [](int32_t w, MouseReading r = {}) {
        r.wheel = w;
        return r;
    };
    const std::vector<Case> cases = {
        {false, false, false, {}, 0xFF},
        {false, false, false, Buttons(kDown), 0xFE},
        {true, false, false, Buttons(kDown), 0xFD},
        {false, false, false, Buttons(0, kDown), 0xFD},
        {true, false, false, Buttons(0, kDown), 0xFE},
        {false, false, false, Buttons(0, 0, kDown), 0xFB},
        {false, false, false, Buttons(kDown, kDown, kDown), 0xF8},
        {false, false, false, wheel(120), 0xFF}, // wheel ignored without support
        {false, true, false, {}, 0x0F},          //
        {false, true, false, wheel(120), 0x1F},  // one notch forward
        {false, true, false, wheel(239), 0x1F},  // whole notches only
        {false, true, false, wheel(-120), 0xFF}, // counter wraps to 15
        {false, true, true, wheel(240), 0xEF},   // inverted: two notches back
        {false, true, false, wheel(360, Buttons(kDown)), 0x3E},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        KempstonState k;
        k.mouseOptions.swapButtons = c.swap;
        k.mouseOptions.wheelSupport = c.wheelSupport;
        k.mouseOptions.wheelDirection = c.wheelInverted;
        ApplyMouseReading(k, c.reading, false);
        EXPECT_EQ(k.mouseButtons, c.expected) << "case " << i;
    }
}

TEST(KempstonMouse, PositionsWrapAndYGrowsUpwards) {
    KempstonState k;
    MouseReading r;
    r.dx = 300;
    r.dy = 10;
    ApplyMouseReading(k, r, false);
    EXPECT_EQ(k.mouseX, 44);
    EXPECT_EQ(k.mouseY, 246);
    r.dx = -45;
    r.dy = -266;
    ApplyMouseReading(k, r, false);
    EXPECT_EQ(k.mouseX, 255);
    EXPECT_EQ(k.mouseY, 0);
}

TEST(KempstonMouse, AltLeftClickTogglesTheSwapOncePerClick) {
    KempstonState k;
    ApplyMouseReading(k, Buttons(kDown), true);
    EXPECT_TRUE(k.mouseOptions.swapButtons.load());
    EXPECT_EQ(k.mouseButtons, 0xFE) << "the click itself still reads as the old left button";
    ApplyMouseReading(k, Buttons(kDown), true);
    EXPECT_TRUE(k.mouseOptions.swapButtons.load()) << "held: no second toggle";
    EXPECT_EQ(k.mouseButtons, 0xFD);
    ApplyMouseReading(k, Buttons(0), true);
    ApplyMouseReading(k, Buttons(kDown), true);
    EXPECT_FALSE(k.mouseOptions.swapButtons.load());
    ApplyMouseReading(k, Buttons(0), false);
    ApplyMouseReading(k, Buttons(kDown), false);
    EXPECT_FALSE(k.mouseOptions.swapButtons.load()) << "no toggle without Alt";
}

class PollMouseTest : public ::testing::Test {
  protected:
    PollMouseTest() {
        m.options.kempstonMouse = true;
        m.kempston.mouseCapture = 1;
        m.kempston.screenActive = 1;
        m.host.mouse = &poller;
        EXPECT_EQ(AcquireMouse(m.kempston, mouse), std::nullopt);
    }
    // The mouse is polled at the end of every frame.
    void EndFrame() {
        m.regs.T = m.frameLength;
        FrameEnd(m);
    }
    void QueueMove(int32_t dx) {
        MouseReading r;
        r.dx = dx;
        mouse.readings.push_back(r);
    }

    MachineState m;
    test::FakeMouse mouse;
    TKempstonMouse poller{mouse};
};

TEST_F(PollMouseTest, PollsOnlyWhileEnabledCapturedAndActive) {
    struct Case {
        bool enabled, capture, active, device;
        bool polled;
    };
    const std::vector<Case> cases = {
        {true, true, true, true, true},   {false, true, true, true, false},
        {true, false, true, true, false}, {true, true, false, true, false},
        {true, true, true, false, false},
    };
    for (const Case& c : cases) {
        m.options.kempstonMouse = c.enabled;
        m.kempston.mouseCapture = c.capture;
        m.kempston.screenActive = c.active;
        m.host.mouse = c.device ? &poller : nullptr;
        m.kempston.mouseX = 0;
        QueueMove(5);
        EndFrame();
        EXPECT_EQ(m.kempston.mouseX, c.polled ? 5 : 0);
        mouse.readings.clear();
    }
}

TEST_F(PollMouseTest, ALostMouseIsReacquiredOnceAndOtherwiseLeftAlone) {
    mouse.Unacquire();
    QueueMove(7);
    EndFrame();
    EXPECT_EQ(m.kempston.mouseX, 7);
    EXPECT_EQ(mouse.acquireCalls, 2);

    mouse.Unacquire();
    mouse.acquireResult = kAccessDenied;
    m.kempston.mouseButtons = 0x12;
    QueueMove(7);
    EndFrame();
    EXPECT_EQ(m.kempston.mouseX, 7);
    EXPECT_EQ(m.kempston.mouseButtons, 0x12);
}

TEST_F(PollMouseTest, AcquireReportsFailuresButAccessDenied) {
    mouse.acquireResult = kAccessDenied;
    EXPECT_EQ(AcquireMouse(m.kempston, mouse), std::nullopt);
    EXPECT_EQ(m.kempston.mouseAcquired.load(), 1);
    mouse.acquireResult = 0x80004005;
    EXPECT_EQ(AcquireMouse(m.kempston, mouse),
              "Can't acquire DirectInput Device!\nFunction 'Acquire' return result code "
              "80004005h.");
    ReleaseMouse(m.kempston, mouse);
    EXPECT_EQ(m.kempston.mouseAcquired.load(), 0);
    EXPECT_FALSE(mouse.acquired);
}

TEST_F(PollMouseTest, FramePollReachesTheMousePortsWhileTheJoystickKeepsItsOwn) {
    MouseReading r = Buttons(kDown);
    r.dx = 3;
    r.dy = -2;
    mouse.readings.push_back(r);
    EndFrame();
    m.kempston.joystick = 0x10;
    struct Case {
        uint16_t port;
        uint8_t expected;
    };
    const std::vector<Case> cases = {
        {0xFBDF, 3},    {0xF9DF, 3},    {0xFFDF, 2},    {0xFDDF, 2},
        {0xFADF, 0xFE}, {0xF8DF, 0xFE}, {0x001F, 0x10}, {0x003F, 0xFF}, // bit 5 set
        {0x009F, 0xFF},                                                 // bit 7 set
        {0x0009, 0x10},                                                 // bits 0, 3 set
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PortIn(m, c.port), c.expected) << std::hex << c.port;
    }
}

} // namespace
} // namespace vespin
