#include "debugger/disassembler_window.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

namespace vespin {
namespace {

class DAsmWindow : public ::testing::Test {
  protected:
    void Poke(uint16_t address, std::initializer_list<uint8_t> bytes) {
        for (uint8_t b : bytes)
            *ByteAddress(m->memory, address++) = b;
    }
    // RAM after construction is all zero: NOPs, one byte each.
    std::unique_ptr<MachineState> m = std::make_unique<MachineState>();
    TDAsmF form{*m};
};

TEST_F(DAsmWindow, GeometryFollowsHeightAndMode) {
    EXPECT_EQ(form.Resize(400), 400);
    EXPECT_EQ(form.VisibleRows(), 31);
    EXPECT_EQ(form.Resize(10), 40); // at least 45, then snapped to 12n + 4
    EXPECT_EQ(form.VisibleRows(), 1);
    EXPECT_EQ(form.Resize(5000), 4996);
    EXPECT_EQ(form.VisibleRows(), TDAsmF::kMaxRows);
    EXPECT_EQ(form.Width(), 40 + 96 + 160);
    form.SetDecimal(true);
    EXPECT_EQ(form.Width(), 48 + 128 + 160);
    form.SetCodeColumn(false);
    form.SetAddressColumn(false);
    EXPECT_EQ(form.Width(), 160);
}

TEST_F(DAsmWindow, SelectionBeyondVisibleRowsMovesToLast) {
    form.Resize(400);
    form.KeyDown({Key::End});
    EXPECT_EQ(form.Selected(), 30);
    form.Resize(100); // 6 rows
    EXPECT_EQ(form.Selected(), 5);
}

TEST_F(DAsmWindow, RowsWrapPastFFFF) {
    Poke(0xFFFE, {0x01});
    form.SetTop(0xFFFE);
    EXPECT_EQ(form.RowAddress(1), 0x0001); // LD BC,nn takes #FFFE, #FFFF, #0000
    const DAsmRowCells cells = form.RowCells(0);
    EXPECT_EQ(cells.address, "FFFE");
    EXPECT_EQ(cells.code, "01 00 00");
    EXPECT_EQ(cells.mnemonic, "LD BC,0000");
    form.SetDecimal(true);
    EXPECT_EQ(form.RowCells(0).address, "65534");
    EXPECT_EQ(form.RowCells(0).code, "001 000 000");
}

struct BackCase {
    std::initializer_list<uint8_t> before; // the bytes just before the top at #8000
    uint16_t newTop;
};

TEST_F(DAsmWindow, MovingBackOneInstruction) {
    const BackCase cases[] = {
        {{0xDD, 0x21, 0x00, 0x00}, 0x7FFC}, // a 4-byte instruction at top - 4
        {{0x00, 0xC3, 0x00, 0x00}, 0x7FFD}, // a 3-byte one at top - 3
        {{0x00, 0x00, 0x00, 0x00}, 0x7FFF}, // a 1-byte one at top - 2
        {{0x00, 0x00, 0x3E, 0x00}, 0x7FFE}, // otherwise two back
    };
    for (const BackCase& c : cases) {
        Poke(0x7FFC, c.before);
        form.SetTop(0x8000);
        form.MoveBackOneInstruction();
        EXPECT_EQ(form.Top(), c.newTop);
    }
}

TEST_F(DAsmWindow, KeysScrollAtTheEdges) {
    form.Resize(100); // 6 rows
    Poke(0x8000, {0x01, 0x00, 0x00});
    form.SetTop(0x8000);
    form.KeyDown({Key::Down, true}); // with Ctrl: scroll one instruction, selection stays
    EXPECT_EQ(form.Top(), 0x8003);
    EXPECT_EQ(form.Selected(), 0);
    for (int i = 0; i < 5; ++i)
        form.KeyDown({Key::Down});
    EXPECT_EQ(form.Selected(), 5);
    EXPECT_EQ(form.Top(), 0x8003);
    form.KeyDown({Key::Down}); // on the last row
    EXPECT_EQ(form.Top(), 0x8004);
    form.KeyDown({Key::PageDown});
    EXPECT_EQ(form.Top(), 0x8009);
    form.KeyDown({Key::Home, true});
    EXPECT_EQ(form.Top(), 0);
    EXPECT_EQ(form.Selected(), 0);
    form.Wheel(false); // on the first row: one byte back
    EXPECT_EQ(form.Top(), 0xFFFF);
    form.KeyDown({Key::End, true});
    EXPECT_EQ(form.Top(), 0xFFFA); // six NOPs back from 0
    EXPECT_EQ(form.Selected(), 5);
    form.Scroll(ScrollAction::Position, 0x1234);
    EXPECT_EQ(form.Top(), 0x1234);
    form.Scroll(ScrollAction::Bottom);
    EXPECT_EQ(form.Top(), 0xFFFF);
}

TEST_F(DAsmWindow, JumpImmediate) {
    form.Resize(100);
    Poke(0x8000, {0x18, 0x02, 0x00, 0x00, 0xC3, 0x00, 0x90, 0xFF, 0x18, 0xFE});
    form.SetTop(0x8000);
    form.KeyDown({Key::Enter}); // JR to a visible row: selected
    EXPECT_EQ(form.Selected(), 3);
    EXPECT_EQ(form.SelectedAddress(), 0x8004);
    form.JumpImmediate(); // JP #9000: not shown, becomes the top
    EXPECT_EQ(form.Top(), 0x9000);
    EXPECT_EQ(form.Selected(), 0);
    form.SetTop(0x8007);
    form.JumpImmediate(); // RST 38
    EXPECT_EQ(form.Top(), 0x0038);
    form.SetTop(0x8008);
    form.JumpImmediate(); // JR to itself: nothing
    EXPECT_EQ(form.Top(), 0x8008);
    form.SetTop(0x8002);
    form.JumpImmediate(); // NOP: nothing
    EXPECT_EQ(form.Top(), 0x8002);
}

TEST_F(DAsmWindow, FollowPC) {
    form.Resize(100);
    Poke(0x8000, {0x01, 0x00, 0x00});
    form.SetTop(0x8000);
    m->regs.PC = 0x8004;
    form.FollowPC();
    EXPECT_EQ(form.Selected(), 2);
    EXPECT_TRUE(form.RowCells(2).bold);
    m->regs.PC = 0x8001; // inside the first instruction: selection stays
    form.FollowPC();
    EXPECT_EQ(form.Top(), 0x8000);
    EXPECT_EQ(form.Selected(), 2);
    m->regs.PC = 0x9000;
    form.FollowPC();
    EXPECT_EQ(form.Top(), 0x9000);
    EXPECT_EQ(form.Selected(), 0);
    bool refreshed = false;
    form.onRefreshDebugger = [&] { refreshed = true; };
    form.KeyDown({Key::Down});
    form.SetPCOnCurrentLine();
    EXPECT_EQ(m->regs.PC, 0x9001);
    EXPECT_TRUE(refreshed);
}

TEST_F(DAsmWindow, Settings) {
    DAsmSettings s;
    s.x = 5000;
    s.y = 10;
    s.viewMode = 1;
    s.viewCode = false;
    s.height = 200;
    const WindowPosition p = form.ApplySettings(s, 1024, 768);
    EXPECT_EQ(p.x, 20);
    EXPECT_EQ(p.y, 10);
    EXPECT_TRUE(form.Decimal());
    EXPECT_EQ(form.Width(), 48 + 160);
    const DAsmSettings back = form.Settings(true, p);
    EXPECT_EQ(back.height, 196);
    EXPECT_EQ(back.viewMode, 1);
    EXPECT_FALSE(back.viewCode);
}

} // namespace
} // namespace vespin
