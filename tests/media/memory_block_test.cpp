#include <gtest/gtest.h>

#include <fstream>

#include "core/machine.h"
#include "media/memory_block_load.h"
#include "media/memory_block_save.h"
#include "snapshot_fixtures.h"
#include "support/testdata.h"

namespace vespin {
namespace {

namespace fs = std::filesystem;

// Stands in for the debugger's evaluator: decimal, or "#" and hexadecimal digits.
std::optional<int32_t> Evaluate(std::string_view text) {
    const bool hex = !text.empty() && text[0] == '#';
    if (hex) text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    int64_t v = 0;
    for (char c : text) {
        const int digit = c >= '0' && c <= '9'          ? c - '0'
                          : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                        : -1;
        if (digit < 0) return std::nullopt;
        v = v * (hex ? 16 : 10) + digit;
    }
    return static_cast<int32_t>(v);
}

class MemoryBlockTest : public testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vespin_mb_" +
                std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(dir_);
        for (uint32_t a = 0x4000; a < 0x10000; ++a)
            WriteByte(m_, static_cast<uint16_t>(a), static_cast<uint8_t>(a ^ a >> 8));
        for (size_t i = 0; i < kPageSize; ++i)
            m_.memory.rom[1][i] = static_cast<uint8_t>(i * 3);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::vector<uint8_t> Read(const fs::path& p) { return test::ReadTestFile(p); }
    void Write(const fs::path& p, const std::vector<uint8_t>& bytes) {
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    }

    fs::path dir_;
    MachineState m_;
    test::RecordingMessages messages_;
};

TEST_F(MemoryBlockTest, SaveValidationRulesInOrder) {
    struct Case {
        const char *start, *length, *end;
        bool wrap;
        const char* status;
        const char* lengthAfter;
    };
    const Case cases[] = {
        {"#10000", "1", "0", false, "Start position must be in range 0-65535!", "1"},
        {"x", "1", "0", false, "Start position must be in range 0-65535!", "1"},
        {"0", "0", "0", false, "Length of block must be in range 1-65536!", "0"},
        {"0", "65537", "0", false, "Length of block must be in range 1-65536!", "65537"},
        {"0", "1", "65536", false, "End position must be in range 0-65535!", "1"},
        {"#100", "1", "#FF", false, "End mark of block must be placed after start!", "1"},
        // A typed length is checked, then replaced by end - start + 1.
        {"#C000", "5", "#FFFF", false, "", "#4000"},
        {"#FF00", "1", "#FF", true, "", "#200"},
        {"#100", "1", "#FF", true, "", "#10000"},
    };
    for (const Case& c : cases) {
        TSMB_Dialog d(Evaluate);
        d.SetWrapAround(c.wrap);
        d.SetEnd(c.end);
        d.SetStart(c.start);
        d.SetLength(c.length);
        EXPECT_EQ(d.Status(), c.status) << c.start << " " << c.length << " " << c.end;
        EXPECT_EQ(d.SaveEnabled(), std::string(c.status).empty());
        EXPECT_EQ(d.Length().text, c.lengthAfter) << c.start << " " << c.end;
    }
}

TEST_F(MemoryBlockTest, SaveModesShowTheirControlsAndCheckTheOffset) {
    TSMB_Dialog d(Evaluate);
    EXPECT_TRUE(d.AskOverwriteVisible());
    EXPECT_FALSE(d.AppendToEndVisible());
    EXPECT_FALSE(d.OffsetVisible());
    d.SetNewOverwrite(false);
    EXPECT_TRUE(d.OffsetVisible());
    d.SetOffset("-5");
    EXPECT_EQ(d.Status(), "Offset must be positive value!");
    d.SetAppendToEnd(true); // the offset no longer matters
    EXPECT_FALSE(d.OffsetVisible());
    EXPECT_TRUE(d.SaveEnabled());
}

TEST_F(MemoryBlockTest, SaveWritesTheBlockWrappingAtTheTopOfMemory) {
    const fs::path file = dir_ / "block.bin";
    TSMB_Dialog d(Evaluate);
    d.SetWrapAround(true);
    d.SetStart("#FF00");
    d.SetEnd("#FF");
    d.SetLocation(file.string());
    ASSERT_TRUE(d.Save(m_.memory, messages_));
    const auto bytes = Read(file);
    ASSERT_EQ(bytes.size(), 512u);
    for (size_t i = 0; i < 512; ++i)
        EXPECT_EQ(bytes[i], ReadByte(m_, static_cast<uint16_t>(0xFF00 + i))) << i;
    EXPECT_EQ(bytes[256], m_.memory.rom[1][0]);
}

TEST_F(MemoryBlockTest, SaveAsksBeforeReplacingAndUpdatesFilesInPlace) {
    const fs::path file = dir_ / "old.bin";
    Write(file, {1, 2, 3, 4, 5, 6});
    TSMB_Dialog d(Evaluate);
    d.SetStart("#4000");
    d.SetEnd("#4001");
    d.SetLocation(file.string());

    messages_.answer = false;
    EXPECT_FALSE(d.Save(m_.memory, messages_));
    ASSERT_EQ(messages_.asked.size(), 1u);
    EXPECT_EQ(messages_.asked[0].text,
              "File \"" + file.string() + "\" already exist!\nDo you want to replace it?");
    EXPECT_EQ(messages_.asked[0].caption, " Warning!");
    EXPECT_EQ(Read(file), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));

