#include "config/port_bit_editor.h"

namespace vespin {

namespace {

constexpr int kSpace = 8;

// The address line a character shows, or -1 for the space.
int LineAt(int index) {
    if (index < 0 || index > 16 || index == kSpace) return -1;
    return index < kSpace ? 15 - index : 16 - index;
}

} // namespace

std::string PortBitsText(const PortDecode& decode) {
    std::string text(17, ' ');
    for (int index = 0; index < 17; ++index) {
        const int line = LineAt(index);
        if (line < 0) continue;
        const uint16_t bit = static_cast<uint16_t>(1u << line);
        text[static_cast<size_t>(index)] = !(decode.mask & bit)  ? '-'
                                           : (decode.bits & bit) ? '1'
                                                                 : '0';
    }
    return text;
}

bool ClickPortBit(PortDecode& decode, int index) {
    const int line = LineAt(index);
    if (line < 0) return false;
    const uint16_t bit = static_cast<uint16_t>(1u << line);
    if (!(decode.mask & bit)) { // "-" -> "0"
        decode.mask |= bit;
        decode.bits &= static_cast<uint16_t>(~bit);
    } else if (!(decode.bits & bit)) { // "0" -> "1"
        decode.bits |= bit;
    } else { // "1" -> "-"
        decode.mask &= static_cast<uint16_t>(~bit);
        decode.bits &= static_cast<uint16_t>(~bit);
    }
    return true;
}

} // namespace vespin
