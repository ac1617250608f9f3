#include "debugger/run_control.h"

#include "core/z80.h"
#include "debugger/number_format.h"

namespace vespin {

namespace {

constexpr uint32_t kMeterFrameLength = 71680; // fixed, whatever the frame-length option says
constexpr int32_t kMeterFrameLimit = 57001;   // beyond this the meter shows 4294967295

struct StepOverRow {
    uint8_t op;
    int next; // the second byte that must follow, or -1 for any
    uint8_t length;
};

// CALL nn, RST #18, RST #20, HALT, DJNZ, LDIR and LDDR run to the following instruction.
constexpr StepOverRow kStepOver[] = {
    {0xCD, -1, 3}, {0xDF, -1, 1},   {0xE7, -1, 1},   {0x76, -1, 1},
    {0x10, -1, 2}, {0xED, 0xB0, 2}, {0xED, 0xB8, 2},
};

} // namespace

bool TRunControl::StepOverStop(uint8_t op, uint8_t next, uint16_t pc, uint16_t& stop) {
    for (const StepOverRow& row : kStepOver) {
        if (row.op == op && (row.next < 0 || row.next == next)) {
            stop = static_cast<uint16_t>(pc + row.length); // 0 after a wrap: no stop address
            return true;
        }
    }
    return false;
}

TRunControl::~TRunControl() {
    if (thread_) thread_->StopAndWait();
}

void TRunControl::StartEmulation() {
    if (thread_) return; // never a second thread
    MarkMeter();
    LeaveDebuggerMode();
    if (activateKeys) activateKeys();
    ended_.store(0);
    EmulThreadHandlers handlers;
    handlers.onEnd = [this] {
        ended_.store(1);
        ended_.notify_all();
        if (notifyUi) notifyUi();
    };
    thread_ = std::make_unique<TEmulThread>(m_, std::move(handlers));
}

void TRunControl::ProcessEnd() {
    if (!thread_ || ended_.load() == 0) return;
    thread_->Wait();
    thread_.reset();
    ended_.store(0);
    if (deactivateKeys) deactivateKeys();
    if (refreshDebugger) refreshDebugger();
    EnterDebuggerMode();
}

void TRunControl::WaitForEnd() {
    if (!thread_) return;
    ended_.wait(0);
    ProcessEnd();
}

void TRunControl::StopAndWait() {
    m_.runFlag.store(0);
    WaitForEnd();
}

// The run commands differ in whether they are enabled, the stop address and whether the
// screen window takes the focus.
void TRunControl::RunTo(bool enabled, uint16_t stop, bool takeFocus) {
    if (!enabled) return;
    savedActiveWindow_ = activeWindow ? activeWindow() : -1;
    m_.runToAddress = stop;
    if (takeFocus && focusScreen) focusScreen();
    StartEmulation();
}

void TRunControl::Run() {
    RunTo(mode_.run, 0, true);
}

void TRunControl::TraceInto() {
    if (!mode_.traceInto) return;
    MarkMeter();
    m_.singleStep = 1;
    ExecuteInstruction(m_);
    m_.singleStep = 0;
    if (refreshDebugger) refreshDebugger();
}

void TRunControl::StepOver() {
    if (!mode_.stepOver) return;
    const uint16_t pc = m_.regs.PC;
    uint16_t stop = 0;
    if (!StepOverStop(ReadByte(m_, pc), ReadByte(m_, static_cast<uint16_t>(pc + 1)), pc, stop)) {
        TraceInto();
        return;
    }
    RunTo(true, stop, false);
}

void TRunControl::RunToCursor(uint16_t selectedRowAddress) {
    RunTo(mode_.runToCursor, selectedRowAddress, true);
}

void TRunControl::RunUntilReturn() {
    RunTo(mode_.runUntilReturn, ReadWord(m_, m_.regs.SP), false); // the return address on top
}

void TRunControl::RunToNextLine(uint16_t nextLineAddress) {
    RunTo(mode_.runToNextLine, nextLineAddress, true);
}

void TRunControl::Debugger() {
    if (mode_.debugger) m_.runFlag.store(0);
}

void TRunControl::Minimize() {
    m_.runFlag.store(0);
    minimiseRequest.store(1);
}

void TRunControl::LoadSnapshot(const FileCommandHooks& hooks) {
    if (hooks.leaveFullScreen) hooks.leaveFullScreen();
    const bool wasRunning = Running();
    StopAndWait();
    const std::optional<std::string> file = hooks.dialog ? hooks.dialog() : std::nullopt;
    if (!file) {
        if (wasRunning) Run();
        return;
    }
    if (hooks.load) hooks.load(*file); // the loader runs the machine after a good load
}

// The image replaces the disk surface that the emulation thread reads, so the machine is
// stopped for the moment of the swap, never while the dialog is open.
void TRunControl::LoadDiskImage(const FileCommandHooks& hooks) {
    if (hooks.leaveFullScreen) hooks.leaveFullScreen();
    const std::optional<std::string> file = hooks.dialog ? hooks.dialog() : std::nullopt;
    if (!file) return;
    const bool wasRunning = Running();
    StopAndWait();
    if (hooks.load) hooks.load(*file);
    if (wasRunning) StartEmulation();
}

// Reset and Reanimate change the CPU state, which only a stopped machine allows: the thread
// is stopped, the register set, and the run continues with the same stop address.
void TRunControl::CpuStopped(CpuStoppedChoice choice) {
    if (choice == CpuStoppedChoice::Debugger) {
        m_.runFlag.store(0);
        m_.cpuStopped.store(0);
        return;
    }
    StopAndWait();
    if (choice == CpuStoppedChoice::Reset) {
        m_.regs.PC = 0;
    } else {
        m_.regs.IFF1 = 1;
    }
    m_.cpuStopped.store(0);
    StartEmulation();
}

void TRunControl::SetViewMarks(bool dasm, bool memory, bool vg93) {
    mode_.dasmMarked = dasm;
    mode_.memoryMarked = memory;
    mode_.vg93Marked = vg93;
    if (mode_.debuggerMode) {
        mode_.dasmShown = dasm;
        mode_.memoryShown = memory;
        mode_.vg93Shown = vg93;
    }
}

std::pair<bool&, bool&> TRunControl::ViewFlags(ToolWindow w) {
    DebuggerModeState& s = mode_;
    switch (w) {
    case ToolWindow::Disassembler: return {s.dasmMarked, s.dasmShown};
    case ToolWindow::MemoryDump: return {s.memoryMarked, s.memoryShown};
    case ToolWindow::Vg93: break;
    }
    return {s.vg93Marked, s.vg93Shown};
}

void TRunControl::ToggleView(ToolWindow w) {
    auto [mark, shown] = ViewFlags(w);
    shown = !shown;
    mark = shown;
}

void TRunControl::ToolWindowClosed(ToolWindow w) {
    auto [mark, shown] = ViewFlags(w);
    shown = mark = false;
}

void TRunControl::EnterDebuggerMode() {
    DebuggerModeState& s = mode_;
    s.memoryShown = s.memoryMarked;
    s.vg93Shown = s.vg93Marked;
    s.dasmShown = s.dasmMarked;
    s.options = s.saveSnapshot48 = s.saveSnapshot128 = true;
    s.runUntilReturn = s.runToNextLine = s.beta128Panel = s.memoryPanel = true;
    s.panelsVisible = true;
    s.traceInto = s.run = s.stepOver = s.reset = s.runToCursor = true;
    s.debugger = false;
    s.screenRunning = false;
    s.debuggerMode = true;
    if (activateWindow && savedActiveWindow_ >= 0) activateWindow(savedActiveWindow_);
    if (releaseMouse) releaseMouse();
}

void TRunControl::LeaveDebuggerMode() {
    DebuggerModeState& s = mode_;
    s.debuggerMode = false;
    s.memoryShown = s.dasmShown = s.vg93Shown = false;
    s.options = s.saveSnapshot48 = s.saveSnapshot128 = false;
    s.runUntilReturn = s.runToNextLine = s.beta128Panel = s.memoryPanel = false;
    s.traceInto = s.run = s.stepOver = s.reset = s.runToCursor = false;
    s.debugger = true;
    s.panelsVisible = false;
    s.screenRunning = true;
    if (focusScreen) focusScreen();
    if (acquireMouse) acquireMouse();
}

void TRunControl::MarkMeter() {
    meterFrames_ = m_.frameCounter.load();
    meterTStates_ = static_cast<uint32_t>(m_.regs.T);
}

void TRunControl::ComputeMeter() {
    const uint32_t frames = m_.frameCounter.load() - meterFrames_;
    if (static_cast<int32_t>(frames) < kMeterFrameLimit) {
        meterValue_ = static_cast<uint32_t>(m_.regs.T) - meterTStates_ + frames * kMeterFrameLength;
    } else {
        meterValue_ = UINT32_MAX;
    }
}

std::vector<IdleAction> TRunControl::Activated() const {
    if (m_.runFlag.load() == 0) return {};
    return {IdleAction::FocusScreen, IdleAction::ActivateKeys, IdleAction::AcquireMouse};
}

std::vector<IdleAction> TRunControl::Deactivated() {
    return {IdleAction::DeactivateKeys, IdleAction::ReleaseMouse};
}

std::vector<IdleAction> TRunControl::Idle(bool noticeVisible, bool noticeDisabled, bool showFps,
                                          uint32_t fps) {
    std::vector<IdleAction> actions;
    if (requests.toggleFullScreen.exchange(0)) actions.push_back(IdleAction::SwitchFullScreen);
    const uint8_t acquired = m_.kempston.mouseAcquired.load();
    if (acquired != lastMouseAcquired_) {
        lastMouseAcquired_ = acquired;
        actions.push_back(acquired ? IdleAction::HideCursor : IdleAction::ShowCursor);
    }
    const uint8_t capture = m_.kempston.mouseCapture.load();
    if (capture != lastMouseCapture_) {
        lastMouseCapture_ = capture;
        actions.push_back(capture ? IdleAction::AcquireMouse : IdleAction::ReleaseMouse);
    }
    if (mode_.debuggerMode && minimiseRequest.exchange(0)) actions.push_back(IdleAction::Minimise);
    if (m_.runFlag.load() && !noticeVisible && m_.cpuStopped.load() && !noticeDisabled) {
        actions.push_back(IdleAction::ShowCpuStopped);
    }
    if (requests.tapeReaderPanel.exchange(0)) actions.push_back(IdleAction::ToggleTapeReader);
    if (requests.closeProgram.load()) actions.push_back(IdleAction::Close); // closing runs once
    if (requests.loadSnapshot.exchange(0)) actions.push_back(IdleAction::LoadSnapshot);
    if (requests.loadDiskImage.exchange(0)) actions.push_back(IdleAction::LoadDisk);
    if (showFps) {
        if (fps != lastFps_) {
            lastFps_ = fps;
            screenCaption_ = "Screen (FPS " + DecShort(fps) + ")";
            actions.push_back(IdleAction::SetScreenCaption);
        }
        fpsShown_ = true;
    } else if (fpsShown_) {
        fpsShown_ = false;
        lastFps_ = UINT32_MAX;
        screenCaption_ = "Screen";
        actions.push_back(IdleAction::SetScreenCaption);
    }
    return actions;
}

} // namespace vespin
