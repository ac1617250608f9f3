#include "debugger/debugger_settings.h"

#include <gtest/gtest.h>

#include "config/memory_settings_store.h"
#include "debugger/goto_form.h"

namespace vespin {
namespace {

TEST(DebuggerSettings, WindowGroupsRoundTrip) {
    MemorySettingsStore store;
    DAsmSettings dasm;
    dasm.enabled = true;
    dasm.x = 300;
    dasm.viewMode = 1;
    dasm.viewCode = false;
    WriteDAsmSettings(store, dasm);
    DAsmSettings back;
    ReadDAsmSettings(store, back);
    EXPECT_TRUE(back.enabled);
    EXPECT_EQ(back.x, 300);
    EXPECT_EQ(back.viewMode, 1);
    EXPECT_FALSE(back.viewCode);

    MemoryDumpSettings dump;
    dump.viewMode = 4;
    dump.width = 500;
    WriteMemoryDumpSettings(store, dump);
    MemoryDumpSettings dumpBack;
    ReadMemoryDumpSettings(store, dumpBack);
    EXPECT_EQ(dumpBack.viewMode, 4);
    EXPECT_EQ(dumpBack.width, 500);

    WriteStoppedCpuDisabled(store, true);
    EXPECT_TRUE(ReadStoppedCpuDisabled(store));
}

TEST(DebuggerSettings, MistypedValueGivesTheGroupItsDefaults) {
    MemorySettingsStore store;
    store.OpenKey("Environment\\Memory Dump Panel", true);
    store.WriteInteger("X Position", 400);
    store.WriteString("Y Position", "oops");
    MemoryDumpSettings s;
    s.x = 1;
    ReadMemoryDumpSettings(store, s);
    EXPECT_EQ(s.x, MemoryDumpSettings{}.x);
    store.OpenKey("Environment\\Disassembler Panel", true);
    store.WriteInteger("View Mode", 7); // outside 0..1
    DAsmSettings d;
    d.height = 1;
    ReadDAsmSettings(store, d);
    EXPECT_EQ(d.height, DAsmSettings{}.height);
}

TEST(DebuggerSettings, GotoHistory) {
    MemorySettingsStore store;
    EXPECT_TRUE(ReadGotoHistory(store).empty());
    const std::vector<std::string> history{"pc", "#4000", "hl+2"};
    WriteGotoHistory(store, history);
    EXPECT_EQ(ReadGotoHistory(store), history);
}

} // namespace
} // namespace vespin
