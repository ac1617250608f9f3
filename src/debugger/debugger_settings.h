// The debugger windows' groups in the settings store: each window reads its group when it is
// created and writes it back when it is destroyed.
#pragma once

#include <string>
#include <vector>

#include "config/settings_store.h"
#include "debugger/disassembler_window.h"
#include "debugger/memory_dump.h"

namespace vespin {

void ReadDAsmSettings(SettingsStore& store, DAsmSettings& s);
void WriteDAsmSettings(SettingsStore& store, const DAsmSettings& s);
void ReadMemoryDumpSettings(SettingsStore& store, MemoryDumpSettings& s);
void WriteMemoryDumpSettings(SettingsStore& store, const MemoryDumpSettings& s);

// "Disable StoppedCPU" under "Environment\": the stopped-CPU notice's "Don't show" box.
bool ReadStoppedCpuDisabled(SettingsStore& store);
void WriteStoppedCpuDisabled(SettingsStore& store, bool disabled);

// The go-to history: "Hist0", "Hist1", ... under "Environment\GotoAddress", read until one is
// missing.
std::vector<std::string> ReadGotoHistory(SettingsStore& store);
void WriteGotoHistory(SettingsStore& store, const std::vector<std::string>& history);

} // namespace vespin
