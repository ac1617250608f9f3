// A Beta 128 interface on its own clock, driven the way TR-DOS drives it: register accesses at
// a T-state, and a processor loop that serves DRQ until INTRQ.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "media/beta128.h"
#include "media/trd_image.h"

namespace vespin::test {

class Vg93Bench {
  public:
    static constexpr int32_t kFrame = 71680;
    static constexpr int64_t kRevolution = 6250 * 112;

    Beta128 beta;
    int32_t t = 0;
    int64_t elapsed = 0;

    // Takes the controller out of reset with head loading allowed, side 0, MFM, and stops the
    // restore that leaving reset starts.
    Vg93Bench() {
        System(0x3C);
        Command(0xD0);
    }

    void Run(int64_t n) {
        elapsed += n;
        while (n > 0) {
            const int32_t step = static_cast<int32_t>(std::min<int64_t>(n, kFrame - t));
            t += step;
            n -= step;
            if (t >= kFrame) {
                Vg93EndFrame(beta.vg93, beta.disk, t, kFrame);
                t -= kFrame;
            }
        }
    }
    void Out(Vg93Register r, uint8_t v) { WriteVg93Register(beta, r, v, t, kFrame); }
    uint8_t In(Vg93Register r) { return ReadVg93Register(beta, r, t, kFrame); }
    void Command(uint8_t v) { Out(Vg93Register::CommandStatus, v); }
    uint8_t Status() { return In(Vg93Register::CommandStatus); }
    uint8_t Track() { return In(Vg93Register::Track); }
    void System(uint8_t v) { WriteBetaSystemRegister(beta, v, t, kFrame); }
    uint8_t Requests() { return ReadBetaSystemRegister(beta, t, kFrame); }

    // Polls the request port every `poll` T-states until INTRQ; reads a byte at each DRQ, or
    // supplies the next of `out` (0 when it runs out). Returns the bytes read.
    std::vector<uint8_t> Serve(const std::vector<uint8_t>& out = {}, int32_t poll = 40,
                               int64_t limit = 40 * kRevolution) {
        std::vector<uint8_t> in;
        size_t next = 0;
        for (int64_t waited = 0; waited < limit; waited += poll) {
            const uint8_t r = Requests();
            if (r & 0x40) {
                if (out.empty()) {
                    in.push_back(In(Vg93Register::Data));
                } else {
                    Out(Vg93Register::Data, next < out.size() ? out[next++] : 0);
                }
            }
            if (r & 0x80) return in;
            Run(poll);
        }
        ADD_FAILURE() << "no INTRQ within " << limit << " T-states";
        return in;
    }

    // Like Serve, but only waits, and returns the T-states until INTRQ.
    int64_t WaitIntrq(int64_t limit = 40 * kRevolution, int32_t poll = 8) {
        const int64_t start = elapsed;
        while (elapsed - start < limit) {
            if (Requests() & 0x80) return elapsed - start;
            Run(poll);
        }
        ADD_FAILURE() << "no INTRQ within " << limit << " T-states";
        return -1;
    }

    // Seeks with the head loaded (h set, fastest rate) and waits for the end.
    void Seek(uint8_t cylinder) {
        Out(Vg93Register::Data, cylinder);
        Command(0x18);
        WaitIntrq();
    }
};

// A TR-DOS image whose every sector holds its own logical track and sector number in the first
// two bytes and a running pattern after them.
inline TrdosImage PatternedImage() {
    TrdosImage image;
    for (size_t i = 0; i < image.bytes.size(); ++i) {
        const size_t sector = i / 256;
        const size_t offset = i % 256;
        image.bytes[i] = static_cast<uint8_t>(offset == 0   ? sector / 16
                                              : offset == 1 ? sector % 16 + 1
                                                            : (i * 7 + sector) & 0xFF);
    }
    return image;
}

inline std::vector<uint8_t> ImageSector(const TrdosImage& image, int track, int sector) {
    const auto at = static_cast<size_t>((track * 16 + sector - 1) * 256);
    return {image.bytes.begin() + static_cast<ptrdiff_t>(at),
            image.bytes.begin() + static_cast<ptrdiff_t>(at + 256)};
}

} // namespace vespin::test
