#include <gtest/gtest.h>

#include <fstream>

#include "media/load_snapshot_form.h"

namespace vespin {
namespace {

namespace fs = std::filesystem;

TEST(LoadSnapForm, InspectsTheFileTheLocationNames) {
    const fs::path dir = fs::temp_directory_path() / "vespin_snapform";
    fs::create_directories(dir);
    auto make = [&](const std::string& name, size_t size) {
        std::ofstream(dir / name, std::ios::binary) << std::string(size, '\0');
        return (dir / name).string();
    };
    struct Case {
        std::string location;
        InfoLabel size, format, version;
        bool loadable;
    };
    const Case cases[] = {
        {"", {}, {}, {}, false},
        {(dir / "none.sna").string(), {"Not found", true}, {}, {}, false},
        {make("a.sna", 49179), {"49179", false}, {"SNA", false}, {"48k", false}, true},
        {make("b.Sna", 131103), {"131103", false}, {"SNA", false}, {"128k", false}, true},
        {make("c.SNA", 147487), {"147487", false}, {"SNA", false}, {"128k", false}, true},
        {make("d.sna", 49180), {"49180", false}, {"SNA", false}, {"Unknown", true}, false},
        {make("e.z80", 12), {"12", false}, {"Z80", false}, {}, true},
        {make("f.tap", 12), {}, {"Unknown", true}, {}, false},
        {make("noext", 12), {}, {"Unknown", true}, {}, false},
    };
    TLoadSnapForm form;
    for (const Case& c : cases) {
        form.SetLocation(c.location);
        EXPECT_EQ(form.SizeLabel(), c.size) << c.location;
        EXPECT_EQ(form.FormatLabel(), c.format) << c.location;
        EXPECT_EQ(form.VersionLabel(), c.version) << c.location;
        EXPECT_EQ(form.LoadButtonsEnabled(), c.loadable) << c.location;
    }
    fs::remove_all(dir);
}

TEST(LoadSnapForm, RunChoiceAndSettings) {
    TLoadSnapForm form;
    EXPECT_FALSE(form.LoadButtonsEnabled());
    form.LoadDebugClicked();
    EXPECT_FALSE(form.RunChoice());
    form.LoadRunClicked();
    EXPECT_TRUE(form.RunChoice());

    LoadSnapshotSettings s;
    s.location = "games/x.z80";
    s.xPosition = 1900; // beyond a 1920-wide desktop minus 40
    s.yPosition = 1000; // inside a 1080-high desktop minus 50
    form.ReadSettings(s, 1920, 1080);
    EXPECT_EQ(form.X(), 20);
    EXPECT_EQ(form.Y(), 1000);
    form.FileChosen("/home/u/games/y.sna");
    const auto out = form.WriteSettings();
    EXPECT_EQ(out.location, "/home/u/games/y.sna");
    EXPECT_EQ(out.fileName, "y.sna");
    EXPECT_EQ(out.defaultDir, "/home/u/games");
    EXPECT_EQ(out.xPosition, 20);
}

} // namespace
} // namespace vespin
