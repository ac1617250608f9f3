#include "media/tape_text.h"

#include <cstdio>

namespace vespin {

std::string TapeNumber(int64_t value, BlockInfoMode mode) {
    char buf[24];
    if (mode == BlockInfoMode::Hexadecimal) {
        std::snprintf(buf, sizeof buf, "#%X", unsigned(uint32_t(value)));
    } else {
        std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(value));
    }
    return buf;
}

std::string TapeTextToUtf8(std::span<const uint8_t> text) {
    std::string out;
    out.reserve(text.size());
    for (uint8_t c : text) {
        if (c < 0x80) {
            out += char(c);
        } else if (c == 0x95) {
            out += "\u2022";
        } else {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

} // namespace vespin
