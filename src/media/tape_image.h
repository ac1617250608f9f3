// Tape images: TAP and TZX 1.xx files cut into blocks, each described by lines for the tape
// reader's block list. The pulse generator (tape_player.h) plays the blocks from the same bytes.
//
// Every block body is checked against the file size while the image is opened, so the player
// can read any field of a block without running off the end of the file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace vespin {

enum class TapeKind : uint8_t { None = 0, Tap = 1, Tzx = 2 };

// How numbers appear in block descriptions.
enum class BlockInfoMode : uint8_t { Hexadecimal = 0, Decimal = 1, None = 2 };

// A file with more blocks than this is refused rather than cut short: a partial tape would load
// into a machine that then waits forever for the missing part.
constexpr size_t kMaxTapeBlocks = 1000;

struct TapeBlock {
    uint32_t offset = 0;    // first byte of the block (the length word, or the TZX ID byte)
    uint32_t firstLine = 0; // first line of its description in the block list
};

struct TapeImage {
    TapeKind kind = TapeKind::None;
    std::vector<uint8_t> data; // the whole file
    // One entry per block, then a closing entry whose offset is the file size, so a block ends
    // where the next begins.
    std::vector<TapeBlock> blocks;

    int32_t BlockCount() const { return blocks.empty() ? 0 : int32_t(blocks.size()) - 1; }
    uint32_t BlockStart(int32_t b) const { return blocks[size_t(b)].offset; }
    uint32_t BlockEnd(int32_t b) const { return blocks[size_t(b) + 1].offset; }
};

// An opened image and its block list (UTF-8 lines).
struct DescribedTape {
    TapeImage image;
    std::vector<std::string> lines;
};

// Parses a whole file of the given kind. Returns the error message, or an empty string on
// success; out is written only on success.
std::string ParseTapeImage(TapeKind kind, std::vector<uint8_t> bytes, BlockInfoMode mode,
                           DescribedTape& out);

// Opens a file by its extension (.TAP, .TZX; .WAV is recognised and refused). Returns the error
// message, or an empty string on success; out is written only on success.
std::string OpenTapeFile(const std::filesystem::path& path, BlockInfoMode mode, DescribedTape& out);

// The texts of a TZX select block (ID 0x28) starting at offset, with their relative jumps.
struct TapeSelection {
    std::vector<std::string> texts;
    std::vector<int16_t> offsets;
};
TapeSelection ReadTzxSelection(const TapeImage& image, uint32_t offset);

// The display time and the text of a TZX message block (ID 0x31) starting at offset.
struct TapeMessage {
    uint8_t seconds = 0;
    std::string text;
};
TapeMessage ReadTzxMessage(const TapeImage& image, uint32_t offset);

} // namespace vespin
