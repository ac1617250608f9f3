// The three volume sliders (speaker, tape in, tape out). A slider's position gives its source
// one bit of the sound level (VolumeBit); no two sources may share a bit, so a slider moved
// onto another's position slides down until it is alone. Position 0 is silence and is shared.
#pragma once

#include <array>
#include <cstdint>

namespace vespin {

enum class VolumeSource : uint8_t { Speaker = 0, TapeIn = 1, TapeOut = 2 };

constexpr int kMaxVolume = 8;

// Moves one slider to position (clamped to 0..8) and returns where it ends.
int MoveVolumeSlider(std::array<int32_t, 3>& positions, VolumeSource source, int position);

} // namespace vespin