    const uint8_t b0 = ReadByte(m_, 0x4000), b1 = ReadByte(m_, 0x4001);
    d.SetNewOverwrite(false);
    d.SetOffset("2");
    EXPECT_TRUE(d.Save(m_.memory, messages_));
    EXPECT_EQ(Read(file), (std::vector<uint8_t>{1, 2, b0, b1, 5, 6}));
    d.SetAppendToEnd(true);
    EXPECT_TRUE(d.Save(m_.memory, messages_));
    EXPECT_EQ(Read(file), (std::vector<uint8_t>{1, 2, b0, b1, 5, 6, b0, b1}));

    d.SetLocation((dir_ / "missing.bin").string()); // nothing to update
    EXPECT_FALSE(d.Save(m_.memory, messages_));
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "Can't save memory block to binary file.");
    EXPECT_EQ(messages_.shown[0].caption, " Error!");
}

TEST_F(MemoryBlockTest, LoadValidationRulesInOrder) {
    const fs::path file = dir_ / "data.bin";
    Write(file, std::vector<uint8_t>(16385, 7));
    TLMB_Dialog d(Evaluate);
    EXPECT_EQ(d.Status(), "You must select binary file for loading!");
    d.SetLocation((dir_ / "nope.bin").string());
    EXPECT_EQ(d.Status(), "Selected file not found!");
    d.SetLocation(file.string());
    EXPECT_EQ(d.Length().text, "#4001");
    EXPECT_EQ(d.To().text, "#4000");
    d.SetStart("#C000");
    EXPECT_EQ(d.Status(), "Block size is too big to fit in memory!");
    d.SetWrapAround(true);
    EXPECT_TRUE(d.LoadEnabled());

    d.SetAllFile(false);
    EXPECT_TRUE(d.RangeFieldsEnabled());
    d.SetWrapAround(false);
    struct Step {
        void (TLMB_Dialog::*set)(std::string);
        const char* text;
        const char* status;
    };
    const Step steps[] = {
        {&TLMB_Dialog::SetFrom, "", "You must input From file position!"},
        {&TLMB_Dialog::SetFrom, "16385", "From position must be in file size range!"},
        {&TLMB_Dialog::SetFrom, "1", "You must input length of loading block!"},
        {&TLMB_Dialog::SetTo, "", "You must input To file position!"},
        {&TLMB_Dialog::SetTo, "16385", "To position must be in file size range!"},
        {&TLMB_Dialog::SetTo, "0", "From position must be not above To position!"},
        {&TLMB_Dialog::SetTo, "16384", "You must input length of loading block!"}, // typed: none
        {&TLMB_Dialog::SetLength, "0", "Block length must be in range 1-65536!"},
        {&TLMB_Dialog::SetLength, "3", ""}, // replaced by to - from + 1 = 16384: fits at #C000
        {&TLMB_Dialog::SetStart, "", "You must input Memory Block Start!"},
        {&TLMB_Dialog::SetStart, "65536", "Start position must be in range 0-65535!"},
        {&TLMB_Dialog::SetStart, "#C001", "Block size is too big to fit in memory!"},
    };
    d.SetLength("");
    for (const Step& s : steps) {
        (d.*s.set)(s.text);
        EXPECT_EQ(d.Status(), s.status) << s.text;
        EXPECT_EQ(d.LoadEnabled(), std::string(s.status).empty()) << s.text;
    }
}

TEST_F(MemoryBlockTest, LoadFillsMemoryAndPreservesRomOnlyWhenAsked) {
    const fs::path file = dir_ / "screen.bin";
    std::vector<uint8_t> bytes(6912);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 11 + 1);
    Write(file, bytes);
    TLMB_Dialog d(Evaluate);
    d.SetLocation(file.string());
    d.SetStart("#4000");
    ASSERT_TRUE(d.Load(m_.memory, messages_));
    EXPECT_EQ(std::vector<uint8_t>(m_.memory.Bank(5), m_.memory.Bank(5) + 6912), bytes);

    const uint8_t romByte = m_.memory.rom[1][0];
    d.SetStart("0");
    ASSERT_TRUE(d.Load(m_.memory, messages_));
    EXPECT_EQ(m_.memory.rom[1][0], romByte);
    d.SetPreserveRom(false);
    ASSERT_TRUE(d.Load(m_.memory, messages_));
    EXPECT_EQ(m_.memory.rom[1][0], bytes[0]);

    fs::resize_file(file, 10); // the file shrank after it was chosen
    EXPECT_FALSE(d.Load(m_.memory, messages_));
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "Can't load memory block from binary file.");
}

TEST_F(MemoryBlockTest, SettingsRoundTrip) {
    TSMB_Dialog save(Evaluate);
    SaveMemoryBlockSettings saved;
    saved.blockStart = 0xFF00;
    saved.blockEnd = 0x00FF;
    saved.wrapAround = true;
    saved.location = "x.bin";
    save.ReadSettings(saved);
    EXPECT_EQ(save.Start().text, "#FF00");
    EXPECT_EQ(save.Length().text, "#200");
    EXPECT_TRUE(save.SaveEnabled());
    const auto s = save.WriteSettings();
    EXPECT_EQ(s.blockLength, 512);
    EXPECT_EQ(s.newFile, true);
    EXPECT_EQ(s.overwrite, true);
    EXPECT_EQ(s.location, "x.bin");

    TLMB_Dialog load(Evaluate);
    LoadMemoryBlockSettings loaded;
    loaded.allFile = false;
    loaded.romPreserve = false;
    loaded.fromPosition = 4;
    loaded.blockStart = 0x8000;
    load.ReadSettings(loaded);
    const auto l = load.WriteSettings();
    EXPECT_EQ(l.allFile, false);
    EXPECT_EQ(l.romPreserve, false);
    EXPECT_EQ(l.fromPosition, 4);
    EXPECT_EQ(l.toPosition, std::nullopt);
    EXPECT_EQ(l.blockStart, 0x8000);
}

} // namespace
} // namespace vespin
