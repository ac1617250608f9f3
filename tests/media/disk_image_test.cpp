#include <gtest/gtest.h>

#include <cstring>

#include "disk_image_fixture.h"
#include "media/fdi_image.h"
#include "media/scl_image.h"
#include "media/trd_image.h"
#include "media/udi_image.h"

namespace vespin::test {
namespace {

class DiskImageTest : public ::testing::Test {
  protected:
    DiskImageTest() {
        // A previous disk whose every byte is 0x77, to see what a load leaves alone.
        for (DiskTrack& t : disk.tracks)
            t.data.fill(0x77);
    }
    bool Load(const std::string& file) { return LoadDiskImage(ctx, file, disk); }
    static int Catalogued(const TrdosImage& image) { return image.bytes[trdos_info::kFileCount]; }

    TempDir dir;
    FileSearchDirs dirs{dir.path(), dir.path()};
    DiskImageOptions options;
    RecordingDiskUi ui;
    DiskImageContext ctx{dirs, options, ui};
    DiskSurface disk;
};

TEST_F(DiskImageTest, EmptyTrdGivesSixteenEmptySectorsPerTrackInTheStandardLayout) {
    ASSERT_TRUE(Load(dir.Write("empty.trd", {})));
    EXPECT_TRUE(ui.errors.empty());
    constexpr uint8_t kOrder[] = {1, 9, 2, 10, 3, 11, 4, 12, 5, 13, 6, 14, 7, 15, 8, 16};
    for (int cylinder : {0, 45, 79}) {
        for (int side : {0, 1}) {
            const DiskTrack& t = disk.Track(cylinder, side);
            for (int i = 0; i < 16; ++i) {
                const int at = i * 378; // each sector record is 378 bytes
                // The first sector's sync is one 0x00 and two marks, the others' three marks.
                EXPECT_EQ(t.IsMarked(at + 22), i != 0);
                EXPECT_EQ(t.data[static_cast<size_t>(at + 22)], i == 0 ? 0x00 : 0xA1);
                EXPECT_TRUE(t.IsMarked(at + 23) && t.IsMarked(at + 24));
                EXPECT_FALSE(t.IsMarked(at + 25));
                const uint8_t id[] = {0xFE, static_cast<uint8_t>(cylinder), 0, kOrder[i], 1};
                EXPECT_EQ(std::memcmp(&t.data[static_cast<size_t>(at + 25)], id, 5), 0);
                EXPECT_EQ(t.data[static_cast<size_t>(at + 69)], 0xFB);
                EXPECT_EQ(t.data[static_cast<size_t>(at + 70)], 0x00);
            }
            EXPECT_EQ(t.data[6249], 0x00);
        }
    }
    EXPECT_EQ(disk.Track(80, 0).data[0], 0x77); // cylinders 80-85 keep their contents
    EXPECT_FALSE(disk.writeProtected);
}

TEST_F(DiskImageTest, SclWithThreeFilesMakesANewDisk) {
    const auto scl = MakeScl(
        {{"one     ", 'C', 3, 0x11}, {"two     ", 'B', 17, 0x22}, {"three   ", 'C', 1, 0x33}});
    TrdosImage image;
    ASSERT_EQ(AddSclPackage(scl, image, true, ui), SclResult::Loaded);
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(Catalogued(image), 3);
    EXPECT_EQ(image.FreeSectors(), 2544 - 21);
    // Files follow each other from track 1 sector 0; the next free place is 21 sectors on.
    const uint8_t starts[][2] = {{0, 1}, {3, 1}, {4, 2}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(image.Entry(i)[14], starts[i][0]);
        EXPECT_EQ(image.Entry(i)[15], starts[i][1]);
    }
    EXPECT_EQ(image.Entry(3)[0], 0);
    EXPECT_EQ(image.bytes[trdos_info::kFirstFreeSector], 5);
    EXPECT_EQ(image.bytes[trdos_info::kFirstFreeTrack], 2);
    EXPECT_EQ(image.bytes[16 * 256], 0x11);
    EXPECT_EQ(image.bytes[(16 + 3) * 256], 0x22);
    EXPECT_EQ(image.bytes[(16 + 20) * 256], 0x33);
    EXPECT_EQ(image.bytes[trdos_info::kDiskType], 0x16);
    EXPECT_EQ(image.bytes[trdos_info::kIdentification], 0x10);
    EXPECT_EQ(std::memcmp(&image.bytes[trdos_info::kLabel], "Vespin  ", 8), 0);
}

TEST_F(DiskImageTest, SclWithBadChecksumOrSignatureWarnsAndStillLoads) {
    auto scl = MakeScl({{"one     ", 'C', 2, 0x11}}, 1);
    ASSERT_TRUE(Load(dir.Write("bad.scl", scl)));
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0], (RecordingDiskUi::Message{" SCL Package Error!",
                                                      std::string(disk_text::kSclChecksum)}));
    EXPECT_EQ(disk.Track(0, 1).data[22 + 3 + 7 + 34 + 4], 0x11); // track 1, sector 1

