// TMainForm, the main window's logic beyond its panels: refreshing every debugger view after a
// stop, the CPU panel's double-clicks, the start-up step and the file named on the command line.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/machine.h"
#include "debugger/debugger_panels.h"
#include "debugger/disassembler_window.h"
#include "debugger/onscreen_keyboard.h"
#include "debugger/register_editor.h"
#include "debugger/register_labels.h"
#include "debugger/run_control.h"

namespace vespin {

inline constexpr const char* kMainCaption = "Vespin v0.27b";

// Kinds of file the command line opens, by extension without regard to case.
enum class CommandLineFile : uint8_t { Tape, Snapshot, Disk, Other };
CommandLineFile ClassifyCommandLineFile(const std::string& path);

// The views RefreshDebugger updates beyond the main window's own panels, in its order.
enum class RefreshStep : uint8_t { MemoryDump, Screen, Keyboard, Vg93 };

// What the start-up step and the command line ask of other windows; all optional.
struct MainFormHooks {
    std::function<void(RefreshStep)> repaint;
    std::function<bool()> checkRoms;                      // the options dialog's ROM check
    std::function<void()> reopenDisk;                     // the remembered drive A image
    std::function<void(const std::string&)> openTape;     // into the tape reader
    std::function<void(const std::string&)> loadSnapshot; // runs the machine on success
    std::function<void(const std::string&)> insertDisk;   // drive A
    std::function<void()> close;                          // the main window closes
};

class TMainForm {
  public:
    TMainForm(MachineState& m, TDAsmF& dasm);

    void RefreshDebugger();
    void UpdateRegisterLabels();

    // A double-click on a CPU-panel label: flags and IFF toggle at once; a register label
    // answers the register the editor opens on.
    std::optional<EditableRegister> DoubleClickLabel(const std::string& control);
    // After the register editor closed with OK.
    void RegisterEdited() { UpdateRegisterLabels(); }
    // The code panel's popup menu.
    void ShowExecutionPoint() { code.GoToAddress(m_.regs.PC); }
    void SetPCOnCurrentLine();
    // "Reset" (F12).
    void Reset();

    // The start-up step once all windows exist; file is the first command-line argument or
    // empty. startMode is the "StartUp" setting "Mode" (1 runs the machine).
    void StartUp(ResetKind resetKind, int startMode, const std::string& file);
    void OpenCommandLineFile(const std::string& file);

    MainFormHooks hooks;
    RegisterLabels labels;
    TCodePanel code;
    TStackPanel stack;
    TRunControl run;
    TOnScreenKeyboard keyboard;
    std::string pagingCaption, pagingHint;

  private:
    MachineState& m_;
    TDAsmF& dasm_;
};

} // namespace vespin
