// The three volume sliders (speaker, tape in, tape out). A slider at position p gives its
// source the bit value 1 << (p - 1) in the sound level, nothing at 0; no two sources may share
// a bit, so a slider moved onto another's position slides down until it is alone.
#pragma once

#include <array>
#include <cstdint>

namespace vespin {

enum class VolumeSource : uint8_t { Speaker = 0, TapeIn = 1, TapeOut = 2 };

constexpr int kMaxVolume = 8;

constexpr uint8_t VolumeBit(int position) {
    return position <= 0 ? 0 : static_cast<uint8_t>(1u << (position - 1));
}

// Moves one slider to position (clamped to 0..8) and returns where it ends.
int MoveVolumeSlider(std::array<int32_t, 3>& positions, VolumeSource source, int position);

} // namespace vespin
