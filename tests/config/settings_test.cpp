#include <gtest/gtest.h>

#include <functional>

#include "config/machine_settings.h"
#include "config/memory_settings_store.h"
#include "config/settings.h"

namespace vespin {
namespace {

// Values that differ from every default, so a group falling back shows.
OptionsSettings CustomOptions() {
    OptionsSettings o;
    o.borderPreset = 3;
    o.rom48File = "a.rom:1";
    o.rom48Path = "/roms";
    o.rom128File = "b.rom";
    o.rom128Path = "/r128";
    o.romDosFile = "c.rom:3";
    o.romDosPath = "/dos";
    o.joystickMask = 0x00FF;
    o.joystickBits = 0x0037;
    o.joystickEnabled = false;
    o.mouseEnabled = o.mouseSwapButtons = o.mouseWheel = o.mouseWheelInvert = true;
    o.dosPortAccess = true;
    o.trdosEnabled = false;
    o.bootFileName = "boot.$B";
    o.bootScl = false;
    o.bootTrd = true;
    o.noDiskImageError = true;
    o.keyboardMask = 0x8001;
    o.keyboardBits = 0x7FFE;
    o.keyboardEnabled = false;
    o.memoryModel = 5;
    o.startReset = 3;
    o.startMode = 1;
    o.attributePort = false;
    o.attributeAllUnused = true;
    o.speakerVolume = 3;
    o.tapeInVolume = 2;
    o.tapeOutVolume = 1;
    o.synchDelay = 150;
    return o;
}

TEST(Settings, EmptyStoreGivesEveryDefaultAndCreatesTheKeys) {
    MemorySettingsStore store;
    const OptionsSettings options = ReadOptionsSettings(store);
    EXPECT_EQ(options, OptionsSettings{});
    EXPECT_EQ(options.borderPreset, 1);
    EXPECT_EQ(options.rom48File, "Pentagon.Rom:1");
    EXPECT_EQ(options.rom128File, "Pentagon.Rom:0");
    EXPECT_EQ(options.romDosFile, "Pentagon.Rom:2");

    const MachineFileSettings machine = ReadMachineFileSettings(store);
    EXPECT_EQ(machine.tactsPerInt, 71680);
    EXPECT_EQ(machine.modelName, "Pentagon 48k");

    const ScreenPanelSettings screen = ReadScreenPanelSettings(store, {120, 80});
    EXPECT_EQ(screen, (ScreenPanelSettings{.position = {120, 80}}));
    EXPECT_TRUE(screen.showFps && screen.doubleSize && screen.directMemory && screen.interlaced);
    EXPECT_EQ(screen.flashFrequency, 10);

    for (const char* key : {"Hardware\\Keyboard", "Model\\Timing", "RomFiles\\RomDOS",
                            "Environment\\ScreenPanel\\BorderSize", "StartUp"})
        EXPECT_TRUE(store.Tree().contains(key)) << key;
}

TEST(Settings, EveryGroupSurvivesAWriteAndReadBack) {
    MemorySettingsStore store;
    const OptionsSettings options = CustomOptions();
    WriteOptionsSettings(store, options);
    EXPECT_EQ(ReadOptionsSettings(store), options);

    const MachineFileSettings machine{"a.trd", "/disks", "x.sna", "/snaps", "Scorpion",
                                      69888,   "m.bin",  "/mem",  "#8000"};
    WriteMachineFileSettings(store, machine);
    const MachineFileSettings back = ReadMachineFileSettings(store);
    EXPECT_EQ(std::tie(back.diskAFileName, back.diskDefaultPath, back.snapshotFileName,
                       back.snapshotDefaultPath, back.modelName, back.tactsPerInt,
                       back.memoryFileName, back.memoryDefaultPath, back.memoryDefaultAddr),
              std::tie(machine.diskAFileName, machine.diskDefaultPath, machine.snapshotFileName,
                       machine.snapshotDefaultPath, machine.modelName, machine.tactsPerInt,
                       machine.memoryFileName, machine.memoryDefaultPath,
                       machine.memoryDefaultAddr));

    const ScreenPanelSettings screen{false, false, false, false, false, true, 2, {300, 200}, 4};
    WriteScreenPanelSettings(store, screen);
    EXPECT_EQ(ReadScreenPanelSettings(store, {0, 0}), screen);
    WriteWindowPosition(store, "Environment\\MainForm", {-5, 7});
    EXPECT_EQ(ReadWindowPosition(store, "Environment\\MainForm", {1, 1}), (WindowPosition{-5, 7}));
}

struct BadValue {
    const char* key;
    const char* name;
    std::variant<int32_t, std::string> value;
    std::function<void(OptionsSettings&)> fallBack; // what the read must change
};

TEST(Settings, AMistypedValueResetsExactlyItsGroup) {
    const OptionsSettings defaults;
    const std::vector<BadValue> cases = {
        {"Hardware\\Keyboard", "Port Bits", std::string("254"),
         [&](OptionsSettings& o) {
             o.keyboardMask = defaults.keyboardMask;
             o.keyboardBits = defaults.keyboardBits;
             o.keyboardEnabled = defaults.keyboardEnabled;
         }},
        {"Hardware\\Kempston Joystick", "Enabled", std::string("yes"),
         [&](OptionsSettings& o) {
             o.joystickMask = defaults.joystickMask;
             o.joystickBits = defaults.joystickBits;
             o.joystickEnabled = defaults.joystickEnabled;
         }},
        {"Hardware\\Memory", "Model", 6, [&](OptionsSettings& o) { o.memoryModel = 0; }},
        {"Hardware\\Volume", "TapeOut", 9,
         [&](OptionsSettings& o) {
             o.speakerVolume = 8;
             o.tapeInVolume = 7;
             o.tapeOutVolume = 6;
         }},
        {"Hardware\\Volume", "SynchDelay", -1, [&](OptionsSettings& o) { o.synchDelay = 0; }},
        // The TR-DOS key holds two groups; the boot group falls back without the other.
        {"Hardware\\TR-DOS", "Boot SCL", std::string("1"),
         [&](OptionsSettings& o) {
             o.dosPortAccess = false;
             o.trdosEnabled = true;
             o.bootFileName.clear();
             o.bootScl = true;
             o.bootTrd = false;
         }},
        {"StartUp", "Mode", 2,
         [&](OptionsSettings& o) {
             o.startReset = 2;
             o.startMode = 0;
         }},
        {"Environment\\ScreenPanel\\BorderSize", "Preset", -1,
         [&](OptionsSettings& o) { o.borderPreset = 1; }},
        // Strings never fail: a number where a string belongs reads as empty.
        {"RomFiles\\Rom48k", "File Name", 7,
         [&](OptionsSettings& o) { o.rom48File = "Pentagon.Rom:1"; }},
    };
    for (const BadValue& c : cases) {
        MemorySettingsStore store;
        WriteOptionsSettings(store, CustomOptions());
        store.OpenKey(c.key, true);
        if (const auto* text = std::get_if<std::string>(&c.value))
            store.WriteString(c.name, *text);
        else
            store.WriteInteger(c.name, std::get<int32_t>(c.value));
        OptionsSettings expected = CustomOptions();
        c.fallBack(expected);
        EXPECT_EQ(ReadOptionsSettings(store), expected) << c.key << " / " << c.name;
    }
}

TEST(Settings, AFailedMouseReadKeepsTheCurrentStateFromThatValueOn) {
    MemorySettingsStore store;
    store.OpenKey("Hardware\\Kempston Mouse", true);
    store.WriteBool("Enabled", true);
    store.WriteBool("Swap Buttons", false);
    store.WriteString("Wheel Support", "on");
    store.WriteBool("Wheel Direction", false);
    OptionsSettings current;
    current.mouseEnabled = false;
    current.mouseSwapButtons = true;
    current.mouseWheel = true;
    current.mouseWheelInvert = true;
    const OptionsSettings read = ReadOptionsSettings(store, current);
    EXPECT_TRUE(read.mouseEnabled);      // read before the failure
    EXPECT_FALSE(read.mouseSwapButtons); // read before the failure
    EXPECT_TRUE(read.mouseWheel);        // kept
    EXPECT_TRUE(read.mouseWheelInvert);  // kept, although stored valid
}

TEST(Settings, StoredValuesThatNeverComeBack) {
    MemorySettingsStore store;
    ScreenPanelSettings screen;
    screen.useDirectDraw = true;
    WriteScreenPanelSettings(store, screen);
    store.OpenKey(kScreenPanelKey, false);
    EXPECT_EQ(store.ReadBool("Use DirectDraw"), true);
    EXPECT_FALSE(ReadScreenPanelSettings(store, {}).useDirectDraw);

    // Empty strings with a default come back as the default.
    MachineFileSettings machine;
    machine.modelName.clear();
    WriteMachineFileSettings(store, machine);
    EXPECT_EQ(ReadMachineFileSettings(store).modelName, "Pentagon 48k");
    OptionsSettings options;
    options.romDosFile.clear();
    WriteOptionsSettings(store, options);
    EXPECT_EQ(ReadOptionsSettings(store).romDosFile, "Pentagon.Rom:2");

    // A frame length the clock cannot run with is mistyped.
    store.OpenKey("Model\\Timing", true);
    store.WriteInteger("Tackts per Int", 0);
    EXPECT_EQ(ReadMachineFileSettings(store).tactsPerInt, 71680);
}

TEST(Settings, WindowsBeyondTheDesktopArePulledBack) {
    struct Case {
        WindowPosition saved, expected;
    };
    for (const Case& c :
         {Case{{100, 100}, {100, 100}}, Case{{984, 718}, {984, 718}}, Case{{985, 100}, {20, 100}},
          Case{{100, 719}, {100, 20}}, Case{{5000, 5000}, {20, 20}}})
        EXPECT_EQ(PullOntoDesktop(c.saved, 1024, 768), c.expected) << c.saved.x << "," << c.saved.y;
}

TEST(Settings, SavedBorderPresetsAreSortedSubKeys) {
    MemorySettingsStore store;
    WriteOptionsSettings(store, {});
    WriteBorderPreset(store, "Wide", {"60", "60", "40", "40"});
    WriteBorderPreset(store, "Narrow", {"8", "8", "4", "4"});
    EXPECT_EQ(ReadBorderPresetNames(store), (std::vector<std::string>{"Narrow", "Wide"}));
    EXPECT_EQ(ReadBorderPreset(store, "Wide").upper, "40");
    DeleteBorderPreset(store, "Narrow");
    EXPECT_EQ(ReadBorderPresetNames(store), (std::vector<std::string>{"Wide"}));
    EXPECT_EQ(ReadOptionsSettings(store).borderPreset, 1); // the preset value itself stays
}

TEST(Settings, AStoredSetUpReachesTheMachine) {
    MemorySettingsStore store;
    OptionsSettings options = CustomOptions();
    WriteOptionsSettings(store, options);
    MachineFileSettings files;
    files.tactsPerInt = 69888;
    WriteMachineFileSettings(store, files);
    ScreenPanelSettings screen;
    screen.grayPalette = true;
    screen.flashFrequency = 16;
    WriteScreenPanelSettings(store, screen);

    auto m = std::make_unique<MachineState>();
    const StoredSettings stored = ApplyStoredSettings(*m, store);
    EXPECT_EQ(stored.options, options);
    EXPECT_EQ(m->frameLength, 69888);
    EXPECT_EQ(m->memory.model, MemoryModel::Scorpion1024);
    EXPECT_FALSE(m->memory.trdosEnabled);
    EXPECT_FALSE(m->options.dosPortAccess); // no DOS ports without the interface
    EXPECT_FALSE(m->options.keyboard.enabled);
    EXPECT_EQ(m->options.kempstonJoystick.mask, 0x00FF);
    EXPECT_TRUE(m->options.kempstonMouse);
    EXPECT_FALSE(m->options.attributePort);
    EXPECT_FALSE(m->options.attributeAllUnused); // only with the attribute port
    EXPECT_EQ(m->resetKind, ResetKind::Trdos128);
    EXPECT_EQ(m->sound.speakerBit, 0x04);
    EXPECT_EQ(m->sound.synchDelay, 150);
    EXPECT_TRUE(m->screen.grayPalette);
    EXPECT_EQ(m->screen.flashFrequency, 16);
    EXPECT_EQ(RomSettingsOf(stored.options).trdos, "c.rom:3");
}

TEST(MemorySettingsStore, KeysFormATree) {
    MemorySettingsStore store;
    store.OpenKey("A\\B", true);
    store.WriteInteger("n", 1);
    store.OpenKey("\\A\\B C\\", true); // sorts between "A\B" and "A\B\..."
    store.OpenKey("A\\B\\D\\E", true);
    store.WriteString("s", "x");

    EXPECT_TRUE(store.OpenKey("A", false)); // exists through its children
    EXPECT_EQ(store.GetKeyNames(), (std::vector<std::string>{"B", "B C"}));
    EXPECT_FALSE(store.OpenKey("Z", false));
    store.OpenKey("A\\B", false);
    EXPECT_EQ(store.GetKeyNames(), (std::vector<std::string>{"D"}));
    EXPECT_EQ(store.ReadBool("n"), true);
    EXPECT_EQ(store.ReadString("n"), "");
    EXPECT_EQ(store.ReadInteger("missing"), std::nullopt);

    store.DeleteKey("A\\B");
    EXPECT_FALSE(store.OpenKey("A\\B", false));
    EXPECT_FALSE(store.OpenKey("A\\B\\D\\E", false));
    EXPECT_TRUE(store.OpenKey("A\\B C", false));
    EXPECT_FALSE(store.HasSubKeys());
}

} // namespace
} // namespace vespin
