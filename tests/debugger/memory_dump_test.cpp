#include "debugger/memory_dump.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

#include "debugger/find_form.h"
#include "debugger/goto_form.h"

namespace vespin {
namespace {

class MemoryDump : public ::testing::Test {
  protected:
    MemoryDump() {
        m->memory.paging.RomWritable = 1;
        // Bytes view, 16 columns, 8 rows, with the status bar.
        dump.SetClientSize(58 + 16 * 20, 22 + 8 * 12);
    }
    void Poke(uint16_t address, std::initializer_list<uint8_t> bytes) {
        for (uint8_t b : bytes)
            WriteByte(*m, address++, b);
    }
    std::unique_ptr<MachineState> m = std::make_unique<MachineState>();
    TMemoryDumpForm dump{*m};
};

TEST_F(MemoryDump, Geometry) {
    EXPECT_EQ(dump.Columns(), 16);
    EXPECT_EQ(dump.Rows(), 8);
    EXPECT_EQ(dump.ScrollBarSteps().small, 16);
    EXPECT_EQ(dump.ScrollBarSteps().large, 128);
    EXPECT_FALSE(dump.SnapWindowSize(79, 200).has_value());
    EXPECT_FALSE(dump.SnapWindowSize(200, 59).has_value());
    EXPECT_EQ(dump.SnapWindowSize(395, 250)->width, 390);
    EXPECT_EQ(dump.SnapWindowSize(395, 250)->height, 240);
    EXPECT_EQ(dump.SetView(DumpView::Words), 16 * 18 + 69);
    dump.SetClientSize(58 + 8 * 36, 22 + 8 * 12);
    EXPECT_EQ(dump.Columns(), 8);
    EXPECT_EQ(dump.ScrollBarSteps().large, 128);            // doubled in the Words view
    EXPECT_EQ(dump.SetView(DumpView::Bytes), 16 * 20 + 69); // columns doubled after Words
    EXPECT_EQ(dump.ToggleStatusBar(), 8 * 12 + 30);
    dump.SetView(DumpView::BigPixels);
    dump.SetClientSize(80, 60); // too narrow for one cell: still one column
    EXPECT_EQ(dump.Columns(), 1);
    EXPECT_TRUE(dump.KeyDown({Key::Down}));
}

struct KeyCase {
    KeyPress key;
    uint16_t top, cursor;
};

// From top #1000, cursor #1011 (row 1, column 1); 16 columns, 8 rows.
TEST_F(MemoryDump, Keys) {
    const KeyCase cases[] = {
        {{Key::PageUp}, 0x0F80, 0x0F91},   {{Key::PageUp, true}, 0x1000, 0x1001},
        {{Key::PageDown}, 0x1080, 0x1091}, {{Key::PageDown, true}, 0x1000, 0x1071},
        {{Key::End}, 0x1000, 0x101F},      {{Key::End, true}, 0xFF80, 0xFFFF},
        {{Key::Home}, 0x1000, 0x1010},     {{Key::Home, true}, 0x0000, 0x0000},
        {{Key::Left}, 0x1000, 0x1010},     {{Key::Left, true}, 0x0FFF, 0x1010},
        {{Key::Up}, 0x1000, 0x1001},       {{Key::Up, true}, 0x0FF0, 0x1001},
        {{Key::Right}, 0x1000, 0x1012},    {{Key::Down, true}, 0x1010, 0x1021},
    };
    for (const KeyCase& c : cases) {
        dump.GoToAddress(0x1000);
        dump.KeyDown({Key::Down});
        dump.KeyDown({Key::Right});
        dump.KeyDown(c.key);
        EXPECT_EQ(dump.Top(), c.top) << int(c.key.key) << c.key.ctrl;
        EXPECT_EQ(dump.Cursor(), c.cursor) << int(c.key.key) << c.key.ctrl;
        EXPECT_EQ(dump.Anchor(), dump.Cursor());
    }
    EXPECT_FALSE(dump.KeyDown({Key::Enter}));
}

TEST_F(MemoryDump, KeysScrollAtTheEdges) {
    dump.GoToAddress(0x1000);
    dump.KeyDown({Key::Left}); // at the top-left cell: scrolls a row back
    EXPECT_EQ(dump.Top(), 0x0FF0);
    EXPECT_EQ(dump.Cursor(), 0x0FFF);
    dump.GoToAddress(0x1000);
    dump.KeyDown({Key::Up});
    EXPECT_EQ(dump.Top(), 0x0FF0);
    dump.GoToAddress(0x1000);
    dump.KeyDown({Key::End, true}); // to the last cell of the address space
    dump.GoToAddress(0x1000);
    for (int i = 0; i < 7; ++i)
        dump.KeyDown({Key::Down});
    dump.KeyDown({Key::End});
    dump.KeyDown({Key::Right}); // last cell of the last row
    EXPECT_EQ(dump.Top(), 0x1010);
    EXPECT_EQ(dump.Cursor(), 0x1080);
    dump.KeyDown({Key::Down});
    EXPECT_EQ(dump.Top(), 0x1020);
    dump.GoToAddress(0);
    dump.Wheel(false); // as Ctrl+Up
    EXPECT_EQ(dump.Top(), 0xFFF0);
}

TEST_F(MemoryDump, BlockStatusAndCopy) {
    Poke(0x8000, {0x41, 0x00, 0xFF});
    dump.GoToAddress(0x8000);
    EXPECT_EQ(dump.StatusText(), "Byte (8000=32768)=41=065=01000001='A'");
    EXPECT_EQ(dump.CopyText(), "41"); // no block: the cursor's byte
    dump.KeyDown({Key::Right, false, true});
    dump.KeyDown({Key::Right, false, true});
    EXPECT_EQ(dump.StatusText(), "Block: S=8000=32768, E=8002=32770, L=0003=00003");
    EXPECT_EQ(dump.CopyText(), "41 00 FF");
    EXPECT_TRUE(dump.InBlock(0x8001));
    EXPECT_FALSE(dump.InBlock(0x8003));
    dump.KeyDown({Key::Left, false, true});
    dump.KeyDown({Key::Left, false, true});
    dump.KeyDown({Key::Left, false, true}); // the cursor crosses the anchor
    EXPECT_EQ(dump.StatusText(), "Block: S=7FFF=32767, E=8000=32768, L=0002=00002");
    EXPECT_EQ(dump.CopyText(), "00 41");
}

TEST_F(MemoryDump, WordsViewCountsWords) {
    Poke(0x8000, {0x01, 0x02, 0x03, 0x04});
    dump.SetView(DumpView::Words);
    dump.SetClientSize(58 + 8 * 36, 22 + 8 * 12);
    dump.GoToAddress(0x8000);
    dump.KeyDown({Key::Right});
    EXPECT_EQ(dump.Cursor(), 0x8001);
    EXPECT_EQ(dump.StatusText(), "Word (8002=32770)=0403=01027=0000010000000011");
    EXPECT_EQ(dump.CellText(0, 1), "0403");
    EXPECT_EQ(dump.RowAddressText(1), "8010");
}

TEST_F(MemoryDump, Mouse) {
    dump.GoToAddress(0x4000);
    dump.MouseDown(39 + 20 * 3 + 5, 1 + 12 * 2 + 3); // row 2, column 3
    EXPECT_EQ(dump.Cursor(), 0x4023);
    dump.MouseMove(39 + 20 * 5, 1 + 12 * 2);
    EXPECT_EQ(dump.Cursor(), 0x4025);
    EXPECT_EQ(dump.Anchor(), 0x4023);
    dump.MouseUp();
    dump.MouseMove(39, 1);
    EXPECT_EQ(dump.Cursor(), 0x4025);
    EXPECT_TRUE(dump.DoubleClick(20));
    EXPECT_FALSE(dump.DoubleClick(40));
    dump.SetView(DumpView::Complex);
    dump.SetClientSize(58 + 8 * 32, 22 + 8 * 12);
    dump.MouseDown(45 + 20 * 8 + 12 * 6 + 1, 1); // the character cell of column 6
    EXPECT_EQ(dump.Cursor(), 0x4006);
    dump.SetView(DumpView::SmallPixels);
    dump.SetClientSize(58 + 8 * 48, 22 + 8 * 12);
    EXPECT_EQ(dump.DisplayRows(), 16);
    dump.MouseDown(39 + 48 * 2, 1 + 6 * 3); // row 3 of 6 pixels, column 2
    EXPECT_EQ(dump.Cursor(), 0x4000 + 3 * 8 + 2);
    EXPECT_EQ(dump.RowAddressText(1), "");
}

TEST_F(MemoryDump, SearchLimits) {
    const std::vector<uint8_t> pattern{0xE5, 0x5E};
    // Entire scope forward: #0000 to #FFFE; the end #FFFF is never examined.
    Poke(0xFFFF, {0xE5});
    Poke(0x0000, {0x5E});
    EXPECT_FALSE(dump.StartSearch(pattern, false, true));
    EXPECT_EQ(dump.Top(), 0); // nothing changed
    // Backward: #FFFF down to #0001, so the same bytes are found, crossing #FFFF.
    EXPECT_TRUE(dump.StartSearch(pattern, false, false));
    EXPECT_EQ(dump.Top(), 0xFFFF);
    EXPECT_EQ(dump.Cursor(), 0xFFFF);
    EXPECT_EQ(dump.Anchor(), 0x0000);
    Poke(0x0000, {0xE5, 0x5E});
    Poke(0xFFFF, {0x00});
    EXPECT_FALSE(dump.StartSearch(pattern, false, false)); // #0000 is the end
    EXPECT_TRUE(dump.StartSearch(pattern, false, true));
    EXPECT_EQ(dump.Cursor(), 0x0000);
}

TEST_F(MemoryDump, FindNextContinues) {
    TMemoryDumpForm fresh{*m};
    Poke(0x4000, {0x00});
    fresh.GoToAddress(0x8000);
    EXPECT_FALSE(fresh.FindNext()); // before any search: examines nothing
    EXPECT_EQ(fresh.Top(), 0x8000);
    Poke(0x9000, {0xAB});
    Poke(0x9010, {0xAB});
    Poke(0x8000, {0xAB});
    EXPECT_TRUE(fresh.StartSearch({0xAB}, true, true)); // from the cursor, which is examined
    EXPECT_EQ(fresh.Cursor(), 0x8000);
    EXPECT_TRUE(fresh.FindNext());
    EXPECT_EQ(fresh.Cursor(), 0x9000);
    EXPECT_TRUE(fresh.FindNext());
    EXPECT_EQ(fresh.Cursor(), 0x9010);
    EXPECT_TRUE(fresh.StartSearch({0xAB}, true, false)); // from the cursor, backward
    EXPECT_EQ(fresh.Cursor(), 0x9010);
}

TEST_F(MemoryDump, Settings) {
    MemoryDumpSettings s;
    s.enabled = true;
    s.viewMode = 9; // out of range: the last view
    s.statusBar = false;
    s.y = 2000;
    const WindowPosition p = dump.ApplySettings(s, 1024, 768);
    EXPECT_EQ(p.y, 20);
    EXPECT_EQ(dump.View(), DumpView::SmallPixels);
    EXPECT_TRUE(dump.shownByUser);
    const MemoryDumpSettings back = dump.Settings(true, p, {400, 300});
    EXPECT_EQ(back.viewMode, 5);
    EXPECT_FALSE(back.statusBar);
    EXPECT_EQ(back.width, 400);
}

struct PatternCase {
    const char* text;
    std::vector<uint8_t> bytes; // empty: an error
};

TEST(FindPattern, Parsing) {
    Z80RegisterSet regs;
    regs.SetHL(0x1234);
    const PatternCase cases[] = {
        {"#ff \"AB\" 1234", {0xFF, 0x41, 0x42, 0xD2, 0x04}},
        {"\"a\"\"b\"", {'a', '"', 'b'}},
        {"\"a b\"", {'a', ' ', 'b'}},
        {"  hl  65536 ", {0x34, 0x12, 0x00, 0x00, 0x01, 0x00}},
        {"-1", {0xFF}},
        {"ff", {}},
        {"\"ab", {}},
        {"\"ab\"c", {}},
        {"", {}},
        {"   ", {}},
        {"\"\"", {}},
    };
    for (const PatternCase& c : cases) {
        std::vector<uint8_t> bytes;
        EXPECT_EQ(ParseFindPattern(c.text, regs, bytes), !c.bytes.empty()) << c.text;
        if (!c.bytes.empty()) {
            EXPECT_EQ(bytes, c.bytes) << c.text;
        }
    }
}

TEST(FindPattern, DialogHint) {
    Z80RegisterSet regs;
    TFindForm form(regs);
    form.SetPatternText("#ff 1234");
    EXPECT_TRUE(form.FindEnabled());
    EXPECT_EQ(form.Hint(), " #FF #D2 #04 ");
    form.SetPatternText("ff");
    EXPECT_FALSE(form.FindEnabled());
    EXPECT_TRUE(form.HintRed());
    EXPECT_EQ(form.Hint(), " Error!");
    form.SetPatternText("\"" + std::string(25, 'x') + "\"");
    EXPECT_EQ(form.Hint().size(), 1 + 20 * 4u); // only the first 20 bytes are listed
    form.SetPatternText("\"" + std::string(101, 'x') + "\"");
    EXPECT_FALSE(form.FindEnabled()); // longer than the dialog's 100 bytes
}

TEST(GoToAddress, EvaluatesAndKeepsHistory) {
    Z80RegisterSet regs;
    regs.PC = 0x8000;
    TGoToAddressForm form(regs);
    form.Show();
    EXPECT_FALSE(form.GoToEnabled()); // an empty text is an error
    EXPECT_EQ(form.Hint(), "Error!");
    EXPECT_TRUE(form.Yellow());
    EXPECT_FALSE(form.GoTo());
    form.SetText("pc+#10000+1");
    EXPECT_TRUE(form.GoToEnabled());
    EXPECT_EQ(form.Address(), 0x8001); // low 16 bits
    EXPECT_EQ(form.Hint(), "#8001");
    EXPECT_TRUE(form.GoTo());
    for (int i = 0; i < 10; ++i) {
        form.SetText(std::to_string(i));
        form.GoTo();
    }
    ASSERT_EQ(form.History().size(), 10u); // the eleventh entry is dropped
    EXPECT_EQ(form.History().front(), "9");
    EXPECT_EQ(form.History().back(), "0");
    form.ChooseHistory(4); // "5" moves to the top
    EXPECT_TRUE(form.GoTo());
    EXPECT_EQ(form.History()[0], "5");
    EXPECT_EQ(form.History()[1], "9");
    EXPECT_EQ(form.History().size(), 10u);
    form.Show();
    EXPECT_EQ(form.Text(), "5");
    EXPECT_EQ(form.Address(), 5);
}

} // namespace
} // namespace vespin
