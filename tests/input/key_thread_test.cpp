#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string_view>
#include <thread>
#include <vector>

#include "core/emul_thread.h"
#include "core/machine.h"
#include "core/ports.h"
#include "input/host_scan_codes.h"
#include "input/key_thread.h"
#include "input/window_requests.h"

namespace vespin {
namespace {

namespace sc {
constexpr uint8_t One = 0x02, A = 0x1E, B = 0x30, C = 0x2E, F = 0x21, M = 0x32, T = 0x14;
constexpr uint8_t Enter = 0x1C, LeftShift = 0x2A, Space = 0x39, LeftCtrl = 0x1D;
constexpr uint8_t F2 = 0x3C, F3 = 0x3D, F4 = 0x3E, F8 = 0x42, F12 = 0x58, Pause = 0xC5;
constexpr uint8_t Home = 0xC7, CursorLeft = 0xCB, Keypad1 = 0x4F;
constexpr uint8_t Escape = scan::Escape, LeftAlt = scan::LeftAlt, RightAlt = scan::RightAlt;
} // namespace sc

std::vector<int> DownKeys(const TKeyMatrix& matrix) {
    std::vector<int> down;
    for (int k = 0; k < kKeyCount; ++k) {
        if (IsKeyDown(matrix, k)) down.push_back(k);
    }
    return down;
}

std::vector<int> Keys(std::initializer_list<std::string_view> names) {
    std::vector<int> keys;
    for (std::string_view n : names)
        keys.push_back(KeyNumberOfName(n));
    std::sort(keys.begin(), keys.end());
    return keys;
}

// A running emulation with the focus: host events go through Service on the test's thread.
class KeyThreadTest : public ::testing::Test {
  protected:
    KeyThreadTest() : thread(m, keyboard, requests, [this] { return tick; }) {
        m.runFlag = 1;
        thread.SetEnabled(true);
        thread.ActivateKeys();
        thread.Service();
    }

    void Down(uint8_t code) {
        keyboard.Push(code, true);
        thread.Service();
    }
    void Up(uint8_t code) {
        keyboard.Push(code, false);
        thread.Service();
    }
    void Tap(uint8_t code) {
        Down(code);
        Up(code);
    }

