#include "vespin_run_helper.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include <png.h>

namespace vespin::test {

namespace fs = std::filesystem;

fs::path VespinRunPath() {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    const fs::path run = self.parent_path().parent_path() / "app" / "vespin-run";
    return fs::exists(run) ? run : fs::path();
}

namespace {

// Single-quoted for the shell; a quote inside becomes '\''.
std::string Quote(const std::string& s) {
    std::string q(1, '\'');
    for (char c : s) {
        if (c == '\'') {
            q.append("'\\''");
        } else {
            q.push_back(c);
        }
    }
    q.push_back('\'');
    return q;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

RunOutput RunVespin(const std::vector<std::string>& args, const fs::path& dir) {
    RunOutput result;
    std::string errName("vespin_run_err_");
    errName.append(std::to_string(::getpid())).append(".txt");
    const fs::path errFile = fs::temp_directory_path() / errName;
    std::string command("cd ");
    command.append(Quote(dir.string())).append(" && ").append(Quote(VespinRunPath().string()));
    for (const std::string& a : args)
        command.append(" ").append(Quote(a));
    command.append(" 2>").append(Quote(errFile.string()));
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.err = ReadText(errFile);
    fs::remove(errFile);
    return result;
}

IndexedImage ReadIndexedPng(const fs::path& path) {
    IndexedImage image;
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) return image;
    if (!(png.format & PNG_FORMAT_FLAG_COLORMAP)) {
        png_image_free(&png);
        return image;
    }
    png.format = PNG_FORMAT_RGB_COLORMAP;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(png));
    std::vector<uint8_t> colours(PNG_IMAGE_COLORMAP_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, pixels.data(), 0, colours.data())) return image;
    image.width = static_cast<int>(png.width);
    image.height = static_cast<int>(png.height);
    image.pixels = std::move(pixels);
    image.rgb = std::move(colours);
    return image;
}

} // namespace vespin::test
