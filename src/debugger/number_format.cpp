#include "debugger/number_format.h"

namespace vespin {

namespace {

std::string Digits(uint32_t v, int count, uint32_t base) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string s(static_cast<size_t>(count), '0');
    for (int i = count - 1; i >= 0; --i) {
        s[static_cast<size_t>(i)] = kDigits[v % base];
        v /= base;
    }
    return s;
}

// Digits without leading zeros, at least one.
std::string ShortDigits(uint32_t v, uint32_t base) {
    int count = 1;
    for (uint32_t rest = v / base; rest != 0; rest /= base)
        ++count;
    return Digits(v, count, base);
}

} // namespace

std::string Hex2(uint8_t v) {
    return Digits(v, 2, 16);
}
std::string Hex4(uint16_t v) {
    return Digits(v, 4, 16);
}
std::string Hex8(uint32_t v) {
    return Digits(v, 8, 16);
}
std::string HexShort(uint32_t v) {
    std::string s = ShortDigits(v, 16);
    s.insert(s.begin(), '#');
    return s;
}
std::string HashHex4(uint16_t v) {
    std::string s = Hex4(v);
    s.insert(s.begin(), '#');
    return s;
}
std::string Dec3(uint8_t v) {
    return Digits(v, 3, 10);
}
std::string Dec5(uint16_t v) {
    return Digits(v, 5, 10);
}
std::string DecShort(uint32_t v) {
    return ShortDigits(v, 10);
}
std::string Bin8(uint8_t v) {
    return Digits(v, 8, 2);
}
std::string Bin16(uint16_t v) {
    return Digits(v, 16, 2);
}
std::string PrintableChar(uint8_t v) {
    return v >= 32 ? std::string(1, static_cast<char>(v)) : std::string(".");
}

} // namespace vespin
