#include <gtest/gtest.h>

#include <fstream>

#include "core/machine.h"
#include "media/sna.h"
#include "media/snapshot.h"
#include "snapshot_fixtures.h"
#include "support/testdata.h"

namespace vespin {
namespace {

namespace fs = std::filesystem;
using test::CopyOf;
using test::RecordingMessages;

TEST(SnapshotExtension, LastDotOfTheLastComponentUpperCasedAndTrimmed) {
    const std::pair<const char*, const char*> cases[] = {
        {"game.sna", ".SNA"}, {"GAME.Z80", ".Z80"}, {"dir.x/game.Sna", ".SNA"},
        {"a.b.z80", ".Z80"},  {"dir.sna/game", ""}, {"c:game.z80 ", ".Z80"},
        {"d.sna\\file", ""},  {"noext", ""},        {"x.sna\n ", ".SNA"},
    };
    for (const auto& [name, ext] : cases)
        EXPECT_EQ(SnapshotExtension(name), ext) << name;
}

class LoadSnapshotFileTest : public testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vespin_snap_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "_" + testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
        test::FillMachine(m_, 7);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::ofstream(dir_ / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
        return (dir_ / name).string();
    }

    fs::path dir_;
    MachineState m_;
    RecordingMessages messages_;
};

TEST_F(LoadSnapshotFileTest, ChoosesTheReaderByExtensionWhateverItsCase) {
    MachineState source;
    test::FillMachine(source, 2);
    WritePort7FFD(source.memory, 0x13);
    const auto name = Write("Saved.sNa", BuildSna128(source));
    EXPECT_TRUE(LoadSnapshotFile(m_, {}, name, messages_));
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_EQ(m_.memory.paging.PagingLatch, 0x13);
    EXPECT_EQ(m_.regs.PC, source.regs.PC);
}

TEST_F(LoadSnapshotFileTest, FailuresAreReportedAndChangeNothing) {
    struct Case {
        std::string name;
        std::vector<uint8_t> bytes;
        bool create;
        std::string text, caption;
    };
    const std::string unsupported = (dir_ / "game.tap").string();
    const Case cases[] = {
        {"missing.sna", {}, false, "Can't load snapshot file.", "Error!"},
        {"game.tap",
         {1, 2, 3},
         true,
         "File " + unsupported + " has unsupported format!",
         "  Snapshot loading error!"},
        {"short.sna", std::vector<uint8_t>(100), true,
         "This file is not SNA format snapshot file, check it!", "  Snapshot loading error!"},
        {"short.z80", std::vector<uint8_t>(10), true, "Invalid Z80 snapshot file!",
         "  Snapshot loading error!"},
    };
    const auto before = CopyOf(m_);
    for (const Case& c : cases) {
        const std::string path = c.create ? Write(c.name, c.bytes) : (dir_ / c.name).string();
        messages_.shown.clear();
        EXPECT_FALSE(LoadSnapshotFile(m_, {}, path, messages_)) << c.name;
        ASSERT_EQ(messages_.shown.size(), 1u) << c.name;
        EXPECT_EQ(messages_.shown[0].text, c.text);
        EXPECT_EQ(messages_.shown[0].caption, c.caption);
        EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Stop);
        EXPECT_TRUE(CopyOf(m_) == before) << c.name;
    }
}

TEST_F(LoadSnapshotFileTest, SavesWriteTheWholeFileOrReportFailure) {
    const fs::path file = dir_ / kSnapshot128FileName;
    Write(kSnapshot128FileName, {1, 2, 3});
    ASSERT_TRUE(SaveSna128(m_, file));
    EXPECT_EQ(test::ReadTestFile(file), BuildSna128(m_));
    EXPECT_FALSE(SaveSna48(m_, dir_ / "missing" / kSnapshot48FileName));
}

TEST_F(LoadSnapshotFileTest, RelativeNamesAreFoundInTheStartDirectory) {
    Write("found.z80", std::vector<uint8_t>(10)); // read, then refused by the reader
    EXPECT_FALSE(LoadSnapshotFile(m_, FileSearchDirs{dir_, {}}, "found.z80", messages_));
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "Invalid Z80 snapshot file!");
}

// Real and generated files: each loads (or is refused) as its README describes.
TEST(SnapshotFiles, EveryFileLoadsToItsDescribedState) {
    struct Case {
        const char* file;
        int pc;    // -1: not checked
        int latch; // the paging latch after loading
        int sp;
    };
    const Case cases[] = {
        {"generated/newbench.sna", 0x15FE, 0x30, 0xFF4A},
        {"generated/newbench-v1.z80", 0x15FE, 0x30, 0xFF4A},
        {"generated/newbench-v1raw.z80", 0x15FE, 0x30, 0xFF4A},
        {"generated/newbench-v3.z80", 0x15FE, 0x30, 0xFF4A},
        {"real/newbench.z80", 0x15FE, 0x30, 0xFF4A},
        {"real/BBG128.z80", 0x0038, 0x30, -1},
        {"real/dizzyx.z80", -1, -1, -1},
        {"real/IntTest+.sna", -1, 0x10, -1},
        {"real/aytest_0.2.sna", -1, 0x10, -1},
        {"real/7threality.sna", -1, 0x1D, -1},
        {"real/accuracy_coin.sna", 0x8186, 0x30, -1},
        {"edge/empty.z80", 0x1234, 0x30, 0x8000},
        {"edge/plus3.z80", 0x1234, -1, 0x8000},
        {"edge/sp-2000.sna", -1, 0x30, 0x2002},
        {"edge/sp-ffff.sna", -1, 0x30, 0x0001},
    };
    for (const Case& c : cases) {
        const fs::path path = test::TestDataPath(std::string("snapshots/") + c.file);
        VESPIN_REQUIRE_TESTDATA(path);
        MachineState m;
        RecordingMessages messages;
        EXPECT_TRUE(LoadSnapshotFile(m, {}, path.string(), messages)) << c.file;
        for (const auto& shown : messages.shown)
            ADD_FAILURE() << c.file << ": " << shown.text;
        if (c.pc >= 0) {
            EXPECT_EQ(m.regs.PC, c.pc) << c.file;
        }
        if (c.latch >= 0) {
            EXPECT_EQ(m.memory.paging.PagingLatch, c.latch) << c.file;
        }
        if (c.sp >= 0) {
            EXPECT_EQ(m.regs.SP, c.sp) << c.file;
        }
    }
}

TEST(SnapshotFiles, OneStateInEveryFormatLoadsIdentically) {
    const char* files[] = {"generated/newbench.sna", "generated/newbench-v1.z80",
                           "generated/newbench-v1raw.z80", "generated/newbench-v3.z80",
                           "real/newbench.z80"};
    std::optional<test::MachineCopy> first;
    for (const char* file : files) {
        const fs::path path = test::TestDataPath(std::string("snapshots/") + file);
        VESPIN_REQUIRE_TESTDATA(path);
        MachineState m;
        RecordingMessages messages;
        ASSERT_TRUE(LoadSnapshotFile(m, {}, path.string(), messages)) << file;
        const auto copy = CopyOf(m);
        if (!first) {
            first = copy;
            continue;
        }
        EXPECT_EQ(copy.regs, first->regs) << file;
        EXPECT_EQ(copy.paging, first->paging) << file;
        EXPECT_EQ(copy.border, first->border) << file;
        EXPECT_TRUE(copy.ram == first->ram) << file;
    }
}

} // namespace
} // namespace vespin
