// Run control on the real emulation thread and the real instruction set. The machine has no
// host services, so nothing paces it: a run goes as fast as the host allows.
#include "debugger/run_control.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <thread>

#include "core/reset.h"
#include "support/testdata.h"

namespace vespin {
namespace {

class RunControl : public ::testing::Test {
  protected:
    RunControl() {
        m->regs.SP = 0xFF00;
        m->regs.IFF1 = m->regs.IFF2 = 0;
        rc.refreshDebugger = [this] { ++refreshes; };
    }
    void Poke(uint16_t address, std::initializer_list<uint8_t> bytes) {
        for (uint8_t b : bytes)
            *ByteAddress(m->memory, address++) = b;
    }
    std::unique_ptr<MachineState> m = std::make_unique<MachineState>();
    TRunControl rc{*m};
    int refreshes = 0;
};

TEST_F(RunControl, StepOverTable) {
    struct Case {
        uint8_t op, next;
        uint16_t pc;
        bool runs;
        uint16_t stop;
    } cases[] = {
        {0xCD, 0x00, 0x8000, true, 0x8003}, {0xCD, 0x00, 0xFFFD, true, 0x0000},
        {0xDF, 0x00, 0x8000, true, 0x8001}, {0xE7, 0x00, 0x8000, true, 0x8001},
        {0x76, 0x00, 0x8000, true, 0x8001}, {0x10, 0xFE, 0x8000, true, 0x8002},
        {0xED, 0xB0, 0x8000, true, 0x8002}, {0xED, 0xB8, 0x8000, true, 0x8002},
        {0xED, 0xB1, 0x8000, false, 0},     {0xC4, 0x00, 0x8000, false, 0},
        {0xCF, 0x00, 0x8000, false, 0},     {0x18, 0x05, 0x8000, false, 0},
    };
    for (const Case& c : cases) {
        uint16_t stop = 0xAAAA;
        EXPECT_EQ(TRunControl::StepOverStop(c.op, c.next, c.pc, stop), c.runs) << int(c.op);
        if (c.runs) {
            EXPECT_EQ(stop, c.stop) << int(c.op);
        }
    }
}

TEST_F(RunControl, StepOverCallAtFFFDRunsUntilStopped) {
    Poke(0xFFFD, {0xCD, 0x00, 0x80}); // CALL #8000
    Poke(0x8000, {0x18, 0xFE});       // JR $
    m->regs.PC = 0xFFFD;
    rc.StepOver();
    EXPECT_EQ(m->runToAddress, 0); // PC + 3 wraps to 0: no stop address
    EXPECT_TRUE(rc.Running());
    EXPECT_FALSE(rc.Mode().debuggerMode);
    EXPECT_TRUE(rc.Mode().debugger);
    EXPECT_FALSE(rc.Mode().run);
    rc.Debugger();
    rc.WaitForEnd();
    EXPECT_FALSE(rc.Running());
    EXPECT_EQ(m->threadRunning.load(), 0);
    EXPECT_EQ(m->regs.PC, 0x8000);
    EXPECT_EQ(m->regs.SP, 0xFEFE);
    EXPECT_TRUE(rc.Mode().debuggerMode);
    EXPECT_TRUE(rc.Mode().panelsVisible);
    EXPECT_EQ(refreshes, 1);
}

TEST_F(RunControl, StepOverJumpTracesOneInstruction) {
    Poke(0x8000, {0x18, 0x05});             // JR +5
    Poke(0x8007, {0xC4, 0x00, 0x90, 0x00}); // CALL NZ,#9000 (Z is clear)
    m->regs.F = 0;
    m->regs.PC = 0x8000;
    const int32_t t = m->regs.T;
    rc.StepOver();
    EXPECT_FALSE(rc.Running());
    EXPECT_EQ(m->regs.PC, 0x8007);
    EXPECT_EQ(m->regs.T - t, 12);
    rc.StepOver(); // a conditional call is traced into
    EXPECT_EQ(m->regs.PC, 0x9000);
    EXPECT_EQ(refreshes, 2);
    EXPECT_TRUE(rc.Mode().debuggerMode);
}

TEST_F(RunControl, StepOverDjnzRunsTheLoop) {
    Poke(0x8000, {0x06, 0x03, 0x10, 0xFE, 0x00}); // LD B,3; DJNZ $
    m->regs.PC = 0x8002;
    m->regs.B = 3;
    rc.StepOver();
    rc.WaitForEnd();
    EXPECT_EQ(m->regs.PC, 0x8004);
    EXPECT_EQ(m->regs.B, 0);
}

TEST_F(RunControl, ModeSwitchesReachTheOtherWindows) {
    std::vector<std::string> calls;
    auto note = [&](const char* what) { return [&calls, what] { calls.push_back(what); }; };
    rc.focusScreen = note("focus");
    rc.activateKeys = note("keys on");
    rc.deactivateKeys = note("keys off");
    rc.acquireMouse = note("mouse");
    rc.releaseMouse = note("no mouse");
    rc.activeWindow = [] { return 7; };
    rc.activateWindow = [&](int w) { calls.push_back("window " + std::to_string(w)); };
    Poke(0x8000, {0x00, 0x00});
    m->regs.PC = 0x8000;
    rc.RunToCursor(0x8001);
    rc.WaitForEnd();
    const std::vector<std::string> expected{"focus",    "focus",    "mouse",   "keys on",
                                            "keys off", "window 7", "no mouse"};
    EXPECT_EQ(calls, expected);
}

TEST_F(RunControl, RunToCursor) {
    Poke(0x8000, {0x3C, 0x18, 0xFD}); // INC A; JR back to the INC
    m->regs.PC = 0x8000;
    m->regs.A = 0;
    rc.RunToCursor(0x8001);
    rc.WaitForEnd();
    EXPECT_EQ(m->regs.PC, 0x8001);
    EXPECT_EQ(m->regs.A, 1);
    // The selected row at PC runs until PC comes back there.
    m->regs.PC = 0x8000;
    rc.RunToCursor(0x8000);
    rc.WaitForEnd();
    EXPECT_EQ(m->regs.PC, 0x8000);
    EXPECT_EQ(m->regs.A, 2);
}

TEST_F(RunControl, RunUntilReturn) {
    Poke(0x9000, {0xE5, 0xE1, 0x3E, 0x07, 0xC9}); // PUSH HL; POP HL; LD A,7; RET
    Poke(0xFF00, {0x10, 0x80});                   // the return address #8010
    m->regs.PC = 0x9000;
    rc.RunUntilReturn();
    EXPECT_EQ(m->runToAddress, 0x8010); // read when the command is given
    rc.WaitForEnd();
    EXPECT_EQ(m->regs.PC, 0x8010);
    EXPECT_EQ(m->regs.SP, 0xFF02);
    EXPECT_EQ(m->regs.A, 7);
}

TEST_F(RunControl, TraceIntoHaltStaysInDebuggerMode) {
    Poke(0x8000, {0x76});
    m->regs.PC = 0x8000;
    const int32_t t = m->regs.T;
    rc.TraceInto();
    EXPECT_FALSE(rc.Running());
    EXPECT_TRUE(rc.Mode().debuggerMode);
    EXPECT_EQ(m->regs.T - t, 4);
    EXPECT_EQ(m->singleStep, 0);
    EXPECT_EQ(refreshes, 1);
    rc.ComputeMeter();
    EXPECT_EQ(rc.MeterValue(), 4u);
}

TEST_F(RunControl, DebuggerStopsARunningMachineWithinOneFrame) {
    Poke(0x8000, {0x18, 0xFE});
    m->regs.PC = 0x8000;
    rc.Run();
    EXPECT_TRUE(rc.Running());
    rc.Run(); // disabled while running: no second thread
    while (m->frameCounter.load() < 3)
        std::this_thread::yield();
    rc.Debugger();
    const uint32_t frameAtStop = m->frameCounter.load();
    rc.StopAndWait();
    EXPECT_LE(m->frameCounter.load() - frameAtStop, 1u);
    EXPECT_TRUE(rc.Mode().debuggerMode);
    rc.ComputeMeter();
    EXPECT_GE(rc.MeterValue(), 3u * 71680u);
}

TEST_F(RunControl, CpuStoppedChoices) {
    Poke(0x8000, {0x76}); // HALT with interrupts off
    m->regs.PC = 0x8000;
    m->regs.IM = 1;
    rc.Run();
    while (m->cpuStopped.load() == 0)
        std::this_thread::yield();
    const auto actions = rc.Idle(false, false, false, 0);
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0], IdleAction::ShowCpuStopped);
    EXPECT_TRUE(rc.Idle(false, true, false, 0).empty()); // "Don't show" ticked
    Poke(0x0000, {0x18, 0xFE});                          // JR $ at the reset address
    rc.CpuStopped(TRunControl::CpuStoppedChoice::Reset);
    EXPECT_TRUE(rc.Running());
    EXPECT_EQ(m->cpuStopped.load(), 0);
    rc.CpuStopped(TRunControl::CpuStoppedChoice::Debugger);
    rc.WaitForEnd();
    EXPECT_EQ(m->regs.PC, 0x0000);
    EXPECT_TRUE(rc.Mode().debuggerMode);
}

