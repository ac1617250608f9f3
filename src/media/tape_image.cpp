#include "media/tape_image.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <system_error>

#include "media/file_utils.h"
#include "media/tape_text.h"

namespace vespin {

namespace {

constexpr size_t kTzxHeaderSize = 10;

uint16_t WordAt(std::span<const uint8_t> b, size_t i) {
    return uint16_t(b[i] | b[i + 1] << 8);
}

std::string Quoted(std::span<const uint8_t> name) {
    size_t n = name.size();
    while (n > 0 && name[n - 1] == ' ')
        --n;
    std::string quoted(1, '"');
    quoted += TapeTextToUtf8(name.first(n));
    quoted += '"';
    return quoted;
}

// The line of a standard 19-byte header block (flag 0 already read).
std::string DescribeHeader(std::span<const uint8_t> block, BlockInfoMode mode) {
    const uint8_t type = block[1];
    const std::string name = Quoted(block.subspan(2, 10));
    const uint16_t length = WordAt(block, 12);
    const uint16_t param1 = WordAt(block, 14);
    const uint16_t param2 = WordAt(block, 16);
    const bool numbers = mode != BlockInfoMode::None;
    std::string line = "Header, ";
    switch (type) {
    case 0:
        line += "Program " + name;
        if (numbers) {
            line += ", Line " + TapeNumber(param1, mode) + ", Length " + TapeNumber(length, mode) +
                    ", Vars " + TapeNumber(param2, mode);
        }
        break;
    case 1: line += "Number Array " + name; break;
    case 2: line += "Character Array " + name; break;
    case 3:
        line += "Code " + name;
        if (numbers) {
            line += ", Start " + TapeNumber(param1, mode) + ", Length " + TapeNumber(length, mode);
        }
        break;
    default: line += "Nonstandard"; break;
    }
    return line;
}

void ReadTapBlocks(TapeCursor& c, BlockInfoMode mode, DescribedTape& out) {
    while (!c.AtEnd()) {
        BeginTapeBlock(c, out);
        out.lines.push_back(DescribeTapBlock(c, "", mode));
    }
}

std::string UpperTrimmedExtension(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    for (char& ch : ext)
        ch = char(std::toupper(static_cast<unsigned char>(ch)));
    auto blank = [](char ch) { return static_cast<unsigned char>(ch) < 33; };
    while (!ext.empty() && blank(ext.back()))
        ext.pop_back();
    while (!ext.empty() && blank(ext.front()))
        ext.erase(ext.begin());
    return ext;
}

// WAV files are recognised so that the user learns why they do not play.
std::string CheckWavFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "Error! Can't open tape image file!";
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) return "Error! Can't open tape image file!";
    if (size < 45) return "Error! WAV file size too small!";
    return kTapeCorruptMessage;
}

} // namespace

void BeginTapeBlock(const TapeCursor& c, DescribedTape& out) {
    if (out.image.blocks.size() >= kMaxTapeBlocks) {
        throw TapeFormatError("Error! Tape image holds more than 1000 blocks!");
    }
    out.image.blocks.push_back({uint32_t(c.Pos()), uint32_t(out.lines.size())});
}

std::string DescribeTapBlock(TapeCursor& c, std::string_view prefix, BlockInfoMode mode) {
    uint32_t length = c.U16();
    if (!prefix.empty() && prefix.front() == 'T') length |= uint32_t(c.U8()) << 16;
    std::string line(prefix);
    if (length == 0) return line + "Nonstandard Zero";
    const std::span<const uint8_t> block = c.Bytes(length);
    const uint8_t flag = block[0];
    const bool numbers = mode != BlockInfoMode::None;
    const int64_t dataLength = int64_t(length) - 2;
    if (flag == 0 && length == 19) {
        line += DescribeHeader(block, mode);
    } else if (flag == 0xFF) {
        line += "Data Block";
        if (numbers) line += ", Length " + TapeNumber(dataLength, mode);
    } else {
        line += "Nonstandard";
        if (numbers) {
            line += ", ID " + TapeNumber(flag, mode) + ", Length " + TapeNumber(dataLength, mode);
        }
    }
    return line;
}

std::string ParseTapeImage(TapeKind kind, std::vector<uint8_t> bytes, BlockInfoMode mode,
                           DescribedTape& out) {
    if (kind == TapeKind::Tap && bytes.size() < 3) return "Error! TAP file size too small!";
    if (kind == TapeKind::Tzx) {
        if (bytes.size() < kTzxHeaderSize) return "Error! TZX tape image file size too small!";
        static constexpr uint8_t kSignature[8] = {'Z', 'X', 'T', 'a', 'p', 'e', '!', 0x1A};
        if (!std::equal(std::begin(kSignature), std::end(kSignature), bytes.begin())) {
            return "Error! TZX tape image file has unsupported format!";
        }
        if (bytes[8] != 1) {
            return "Error! TZX tape image file has unsupported version (not like 1.xx)!";
        }
    }
    if (kind == TapeKind::None) return "Error! Unknown file format, select another file.";

    DescribedTape tape;
    tape.image.data = std::move(bytes);
    try {
        if (kind == TapeKind::Tap) {
            TapeCursor c(tape.image.data);
            ReadTapBlocks(c, mode, tape);
        } else {
            TapeCursor c(tape.image.data, kTzxHeaderSize);
            ReadTzxBlocks(c, mode, tape);
        }
    } catch (const TapeFormatError& e) {
        return e.what();
    }
    tape.image.blocks.push_back({uint32_t(tape.image.data.size()), uint32_t(tape.lines.size())});
    tape.image.kind = kind;
    out = std::move(tape);
    return {};
}

std::string OpenTapeFile(const std::filesystem::path& path, BlockInfoMode mode,
                         DescribedTape& out) {
    const std::string ext = UpperTrimmedExtension(path);
    TapeKind kind = TapeKind::None;
    if (ext == ".TAP") {
        kind = TapeKind::Tap;
    } else if (ext == ".TZX") {
        kind = TapeKind::Tzx;
    } else if (ext == ".WAV") {
        return CheckWavFile(path);
    } else {
        return "Error! Unknown file format, select another file.";
    }
    auto bytes = ReadWholeFile(path);
    if (!bytes) return "Error! Can't load tape image file into memory!";
    return ParseTapeImage(kind, std::move(*bytes), mode, out);
}

} // namespace vespin
