#include "media/file_utils.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>
#include <unistd.h>

namespace vespin {

namespace fs = std::filesystem;

FileSearchDirs FileSearchDirs::FromProcess() {
    FileSearchDirs dirs;
    std::error_code ec;
    dirs.startDir = fs::current_path(ec);
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) dirs.programDir = exe.parent_path();
    return dirs;
}

namespace {

bool OpensForReading(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    return static_cast<bool>(in);
}

} // namespace

std::optional<fs::path> LocateFile(const FileSearchDirs& dirs, const std::string& name) {
    if (name.empty()) return std::nullopt;
    const fs::path given(name);
    if (OpensForReading(given)) return given;
    if (given.is_absolute()) return std::nullopt;
    for (const fs::path& dir : {dirs.startDir, dirs.programDir}) {
        if (dir.empty()) continue;
        if (OpensForReading(dir / given)) return dir / given;
    }
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> ReadWholeFile(const fs::path& path, uintmax_t maxSize) {
    std::error_code ec;
    const uintmax_t size = fs::file_size(path, ec);
    if (ec || size > maxSize) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (size > 0 &&
        !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
        return std::nullopt;
    return bytes;
}

bool WriteFileAtomically(const fs::path& path, const std::vector<uint8_t>& bytes) {
    fs::path temp = path;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ec;
            fs::remove(temp, ec);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temp, path, ec);
    if (ec) {
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

RomFileSetting ParseRomFileSetting(std::string_view setting) {
    RomFileSetting result{std::string(setting), 0};
    const size_t colon = setting.rfind(':');
    if (colon == std::string_view::npos || colon == 1) return result;
    const std::string_view page = setting.substr(colon + 1);
    if (page.size() == 1 && std::isdigit(static_cast<unsigned char>(page[0]))) {
        result.file = std::string(setting.substr(0, colon));
        result.page = page[0] - '0';
    }
    return result;
}

std::string LoadRomImage(const FileSearchDirs& dirs, std::string_view setting,
                         std::array<uint8_t, 16384>& out) {
    const RomFileSetting rom = ParseRomFileSetting(setting);
    const auto path = LocateFile(dirs, rom.file);
    if (!path) return "Cannot open ROM image file \"" + rom.file + "\"";
    std::ifstream in(*path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(rom.page) * 16384);
    uint8_t buffer[16384];
    if (!in || !in.read(reinterpret_cast<char*>(buffer), sizeof buffer))
        return "ROM image file \"" + rom.file + "\" has no 16 KB page " + std::to_string(rom.page);
    std::memcpy(out.data(), buffer, sizeof buffer);
    return {};
}

std::string LowerExtension(const fs::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

} // namespace vespin
