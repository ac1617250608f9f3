// Pieces shared by the TAP and TZX readers: a bounds-checked cursor over the file and the
// number and text formats of the block descriptions.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "media/tape_image.h"

namespace vespin {

inline constexpr const char* kTapeCorruptMessage =
    "Error! Unsupported tape image file format or file corrupt!";

// Raised inside the readers; the opener turns it into the returned message.
struct TapeFormatError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Reads little-endian fields; any read past the end of the file raises the corrupt-file error.
class TapeCursor {
  public:
    explicit TapeCursor(std::span<const uint8_t> data, size_t pos = 0) : data_(data), pos_(pos) {}

    size_t Pos() const { return pos_; }
    bool AtEnd() const { return pos_ >= data_.size(); }
    size_t Remaining() const { return pos_ < data_.size() ? data_.size() - pos_ : 0; }

    void Need(uint64_t n) const {
        if (n > Remaining()) throw TapeFormatError(kTapeCorruptMessage);
    }
    void Skip(uint64_t n) {
        Need(n);
        pos_ += size_t(n);
    }
    uint32_t Field(int bytes) {
        Need(uint64_t(bytes));
        uint32_t v = 0;
        for (int i = 0; i < bytes; ++i)
            v |= uint32_t(data_[pos_ + size_t(i)]) << (8 * i);
        pos_ += size_t(bytes);
        return v;
    }
    uint8_t U8() { return uint8_t(Field(1)); }
    uint16_t U16() { return uint16_t(Field(2)); }
    uint32_t U24() { return Field(3); }
    uint32_t U32() { return Field(4); }
    std::span<const uint8_t> Bytes(uint64_t n) {
        Need(n);
        auto s = data_.subspan(pos_, size_t(n));
        pos_ += size_t(n);
        return s;
    }

  private:
    std::span<const uint8_t> data_;
    size_t pos_;
};

// "#" and upper-case hexadecimal digits without leading zeros, or plain decimal. Negative values
// print in hexadecimal as their 32-bit two's complement.
std::string TapeNumber(int64_t value, BlockInfoMode mode);

// Tape text (Windows ANSI code page) as UTF-8; the bytes 0x80-0xFF are taken as Latin-1, and
// 0x95 as the bullet the block list uses.
std::string TapeTextToUtf8(std::span<const uint8_t> text);

// Describes the TAP-style block at the cursor (a length word, one more length byte when the
// prefix is "Turbo ", then flag, data and checksum) and steps over it.
std::string DescribeTapBlock(TapeCursor& c, std::string_view prefix, BlockInfoMode mode);

// Cuts the blocks of a TZX file after its 10-byte header and describes them.
void ReadTzxBlocks(TapeCursor& c, BlockInfoMode mode, DescribedTape& out);

// Records the block that begins at the cursor; raises the error for one block too many.
void BeginTapeBlock(const TapeCursor& c, DescribedTape& out);

// A blank and a bullet: the start of the sub-lines of select, archive and hardware blocks.
inline constexpr const char* kBulletLine = " \u2022";

} // namespace vespin
