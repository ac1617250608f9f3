// Arbitrary bytes as a settings file: parsing must never crash, every group must read from
// whatever was parsed, and what the store writes back must parse again to the same tree.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "config/settings.h"
#include "platform/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vespin;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto tree = ParseSettingsToml(text, nullptr);
    if (!tree) return 0;
    MemorySettingsStore store(std::move(*tree));
    const OptionsSettings options = ReadOptionsSettings(store);
    const ScreenPanelSettings screen = ReadScreenPanelSettings(store, {});
    const MachineFileSettings machine = ReadMachineFileSettings(store);
    for (const std::string& name : ReadBorderPresetNames(store))
        ReadBorderPreset(store, name);
    WriteOptionsSettings(store, options);
    WriteScreenPanelSettings(store, screen);
    WriteMachineFileSettings(store, machine);

    const auto again = ParseSettingsToml(FormatSettingsToml(store.Tree()), nullptr);
    if (!again || *again != store.Tree()) std::abort();
    return 0;
}
