#include "config/volume_sliders.h"

#include <algorithm>

namespace vespin {

int MoveVolumeSlider(std::array<int32_t, 3>& positions, VolumeSource source, int position) {
    const auto self = static_cast<size_t>(source);
    int p = std::clamp(position, 0, kMaxVolume);
    const auto taken = [&](int q) {
        for (size_t i = 0; i < positions.size(); ++i)
            if (i != self && positions[i] == q) return true;
        return false;
    };
    while (p > 0 && taken(p))
        --p;
    positions[self] = p;
    return p;
}

} // namespace vespin