    ui.errors.clear();
    scl = MakeScl({{"one     ", 'C', 2, 0x11}});
    scl[0] = 'X'; // the checksum no longer matches either
    TrdosImage image;
    EXPECT_EQ(AddSclPackage(scl, image, true, ui), SclResult::Loaded);
    EXPECT_EQ(ui.errors.size(), 2u);
    EXPECT_EQ(ui.errors.back().text, disk_text::kSclFormat);
    EXPECT_EQ(Catalogued(image), 1);
}

TEST_F(DiskImageTest, SclHeadersBeyondTheDataAddZeroedSectorsAndNeverOverrun) {
    auto scl = MakeScl({{"big     ", 'C', 200, 0x55}});
    scl.resize(9 + 14 + 256 + 4); // only one of the 200 sectors is in the file
    TrdosImage image;
    EXPECT_EQ(AddSclPackage(scl, image, true, ui), SclResult::Loaded);
    EXPECT_EQ(image.bytes[16 * 256], 0x55);
    EXPECT_EQ(image.bytes[17 * 256 + 10], 0x00);
    // A header cut off by the end of the file ends the package.
    TrdosImage other;
    EXPECT_EQ(AddSclPackage(std::vector<uint8_t>(scl.begin(), scl.begin() + 15), other, true, ui),
              SclResult::Loaded);
    EXPECT_EQ(Catalogued(other), 0);
}

TEST_F(DiskImageTest, SclOverflowQuestions) {
    std::vector<SclFile> many(130, SclFile{"f       ", 'C', 1, 0x01});
    const auto tooMany = dir.Write("many.scl", MakeScl(many));
    const auto tooBig =
        dir.Write("big.scl", MakeScl({{"a       ", 'C', 255, 1}, {"b       ", 'C', 255, 2}}));
    TrdosImage full;
    full.bytes[0] = 'x';
    full.SetFreeSectors(300);
    full.bytes[trdos_info::kFirstFreeTrack] = 1;

    // OK keeps what fits.
    ui.answer = true;
    TrdosImage image;
    EXPECT_EQ(LoadSclPackage(ctx, tooMany, image, true), SclResult::Loaded);
    EXPECT_EQ(Catalogued(image), 128);
    EXPECT_EQ(ui.questions.back().caption, " TR-DOS catalog overflow!");
    EXPECT_EQ(LoadSclPackage(ctx, tooBig, full, false), SclResult::Loaded);
    EXPECT_EQ(Catalogued(full), 1); // adding to a disk stops without asking
    EXPECT_EQ(ui.questions.size(), 1u);

    // Cancel leaves the drive's disk as it was.
    ui.answer = false;
    const auto before = disk.Track(0, 0).data;
    EXPECT_FALSE(Load(tooMany));
    EXPECT_FALSE(
        Load(dir.Write("huge.scl", MakeScl(std::vector<SclFile>(11, {"h       ", 'C', 255, 3})))));
    EXPECT_EQ(ui.questions.back().caption, " TR-DOS disk overflow!");
    EXPECT_EQ(ui.questions.back().text, disk_text::kNoRoom);
    EXPECT_EQ(disk.Track(0, 0).data, before);
}

