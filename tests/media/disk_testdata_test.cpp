// The shared disk images, read back through the controller.
#include <gtest/gtest.h>

#include "disk_image_fixture.h"
#include "media/trd_image.h"
#include "support/testdata.h"
#include "vg93_fixture.h"

namespace vespin::test {
namespace {

class DiskTestData : public ::testing::Test {
  protected:
    bool Load(const std::filesystem::path& file) {
        return LoadDiskImage(ctx, file.string(), fdc.beta.disk);
    }

    // Reads one 256-byte sector through the controller, one command per sector.
    std::vector<uint8_t> ReadSector(int cylinder, int side, int sector) {
        if (fdc.beta.vg93.head != cylinder) fdc.Seek(static_cast<uint8_t>(cylinder));
        fdc.System(side ? 0x2C : 0x3C);
        fdc.Out(Vg93Register::Sector, static_cast<uint8_t>(sector));
        fdc.Command(0x80);
        auto bytes = fdc.Serve();
        EXPECT_EQ(fdc.Status() & 0x1C, 0) << cylinder << "/" << side << "/" << sector;
        return bytes;
    }

    std::vector<uint8_t> TrdSector(const std::vector<uint8_t>& trd, int cylinder, int side,
                                   int sector) {
        const auto at = static_cast<ptrdiff_t>(((cylinder * 2 + side) * 16 + sector - 1) * 256);
        return {trd.begin() + at, trd.begin() + at + 256};
    }

    FileSearchDirs dirs;
    DiskImageOptions options;
    RecordingDiskUi ui;
    DiskImageContext ctx{dirs, options, ui};
    Vg93Bench fdc;
};

// The generated disk in four formats holds the same sectors; the files live on cylinders 0-1.
TEST_F(DiskTestData, GeneratedDiskReadsAlikeInEveryFormat) {
    const auto trdPath = TestDataPath("disks/generated/testdisk.trd");
    VESPIN_REQUIRE_TESTDATA(trdPath);
    const auto trd = ReadTestFile(trdPath);
    for (const char* name : {"testdisk.trd", "testdisk.fdi", "testdisk.udi", "testdisk.scl"}) {
        SCOPED_TRACE(name);
        const auto path = TestDataPath(std::string("disks/generated/") + name);
        VESPIN_REQUIRE_TESTDATA(path);
        ASSERT_TRUE(Load(path));
        EXPECT_TRUE(ui.errors.empty());
        const bool scl = std::string_view(name).ends_with(".scl");
        fdc.Seek(0);
        for (int cylinder = 0; cylinder < 3; ++cylinder) {
            for (int side = 0; side < 2; ++side) {
                for (int sector = 1; sector <= 16; ++sector) {
                    // An SCL package carries no disk label: compare the catalog entries only.
                    auto want = TrdSector(trd, cylinder, side, sector);
                    auto got = ReadSector(cylinder, side, sector);
                    if (scl && cylinder == 0 && side == 0 && sector == 9) continue;
                    EXPECT_EQ(got, want) << cylinder << "/" << side << "/" << sector;
                }
            }
        }
    }
}

TEST_F(DiskTestData, RealDisksLoadOrAreRejectedAsTheirFormatSays) {
    struct Case {
        const char* file;
        bool loads;
        int cylinders; // how far the image reaches
    } cases[] = {
        {"EyeAche.trd", true, 80},       {"z80bltst.trd", true, 80},
        {"insult.scl", true, 80},        {"VORON1.FDI", true, 81},
        {"beta128-empty.udi", true, 86}, {"success-uncompressed.udi", true, 80},
        {"success.udi", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const auto path = TestDataPath(std::string("disks/real/") + c.file);
        VESPIN_REQUIRE_TESTDATA(path);
        for (DiskTrack& t : fdc.beta.disk.tracks)
            t.data.fill(0x77);
        ui.errors.clear();
        EXPECT_EQ(Load(path), c.loads);
        if (!c.loads) {
            ASSERT_EQ(ui.errors.size(), 1u);
            EXPECT_EQ(ui.errors[0].text, disk_text::kUdiCantRead); // compressed track type
            continue;
        }
        EXPECT_TRUE(ui.errors.empty());
        EXPECT_NE(fdc.beta.disk.Track(c.cylinders - 1, 0).data[0], 0x77);
        if (c.cylinders < 86) {
            EXPECT_EQ(fdc.beta.disk.Track(c.cylinders, 0).data[0], 0x77);
        }
        // Sector 9 of track 0 holds the TR-DOS identification on every TR-DOS disk.
        if (std::string_view(c.file) != "VORON1.FDI") {
            fdc.Seek(0);
            EXPECT_EQ(ReadSector(0, 0, 9)[0xE7], 0x10);
        }
    }
}

} // namespace
} // namespace vespin::test
