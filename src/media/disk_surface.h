// The raw disk surface of the Beta 128 drive: 86 cylinders by 2 sides of 6250-byte tracks,
// each with a map that marks the bytes written as synchronisation marks (0xA1 and 0xC2 with
// missing clock bits). Image loaders fill it; the VG93 reads and writes it byte by byte.
//
// Also the CRC-16 the controller computes over ID and data fields.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vespin {

constexpr int kDiskCylinders = 86;
constexpr int kDiskSides = 2;
constexpr int kTrackBytes = 6250; // one revolution at 250 kbit/s MFM
constexpr int kTrackMarkBytes = (kTrackBytes + 7) / 8;

struct DiskTrack {
    std::array<uint8_t, kTrackBytes> data{};
    std::array<uint8_t, kTrackMarkBytes>
        marks{}; // bit n = byte n is a mark, least significant first

    bool IsMarked(int pos) const { return (marks[static_cast<size_t>(pos >> 3)] >> (pos & 7)) & 1; }
    void Put(int pos, uint8_t value, bool marked);
    void Clear();
};

struct DiskSurface {
    DiskSurface() : tracks(kDiskCylinders * kDiskSides) {}

    std::vector<DiskTrack> tracks; // cylinder-major: (cylinder * 2 + side)
    bool writeProtected = false;

    DiskTrack& Track(int cylinder, int side) {
        return tracks[static_cast<size_t>(cylinder * kDiskSides + side)];
    }
    const DiskTrack& Track(int cylinder, int side) const {
        return tracks[static_cast<size_t>(cylinder * kDiskSides + side)];
    }
};

// CRC-16/CCITT (polynomial 0x1021, most significant bit first). A field's CRC starts at
// 0xCDB4, which is the CRC of the three 0xA1 sync bytes in front of every mark.
constexpr uint16_t kCrcAfterSync = 0xCDB4;

constexpr std::array<uint16_t, 256> kCrcTable = [] {
    std::array<uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned crc = i << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1;
        table[i] = static_cast<uint16_t>(crc);
    }
    return table;
}();

constexpr uint16_t CrcUpdate(uint16_t crc, uint8_t byte) {
    return static_cast<uint16_t>((crc << 8) ^ kCrcTable[((crc >> 8) ^ byte) & 0xFF]);
}

constexpr uint16_t Crc16(std::span<const uint8_t> bytes, uint16_t crc = kCrcAfterSync) {
    for (uint8_t b : bytes)
        crc = CrcUpdate(crc, b);
    return crc;
}

static_assert(CrcUpdate(CrcUpdate(CrcUpdate(0xFFFF, 0xA1), 0xA1), 0xA1) == kCrcAfterSync);

} // namespace vespin
