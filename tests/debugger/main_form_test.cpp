#include "debugger/main_form.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace vespin {
namespace {

TEST(CommandLine, ClassifiedByExtensionWithoutCase) {
    const struct {
        const char* path;
        CommandLineFile kind;
    } cases[] = {
        {"game.tap", CommandLineFile::Tape},     {"GAME.TzX", CommandLineFile::Tape},
        {"snap.z80", CommandLineFile::Snapshot}, {"a/b/SNAP.SNA", CommandLineFile::Snapshot},
        {"disk.trd", CommandLineFile::Disk},     {"disk.Scl", CommandLineFile::Disk},
        {"disk.fdi", CommandLineFile::Disk},     {"disk.UDI", CommandLineFile::Disk},
        {"notes.txt", CommandLineFile::Other},   {"dir.tap/readme", CommandLineFile::Other},
        {"tap", CommandLineFile::Other},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClassifyCommandLineFile(c.path), c.kind) << c.path;
}

class MainForm : public ::testing::Test {
  protected:
    MainForm() {
        form.hooks.repaint = [this](RefreshStep s) { steps.push_back(s); };
        form.hooks.insertDisk = [this](const std::string& f) { opened = f; };
        form.hooks.openTape = [this](const std::string& f) { opened = f; };
        form.hooks.loadSnapshot = [this](const std::string& f) { opened = f; };
        form.hooks.close = [this] { closed = true; };
    }
    ~MainForm() override { form.run.StopAndWait(); }
    std::unique_ptr<MachineState> m = std::make_unique<MachineState>();
    TDAsmF dasm{*m};
    TMainForm form{*m, dasm};
    std::vector<RefreshStep> steps;
    std::string opened;
    bool closed = false;
};

TEST_F(MainForm, RefreshDebuggerUpdatesEveryView) {
    *ByteAddress(m->memory, 0x9000) = 0x3E; // LD A,n
    m->regs.PC = 0x9000;
    m->regs.SP = 0x8001;
    m->memory.paging.PagingLatch = 0x17;
    form.RefreshDebugger();
    EXPECT_EQ(steps, (std::vector<RefreshStep>{RefreshStep::MemoryDump, RefreshStep::Screen,
                                               RefreshStep::Keyboard, RefreshStep::Vg93}));
    EXPECT_EQ(form.code.ScrollPosition(), 0x9000);
    EXPECT_EQ(form.code.Line(0).substr(17, 7), "LD A,00");
    EXPECT_EQ(dasm.Top(), 0x9000);
    EXPECT_EQ(form.labels.Find("CpuPC")->text, "PC 9000");
    EXPECT_EQ(form.stack.Position(), 0x7FF7);
    EXPECT_EQ(form.pagingCaption, "00010111");
}

TEST_F(MainForm, DoubleClicksOnTheCpuPanel) {
    m->regs.F = 0x00;
    EXPECT_FALSE(form.DoubleClickLabel("CpuZ").has_value());
    EXPECT_EQ(m->regs.F, 0x40);
    EXPECT_EQ(form.labels.Find("CpuZ")->text, "Z=1");
    form.DoubleClickLabel("CpuIFF2");
    EXPECT_EQ(m->regs.IFF2, 1);
    EXPECT_EQ(form.DoubleClickLabel("CpuLH"), EditableRegister::HL_);
    EXPECT_EQ(form.DoubleClickLabel("CpuPC"), EditableRegister::PC);
    EXPECT_FALSE(form.DoubleClickLabel("CpuTackts").has_value());
}

TEST_F(MainForm, OnScreenKeyboardPressesTheMachinesKeys) {
    constexpr int kEnter = 29;
    form.keyboard.LeftDown(17 * 9 + 2, 17 * 2 + 2);
    EXPECT_TRUE(IsKeyDown(m->keys, kEnter));
    EXPECT_EQ(ReadHalfRows(m->keys, 0xBFFE) & 0x01, 0); // ENTER reads 0 on its half-row
    PressKey(m->keys, kEnter);                          // also held by a host key
    form.keyboard.LeftDown(17 * 9 + 2, 17 * 2 + 2);
    EXPECT_FALSE(IsKeyDown(m->keys, kEnter));
}

TEST_F(MainForm, CodePanelPopup) {
    m->regs.PC = 0x8000;
    form.ShowExecutionPoint();
    form.code.KeyDown(Key::Down);
    form.code.KeyDown(Key::Down);
    form.SetPCOnCurrentLine();
    EXPECT_EQ(m->regs.PC, 0x8002);
    EXPECT_EQ(form.labels.Find("CpuPC")->text, "PC 8002");
    EXPECT_EQ(form.code.Selected(), 2); // refreshed: PC is on a shown line
    EXPECT_EQ(steps.size(), 4u);
}

TEST_F(MainForm, StartUpWithAnUnknownFileStaysInTheDebugger) {
    form.StartUp(ResetKind::Mode48, 1, "readme.txt");
    EXPECT_FALSE(form.run.Running());
    EXPECT_TRUE(form.run.Mode().debuggerMode);
    EXPECT_TRUE(opened.empty());
}

TEST_F(MainForm, StartUpRunsInEmulatorStartMode) {
    form.StartUp(ResetKind::Mode48, 1, "");
    EXPECT_TRUE(form.run.Running());
    form.run.Debugger();
    form.run.WaitForEnd();
    EXPECT_TRUE(form.run.Mode().debuggerMode);
    form.StartUp(ResetKind::Mode48, 0, "");
    EXPECT_FALSE(form.run.Running());
}

TEST_F(MainForm, StartUpOpensTheCommandLineFile) {
    form.StartUp(ResetKind::Mode48, 0, "game.TRD");
    EXPECT_EQ(opened, "game.TRD");
    EXPECT_EQ(m->resetKind, ResetKind::Trdos128);
    EXPECT_TRUE(form.run.Running());
    form.run.StopAndWait();
    opened.clear();
    form.StartUp(ResetKind::Mode48, 0, "snap.z80");
    EXPECT_EQ(opened, "snap.z80");
    EXPECT_FALSE(form.run.Running()); // the snapshot loader starts the run on success
}

TEST_F(MainForm, StartUpEndsWhenTheRomsAreRefused) {
    form.hooks.checkRoms = [] { return false; };
    m->regs.PC = 0x1234;
    form.StartUp(ResetKind::Mode48, 1, "game.tap");
    EXPECT_TRUE(closed);
    EXPECT_EQ(m->regs.PC, 0x1234); // no reset
    EXPECT_FALSE(form.run.Running());
}

} // namespace
} // namespace vespin
