#include "debugger/debugger_panels.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

#include "debugger/register_labels.h"

namespace vespin {
namespace {

TEST(RegisterLabels, ChangedValuesAreBoldUntilUnchanged) {
    RegisterLabels labels;
    Z80RegisterSet regs;
    regs.SetAF(0x0000);
    regs.SP = 0;
    regs.PC = 0;
    labels.Update(regs, 0, 71680);
    EXPECT_EQ(labels.Find("CpuPC")->text, "PC 0000"); // 0 at start: template, not bold
    EXPECT_FALSE(labels.Find("CpuPC")->highlighted);
    EXPECT_EQ(labels.Find("CpuTackts")->text, "T=000000");

    regs.PC = 0xBEEF;
    regs.F = 0x41; // Z and C
    regs.AF_ = 0x1234;
    regs.T = 1234;
    regs.IM = 2;
    regs.R = 0x05;
    regs.R7 = 0x80;
    labels.Update(regs, 1234, 71680);
    const struct {
        const char* control;
        const char* text;
        bool bold;
    } expected[] = {
        {"CpuPC", "PC BEEF", true},  {"CpuAF", "AF 0041", true},
        {"CpuFA", "AF'1234", true},  {"CpuTackts", "T=1234", true},
        {"CpuIM", "IM=2", true},     {"CpuR", "R 85", true},
        {"CpuZ", "Z=1", true},       {"CpuC", "C=1", true},
        {"CpuS", "S=0", false},      {"TacktsMeter", "TM=1234", true},
        {"CpuSP", "SP 0000", false},
    };
    for (const auto& e : expected) {
        const RegisterLabel* label = labels.Find(e.control);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text, e.text) << e.control;
        EXPECT_EQ(label->highlighted, e.bold) << e.control;
    }
    regs.F = 0x40; // only C changes
    labels.Update(regs, 1234, 71680);
    EXPECT_FALSE(labels.Find("CpuPC")->highlighted);
    EXPECT_FALSE(labels.Find("CpuZ")->highlighted);
    EXPECT_TRUE(labels.Find("CpuC")->highlighted);
    EXPECT_EQ(labels.Find("CpuC")->text, "C=0");
}

TEST(RegisterLabels, MeterText) {
    constexpr uint32_t tps = 71680 * 50;
    EXPECT_EQ(MeterText(1234, tps), "1234");
    EXPECT_EQ(MeterText(tps - 1, tps), "3583999");
    EXPECT_EQ(MeterText(tps, tps), "1.000s");
    EXPECT_EQ(MeterText(tps * 60, tps), "1m000s");
    EXPECT_EQ(MeterText(tps * 61 + tps / 2, tps), "1m1.500s");
    EXPECT_EQ(MeterText(tps * 65 + tps / 4, tps), "1m5.250s");
    EXPECT_EQ(MeterText(tps * 125 + tps / 4, tps), "2m5.250s");
    EXPECT_EQ(MeterText(tps * 75 + tps / 4, tps), "1m15.25s"); // the third digit is dropped
    EXPECT_EQ(MeterText(4294967295u, tps), "19m58.37s");       // never more than nine
}

class Panels : public ::testing::Test {
  protected:
    void Poke(uint16_t address, std::initializer_list<uint8_t> bytes) {
        for (uint8_t b : bytes)
            *ByteAddress(m->memory, address++) = b;
    }
    std::unique_ptr<MachineState> m = std::make_unique<MachineState>();
};

TEST_F(Panels, CodePanelFollowsPC) {
    Poke(0x8000, {0x01, 0x00, 0x00}); // LD BC,0 then NOPs
    TCodePanel panel(*m);
    panel.GoToAddress(0x8000);
    EXPECT_EQ(panel.LineAddress(1), 0x8003);
    EXPECT_EQ(panel.LineAddress(16), 0x8012);
    EXPECT_EQ(panel.Line(0).substr(0, 27), "8000 01 00 00    LD BC,0000");
    m->regs.PC = 0x8005;
    panel.FollowPC();
    EXPECT_EQ(panel.Selected(), 3);
    EXPECT_TRUE(panel.Bold(3));
    m->regs.PC = 0x8001; // inside the LD: unchanged
    panel.FollowPC();
    EXPECT_EQ(panel.Selected(), 3);
    EXPECT_EQ(panel.ScrollPosition(), 0x8000);
    m->regs.PC = 0x9000;
    panel.FollowPC();
    EXPECT_EQ(panel.ScrollPosition(), 0x9000);
    EXPECT_EQ(panel.Selected(), 0);
}

TEST_F(Panels, CodePanelScrolling) {
    Poke(0x8000, {0x01, 0x00, 0x00});
    TCodePanel panel(*m);
    panel.GoToAddress(0x8000);
    panel.Scroll(0x8001); // top + 1: one instruction down
    EXPECT_EQ(panel.ScrollPosition(), 0x8003);
    panel.GoToAddress(0x8000);
    panel.Scroll(0x8010); // top + 16: one page down
    EXPECT_EQ(panel.ScrollPosition(), 0x8012);
    panel.Scroll(0x7000);
    EXPECT_EQ(panel.ScrollPosition(), 0x7000);
    panel.GoToAddress(0x8000);
    panel.KeyDown(Key::Up); // first line: one byte back
    EXPECT_EQ(panel.ScrollPosition(), 0x7FFF);
    panel.KeyDown(Key::PageUp);
    EXPECT_EQ(panel.ScrollPosition(), 0x7FEF);
    panel.GoToAddress(0x8000);
    panel.KeyDown(Key::PageDown);
    EXPECT_EQ(panel.ScrollPosition(), 0x8012);
    panel.GoToAddress(0x8000);
    for (int i = 0; i < 15; ++i)
        panel.KeyDown(Key::Down);
    EXPECT_EQ(panel.Selected(), 15);
    panel.Wheel(true); // last line: one instruction on
    EXPECT_EQ(panel.ScrollPosition(), 0x8003);
    EXPECT_EQ(panel.Selected(), 15);
}

TEST_F(Panels, StackPanelStaysAlignedWithSP) {
    Poke(0x7FF3, {0x34, 0x12});
    m->regs.SP = 0x7FF3;
    TStackPanel stack(*m);
    stack.ShowStackAtSP();
    EXPECT_EQ(stack.Position(), 0x7FE9);
    EXPECT_EQ(stack.Selected(), 5);
    EXPECT_TRUE(stack.Bold(5));
    EXPECT_EQ(stack.AddressText(5), "7FF3");
    EXPECT_EQ(stack.ValueText(5), "1234");
    stack.Scroll(0x7FEC); // even: moved on to stay odd like SP
    EXPECT_EQ(stack.Position(), 0x7FED);
    stack.Scroll(0x7FEB);
    EXPECT_EQ(stack.Position(), 0x7FEB);
    m->regs.SP = 0x0004;
    stack.ShowStackAtSP();
    EXPECT_EQ(stack.Position(), 0xFFFA);
}

TEST(PagingLabel, CaptionAndHint) {
    EXPECT_EQ(PagingLabelCaption(0x10), "00010000");
    EXPECT_EQ(PagingLabelHint(0x00),
              "Page RAM0 mapped\nScreen in RAM5 (#4000)\nBasic 128k ROM mapped");
    EXPECT_EQ(PagingLabelHint(0x3F), "Page RAM7 mapped\nScreen in RAM7 (#C000)\nBasic 48k ROM "
                                     "mapped\n48k Mode Locked");
}

} // namespace
} // namespace vespin
