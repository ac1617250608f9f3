#include "platform/png_writer.h"

#include <csetjmp>
#include <vector>

#include <png.h>

#include "media/file_utils.h"

namespace vespin {

namespace {

void AppendToBuffer(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

// Encodes into memory; false when libpng reports an error.
bool Encode(std::vector<uint8_t>& out, int width, int height, std::span<const uint8_t> pixels,
            const Palette& palette) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    std::array<png_color, 256> colours{};
    for (size_t i = 0; i < colours.size(); ++i) {
        colours[i] = {palette[i].red, palette[i].green, palette[i].blue};
    }
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        rows[static_cast<size_t>(y)] = const_cast<png_bytep>(pixels.data() + y * width);
    }
    // libpng reports errors by longjmp; nothing with a destructor is created after this point.
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, AppendToBuffer, NoFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, colours.data(), static_cast<int>(colours.size()));
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

std::string WritePalettePng(const std::filesystem::path& path, int width, int height,
                            std::span<const uint8_t> pixels, const Palette& palette) {
    if (width <= 0 || height <= 0 || pixels.size() < static_cast<size_t>(width) * height) {
        return "Cannot write \"" + path.string() + "\": the image is incomplete";
    }
    std::vector<uint8_t> encoded;
    if (!Encode(encoded, width, height, pixels, palette)) {
        return "Cannot encode the PNG image for \"" + path.string() + "\"";
    }
    if (!WriteFileAtomically(path, encoded)) return "Cannot write \"" + path.string() + "\"";
    return {};
}

} // namespace vespin
