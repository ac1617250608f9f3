// File helpers shared by the ROM, snapshot and disk loaders.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vespin {

// Where relative file names are looked for after the name itself: the directory that was
// current when the program started, then the program's own directory.
struct FileSearchDirs {
    std::filesystem::path startDir;
    std::filesystem::path programDir;

    // The current directory and the directory of the running executable.
    static FileSearchDirs FromProcess();
};

// The file a name refers to: the name as given when it opens for reading, else the name
// relative to the start-up directory, else relative to the program's directory. Returns the
// path that opened. Unlike changing the process's current directory, this leaves threads that
// open files at the same time undisturbed.
std::optional<std::filesystem::path> LocateFile(const FileSearchDirs& dirs,
                                                const std::string& name);

// Whole file; nullopt when it cannot be opened or read. Files above maxSize are not read.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::filesystem::path& path,
                                                  uintmax_t maxSize = 64u << 20);

// Writes through a temporary file in the same directory renamed over the target, so a failed
// write never destroys an existing file. Returns false when any step fails.
bool WriteFileAtomically(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

// A ROM file setting "file[:n]": the n-th 16 KB page of the file (one digit). A colon in the
// second character is a drive letter's, and the whole setting is then the file name, page 0.
struct RomFileSetting {
    std::string file;
    int page = 0;
};
RomFileSetting ParseRomFileSetting(std::string_view setting);

// Reads the 16384-byte ROM image a setting names into out. Returns an empty string on success,
// else a message naming the file that could not be read.
std::string LoadRomImage(const FileSearchDirs& dirs, std::string_view setting,
                         std::array<uint8_t, 16384>& out);

// Lower-case extension with its dot (".tap"), for opening files by type.
std::string LowerExtension(const std::filesystem::path& path);

} // namespace vespin