    MachineState m;
    TKeyboardDevice keyboard;
    WindowRequests requests;
    uint32_t tick = 1000;
    TKeyThread thread;
};

TEST_F(KeyThreadTest, HostKeysTypeTheirSpectrumKeys) {
    struct Case {
        uint8_t scan;
        std::vector<int> keys;
    };
    const std::vector<Case> cases = {
        {sc::One, Keys({"1"})},       {0x0B, Keys({"0"})},
        {sc::A, Keys({"A"})},         {0x19, Keys({"P"})},
        {0x26, Keys({"L"})},          {0x2C, Keys({"Z"})},
        {sc::M, Keys({"M"})},         {sc::Keypad1, Keys({"1"})},
        {0x52, Keys({"0"})},          {0x49, Keys({"9"})},
        {sc::Enter, Keys({"ENTER"})}, {0x9C, Keys({"ENTER"})},
        {sc::Space, Keys({"SPACE"})}, {sc::LeftShift, Keys({"CS"})},
        {0x36, Keys({"SS"})},         {0x0C, Keys({"SS", "J"})},
        {0x0E, Keys({"CS", "0"})},    {0x0F, Keys({"CS", "SS"})},
        {0x28, Keys({"SS", "P"})},    {0x53, Keys({"SS", "M"})},
        {0xB5, Keys({"SS", "V"})},    {sc::CursorLeft, Keys({"CS", "5"})},
        {0xC8, Keys({"CS", "7"})},    {0xD0, Keys({"CS", "6"})},
        {0x3A, Keys({"CS", "2"})},    {0x4E, Keys({"SS", "K"})},
    };
    for (const Case& c : cases) {
        Down(c.scan);
        EXPECT_EQ(DownKeys(m.keys), c.keys) << "scan " << std::hex << int(c.scan);
        Up(c.scan);
        EXPECT_TRUE(DownKeys(m.keys).empty()) << "scan " << std::hex << int(c.scan);
    }
}

TEST_F(KeyThreadTest, TwoHostKeysHoldingOneSpectrumKey) {
    const int cs = KeyNumberOfName("CS");
    const int five = KeyNumberOfName("5");
    Down(sc::LeftShift);
    Down(sc::CursorLeft);
    Up(sc::CursorLeft);
    EXPECT_EQ(DownKeys(m.keys), std::vector<int>{cs});
    Up(sc::LeftShift);
    EXPECT_TRUE(DownKeys(m.keys).empty());

    // Main-block 1 and keypad 1, released in the other order; host auto-repeat counts once.
    Down(sc::One);
    Down(sc::One);
    Down(sc::Keypad1);
    Up(sc::One);
    EXPECT_EQ(DownKeys(m.keys), Keys({"1"}));
    Up(sc::Keypad1);
    EXPECT_TRUE(DownKeys(m.keys).empty());
    EXPECT_FALSE(IsKeyDown(m.keys, five));
}

TEST_F(KeyThreadTest, AltLayerKeyUpsAndKeyDownsThatMissTheirOtherHalf) {
    // Key-down in the Alt layer, Alt released first: the key-up releases nothing.
    Down(sc::LeftAlt);
    Down(sc::A);
    Up(sc::LeftAlt);
    Up(sc::A);
    EXPECT_TRUE(DownKeys(m.keys).empty());

    // A key-up whose key-down went to the Alt layer leaves a key held by another host key.
    Down(sc::LeftAlt);
    Down(sc::LeftShift);
    Up(sc::LeftAlt);
    Down(sc::CursorLeft);
    Up(sc::LeftShift);
    EXPECT_EQ(DownKeys(m.keys), Keys({"CS", "5"}));
    Up(sc::CursorLeft);

    // A letter pressed before Alt and released while Alt is held stays down until it is
    // pressed and released again.
    Down(sc::A);
    Down(sc::RightAlt);
    Up(sc::A);
    Up(sc::RightAlt);
    EXPECT_EQ(DownKeys(m.keys), Keys({"A"}));
    Tap(sc::A);
    EXPECT_TRUE(DownKeys(m.keys).empty());
}

TEST_F(KeyThreadTest, ResetKeysHoldTheMachineAndPickTheKindByDoublePress) {
    struct Case {
        bool alt;
        std::vector<uint32_t> pressTicks;
        ResetKind kind;
    };
    const std::vector<Case> cases = {
        {false, {1000}, ResetKind::Mode128},       {false, {1000, 1049}, ResetKind::Trdos128},
        {false, {1000, 1050}, ResetKind::Mode128}, {true, {1000}, ResetKind::Mode48},
        {true, {1000, 1020}, ResetKind::Trdos48},  {true, {1000, 2000}, ResetKind::Mode48},
    };
    uint32_t base = 0;
    for (const Case& c : cases) {
        base += 10000; // far from the previous case's presses
        if (c.alt) Down(sc::LeftAlt);
        for (uint32_t t : c.pressTicks) {
            tick = base + t;
            Down(sc::F12);
            EXPECT_EQ(m.resetHold.load(), 1);
            Up(sc::F12);
            EXPECT_EQ(m.resetHold.load(), 0);
        }
        if (c.alt) Up(sc::LeftAlt);
        EXPECT_EQ(m.resetKind, c.kind) << "alt " << c.alt << ", " << c.pressTicks.size();
    }

    // Alt + F12 let go of Alt first: the plain layer's F12 key-up ends the hold too.
    Down(sc::LeftAlt);
    Down(sc::F12);
    Up(sc::LeftAlt);
    Up(sc::F12);
    EXPECT_EQ(m.resetHold.load(), 0);
}

TEST_F(KeyThreadTest, HotKeysSetFlagsAndAskTheWindows) {
    Tap(sc::F8);
    EXPECT_EQ(m.synchronisedSpeed.load(), 0);
    Tap(sc::F8);
    EXPECT_EQ(m.synchronisedSpeed.load(), 1);
    Tap(sc::Pause);
    EXPECT_EQ(m.pause.load(), 1u);
    Tap(sc::Pause);
    EXPECT_EQ(m.pause.load(), 0u);

    struct Case {
        bool alt;
        uint8_t scan;
        std::atomic<uint8_t> WindowRequests::*request;
    };
    const std::vector<Case> cases = {
        {false, sc::F2, &WindowRequests::loadDiskImage},
        {false, sc::F3, &WindowRequests::loadSnapshot},
        {true, sc::T, &WindowRequests::tapeReaderPanel},
        {true, sc::Enter, &WindowRequests::toggleFullScreen},
        {true, sc::F, &WindowRequests::toggleShowFps},
        {true, sc::F4, &WindowRequests::closeProgram},
        {true, sc::Space, &WindowRequests::mainWindowToFront},
    };
    for (const Case& c : cases) {
        if (c.alt) Down(sc::LeftAlt);
        Tap(c.scan);
        if (c.alt) Up(sc::LeftAlt);
        EXPECT_EQ((requests.*c.request).exchange(0), 1) << std::hex << int(c.scan);
        EXPECT_TRUE(DownKeys(m.keys).empty()) << "Alt-layer keys never reach the matrix";
    }
    EXPECT_EQ(m.runFlag.load(), 0) << "Alt + Space stops the emulation";
}

TEST_F(KeyThreadTest, EscapeClosesThePopUpMenuOrStopsTheEmulation) {
    requests.popupMenuOpen = 1;
    Tap(sc::Escape);
    EXPECT_EQ(requests.popupMenuOpen.load(), 0);
    EXPECT_EQ(m.runFlag.load(), 1);
    EXPECT_EQ(requests.leaveFullScreen.load(), 0);

    Tap(sc::Escape);
    EXPECT_EQ(m.runFlag.load(), 0);
    EXPECT_EQ(requests.leaveFullScreen.load(), 1);
}

TEST_F(KeyThreadTest, AltMTogglesTheMouseCaptureOnlyOutsideFullScreen) {
    Down(sc::LeftAlt);
    Tap(sc::M);
    EXPECT_EQ(m.kempston.mouseCapture.load(), 1);
    requests.fullScreen = 1;
    Tap(sc::M);
    EXPECT_EQ(m.kempston.mouseCapture.load(), 1);
    requests.fullScreen = 0;
    Tap(sc::M);
    EXPECT_EQ(m.kempston.mouseCapture.load(), 0);
}

TEST_F(KeyThreadTest, JoystickKeysDriveTheKempstonPort) {
    Down(sc::Home);
    Down(sc::LeftCtrl);
    EXPECT_EQ(PortIn(m, 0x001F), 0x18);
    Up(sc::Home);
    EXPECT_EQ(PortIn(m, 0x001F), 0x10);
    Up(sc::LeftCtrl);
    EXPECT_EQ(PortIn(m, 0x001F), 0x00);
    EXPECT_TRUE(DownKeys(m.keys).empty());
}

TEST_F(KeyThreadTest, EventsWhileStoppedOrUnfocusedAreDropped) {
    thread.SetEnabled(false);
    Down(sc::A);
    Tap(sc::Pause);
    EXPECT_TRUE(DownKeys(m.keys).empty());
    EXPECT_EQ(m.pause.load(), 0u);
    thread.SetEnabled(true);
    Up(sc::A);

    thread.DeactivateKeys();
    Down(sc::B);
    EXPECT_TRUE(DownKeys(m.keys).empty());
}

TEST_F(KeyThreadTest, ActivationResynchronisesWithTheKeysHeldNow) {
    Down(sc::Home);
    Down(sc::C);
    thread.DeactivateKeys();
    PressKey(m.keys, KeyNumberOfName("Q")); // on-screen keyboard: cleared too
    keyboard.Push(sc::C, false);
    keyboard.Push(sc::Home, false);
    keyboard.Push(sc::A, true);
    keyboard.Push(sc::LeftShift, true);
    thread.Service();
    EXPECT_EQ(DownKeys(m.keys), Keys({"C", "Q"})) << "inactive: nothing handled";

    thread.ActivateKeys();
    thread.Service();
    EXPECT_EQ(DownKeys(m.keys), Keys({"A", "CS"}));
    EXPECT_EQ(m.kempston.joystick.load(), 0) << "Home was released while inactive";
    EXPECT_EQ(m.keys.altLayer.load(), 0);
    Up(sc::A);
    Up(sc::LeftShift);
    EXPECT_TRUE(DownKeys(m.keys).empty());
}

TEST_F(KeyThreadTest, ResynchronisationWithAltHeldUsesTheAltLayer) {
    thread.DeactivateKeys();
    keyboard.Push(sc::RightAlt, true);
    keyboard.Push(sc::T, true);
    keyboard.Push(sc::A, true);
    thread.ActivateKeys();
    thread.Service();
    EXPECT_EQ(m.keys.altLayer.load(), 1);
    EXPECT_TRUE(DownKeys(m.keys).empty());
    EXPECT_EQ(requests.tapeReaderPanel.load(), 1);
}

TEST_F(KeyThreadTest, ResynchronisationWaitsForEscapeToBeReleased) {
    thread.DeactivateKeys();
    keyboard.Push(sc::Escape, true);
    keyboard.Push(sc::A, true);
    thread.ActivateKeys();
    thread.Service();
    EXPECT_EQ(m.runFlag.load(), 1) << "the held Escape must not stop the new run";
    EXPECT_TRUE(DownKeys(m.keys).empty());
    Up(sc::Escape);
    EXPECT_EQ(m.runFlag.load(), 1);
    EXPECT_EQ(DownKeys(m.keys), Keys({"A"}));
}

TEST_F(KeyThreadTest, LostEventsRebuildTheMatrixFromTheHeldKeys) {
    keyboard.Push(sc::A, true);
    keyboard.Push(sc::B, true);
    for (int i = 0; i < 50; ++i) {
        keyboard.Push(sc::C, true);
        keyboard.Push(sc::C, false);
    }
    keyboard.Push(sc::B, false);
    thread.Service();
    EXPECT_EQ(DownKeys(m.keys), Keys({"A"}));
    Up(sc::A);
    EXPECT_TRUE(DownKeys(m.keys).empty());
}

TEST(HostScanCodes, LinuxKeyCodesReachTheTableKeys) {
    struct Case {
        uint32_t evdev;
        uint8_t scan;
    };
    const std::vector<Case> cases = {
        {1, sc::Escape},
        {2, sc::One},
        {30, sc::A},
        {42, sc::LeftShift},
        {56, sc::LeftAlt},
        {79, sc::Keypad1},
        {88, sc::F12},
        {96, 0x9C},
        {98, 0xB5},
        {100, sc::RightAlt},
        {102, sc::Home},
        {105, sc::CursorLeft},
        {108, 0xD0},
        {109, 0xD1},
        {111, 0xD3},
        {119, sc::Pause},
        {0, 0},
        {84, 0},
        {101, 0},
        {300, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScanCodeOfEvdevKey(c.evdev), c.scan) << c.evdev;
}

// The real thread: it blocks on the keyboard while the emulation side reads the port, as the
// emulation thread does, without waiting for it.
TEST(KeyThreadRunning, HandlesHostEventsOnItsOwnThread) {
    MachineState m;
    TKeyboardDevice keyboard;
    WindowRequests requests;
    std::atomic<uint32_t> ticks{0};
    std::atomic<bool> stop{false};
    std::thread reader([&] {
        while (!stop.load())
            (void)ReadHalfRows(m.keys, 0x00FE);
    });
    {
        TKeyThread thread(m, keyboard, requests, [&] { return ticks.load(); });
        thread.Start();
        thread.SetEnabled(true);
        thread.ActivateKeys();
        for (int i = 0; i < 200; ++i) {
            keyboard.Push(sc::A, true);
            keyboard.Push(sc::LeftShift, i % 2 == 0);
            keyboard.Push(sc::A, false);
        }
        keyboard.Push(sc::Space, true);
        keyboard.WaitHandled();
        EXPECT_EQ(DownKeys(m.keys), Keys({"SPACE"}));
        EXPECT_EQ(ReadHalfRows(m.keys, 0x7FFE), 0xBE);
    }
    stop = true;
    reader.join();
}

// Host keys reaching a machine that runs on the emulation thread: reset holds with both kinds
// while the executor resets with them, then Escape ends the run.
TEST(KeyThreadRunning, ResetKeysAndEscapeReachTheRunningMachine) {
    auto machine = std::make_unique<MachineState>();
    MachineState& m = *machine;
    m.synchronisedSpeed = 0;
    TKeyboardDevice keyboard;
    WindowRequests requests;
    std::atomic<uint32_t> ticks{0};
    TKeyThread keys(m, keyboard, requests, [&] { return ticks.load(); });
    keys.Start();
    keys.SetEnabled(true);
    keys.ActivateKeys();
    // Once these are handled the activation's resynchronisation is over, so the Escape below
    // arrives as an event rather than as a key found held (which would be waited out).
    keyboard.Push(sc::Space, true);
    keyboard.Push(sc::Space, false);
    keyboard.WaitHandled();

    EmulThreadHandlers handlers;
    handlers.onEnd = [&] { keys.SetEnabled(false); };
    TEmulThread emulation(m, handlers);
    for (int i = 0; i < 20; ++i) {
        if (i % 2) keyboard.Push(sc::LeftAlt, true);
        keyboard.Push(sc::F12, true);
        keyboard.Push(sc::F12, false);
        if (i % 2) keyboard.Push(sc::LeftAlt, false);
    }
    keyboard.Push(sc::Escape, true);
    emulation.Wait();
    keyboard.WaitHandled();

    EXPECT_EQ(m.resetHold.load(), 0);
    EXPECT_EQ(requests.leaveFullScreen.load(), 1);
    // Every press came within a second of the one before: TR-DOS with 48K last.
    EXPECT_EQ(m.resetKind.load(), ResetKind::Trdos48);
    keyboard.Push(sc::Escape, false);
    keyboard.Push(sc::A, true);
    keyboard.WaitHandled();
    EXPECT_FALSE(IsKeyDown(m.keys, KeyNumberOfName("A"))) << "the run has ended";
}

} // namespace
} // namespace vespin