TEST_F(DiskImageTest, BootPackageIsAddedOnlyToDisksWithoutBoot) {
    options.bootFileName = dir.Write("boot.scl", MakeScl({{"boot    ", 'B', 2, 0xB0}}));
    options.bootTrd = true;
    TrdosImage image;
    ASSERT_EQ(AddSclPackage(MakeScl({{"game    ", 'C', 4, 0x01}}), image, true, ui),
              SclResult::Loaded);
    ASSERT_TRUE(AddBootPackage(ctx, true, image));
    EXPECT_EQ(Catalogued(image), 2);
    EXPECT_EQ(std::memcmp(image.Entry(1).data(), "boot    B", 9), 0);
    EXPECT_EQ(image.Entry(1)[14], 4); // appended after the game's sectors
    EXPECT_EQ(image.bytes[(16 + 4) * 256], 0xB0);

    const auto withBoot = image.bytes;
    ASSERT_TRUE(AddBootPackage(ctx, true, image));
    EXPECT_EQ(image.bytes, withBoot);
    ASSERT_TRUE(AddBootPackage(ctx, false, image));

    // Through the TRD loader: the boot file lands in the catalog on the surface.
    TrdosImage plain;
    WriteNewDiskTemplate(plain);
    ASSERT_TRUE(Load(dir.Write("plain.trd", plain.bytes)));
    const DiskTrack& t0 = disk.Track(0, 0);
    EXPECT_EQ(std::memcmp(&t0.data[70], "boot    B", 9), 0); // sector 1's data
    options.bootTrd = false;
    ASSERT_TRUE(Load(dir.Write("plain.trd", plain.bytes)));
    EXPECT_EQ(disk.Track(0, 0).data[70], 0);
}

TEST_F(DiskImageTest, TrdFailures) {
    EXPECT_FALSE(Load(dir.Write("big.trd", std::vector<uint8_t>(655361))));
    EXPECT_EQ(ui.errors.back(),
              (RecordingDiskUi::Message{" Disk Image Error!", std::string(disk_text::kWrongSize)}));
    EXPECT_EQ(disk.Track(0, 0).data[0], 0x77);

    ui.errors.clear();
    for (const char* name : {"missing.trd", "missing.scl", "missing.fdi", "missing.udi"}) {
        options.noDiskImageError = true;
        EXPECT_FALSE(Load(name));
        options.noDiskImageError = false;
        EXPECT_FALSE(Load(name));
    }
    ASSERT_EQ(ui.errors.size(), 5u); // only the UDI speaks up when silenced
    EXPECT_EQ(ui.errors[0].text, disk_text::kCantOpen);
    EXPECT_EQ(ui.errors[1].text, disk_text::kSclCantOpen);
    EXPECT_EQ(ui.errors[2].text, disk_text::kCantOpen);
    EXPECT_EQ(ui.errors[3].text, disk_text::kUdiCantOpen);
    EXPECT_EQ(ui.errors[4].text, disk_text::kUdiCantOpen);
    EXPECT_FALSE(Load(dir.Write("image.dsk", {})));
    EXPECT_EQ(ui.errors.size(), 5u);
}

TEST_F(DiskImageTest, ReadOnlyFilesWriteProtect) {
    const auto trd = dir.Write("ro.trd", {});
    std::filesystem::permissions(trd, std::filesystem::perms::owner_read);
    ASSERT_TRUE(Load(trd));
    EXPECT_TRUE(disk.writeProtected);
    std::filesystem::permissions(trd, std::filesystem::perms::owner_all);
    ASSERT_TRUE(Load(trd));
    EXPECT_FALSE(disk.writeProtected);
}

TEST(DiskImageNames, ExtensionIsUpperCasedAndTrimmed) {
    EXPECT_EQ(DiskImageExtension("game.trd"), ".TRD");
    EXPECT_EQ(DiskImageExtension("a.b/Disk.Udi \t"), ".UDI");
    EXPECT_EQ(DiskImageExtension("noext"), "");
}