TEST_F(RunControl, MeterWrapsAndSaturates) {
    m->regs.T = 70000;
    rc.MarkMeter();
    m->frameCounter.store(1);
    m->regs.T = 100;
    rc.ComputeMeter();
    EXPECT_EQ(rc.MeterValue(), 71680u - 70000u + 100u);
    m->frameCounter.store(57001);
    rc.ComputeMeter();
    EXPECT_EQ(rc.MeterValue(), UINT32_MAX);
}

TEST_F(RunControl, ModesShowMarkedWindows) {
    rc.ToggleView(ToolWindow::Disassembler);
    rc.ToggleView(ToolWindow::Vg93);
    rc.ToggleView(ToolWindow::MemoryDump);
    rc.ToggleView(ToolWindow::MemoryDump);
    EXPECT_TRUE(rc.Mode().dasmShown);
    EXPECT_FALSE(rc.Mode().memoryShown);
    rc.LeaveDebuggerMode();
    EXPECT_FALSE(rc.Mode().dasmShown);
    EXPECT_FALSE(rc.Mode().vg93Shown);
    EXPECT_TRUE(rc.Mode().screenRunning);
    rc.EnterDebuggerMode();
    EXPECT_TRUE(rc.Mode().dasmShown);
    EXPECT_TRUE(rc.Mode().vg93Shown);
    EXPECT_FALSE(rc.Mode().debugger);
    EXPECT_FALSE(rc.Mode().memoryMarked);
    rc.ToolWindowClosed(ToolWindow::Vg93);
    EXPECT_FALSE(rc.Mode().vg93Marked);
    EXPECT_FALSE(rc.Mode().vg93Shown);
    EXPECT_TRUE(rc.Activated().empty()); // stopped: activation changes nothing
}

