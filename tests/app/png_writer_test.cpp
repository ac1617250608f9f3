#include "platform/png_writer.h"

#include <gtest/gtest.h>

#include "vespin_run_helper.h"

namespace vespin {
namespace {

TEST(PngWriter, KeepsEverySlotAndThePalette) {
    Palette palette{};
    palette[3] = {1, 2, 3, 1};
    palette[255] = {250, 251, 252, 0};
    std::vector<uint8_t> pixels(5 * 3);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<uint8_t>(i * 17);
    pixels[0] = 3;
    const auto file = std::filesystem::temp_directory_path() / "vespin_png_writer_test.png";
    ASSERT_EQ(WritePalettePng(file, 5, 3, pixels, palette), "");
    const test::IndexedImage image = test::ReadIndexedPng(file);
    std::filesystem::remove(file);
    ASSERT_EQ(image.width, 5);
    ASSERT_EQ(image.height, 3);
    EXPECT_EQ(image.pixels, pixels);
    ASSERT_EQ(image.rgb.size(), 256u * 3);
    EXPECT_EQ(std::vector<uint8_t>(image.rgb.begin() + 9, image.rgb.begin() + 12),
              (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(image.rgb[255 * 3 + 2], 252);
}

TEST(PngWriter, RefusesIncompleteImagesAndKeepsTheOldFile) {
    const auto file = std::filesystem::temp_directory_path() / "vespin_png_writer_keep.png";
    const std::vector<uint8_t> pixels(4, 10);
    ASSERT_EQ(WritePalettePng(file, 2, 2, pixels, Palette{}), "");
    const auto size = std::filesystem::file_size(file);
    EXPECT_NE(WritePalettePng(file, 3, 2, pixels, Palette{}), "");
    EXPECT_EQ(std::filesystem::file_size(file), size);
    EXPECT_EQ(test::ReadIndexedPng(file).width, 2);
    std::filesystem::remove(file);
}

} // namespace
} // namespace vespin
