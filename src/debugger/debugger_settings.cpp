#include "debugger/debugger_settings.h"

#include <array>

#include "config/settings_group.h"
#include "debugger/goto_form.h"

namespace vespin {

namespace {

constexpr std::array<SettingField<DAsmSettings>, 7> kDAsmFields{{
    {"Enabled", &DAsmSettings::enabled},
    {"X Position", &DAsmSettings::x},
    {"Y Position", &DAsmSettings::y},
    {"View Addr", &DAsmSettings::viewAddr},
    {"View Code", &DAsmSettings::viewCode},
    {"View Mode", &DAsmSettings::viewMode, 0, 1},
    {"Height", &DAsmSettings::height},
}};
constexpr SettingGroup<DAsmSettings> kDAsmGroup{"Environment\\Disassembler Panel", kDAsmFields};

constexpr std::array<SettingField<MemoryDumpSettings>, 7> kMemoryDumpFields{{
    {"Enabled", &MemoryDumpSettings::enabled},
    {"X Position", &MemoryDumpSettings::x},
    {"Y Position", &MemoryDumpSettings::y},
    {"Status Bar", &MemoryDumpSettings::statusBar},
    {"View Mode", &MemoryDumpSettings::viewMode, 0, 5},
    {"Width", &MemoryDumpSettings::width},
    {"Height", &MemoryDumpSettings::height},
}};
constexpr SettingGroup<MemoryDumpSettings> kMemoryDumpGroup{"Environment\\Memory Dump Panel",
                                                            kMemoryDumpFields};

constexpr const char* kEnvironmentKey = "Environment\\";
constexpr const char* kGotoKey = "Environment\\GotoAddress";

} // namespace

void ReadDAsmSettings(SettingsStore& store, DAsmSettings& s) {
    ReadSettingGroup(store, kDAsmGroup, s, DAsmSettings{});
}
void WriteDAsmSettings(SettingsStore& store, const DAsmSettings& s) {
    WriteSettingGroup(store, kDAsmGroup, s);
}
void ReadMemoryDumpSettings(SettingsStore& store, MemoryDumpSettings& s) {
    ReadSettingGroup(store, kMemoryDumpGroup, s, MemoryDumpSettings{});
}
void WriteMemoryDumpSettings(SettingsStore& store, const MemoryDumpSettings& s) {
    WriteSettingGroup(store, kMemoryDumpGroup, s);
}

bool ReadStoppedCpuDisabled(SettingsStore& store) {
    store.OpenKey(kEnvironmentKey, true);
    return store.ReadBool("Disable StoppedCPU").value_or(false);
}
void WriteStoppedCpuDisabled(SettingsStore& store, bool disabled) {
    store.OpenKey(kEnvironmentKey, true);
    store.WriteBool("Disable StoppedCPU", disabled);
}

std::vector<std::string> ReadGotoHistory(SettingsStore& store) {
    std::vector<std::string> history;
    if (!store.OpenKey(kGotoKey, false)) return history;
    for (size_t i = 0; i < TGoToAddressForm::kHistorySize; ++i) {
        std::string entry = store.ReadString("Hist" + std::to_string(i));
        if (entry.empty()) break;
        history.push_back(std::move(entry));
    }
    return history;
}
void WriteGotoHistory(SettingsStore& store, const std::vector<std::string>& history) {
    store.OpenKey(kGotoKey, true);
    for (size_t i = 0; i < history.size(); ++i) {
        store.WriteString("Hist" + std::to_string(i), history[i]);
    }
}

} // namespace vespin