TEST_F(RunControl, IdleHandlesRequestsInOrder) {
    rc.requests.loadDiskImage.store(1);
    rc.requests.loadSnapshot.store(1);
    rc.requests.closeProgram.store(1);
    rc.requests.tapeReaderPanel.store(1);
    rc.minimiseRequest.store(1);
    m->kempston.mouseCapture.store(1);
    m->kempston.mouseAcquired.store(1);
    rc.requests.toggleFullScreen.store(1);
    const std::vector<IdleAction> expected{
        IdleAction::SwitchFullScreen, IdleAction::HideCursor,       IdleAction::AcquireMouse,
        IdleAction::Minimise,         IdleAction::ToggleTapeReader, IdleAction::Close,
        IdleAction::LoadSnapshot,     IdleAction::LoadDisk,         IdleAction::SetScreenCaption,
    };
    EXPECT_EQ(rc.Idle(false, false, true, 50), expected);
    EXPECT_EQ(rc.ScreenCaption(), "Screen (FPS 50)");
    // The one-shot requests are cleared; quit stays; the FPS caption changes only with the value.
    EXPECT_EQ(rc.Idle(false, false, true, 50), std::vector<IdleAction>{IdleAction::Close});
    rc.requests.closeProgram.store(0);
    m->kempston.mouseAcquired.store(0);
    EXPECT_EQ(rc.Idle(false, false, false, 50),
              (std::vector<IdleAction>{IdleAction::ShowCursor, IdleAction::SetScreenCaption}));
    EXPECT_EQ(rc.ScreenCaption(), "Screen");
    EXPECT_TRUE(rc.Idle(false, false, false, 50).empty());
}

