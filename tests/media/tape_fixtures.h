// Small tape images built in memory for the tape tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

namespace vespin::test {

using Bytes = std::vector<uint8_t>;

inline void Put(Bytes& v, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        v.push_back(uint8_t(value >> (8 * i)));
}

inline Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

inline Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

// A 19-byte standard header: flag 0, type, name padded to 10, three words, checksum.
inline Bytes HeaderPayload(uint8_t type, const std::string& name, uint16_t length, uint16_t p1,
                           uint16_t p2) {
    Bytes b{0x00, type};
    std::string padded = name;
    padded.resize(10, ' ');
    b.insert(b.end(), padded.begin(), padded.end());
    Put(b, length, 2);
    Put(b, p1, 2);
    Put(b, p2, 2);
    b.push_back(0); // checksum (never verified)
    return b;
}

// Flag 0xFF, the data, a checksum.
inline Bytes DataPayload(const Bytes& data) {
    return Cat({{0xFF}, data, {0x00}});
}

// A TAP block: length word and payload.
inline Bytes TapBlock(const Bytes& payload) {
    Bytes b;
    Put(b, uint32_t(payload.size()), 2);
    return Cat({b, payload});
}

inline Bytes TzxHeader(uint8_t major = 1, uint8_t minor = 20) {
    return Cat({Text("ZXTape!"), {0x1A, major, minor}});
}

inline Bytes Tzx(std::initializer_list<Bytes> blocks) {
    Bytes out = TzxHeader();
    for (const Bytes& b : blocks)
        out.insert(out.end(), b.begin(), b.end());
    return out;
}

// TZX blocks.
inline Bytes Standard(const Bytes& payload, uint16_t pauseMs) {
    Bytes b{0x10};
    Put(b, pauseMs, 2);
    return Cat({b, TapBlock(payload)});
}

struct TurboTimings {
    uint16_t pilot = 2168, sync1 = 667, sync2 = 735, zero = 855, one = 1710, pilotPulses = 3224;
    uint8_t usedBits = 8;
    uint16_t pauseMs = 0;
};
inline Bytes Turbo(const TurboTimings& t, const Bytes& payload) {
    Bytes b{0x11};
    for (uint16_t w : {t.pilot, t.sync1, t.sync2, t.zero, t.one, t.pilotPulses})
        Put(b, w, 2);
    b.push_back(t.usedBits);
    Put(b, t.pauseMs, 2);
    Put(b, uint32_t(payload.size()), 3);
    return Cat({b, payload});
}

inline Bytes PureTone(uint16_t pulse, uint16_t count) {
    Bytes b{0x12};
    Put(b, pulse, 2);
    Put(b, count, 2);
    return b;
}

inline Bytes PulseSequence(std::initializer_list<uint16_t> pulses) {
    Bytes b{0x13, uint8_t(pulses.size())};
    for (uint16_t p : pulses)
        Put(b, p, 2);
    return b;
}

inline Bytes PureData(uint16_t zero, uint16_t one, uint8_t usedBits, uint16_t pauseMs,
                      const Bytes& data) {
    Bytes b{0x14};
    Put(b, zero, 2);
    Put(b, one, 2);
    b.push_back(usedBits);
    Put(b, pauseMs, 2);
    Put(b, uint32_t(data.size()), 3);
    return Cat({b, data});
}

inline Bytes Word(uint8_t id, uint16_t value) {
    Bytes b{id};
    Put(b, value, 2);
    return b;
}
inline Bytes Pause(uint16_t ms) {
    return Word(0x20, ms);
}
inline Bytes Jump(int16_t offset) {
    return Word(0x23, uint16_t(offset));
}
inline Bytes LoopStart(uint16_t count) {
    return Word(0x24, count);
}
inline Bytes LoopEnd() {
    return {0x25};
}
inline Bytes StopIf48K() {
    return {0x2A, 0, 0, 0, 0};
}
inline Bytes ShortTextBlock(uint8_t id, const std::string& s) {
    return Cat({{id, uint8_t(s.size())}, Text(s)});
}
inline Bytes Message(uint8_t seconds, const std::string& s) {
    return Cat({{0x31, seconds, uint8_t(s.size())}, Text(s)});
}

struct Choice {
    int16_t offset;
    std::string text;
};
inline Bytes Select(std::initializer_list<Choice> choices) {
    Bytes body{uint8_t(choices.size())};
    for (const Choice& c : choices) {
        Put(body, uint16_t(c.offset), 2);
        body.push_back(uint8_t(c.text.size()));
        body.insert(body.end(), c.text.begin(), c.text.end());
    }
    Bytes b{0x28};
    Put(b, uint32_t(body.size()), 2);
    return Cat({b, body});
}

// Writes bytes to dir/name and returns the path.
inline std::filesystem::path WriteFile(const std::filesystem::path& dir, const std::string& name,
                                       const Bytes& bytes) {
    std::ofstream(dir / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return dir / name;
}

} // namespace vespin::test
