// Runs the vespin-run program built beside the test program and captures what it prints, and
// reads back the PNG files it writes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vespin::test {

struct RunOutput {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// The vespin-run binary of this build; empty when it has not been built.
std::filesystem::path VespinRunPath();

// Runs vespin-run with the arguments (each quoted for the shell) in directory dir.
RunOutput RunVespin(const std::vector<std::string>& args,
                    const std::filesystem::path& dir = std::filesystem::temp_directory_path());

// An 8-bit palette PNG: its pixels (palette indices, row 0 first) and its palette (RGB).
struct IndexedImage {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;
    std::vector<uint8_t> rgb; // three bytes per palette entry
    uint8_t At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};
// Empty (width 0) when the file is not a readable 8-bit palette PNG.
IndexedImage ReadIndexedPng(const std::filesystem::path& path);

} // namespace vespin::test
