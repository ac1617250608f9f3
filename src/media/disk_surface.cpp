#include "media/disk_surface.h"

namespace vespin {

void DiskTrack::Put(int pos, uint8_t value, bool marked) {
    data[static_cast<size_t>(pos)] = value;
    const auto bit = static_cast<uint8_t>(1u << (pos & 7));
    uint8_t& m = marks[static_cast<size_t>(pos >> 3)];
    m = static_cast<uint8_t>(marked ? (m | bit) : (m & ~bit));
}

void DiskTrack::Clear() {
    data.fill(0);
    marks.fill(0);
}

} // namespace vespin
