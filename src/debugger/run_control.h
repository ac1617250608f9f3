// Run control: the Debug menu's commands that start, step and stop the machine, the switch
// between debugger mode (machine stopped, panels and tool windows shown) and emulator mode
// (the emulation thread runs), the T-state meter, and the main window's idle-time handling of
// requests raised by other threads.
//
// Everything here runs on the user-interface thread. The emulation thread shares only the
// machine's atomics (runFlag, threadRunning, cpuStopped, the frame counter) and the end
// notice; registers and memory are touched here only while no thread runs.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/emul_thread.h"
#include "core/machine.h"
#include "input/window_requests.h"

namespace vespin {

// Which commands and views the current mode allows.
struct DebuggerModeState {
    bool debuggerMode = false;
    // Enabled in debugger mode only.
    bool run = false, traceInto = false, stepOver = false, runToCursor = false;
    bool runUntilReturn = false, runToNextLine = false, reset = false;
    bool options = false, saveSnapshot48 = false, saveSnapshot128 = false;
    bool beta128Panel = false, memoryPanel = false;
    bool panelsVisible = false; // CPU, code and stack panels
    // Enabled in emulator mode only.
    bool debugger = false;
    // Tool windows: the View menu's marks, and whether each is on screen now.
    bool dasmMarked = false, memoryMarked = false, vg93Marked = false;
    bool dasmShown = false, memoryShown = false, vg93Shown = false;
    bool screenRunning = false; // what the screen window is told about the machine
};

// What one pass of the idle handling asks the windows to do, in order.
enum class IdleAction : uint8_t {
    SwitchFullScreen,
    HideCursor, // display count driven to exactly -1
    ShowCursor, // display count exactly 0
    AcquireMouse,
    ReleaseMouse,
    Minimise,
    ShowCpuStopped, // leave full screen, then the notice, modally
    ToggleTapeReader,
    Close,
    LoadSnapshot,
    LoadDisk,
    SetScreenCaption, // to ScreenCaption()
    FocusScreen,
    ActivateKeys,
    DeactivateKeys,
};

// The tool windows of the View menu that debugger mode shows again.
enum class ToolWindow : uint8_t { Disassembler, MemoryDump, Vg93 };

inline constexpr const char* kDiskDialogTitle = " Select Disk Image File for Loading";
inline constexpr const char* kDiskDialogFilter =
    "All Supported Files|*.Trd; *.Scl; *.Fdi; *.Udi|TR-DOS Disk Image Files (*.Trd)|*.Trd|"
    "SCL File Packages (*.Scl)|*.Scl|FDI Disk Image Files (*.Fdi)|*.Fdi|"
    "UDI Ultra Disk Image Files (*.Udi)|*.Udi";
inline constexpr const char* kDiskDialogExtension = "Trd";

// The dialogs of "Load &Snapshot..." and "Load &Disk Image...": each answers the chosen file,
// or nothing on cancel, and the loader takes it.
struct FileCommandHooks {
    std::function<void()> leaveFullScreen;
    std::function<std::optional<std::string>()> dialog;
    std::function<void(const std::string&)> load;
};

class TRunControl {
  public:
    // The Step Over table: instructions run until the following address; anything else
    // is traced. Answers false for a traced instruction.
    static bool StepOverStop(uint8_t op, uint8_t next, uint16_t pc, uint16_t& stop);

    explicit TRunControl(MachineState& m) : m_(m) { EnterDebuggerMode(); }
    ~TRunControl();
    TRunControl(const TRunControl&) = delete;
    TRunControl& operator=(const TRunControl&) = delete;

    // Window hooks, all optional.
    std::function<void()> refreshDebugger; // the main window's RefreshDebugger
    std::function<void()> focusScreen;     // the screen window takes the focus
    std::function<void()> notifyUi;        // on the emulation thread: queue ProcessEnd on the UI
    std::function<void()> activateKeys, deactivateKeys; // the key thread
    std::function<void()> acquireMouse, releaseMouse;   // under the capture's own conditions
    std::function<int()> activeWindow;                  // remembered by the run commands
    std::function<void(int)> activateWindow;            // ... and activated again at the stop

    // Commands.
    void Run();
    void TraceInto();
    void StepOver();
    void RunToCursor(uint16_t selectedRowAddress);
    void RunUntilReturn();
    void RunToNextLine(uint16_t nextLineAddress);
    void Debugger();
    void Minimize();
    // Clears runFlag and waits until the thread has ended and debugger mode is back.
    void StopAndWait();

    // "Load &Snapshot..." (F3): the machine stops for the dialog and runs again after a cancel
    // when it ran before. "Load &Disk Image..." (F2): the dialog leaves the machine running.
    void LoadSnapshot(const FileCommandHooks& hooks);
    void LoadDiskImage(const FileCommandHooks& hooks);

    enum class CpuStoppedChoice : uint8_t { Debugger, Reset, Reanimate };
    void CpuStopped(CpuStoppedChoice choice);

    // On the UI thread when the thread has signalled its end (or from a test): finishes the
    // run. WaitForEnd blocks until the thread ends by itself (a stop address was reached).
    void ProcessEnd();
    void WaitForEnd();
    bool Running() const { return thread_ != nullptr; }

    void EnterDebuggerMode();
    void LeaveDebuggerMode();
    void SetViewMarks(bool dasm, bool memory, bool vg93);
    // A View menu toggle: shows a hidden window and hides a shown one, and marks the entry.
    void ToggleView(ToolWindow w);
    // The user closed the window: its entry loses the mark, debugger mode no longer shows it.
    void ToolWindowClosed(ToolWindow w);
    const DebuggerModeState& Mode() const { return mode_; }

    // The T-state meter.
    void MarkMeter();
    void ComputeMeter();
    uint32_t MeterValue() const { return meterValue_; }

    // One pass of the idle handling. notice is the stopped-CPU window's state.
    std::vector<IdleAction> Idle(bool noticeVisible, bool noticeDisabled, bool showFps,
                                 uint32_t fps);
    const std::string& ScreenCaption() const { return screenCaption_; }
    // What the key thread asks of the windows (it holds a reference); the mouse flags are the
    // machine's Kempston state.
    WindowRequests requests;
    std::atomic<uint8_t> minimiseRequest{0};
    // The application became active or inactive.
    std::vector<IdleAction> Activated() const;
    static std::vector<IdleAction> Deactivated();

  private:
    std::pair<bool&, bool&> ViewFlags(ToolWindow w);
    void RunTo(bool enabled, uint16_t stop, bool takeFocus);
    void StartEmulation();

    MachineState& m_;
    std::unique_ptr<TEmulThread> thread_;
    std::atomic<uint8_t> ended_{0};
    DebuggerModeState mode_;
    uint32_t meterFrames_ = 0, meterTStates_ = 0, meterValue_ = 0;
    // The flags the idle handling last acted on.
    uint8_t lastMouseAcquired_ = 0, lastMouseCapture_ = 0;
    uint32_t lastFps_ = UINT32_MAX;
    bool fpsShown_ = false;
    std::string screenCaption_ = "Screen";
    int savedActiveWindow_ = -1;
};

} // namespace vespin
