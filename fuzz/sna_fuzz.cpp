// Feeds arbitrary bytes to the SNA reader; an accepted file is also put into a machine.
#include <cstddef>
#include <cstdint>

#include "core/machine.h"
#include "media/sna.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static vespin::MachineState machine;
    try {
        vespin::LoadSna(machine, std::span<const uint8_t>(data, size));
    } catch (const vespin::SnapshotError&) {
    }
    return 0;
}