// An FDI file: one sector per track, numbered by cylinder, filled with (cylinder + head).
std::vector<uint8_t> MakeFdi(int cylinders, int heads, uint8_t sizeCode = 1) {
    std::vector<uint8_t> out = {'F', 'D', 'I', 0};
    const size_t length = size_t{128} << (sizeCode & 3);
    const size_t tracks = static_cast<size_t>(cylinders * heads);
    const size_t dataArea = 14 + tracks * 14;
    PutLe(out, static_cast<uint32_t>(cylinders), 2);
    PutLe(out, static_cast<uint32_t>(heads), 2);
    PutLe(out, 0, 2);
    PutLe(out, static_cast<uint32_t>(dataArea), 2);
    PutLe(out, 0, 2);
    for (size_t i = 0; i < tracks; ++i) {
        PutLe(out, static_cast<uint32_t>(i * length), 4);
        PutLe(out, 0, 2);
        out.push_back(1);
        const auto cylinder = static_cast<uint8_t>(i / static_cast<size_t>(heads));
        const auto head = static_cast<uint8_t>(i % static_cast<size_t>(heads));
        for (uint8_t b : {cylinder, head, static_cast<uint8_t>(cylinder + 1), sizeCode,
                          static_cast<uint8_t>(i == 0 ? 0x80 : 0)}) {
            out.push_back(b);
        }
        PutLe(out, 0, 2);
    }
    for (size_t i = 0; i < tracks; ++i) {
        const auto cylinder = static_cast<uint8_t>(i / static_cast<size_t>(heads));
        const auto head = static_cast<uint8_t>(i % static_cast<size_t>(heads));
        out.insert(out.end(), length, static_cast<uint8_t>(cylinder + head));
    }
    return out;
}

TEST_F(DiskImageTest, FdiFormatsItsGeometryOnly) {
    ASSERT_TRUE(Load(dir.Write("forty.fdi", MakeFdi(40, 1))));
    const DiskTrack& t = disk.Track(39, 0);
    const uint8_t id[] = {0xFE, 39, 0, 40, 1};
    EXPECT_EQ(std::memcmp(&t.data[25], id, 5), 0);
    EXPECT_EQ(t.data[69], 0xFB);
    EXPECT_EQ(t.data[70], 39);
    EXPECT_EQ(t.data[400], 0x00);               // the rest of the track is 0x00
    EXPECT_EQ(disk.Track(0, 0).data[69], 0xF8); // deleted-data flag
    EXPECT_EQ(disk.Track(40, 0).data[0], 0x77);
    EXPECT_EQ(disk.Track(0, 1).data[0], 0x77);
    EXPECT_FALSE(disk.writeProtected);

    auto protectedFdi = MakeFdi(1, 2, 3);
    protectedFdi[3] = 1;
    ASSERT_TRUE(Load(dir.Write("wp.fdi", protectedFdi)));
    EXPECT_TRUE(disk.writeProtected);
    EXPECT_EQ(disk.Track(0, 1).data[70 + 1023], 1);
}

TEST_F(DiskImageTest, FdiErrorsLeaveTheDiskAlone) {
    auto truncated = MakeFdi(2, 2);
    truncated.resize(truncated.size() - 1);
    auto tooManyCylinders = MakeFdi(1, 1);
    tooManyCylinders[4] = 87;
    auto badTable = MakeFdi(2, 2);
    badTable[14 + 2 * 14 + 7 + 5] = 0xFF; // the third track's sector lies far past the file
    badTable[14 + 2 * 14 + 7 + 6] = 0xFF;
    struct Case {
        std::vector<uint8_t> file;
        std::string_view caption, text;
    } cases[] = {
        {truncated, disk_text::kImageError, disk_text::kCantRead},
        {tooManyCylinders, disk_text::kInvalidImage, disk_text::kUnsupported},
        {{'F', 'D', 'X', 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0},
         disk_text::kInvalidImage,
         disk_text::kUnsupported},
        {{'F', 'D', 'I'}, disk_text::kImageError, disk_text::kCantRead},
        {badTable, disk_text::kImageError, disk_text::kCantRead},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(Load(dir.Write("bad.fdi", c.file)));
        EXPECT_EQ(ui.errors.back().caption, c.caption);
        EXPECT_EQ(ui.errors.back().text, c.text);
    }
    EXPECT_EQ(disk.Track(0, 0).data[0], 0x77);
}

TEST_F(DiskImageTest, FdiSectorsThatDoNotFitTheTrackAreLeftOut) {
    DiskTrack track;
    std::vector<SectorRecord> sectors(6, SectorRecord{0, 0, 1, 3, 0xFB, {}});
    EXPECT_EQ(WriteStandardTrack(track, sectors), 5); // 5 x 1146 bytes fit, a sixth does not
}

