#include "debugger/main_form.h"

#include <array>
#include <utility>

#include "core/reset.h"
#include "media/file_utils.h"
#include "video/screen.h"

namespace vespin {

namespace {

struct ExtensionRow {
    const char* extension; // lower case
    CommandLineFile kind;
};

constexpr std::array<ExtensionRow, 8> kExtensions{{
    {".tap", CommandLineFile::Tape},
    {".tzx", CommandLineFile::Tape},
    {".sna", CommandLineFile::Snapshot},
    {".z80", CommandLineFile::Snapshot},
    {".trd", CommandLineFile::Disk},
    {".scl", CommandLineFile::Disk},
    {".fdi", CommandLineFile::Disk},
    {".udi", CommandLineFile::Disk},
}};

// Flag labels toggle their bit of F.
constexpr std::array<std::pair<const char*, uint8_t>, 8> kFlagLabels{{
    {"CpuS", 0x80},
    {"CpuZ", 0x40},
    {"Cpu5", 0x20},
    {"CpuH", 0x10},
    {"Cpu3", 0x08},
    {"CpuP", 0x04},
    {"CpuN", 0x02},
    {"CpuC", 0x01},
}};

constexpr std::array<std::pair<const char*, EditableRegister>, 12> kRegisterLabels{{
    {"CpuPC", EditableRegister::PC},
    {"CpuSP", EditableRegister::SP},
    {"CpuIX", EditableRegister::IX},
    {"CpuIY", EditableRegister::IY},
    {"CpuHL", EditableRegister::HL},
    {"CpuDE", EditableRegister::DE},
    {"CpuBC", EditableRegister::BC},
    {"CpuAF", EditableRegister::AF},
    {"CpuLH", EditableRegister::HL_},
    {"CpuED", EditableRegister::DE_},
    {"CpuCB", EditableRegister::BC_},
    {"CpuFA", EditableRegister::AF_},
}};

} // namespace

CommandLineFile ClassifyCommandLineFile(const std::string& path) {
    const std::string extension = LowerExtension(path);
    for (const ExtensionRow& row : kExtensions) {
        if (extension == row.extension) return row.kind;
    }
    return CommandLineFile::Other;
}

TMainForm::TMainForm(MachineState& m, TDAsmF& dasm)
    : code(m), stack(m), run(m), keyboard(MatrixAccess(m.keys)), m_(m), dasm_(dasm) {
    run.refreshDebugger = [this] { RefreshDebugger(); };
    dasm_.onRefreshDebugger = [this] { RefreshDebugger(); };
}

void TMainForm::UpdateRegisterLabels() {
    labels.Update(m_.regs, run.MeterValue(), m_.frameLength);
}

void TMainForm::RefreshDebugger() {
    auto repaint = [this](RefreshStep step) {
        if (hooks.repaint) hooks.repaint(step);
    };
    run.ComputeMeter();
    code.FollowPC();
    repaint(RefreshStep::MemoryDump);
    UpdateRegisterLabels();
    RefreshToBeam(m_);
    repaint(RefreshStep::Screen);
    stack.ShowStackAtSP();
    pagingCaption = PagingLabelCaption(m_.memory.paging.PagingLatch);
    pagingHint = PagingLabelHint(m_.memory.paging.PagingLatch);
    repaint(RefreshStep::Keyboard);
    repaint(RefreshStep::Vg93);
    dasm_.FollowPC();
}

std::optional<EditableRegister> TMainForm::DoubleClickLabel(const std::string& control) {
    for (const auto& [name, bit] : kFlagLabels) {
        if (control == name) {
            m_.regs.F ^= bit;
            UpdateRegisterLabels();
            return std::nullopt;
        }
    }
    if (control == "CpuIFF1" || control == "CpuIFF2") {
        uint8_t& iff = control == "CpuIFF1" ? m_.regs.IFF1 : m_.regs.IFF2;
        iff ^= 1;
        UpdateRegisterLabels();
        return std::nullopt;
    }
    for (const auto& [name, reg] : kRegisterLabels) {
        if (control == name) return reg;
    }
    return std::nullopt;
}

void TMainForm::SetPCOnCurrentLine() {
    m_.regs.PC = code.SelectedAddress();
    RefreshDebugger();
}

void TMainForm::Reset() {
    ResetMachine(m_);
    RefreshDebugger();
}

void TMainForm::StartUp(ResetKind resetKind, int startMode, const std::string& file) {
    if (hooks.checkRoms && !hooks.checkRoms()) {
        if (hooks.close) hooks.close();
        return;
    }
    m_.resetKind = resetKind;
    ResetMachine(m_);
    stack.ShowStackAtSP();
    UpdateRegisterLabels();
    code.FillCodePanel();
    dasm_.Rebuild();
    if (hooks.reopenDisk) hooks.reopenDisk();
    if (!file.empty()) {
        OpenCommandLineFile(file);
    } else if (startMode == 1) {
        run.Run();
    }
}

void TMainForm::OpenCommandLineFile(const std::string& file) {
    switch (ClassifyCommandLineFile(file)) {
    case CommandLineFile::Tape:
        if (hooks.openTape) hooks.openTape(file);
        run.Run();
        break;
    case CommandLineFile::Snapshot:
        if (hooks.loadSnapshot) hooks.loadSnapshot(file);
        break;
    case CommandLineFile::Disk:
        if (hooks.insertDisk) hooks.insertDisk(file);
        m_.resetKind = ResetKind::Trdos128;
        ResetMachine(m_);
        run.Run();
        break;
    case CommandLineFile::Other: break; // stays stopped in the debugger
    }
}

} // namespace vespin