TEST_F(RunControl, MinimiseWaitsForDebuggerMode) {
    Poke(0x8000, {0x18, 0xFE});
    m->regs.PC = 0x8000;
    rc.Run();
    rc.Minimize();
    EXPECT_TRUE(rc.Idle(false, false, false, 0).empty()); // still in emulator mode
    rc.WaitForEnd();
    EXPECT_EQ(rc.Idle(false, false, false, 0), std::vector<IdleAction>{IdleAction::Minimise});
}

TEST_F(RunControl, LoadSnapshotStopsAndResumesAfterCancel) {
    Poke(0x8000, {0x18, 0xFE});
    m->regs.PC = 0x8000;
    rc.Run();
    bool stoppedDuringDialog = false;
    FileCommandHooks hooks;
    hooks.dialog = [&]() -> std::optional<std::string> {
        stoppedDuringDialog = !rc.Running() && m->threadRunning.load() == 0;
        return std::nullopt;
    };
    rc.LoadSnapshot(hooks);
    EXPECT_TRUE(stoppedDuringDialog);
    EXPECT_TRUE(rc.Running()); // cancelled: runs again
    std::string loaded;
    hooks.dialog = [] { return std::optional<std::string>("game.sna"); };
    hooks.load = [&](const std::string& f) { loaded = f; };
    rc.LoadSnapshot(hooks);
    EXPECT_EQ(loaded, "game.sna");
    EXPECT_FALSE(rc.Running()); // the loader decides
}

TEST_F(RunControl, LoadDiskImageKeepsTheMachineRunning) {
    Poke(0x8000, {0x18, 0xFE});
    m->regs.PC = 0x8000;
    rc.Run();
    bool runningDuringDialog = false, stoppedDuringLoad = false;
    FileCommandHooks hooks;
    hooks.dialog = [&] {
        runningDuringDialog = rc.Running();
        return std::optional<std::string>("disk.trd");
    };
    hooks.load = [&](const std::string&) { stoppedDuringLoad = m->threadRunning.load() == 0; };
    rc.LoadDiskImage(hooks);
    EXPECT_TRUE(runningDuringDialog);
    EXPECT_TRUE(stoppedDuringLoad);
    EXPECT_TRUE(rc.Running());
    rc.StopAndWait();
}

// The 48K ROM from reset: DI, XOR A, LD DE,#FFFF, JP #11CB. Run to Cursor on #11CB stops there
// with those registers set.
TEST_F(RunControl, RunToCursorInThe48kRom) {
    const auto path = test::TestDataPath("roms/48.rom");
    VESPIN_REQUIRE_TESTDATA(path);
    const std::vector<uint8_t> rom = test::ReadTestFile(path);
    ASSERT_EQ(rom.size(), kPageSize);
    std::copy(rom.begin(), rom.end(), m->memory.Rom(RomSlot::Basic48));
    m->resetKind = ResetKind::Mode48;
    ResetMachine(*m);
    rc.RunToCursor(0x11CB);
    rc.WaitForEnd();
    EXPECT_EQ(m->regs.PC, 0x11CB);
    EXPECT_EQ(m->regs.DE(), 0xFFFF);
    EXPECT_EQ(m->regs.A, 0);
    EXPECT_EQ(m->regs.IFF1, 0);
}

} // namespace
} // namespace vespin
