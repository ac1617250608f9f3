// Feeds arbitrary bytes to the Z80 snapshot reader; an accepted file is also put into a machine.
#include <cstddef>
#include <cstdint>

#include "core/machine.h"
#include "media/z80_snapshot.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static vespin::MachineState machine;
    try {
        vespin::LoadZ80(machine, std::span<const uint8_t>(data, size));
    } catch (const vespin::SnapshotError&) {
    }
    return 0;
}
