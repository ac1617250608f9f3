// Builders for small disk images and a recording stand-in for the desktop program's message
// boxes, for the disk image tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "media/disk_image.h"

namespace vespin::test {

struct RecordingDiskUi : DiskImageUi {
    struct Message {
        std::string caption, text;
        bool operator==(const Message&) const = default;
    };
    std::vector<Message> errors;
    std::vector<Message> questions;
    bool answer = true;

    void ShowError(std::string_view caption, std::string_view text) override {
        errors.push_back({std::string(caption), std::string(text)});
    }
    bool AskOkCancel(std::string_view caption, std::string_view text) override {
        questions.push_back({std::string(caption), std::string(text)});
        return answer;
    }
};

// A folder of its own for each test, removed afterwards.
class TempDir {
  public:
    TempDir() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                (std::string("vespin-disk-") + info->test_suite_name() + "-" + info->name());
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
        const auto file = path_ / name;
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return file.string();
    }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

inline void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

struct SclFile {
    std::string name; // 8 characters
    char type;
    uint8_t sectors;
    uint8_t fill; // every data byte
};

// An SCL package; `checksumDelta` spoils the checksum.
inline std::vector<uint8_t> MakeScl(const std::vector<SclFile>& files, uint32_t checksumDelta = 0) {
    std::vector<uint8_t> out = {'S', 'I', 'N', 'C', 'L', 'A', 'I', 'R'};
    out.push_back(static_cast<uint8_t>(files.size()));
    for (const SclFile& f : files) {
        out.insert(out.end(), f.name.begin(), f.name.end());
        out.push_back(static_cast<uint8_t>(f.type));
        PutLe(out, 0x8000, 2);
        PutLe(out, f.sectors * 256u, 2);
        out.push_back(f.sectors);
    }
    for (const SclFile& f : files)
        out.insert(out.end(), f.sectors * 256u, f.fill);
    uint32_t sum = 0;
    for (uint8_t b : out)
        sum += b;
    PutLe(out, sum + checksumDelta, 4);
    return out;
}

} // namespace vespin::test
