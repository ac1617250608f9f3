#include "debugger/register_editor.h"

#include <gtest/gtest.h>

namespace vespin {
namespace {

TEST(RegisterEditor, EditsEachRegister) {
    for (int i = 0; i < 12; ++i) {
        const auto r = static_cast<EditableRegister>(i);
        Z80RegisterSet regs;
        WriteRegister(regs, r, 0x1234);
        TRegEditF form(regs);
        form.OpenRegisterEditor(r);
        EXPECT_EQ(form.Caption(), std::string("Register editor - ") + RegisterName(r));
        EXPECT_EQ(form.Text(), "#1234");
        EXPECT_EQ(form.Hint(), "#1234");
        form.SetText("#BEEF");
        ASSERT_TRUE(form.Ok());
        EXPECT_EQ(ReadRegister(regs, r), 0xBEEF) << RegisterName(r);
        Z80RegisterSet untouched;
        WriteRegister(untouched, r, 0xBEEF);
        EXPECT_EQ(regs.AF(), untouched.AF()) << RegisterName(r); // nothing else changed
        EXPECT_EQ(regs.HL_, untouched.HL_) << RegisterName(r);
    }
}

TEST(RegisterEditor, ValuesAndErrors) {
    Z80RegisterSet regs;
    regs.SetHL(0x4000);
    TRegEditF form(regs);
    form.OpenRegisterEditor(EditableRegister::HL);
    EXPECT_TRUE(form.Ok()); // OK without typing writes the same value back
    EXPECT_EQ(regs.HL(), 0x4000);
    form.SetText("hl+1");
    EXPECT_EQ(form.Hint(), "#4001");
    form.SetText("65536+7"); // low 16 bits
    form.Ok();
    EXPECT_EQ(regs.HL(), 7);
    form.SetText("-1");
    form.Ok();
    EXPECT_EQ(regs.HL(), 0xFFFF);
    form.SetText("1+");
    EXPECT_FALSE(form.OkEnabled());
    EXPECT_TRUE(form.Yellow());
    EXPECT_EQ(form.Hint(), "Error!");
    EXPECT_FALSE(form.Ok());
    EXPECT_EQ(regs.HL(), 0xFFFF);
}

TEST(CpuStoppedNotice, ShownOnlyWhenDue) {
    TCPUStoppedF notice;
    EXPECT_TRUE(notice.Due(true, true));
    EXPECT_FALSE(notice.Due(false, true));
    EXPECT_FALSE(notice.Due(true, false));
    notice.visible = true;
    EXPECT_FALSE(notice.Due(true, true));
    notice.visible = false;
    notice.dontShow = true;
    EXPECT_FALSE(notice.Due(true, true));
}

} // namespace
} // namespace vespin