struct UdiTrack {
    uint8_t type;
    std::vector<uint8_t> bytes;
    std::vector<uint8_t> marks;
};

std::vector<uint8_t> MakeUdi(int lastCylinder, int lastSide, const std::vector<UdiTrack>& tracks) {
    std::vector<uint8_t> body;
    for (const UdiTrack& t : tracks) {
        body.push_back(t.type);
        PutLe(body, static_cast<uint32_t>(t.bytes.size()), 2);
        body.insert(body.end(), t.bytes.begin(), t.bytes.end());
        body.insert(body.end(), t.marks.begin(), t.marks.end());
    }
    std::vector<uint8_t> out = {'U', 'D', 'I', '!'};
    PutLe(out, static_cast<uint32_t>(16 + body.size()), 4); // the file length minus the CRC
    for (int b : {0, lastCylinder, lastSide, 0})
        out.push_back(static_cast<uint8_t>(b));
    PutLe(out, 0, 4);
    out.insert(out.end(), body.begin(), body.end());
    PutLe(out, 0xDEADBEEF, 4); // not checked
    return out;
}

TEST_F(DiskImageTest, UdiLongTrackIsCutAndTheFileReadOnPastIt) {
    UdiTrack longTrack{0, std::vector<uint8_t>(6400, 0x11), std::vector<uint8_t>(800, 0xFF)};
    longTrack.bytes[6249] = 0x12;
    UdiTrack shortTrack{0, std::vector<uint8_t>(100, 0x22), std::vector<uint8_t>(13, 0x01)};
    ASSERT_TRUE(Load(dir.Write("t.udi", MakeUdi(0, 1, {longTrack, shortTrack}))));
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(disk.Track(0, 0).data[6249], 0x12);
    EXPECT_TRUE(disk.Track(0, 0).IsMarked(6249));
    const DiskTrack& side1 = disk.Track(0, 1);
    EXPECT_EQ(side1.data[99], 0x22);
    EXPECT_EQ(side1.data[100], 0x00); // padded
    EXPECT_TRUE(side1.IsMarked(96));
    EXPECT_FALSE(side1.IsMarked(97));
    EXPECT_FALSE(side1.IsMarked(200));
    EXPECT_EQ(disk.Track(1, 0).data[0], 0x77);
}

TEST_F(DiskImageTest, UdiErrors) {
    const UdiTrack good{0, std::vector<uint8_t>(10, 1), std::vector<uint8_t>(2, 0)};
    const UdiTrack compressed{0xF0, std::vector<uint8_t>(10, 1), std::vector<uint8_t>(2, 0)};
    auto wrongLength = MakeUdi(0, 0, {good});
    wrongLength[4] ^= 1;
    auto cut = MakeUdi(0, 1, {good, good});
    cut.resize(cut.size() - 8);
    PutLe(cut, 0, 0);
    cut[4] = static_cast<uint8_t>(cut.size() - 4); // consistent length, missing track data
    struct Case {
        std::vector<uint8_t> file;
        std::string_view caption, text;
    } cases[] = {
        {MakeUdi(0, 1, {good, compressed}), disk_text::kImageError, disk_text::kUdiCantRead},
        {wrongLength, disk_text::kInvalidImage, disk_text::kUdiUnsupported},
        {MakeUdi(86, 0, {good}), disk_text::kInvalidImage, disk_text::kUdiUnsupported},
        {MakeUdi(0, 2, {good}), disk_text::kInvalidImage, disk_text::kUdiUnsupported},
        {cut, disk_text::kImageError, disk_text::kUdiCantRead},
        {{'U', 'D', 'I', '!'}, disk_text::kImageError, disk_text::kUdiCantRead},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(Load(dir.Write("bad.udi", c.file)));
        ASSERT_FALSE(ui.errors.empty());
        EXPECT_EQ(ui.errors.back().caption, c.caption);
        EXPECT_EQ(ui.errors.back().text, c.text);
        ui.errors.clear();
    }
    EXPECT_EQ(disk.Track(0, 0).data[0], 0x77);
}

} // namespace
} // namespace vespin::test
